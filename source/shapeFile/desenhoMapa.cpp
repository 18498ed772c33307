// Drawing of the two viewer maps (recommendation and work done) onto the surfaces their owner gives:
// prompt and error pictures, polygons classed by the legend, holes, and the legend strip.
//
// The .shp is walked one record at a time, with the table read alongside (one row per polygon), so
// memory follows the largest record and never the file. Both maps are laid out on the extent of the
// last recommendation map drawn, so the work lies over the same ground at the same scale.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/shapeFile.h"

namespace
{

constexpr const char* D_TEXTO_SELECIONE_MAPA_1 = "Selecione um mapa de recomendação (Arquivos SHP e DBF)";
constexpr const char* D_TEXTO_SELECIONE_MAPA_2 = "Selecione o trabalho realizado na mesma área (Arquivo NVG)";
constexpr const char* D_TEXTO_ERRO_MAPA[] = {
    "Erro em desenho de mapa. Selecione os arquivos SHP, DBF e",
    "a recomendação do mapa desejado e tente novamente.",
    "Os arquivos SHP e DBF devem ser do mesmo mapa.",
};
constexpr int D_Y_TEXTO_SELECIONE = 160;
constexpr int D_Y_TEXTO_ERRO[] = {140, 160, 180};

constexpr int D_TAMANHO_TRACO_LEGENDA = 5;
constexpr int D_AFASTAMENTO_ROTULO_LEGENDA = 2;
constexpr std::size_t D_TAMANHO_CABECALHO_POLIGONO = 44; // type, box, part and point counts
// Pixel coordinates are kept within what any raster painter takes; a map 2 far outside map 1's
// extent would otherwise overflow the conversion.
constexpr double D_COORDENADA_PIXEL_MAXIMA = 16777216.0;

// Where things go on one kind of picture.
struct ST_LayoutFigura
{
    int iLargura;
    int iAltura;
    int iSeparadorY;
    int iLadoCaixa;
    int iCaixaX;
    int iCaixaY;
    int iLegendaX;
    int iLegendaPasso;
    int iLegendaY;
    int iLegendaLargura;
    int iLegendaAltura;
};
constexpr ST_LayoutFigura D_LAYOUT_PAINEL = {D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, 280, 270, 42, 5, 8, 26, 300, 27, 15};
constexpr ST_LayoutFigura D_LAYOUT_AMPLIADO = {D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX, 500, 470, 40, 10, 20, 39,
                                               518, 40, 15};

const ST_LayoutFigura& layout(BOOL bMapaMax)
{
    return bMapaMax ? D_LAYOUT_AMPLIADO : D_LAYOUT_PAINEL;
}

// Surface calls; the owner may leave any of them out (a command that writes only one picture).
void retangulo(const ST_SuperficieDesenho* p, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulBorda,
               std::uint32_t ulPreenchimento)
{
    if (p != nullptr && p->pfRetangulo != nullptr)
        p->pfRetangulo(p->pContexto, iX0, iY0, iX1, iY1, ulBorda, ulPreenchimento);
}

void linha(const ST_SuperficieDesenho* p, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor)
{
    if (p != nullptr && p->pfLinha != nullptr)
        p->pfLinha(p->pContexto, iX0, iY0, iX1, iY1, ulCor);
}

void texto(const ST_SuperficieDesenho* p, int iX, int iY, const char* pc, std::uint32_t ulCor)
{
    if (p != nullptr && p->pfTexto != nullptr)
        p->pfTexto(p->pContexto, iX, iY, pc, ulCor);
}

void medirTexto(const ST_SuperficieDesenho* p, const char* pc, int* piLargura, int* piAltura)
{
    if (p != nullptr && p->pfMedirTexto != nullptr)
        p->pfMedirTexto(p->pContexto, pc, piLargura, piAltura);
}

void textoCentrado(const ST_SuperficieDesenho* p, int iY, const char* pc, std::uint32_t ulCor)
{
    int iLargura = 0, iAltura = 0;
    medirTexto(p, pc, &iLargura, &iAltura);
    texto(p, (D_SHPFILE_LARGURA_MAPA - iLargura) / 2, iY, pc, ulCor);
}

void desenharFundo(const ST_SuperficieDesenho* p, const ST_LayoutFigura& lay)
{
    retangulo(p, 0, 0, lay.iLargura, lay.iAltura, D_SHPFILE_RGB_COR_BORDA, D_SHPFILE_RGB_COR_FUNDO);
    linha(p, 0, lay.iSeparadorY, lay.iLargura, lay.iSeparadorY, D_SHPFILE_RGB_COR_BORDA);
}

// Truncation toward zero, safe for any double a hostile file can produce.
double truncarLimitado(double d, double dLimite)
{
    if (std::isnan(d))
        return 0.0;
    return std::trunc(std::clamp(d, -dLimite, dLimite));
}

int pixel(double d)
{
    return static_cast<int>(truncarLimitado(d, D_COORDENADA_PIXEL_MAXIMA));
}

double radianos(double dGraus)
{
    return dGraus * std::numbers::pi / 180.0;
}

// Scale and offsets of one picture: the longer side of the extent fills the map box, the shorter
// one is centred in it.
struct ST_EscalaFigura
{
    float fRelacaoX = 0.0f;
    float fRelacaoY = 0.0f;
    unsigned int ulOffsetX = 0;
    unsigned int ulOffsetY = 0;
};

ST_EscalaFigura calcularEscala(float fAltura, float fLarguraMetros, const ST_LayoutFigura& lay)
{
    ST_EscalaFigura st;
    const float fLado = static_cast<float>(lay.iLadoCaixa);
    float fEscala = 0.0f;
    int iX = lay.iCaixaX, iY = lay.iCaixaY;
    if (!std::isfinite(fAltura) || !std::isfinite(fLarguraMetros) || (fAltura <= 0.0f && fLarguraMetros <= 0.0f))
    {
        // A point-sized (or unreadable) extent has no scale: everything lands in the box's centre.
        iX += lay.iLadoCaixa / 2;
        iY += lay.iLadoCaixa / 2;
    }
    else if (fAltura > fLarguraMetros)
    {
        fEscala = fLado / fAltura;
        iX += static_cast<int>((fLado - fLarguraMetros / fAltura * fLado) / 2.0f);
    }
    else
    {
        fEscala = fLado / fLarguraMetros;
        iY += static_cast<int>((fLado - fAltura / fLarguraMetros * fLado) / 2.0f);
    }
    st.fRelacaoX = fEscala;
    st.fRelacaoY = -fEscala; // north is up
    st.ulOffsetX = static_cast<unsigned int>(std::max(iX, 0));
    st.ulOffsetY = static_cast<unsigned int>(std::max(iY, 0));
    return st;
}

bool extensaoDefinida(const ST_VisualizadorMapas& st)
{
    return st.gdLimiteXmin != 0.0 || st.gdLimiteYmin != 0.0 || st.gdLimiteXmax != 0.0 || st.gdLimiteYmax != 0.0;
}

// Draws every polygon record of the map's .shp on both pictures, on the map's own extent (map 1) or
// the shared one, record n (from 1, every record counted) in the colour pfCor(n) gives it. Only
// polygon records ask for a colour, in file order. FALSE for a malformed file.
template <typename F>
bool DesenharPoligonos(const ST_VisualizadorMapas* pstVisualizador, ST_ShpMapa* pstMapa, bool bMapa1,
                       const ST_SuperficieDesenho* pstPainel, const ST_SuperficieDesenho* pstAmpliado, F&& pfCor)
{
    FuncAux_LeitorBinario l(pstMapa->szNomeArqMapaShp.c_str());
    std::uint8_t ucCabecalho[D_SHPFILE_TAMANHO_CABECALHO_SHP];
    if (!l.Aberto() || !l.Ler(ucCabecalho, sizeof ucCabecalho))
        return false;
    if (static_cast<std::uint64_t>(funcAux_LerBe32(ucCabecalho + 24)) * 2 != l.Tamanho() ||
        funcAux_LerBe32(ucCabecalho) != D_SHPFILE_CODIGO_ARQUIVO || funcAux_LerLe32(ucCabecalho + 28) != D_SHPFILE_VERSAO ||
        funcAux_LerLe32(ucCabecalho + 32) != D_SHPFILE_TIPO_POLIGONO)
        return false;

    pstMapa->dLimiteXmin = funcAux_LerLeDouble(ucCabecalho + 36);
    pstMapa->dLimiteYmin = funcAux_LerLeDouble(ucCabecalho + 44);
    pstMapa->dLimiteXmax = funcAux_LerLeDouble(ucCabecalho + 52);
    pstMapa->dLimiteYmax = funcAux_LerLeDouble(ucCabecalho + 60);
    // Before any recommendation map there is no extent to share; the work map keeps its own.
    if (!bMapa1 && extensaoDefinida(*pstVisualizador))
    {
        pstMapa->dLimiteXmin = pstVisualizador->gdLimiteXmin;
        pstMapa->dLimiteYmin = pstVisualizador->gdLimiteYmin;
        pstMapa->dLimiteXmax = pstVisualizador->gdLimiteXmax;
        pstMapa->dLimiteYmax = pstVisualizador->gdLimiteYmax;
    }

    const ST_ShpFilePto stReferencia{pstMapa->dLimiteXmin, pstMapa->dLimiteYmax};
    const float fAltura = static_cast<float>(std::fabs((pstMapa->dLimiteYmin - pstMapa->dLimiteYmax) * D_SHPFILE_METROS_POR_GRAU));
    const float fLargura = static_cast<float>(std::fabs(std::cos(radianos(pstMapa->dLimiteYmin)) *
                                                        (pstMapa->dLimiteXmax - pstMapa->dLimiteXmin) *
                                                        D_SHPFILE_METROS_POR_GRAU));
    const ST_EscalaFigura stEscalaPainel = calcularEscala(fAltura, fLargura, D_LAYOUT_PAINEL);
    const ST_EscalaFigura stEscalaAmpliado = calcularEscala(fAltura, fLargura, D_LAYOUT_AMPLIADO);

    // Buffers reused from record to record: they grow to the largest record, never to the file.
    std::vector<std::uint8_t> vPartes;
    std::vector<std::uint8_t> vCoordenadas;
    std::vector<ST_ShpFilePto> vPontos;
    bool bPrimeiroAnel = true;
    for (std::uint32_t ulRegistro = 1; l.Restantes() > 0; ulRegistro++)
    {
        std::uint8_t ucRegistro[8];
        if (!l.Ler(ucRegistro, sizeof ucRegistro))
            return false;
        // The record is read inside its own length: its part and point counts cannot reach the next one.
        const std::uint64_t ulConteudo = static_cast<std::uint64_t>(funcAux_LerBe32(ucRegistro + 4)) * 2;
        ST_LimitesLeitura stFora;
        if (ulConteudo < D_SHPFILE_TAMANHO_MIN_POLIGONO_DESENHO || ulConteudo > D_SHPFILE_TAMANHO_MAX_POLIGONO ||
            !l.Limitar(ulConteudo, &stFora))
            return false;
        std::uint8_t ucPoligono[D_TAMANHO_CABECALHO_POLIGONO];
        if (!l.Ler(ucPoligono, sizeof ucPoligono))
            return false;
        if (funcAux_LerLe32(ucPoligono) != D_SHPFILE_TIPO_POLIGONO)
        {
            if (!l.SairLimite(stFora))
                return false;
            continue;
        }
        const std::uint32_t ulNumPartes = funcAux_LerLe32(ucPoligono + 36);
        const std::uint32_t ulNumPontos = funcAux_LerLe32(ucPoligono + 40);
        if (!l.LerVetor(&vPartes, 4ull * ulNumPartes) || !l.LerVetor(&vCoordenadas, 16ull * ulNumPontos) ||
            !l.SairLimite(stFora))
            return false;

        const std::uint8_t* pucPartes = vPartes.data();
        const std::uint8_t* pucPontos = vCoordenadas.data();
        vPontos.resize(ulNumPontos);
        for (std::uint32_t i = 0; i < ulNumPontos; i++)
            vPontos[i] = {funcAux_LerLeDouble(pucPontos + 16ull * i), funcAux_LerLeDouble(pucPontos + 16ull * i + 8)};

        const std::uint32_t ulCorValor = pfCor(ulRegistro);
        // Rings follow each other: one that starts before the end of the last ring drawn is not drawn,
        // so a record costs at most its points whatever its part list repeats.
        std::int64_t iProximoLivre = 0;
        for (std::uint32_t p = 0; p < ulNumPartes; p++)
        {
            const std::int64_t iInicio = funcAux_LerLe32(pucPartes + 4ull * p);
            const std::int64_t iFim =
                p + 1 < ulNumPartes ? static_cast<std::int64_t>(funcAux_LerLe32(pucPartes + 4ull * (p + 1))) - 1 : std::int64_t{ulNumPontos} - 1;
            unsigned int ulInicio = 0, ulFim = 0;
            std::uint32_t ulCor = ulCorValor;
            // A ring whose part indices leave the record draws nothing (but still starts the map).
            if (iInicio >= iProximoLivre && iInicio <= iFim && iFim < static_cast<std::int64_t>(ulNumPontos))
            {
                iProximoLivre = iFim + 1;
                ulInicio = static_cast<unsigned int>(iInicio);
                ulFim = static_cast<unsigned int>(iFim);
                const float fArea = shpFile_CalcularAreaPoligono(&stReferencia, vPontos.data(), ulInicio, ulFim);
                // A lone ring is the polygon whatever its winding; only the rings of several can be holes.
                if (fArea < 0.0f && ulNumPartes > 1)
                    ulCor = D_SHPFILE_RGB_COR_FUNDO;
            }
            shpFile_PreencherPoligonoMapa(&stReferencia, vPontos.data(), stEscalaPainel.fRelacaoX, stEscalaPainel.fRelacaoY,
                                          ulInicio, ulFim, ulCor, stEscalaPainel.ulOffsetX, stEscalaPainel.ulOffsetY,
                                          pstPainel, bPrimeiroAnel, FALSE);
            shpFile_PreencherPoligonoMapa(&stReferencia, vPontos.data(), stEscalaAmpliado.fRelacaoX,
                                          stEscalaAmpliado.fRelacaoY, ulInicio, ulFim, ulCor, stEscalaAmpliado.ulOffsetX,
                                          stEscalaAmpliado.ulOffsetY, pstAmpliado, bPrimeiroAnel, TRUE);
            bPrimeiroAnel = false;
        }
    }
    return true;
}

} // namespace

void shpFile_EscreverTextoCentrado(const ST_SuperficieDesenho* pstSuperficie, int iY, const char* pcTexto,
                                   std::uint32_t ulCor)
{
    textoCentrado(pstSuperficie, iY, pcTexto, ulCor);
}

void shpFile_LimparVisualizacaoMapa(const ST_SuperficieDesenho* pstSuperficie, int iMsg, int iNumMapa)
{
    retangulo(pstSuperficie, 0, 0, D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, D_SHPFILE_RGB_COR_BORDA,
              D_SHPFILE_RGB_COR_FUNDO);
    if (iMsg == 0)
        textoCentrado(pstSuperficie, D_Y_TEXTO_SELECIONE, iNumMapa == 0 ? D_TEXTO_SELECIONE_MAPA_1 : D_TEXTO_SELECIONE_MAPA_2,
                      D_SHPFILE_RGB_COR_TEXTO);
    else if (iMsg == 1 && iNumMapa == 0)
        for (int i = 0; i < 3; i++)
            textoCentrado(pstSuperficie, D_Y_TEXTO_ERRO[i], D_TEXTO_ERRO_MAPA[i], D_SHPFILE_RGB_COR_TEXTO_ERRO);
}

void shpFile_InicializarVisualizacaoMapas(ST_VisualizadorMapas* pstVisualizador)
{
    if (pstVisualizador == nullptr)
        return;
    shpFile_LimparVisualizacaoMapa(&pstVisualizador->stMapa[0], 0, 0);
    shpFile_LimparVisualizacaoMapa(&pstVisualizador->stMapa[1], 0, 1);
}

void shpFile_LiberarMemoriaMapas(ST_VisualizadorMapas* pstVisualizador)
{
    if (pstVisualizador == nullptr)
        return;
    pstVisualizador->gstMapa1 = ST_ShpMapa{};
    pstVisualizador->gstMapa2 = ST_ShpMapa{};
    pstVisualizador->gdLimiteXmin = pstVisualizador->gdLimiteYmin = 0.0;
    pstVisualizador->gdLimiteXmax = pstVisualizador->gdLimiteYmax = 0.0;
    pstVisualizador->gstShpLegendaMapa = ST_ShpLegenda{};
}

std::uint32_t shpFile_DecidirCorPoligono(const ST_ShpLegenda* pstShpLegenda, unsigned int ulValor)
{
    const int iLinhas = std::min<int>(pstShpLegenda->ucNumLinhasLegenda, D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP);
    for (int i = 0; i < iLinhas; i++)
    {
        if (ulValor == 0)
            return D_SHPFILE_RGB_COR_VALOR_ZERO;
        if (pstShpLegenda->ulValorLegenda[i][0] <= ulValor && ulValor <= pstShpLegenda->ulValorLegenda[i][1])
            return gulVetorCoresShp[i];
    }
    return D_SHPFILE_RGB_COR_MAPA_CINZA;
}

float shpFile_CalcularAreaPoligono(const ST_ShpFilePto* pstPtoReferencia, const ST_ShpFilePto* pstShpPonto,
                                   unsigned int ulPtoPolInicio, unsigned int ulPtoPolFim)
{
    // Whole metres from the reference point; the limit only keeps absurd coordinates finite.
    constexpr double D_METROS_MAXIMO = 1e12;
    auto norte = [&](const ST_ShpFilePto& p) {
        return truncarLimitado((p.dLatitude - pstPtoReferencia->dLatitude) * D_SHPFILE_METROS_POR_GRAU, D_METROS_MAXIMO);
    };
    auto leste = [&](const ST_ShpFilePto& p) {
        return truncarLimitado(std::cos(radianos(p.dLatitude)) * (p.dLongitude - pstPtoReferencia->dLongitude) *
                                   D_SHPFILE_METROS_POR_GRAU,
                               D_METROS_MAXIMO);
    };
    double dArea = 0.0;
    for (unsigned int i = ulPtoPolInicio; i < ulPtoPolFim; i++)
    {
        const ST_ShpFilePto& stAnterior = pstShpPonto[i];
        const ST_ShpFilePto& stAtual = pstShpPonto[i + 1];
        dArea += (norte(stAnterior) - norte(stAtual)) * (leste(stAnterior) + leste(stAtual)) / 2.0;
    }
    return static_cast<float>(dArea);
}

void shpFile_PreencherPoligonoMapa(const ST_ShpFilePto* pstPtoReferencia, const ST_ShpFilePto* pstShpPonto,
                                   float fRelacaoPixelMetroX, float fRelacaoPixelMetroY, unsigned int ulPtoPolInicio,
                                   unsigned int ulPtoPolFim, std::uint32_t ulCorPoligono, unsigned int ulOffsetX,
                                   unsigned int ulOffsetY, const ST_SuperficieDesenho* pstSuperficie,
                                   BOOL bPrimeiroPoligono, BOOL bMapaMax)
{
    if (bPrimeiroPoligono)
        desenharFundo(pstSuperficie, layout(bMapaMax));
    // The last point only closes the ring; a ring needs three others to have an inside.
    if (ulPtoPolFim <= ulPtoPolInicio || ulPtoPolFim - ulPtoPolInicio <= 2 || pstSuperficie == nullptr ||
        pstSuperficie->pfPoligono == nullptr)
        return;

    // One cosine for the whole ring, at its closing point's latitude.
    const double dCos = std::cos(radianos(pstShpPonto[ulPtoPolFim].dLatitude));
    std::vector<ST_PontoTela> vPixels;
    vPixels.reserve(ulPtoPolFim - ulPtoPolInicio);
    for (unsigned int i = ulPtoPolInicio; i < ulPtoPolFim; i++)
    {
        const float fDeltaLon = static_cast<float>(pstShpPonto[i].dLongitude - pstPtoReferencia->dLongitude);
        const float fDeltaLat = static_cast<float>(pstShpPonto[i].dLatitude - pstPtoReferencia->dLatitude);
        const double dX = static_cast<double>(fRelacaoPixelMetroX * fDeltaLon) * D_SHPFILE_METROS_POR_GRAU * dCos;
        const double dY = static_cast<double>(fRelacaoPixelMetroY * fDeltaLat) * D_SHPFILE_METROS_POR_GRAU;
        vPixels.push_back({static_cast<int>(ulOffsetX) + pixel(dX), static_cast<int>(ulOffsetY) + pixel(dY)});
    }
    pstSuperficie->pfPoligono(pstSuperficie->pContexto, vPixels.data(), static_cast<int>(vPixels.size()), ulCorPoligono,
                              ulCorPoligono);
}

void shpFile_ImprimirLegenda(const ST_ShpLegenda* pstLegenda, const ST_SuperficieDesenho* pstSuperficie, BOOL bMapaMax)
{
    const int iLinhas = std::min<int>(pstLegenda->ucNumLinhasLegenda, D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP);
    std::string szRotulos[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP];
    for (int i = 0; i < iLinhas; i++)
        szRotulos[i] = std::to_string(pstLegenda->ulValorLegenda[i][0]);
    shpFile_ImprimirLegendaCores(gulVetorCoresShp, szRotulos, iLinhas, pstSuperficie, bMapaMax);
}

void shpFile_ImprimirLegendaCores(const std::uint32_t* pulCores, const std::string* pszRotulos, int iLinhas,
                                  const ST_SuperficieDesenho* pstSuperficie, BOOL bMapaMax)
{
    const ST_LayoutFigura& lay = layout(bMapaMax);
    int iLarguraTexto = 0, iAlturaTexto = 0;
    for (int i = 0; i < iLinhas; i++)
    {
        const int iEsquerda = lay.iLegendaX + lay.iLegendaPasso * i;
        const int iTopo = lay.iLegendaY;
        const int iBase = iTopo + lay.iLegendaAltura;
        retangulo(pstSuperficie, iEsquerda, iTopo, iEsquerda + lay.iLegendaLargura, iBase, D_SHPFILE_RGB_COR_BORDA,
                  pulCores[i]);

        // Labels alternate above and below so that neighbouring numbers never overlap.
        const bool bAcima = i % 2 == 0;
        if (bAcima)
            linha(pstSuperficie, iEsquerda, iTopo, iEsquerda, iTopo - D_TAMANHO_TRACO_LEGENDA, D_SHPFILE_RGB_COR_BORDA);
        else
            linha(pstSuperficie, iEsquerda, iBase, iEsquerda, iBase + D_TAMANHO_TRACO_LEGENDA, D_SHPFILE_RGB_COR_BORDA);

        const std::string& szRotulo = pszRotulos[i];
        // The last label keeps the size measured for the one before it.
        if (i + 1 < iLinhas)
            medirTexto(pstSuperficie, szRotulo.c_str(), &iLarguraTexto, &iAlturaTexto);
        const int iY = bAcima ? iTopo - D_AFASTAMENTO_ROTULO_LEGENDA - iAlturaTexto : iBase + D_AFASTAMENTO_ROTULO_LEGENDA;
        texto(pstSuperficie, iEsquerda - iLarguraTexto / 2, iY, szRotulo.c_str(), D_SHPFILE_RGB_COR_TEXTO);
    }
}

BOOL shpFile_DesenharMapaEntrada2D(ST_VisualizadorMapas* pstVisualizador, ST_ShpMapa* pstMapa, int iNumMapa)
{
    if (pstVisualizador == nullptr || pstMapa == nullptr || (iNumMapa != 0 && iNumMapa != 1))
        return FALSE;
    const bool bMapa1 = iNumMapa == 0;
    const ST_SuperficieDesenho* pstPainel = &pstVisualizador->stMapa[iNumMapa];
    const ST_SuperficieDesenho* pstAmpliado = &pstVisualizador->stMapaMax[iNumMapa];

    // The work map is classed by the recommendation it is compared with.
    ST_ShpLegenda stLegenda;
    if (bMapa1)
        shpFile_LegendaMapaEntrada(pstMapa->szNomeArqMapaDbf.c_str(), &stLegenda, pstMapa->uiParamSelecionado);
    else
        stLegenda = pstVisualizador->gstShpLegendaMapa;

    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    ShpArquivoDbf pfDbf;
    if (!shpFile_AbrirDbf(pstMapa, &stDados, &vCampos, &pfDbf, pstMapa->uiParamSelecionado,
                          &pstVisualizador->stPlataforma))
        return FALSE;

    // One table row per polygon, in order; a missing or unreadable row draws as value 0.
    const auto CorValor = [&](std::uint32_t) {
        unsigned int ulValor = 0;
        shpFile_LerProxValorDbf(&stDados, vCampos, pfDbf.get(), pstMapa->uiParamSelecionado, &ulValor);
        return shpFile_DecidirCorPoligono(&stLegenda, ulValor);
    };
    if (!DesenharPoligonos(pstVisualizador, pstMapa, bMapa1, pstPainel, pstAmpliado, CorValor))
        return FALSE;
    pfDbf.reset();

    // Published only once the whole map is drawn, so map 2 never uses half of a failed map 1.
    if (bMapa1)
    {
        pstVisualizador->gdLimiteXmin = pstMapa->dLimiteXmin;
        pstVisualizador->gdLimiteYmin = pstMapa->dLimiteYmin;
        pstVisualizador->gdLimiteXmax = pstMapa->dLimiteXmax;
        pstVisualizador->gdLimiteYmax = pstMapa->dLimiteYmax;
    }
    pstVisualizador->gstShpLegendaMapa = stLegenda;
    shpFile_ImprimirLegenda(&stLegenda, pstPainel, FALSE);
    shpFile_ImprimirLegenda(&stLegenda, pstAmpliado, TRUE);
    return TRUE;
}

BOOL shpFile_DesenharMapa(ST_VisualizadorMapas* pstVisualizador, int iNumMapa)
{
    if (pstVisualizador == nullptr || (iNumMapa != 0 && iNumMapa != 1))
        return FALSE;
    ST_ShpMapa* pstMapa = iNumMapa == 0 ? &pstVisualizador->gstMapa1 : &pstVisualizador->gstMapa2;
    if (shpFile_AnalisarParametroMapaEntrada(pstMapa) && shpFile_DesenharMapaEntrada2D(pstVisualizador, pstMapa, iNumMapa))
        return TRUE;
    // The enlarged picture keeps what it had.
    shpFile_LimparVisualizacaoMapa(&pstVisualizador->stMapa[iNumMapa], 1, iNumMapa);
    return FALSE;
}

BOOL shpFile_DesenharMapaCores(const ST_VisualizadorMapas* pstVisualizador, const std::string& szShp, const ST_CoresMapa& stCores,
                               const ST_SuperficieDesenho* pstPainel, const ST_SuperficieDesenho* pstAmpliado)
{
    if (pstVisualizador == nullptr || stCores.pfCor == nullptr)
        return FALSE;
    ST_ShpMapa stMapa;
    stMapa.szNomeArqMapaShp = szShp;
    const auto Cor = [&](std::uint32_t ulRegistro) { return stCores.pfCor(stCores.pContexto, ulRegistro); };
    if (!DesenharPoligonos(pstVisualizador, &stMapa, false, pstPainel, pstAmpliado, Cor))
        return FALSE;
    shpFile_ImprimirLegendaCores(stCores.pulCoresLegenda, stCores.pszRotulos, stCores.iLinhas, pstPainel, FALSE);
    shpFile_ImprimirLegendaCores(stCores.pulCoresLegenda, stCores.pszRotulos, stCores.iLinhas, pstAmpliado, TRUE);
    return TRUE;
}
