#include "conversor/poligonosKml.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "zavoro/zavoro.h"

namespace
{

constexpr int D_CONVERSOR_PONTOS_BUFFER_KML = 15;
// A polygon holding more than this many points is closed by the next one.
constexpr int D_CONVERSOR_PONTOS_FECHAR_POLIGONO_KML = D_CONVERSOR_MAXIMO_PONTOS_POLIGONO_KML - 2;
// Class of a polygon before any value set it, and colour of unclassed polygons.
constexpr int D_CONVERSOR_FAIXA_INICIAL = 4;
constexpr std::size_t D_CONVERSOR_TAMANHO_BUFFER_PLACEMARK = 4096;

struct ST_ContextoKml
{
    std::FILE* pfArquivoEscrita = nullptr;
    const ST_ParametrosMapa* pstParametros = nullptr;
    BOOL bTemLegenda = FALSE;
    int iTipoLegenda = D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR;
};

BOOL InserirAnelKml(void* pContexto, ST_DesenhoPoligono* pstDesenhoPoligono,
                    const ST_CoordenadaKml* pstVertices, int iNumVertices)
{
    const auto* pstContexto = static_cast<const ST_ContextoKml*>(pContexto);
    const int iCor =
        conversor_RetornarCorPoligonoKML(pstDesenhoPoligono->iFaixaLegendaAtual, pstContexto->bTemLegenda,
                                         pstContexto->iTipoLegenda, pstContexto->pstParametros);
    return conversor_InserirPoligonoKML(pstContexto->pfArquivoEscrita, pstVertices, iNumVertices, iCor,
                                        pstContexto->iTipoLegenda);
}

// One walk over the stage's points for pass iPassagem.
BOOL GerarPassagem(std::FILE* pfArquivoLeitura, const ST_EtapaPoligonos& stEtapa, int iPassagem,
                   ST_DesenhoPoligono& stDesenho, const ST_ReceptorAnel& stReceptor,
                   const ST_ParametrosMapa* pstParametros)
{
    ST_PontoPoligono stBuffer[D_CONVERSOR_PONTOS_BUFFER_KML];
    stDesenho.pstPontoPoligono = stBuffer;
    BOOL bPoligonoAberto = FALSE;
    int iPontosBuffer = 0;
    std::uint16_t usSecoesAnterior = 0;
    int iFaixaAtual = D_CONVERSOR_FAIXA_INICIAL;
    ST_PontoNVG_v2 stUltimoPonto{};
    ST_PontoNVG_v2 stPonto{};

    auto Desenhar = [&]()
    {
        stDesenho.iPontosBuffer = iPontosBuffer;
        stDesenho.iFaixaLegendaAtual = iFaixaAtual;
        // A polygon of mixed masks cannot come from this loop; it would simply be left out.
        (void)conversor_DesenharPoligono(&stDesenho, stReceptor, stEtapa.usVersaoArquivoEvento);
        iPontosBuffer = 0;
    };
    auto Faixa = [&](int iValor)
    { return conversor_RetornarFaixaLegenda(iValor, stEtapa.iTipoLegenda, pstParametros); };

    for (std::uint32_t ul = 0; ul < stEtapa.ulNumeroPontos; ++ul)
    {
        int iBytesLidos = 0;
        if (!zavoro_LerEstruturaLog(pfArquivoLeitura, &stPonto, stEtapa.usVersaoArquivoEvento, &iBytesLidos))
            return FALSE;

        BOOL bAbrirNovo = FALSE;
        BOOL bFecharAtual = FALSE;
        BOOL bFecharAnterior = FALSE;
        int iValor = 0;
        if ((stPonto.usTag & D_ZAVORO_TAG_RASTRO) == 0)
            continue;

        const std::uint16_t usSecoes = conversor_MascararSecoesPoligono(stPonto.usSecoes, stEtapa, iPassagem);
        stPonto.usSecoes = usSecoes;

        const BOOL bSecoesMudaram = usSecoes != usSecoesAnterior;
        if (!bPoligonoAberto && bSecoesMudaram)
            bAbrirNovo = TRUE;

        if (stEtapa.bTemLegenda)
        {
            if (bPoligonoAberto)
            {
                iValor = conversor_ValorPontoPoligono(stPonto, stEtapa, iPassagem);
                if (iPontosBuffer == 1)
                {
                    // The class follows the values until a second point is buffered.
                    if (iValor != 0)
                    {
                        iFaixaAtual = Faixa(iValor);
                        if (bSecoesMudaram)
                            bFecharAtual = TRUE;
                    }
                    else
                    {
                        iPontosBuffer = 0;
                        bAbrirNovo = TRUE;
                    }
                }
                else if (iPontosBuffer > 1 && (iValor == 0 || Faixa(iValor) != iFaixaAtual))
                    bFecharAnterior = TRUE;
            }
            else if (usSecoes != 0)
            {
                iValor = conversor_ValorPontoPoligono(stPonto, stEtapa, iPassagem);
                if (iValor != 0)
                    bAbrirNovo = TRUE;
            }
        }

        if (bSecoesMudaram && bPoligonoAberto)
            bFecharAtual = TRUE;
        if (iPontosBuffer > D_CONVERSOR_PONTOS_FECHAR_POLIGONO_KML)
            bFecharAtual = TRUE;

        if (bAbrirNovo)
        {
            conversor_InserirPontoPoligono(stBuffer, &stPonto, 0);
            iPontosBuffer = 1;
            bPoligonoAberto = TRUE;
            stUltimoPonto = stPonto;
            usSecoesAnterior = usSecoes;
            continue;
        }

        if (bFecharAnterior)
        {
            Desenhar();
            if (iValor > 0)
            {
                // The next class starts where the last one ended, so the strips join.
                ST_PontoNVG_v2 stInicio = stUltimoPonto;
                stInicio.usSecoes = usSecoesAnterior;
                conversor_InserirPontoPoligono(stBuffer, &stInicio, 0);
                iFaixaAtual = Faixa(iValor);
                iPontosBuffer = 1;
                bPoligonoAberto = TRUE;
            }
            else
                bPoligonoAberto = FALSE;
        }

        if (bPoligonoAberto)
        {
            // A closing point ends the strip it closes, with that strip's sections.
            if (bFecharAtual)
                stPonto.usSecoes = usSecoesAnterior;
            if (iPontosBuffer > 0 && iPontosBuffer < D_CONVERSOR_PONTOS_BUFFER_KML &&
                (bFecharAtual ||
                 !conversor_AnalisarProximidadePontosPoligono(stBuffer, &stPonto, iPontosBuffer)))
            {
                conversor_InserirPontoPoligono(stBuffer, &stPonto, iPontosBuffer);
                ++iPontosBuffer;
                stUltimoPonto = stPonto;
            }
            stPonto.usSecoes = usSecoes;
        }

        if (bFecharAtual)
        {
            Desenhar();
            if (usSecoes != 0)
            {
                conversor_InserirPontoPoligono(stBuffer, &stPonto, 0);
                iPontosBuffer = 1;
                bPoligonoAberto = TRUE;
                stUltimoPonto = stPonto;
            }
            else
                bPoligonoAberto = FALSE;
        }

        usSecoesAnterior = usSecoes;
    }

    if (bPoligonoAberto && iPontosBuffer > 1)
        Desenhar();
    stDesenho.pstPontoPoligono = nullptr;
    return TRUE;
}

} // namespace

int conversor_RetornarCorPoligonoKML(int iFaixa, BOOL bTemLegenda, int iTipoLegenda,
                                     const ST_ParametrosMapa* pstParametros)
{
    if (iFaixa == D_CONVERSOR_FAIXA_SEM_VALOR)
        return D_CONVERSOR_FAIXA_SEM_VALOR;
    if (!bTemLegenda)
        return D_CONVERSOR_FAIXA_INICIAL;
    if (iTipoLegenda == D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO)
        return iFaixa;
    if (iFaixa < 0 || iFaixa >= D_CONVERSOR_NUMERO_FAIXAS_LEGENDA)
        return D_CONVERSOR_FAIXA_SEM_VALOR;
    return pstParametros->gstLegendaMapa[iFaixa].iCor;
}

BOOL conversor_InserirPoligonoKML(std::FILE* pfArquivoEscrita, const ST_CoordenadaKml* pstCoordenadaKml,
                                  int iNumVertices, int iIdCorPoligono, int iTipoLegenda)
{
    const char* pcEstilo = nullptr;
    if (iTipoLegenda == D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO)
    {
        if (iIdCorPoligono >= 0 && iIdCorPoligono < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP)
            pcEstilo = gulVetorNomesCoresShp[iIdCorPoligono];
    }
    else if (iIdCorPoligono >= 0 && iIdCorPoligono < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA)
        pcEstilo = gulVetorNomesCoresLegendaQuibar[iIdCorPoligono];
    // No class, no colour: not drawn.
    if (pcEstilo == nullptr)
        return TRUE;

    std::string szTexto;
    szTexto.reserve(D_CONVERSOR_TAMANHO_BUFFER_PLACEMARK);
    szTexto += "<Placemark>\n<styleUrl>";
    szTexto += pcEstilo;
    szTexto += "</styleUrl>\n<Polygon>\n<extrude>1</extrude>\n"
               "<altitudeMode>clampToGround</altitudeMode>\n"
               "<outerBoundaryIs>\n<LinearRing>\n<coordinates>\n";
    // A KML LinearRing ends on its first vertex; readers warn about or refuse open rings.
    const bool bFechar = iNumVertices > 0 &&
                         (pstCoordenadaKml[0].dLongitude != pstCoordenadaKml[iNumVertices - 1].dLongitude ||
                          pstCoordenadaKml[0].dLatitude != pstCoordenadaKml[iNumVertices - 1].dLatitude);
    for (int i = 0; i < iNumVertices + (bFechar ? 1 : 0); ++i)
    {
        const ST_CoordenadaKml& stVertice = pstCoordenadaKml[i < iNumVertices ? i : 0];
        char cBuf[160];
        char* pc = std::to_chars(cBuf, cBuf + 70, stVertice.dLongitude, std::chars_format::fixed, 6).ptr;
        *pc++ = ',';
        pc = std::to_chars(pc, pc + 70, stVertice.dLatitude, std::chars_format::fixed, 6).ptr;
        *pc++ = ',';
        pc = std::to_chars(pc, cBuf + sizeof cBuf, static_cast<int>(stVertice.fAltitude)).ptr;
        *pc++ = '\n';
        szTexto.append(cBuf, pc);
    }
    szTexto += "</coordinates>\n</LinearRing>\n</outerBoundaryIs>\n</Polygon>\n</Placemark>\n\n";
    return std::fwrite(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita) == szTexto.size();
}

BOOL conversor_GerarPoligonosKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                 unsigned short usVersaoArquivoEvento, const ST_EventoCabecalho* pstCabecalho,
                                 int iTipoMapa, double dZeroRelativoLon, double dZeroRelativoLat,
                                 const ST_ParametrosMapa* pstParametros, BOOL* pbTaxaPulv, BOOL* pbTaxaAdub)
{
    *pbTaxaPulv = FALSE;
    *pbTaxaAdub = FALSE;
    const int iTipoLegenda = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO
                                 ? D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO
                                 : D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR;
    ST_ContextoKml stContexto;
    stContexto.pfArquivoEscrita = pfArquivoEscrita;
    stContexto.pstParametros = pstParametros;
    stContexto.iTipoLegenda = iTipoLegenda;
    const ST_ReceptorAnel stReceptor{&stContexto, InserirAnelKml};

    for (std::uint32_t ulEtapa = 0; ulEtapa < pstCabecalho->ulNumConfiguracoes; ++ulEtapa)
    {
        ST_EventoConfig_v9 stConfig;
        ST_EtapaPoligonos stEtapa;
        ST_DesenhoPoligono stDesenho;
        if (!conversor_PrepararEtapaPoligonos(pfArquivoLeitura, usVersaoArquivoEvento, iTipoMapa, dZeroRelativoLon,
                                              dZeroRelativoLat, &stConfig, &stEtapa, &stDesenho))
            return FALSE;
        stDesenho.pfArquivoEscritaKML = pfArquivoEscrita;
        *pbTaxaPulv = stEtapa.bTaxaPulv;
        *pbTaxaAdub = stEtapa.bTaxaAdub;
        stContexto.bTemLegenda = stEtapa.bTemLegenda;

        const long lPrimeiroPonto = std::ftell(pfArquivoLeitura);
        if (lPrimeiroPonto < 0)
            return FALSE;
        for (int iPassagem = 0; iPassagem < stEtapa.iPassagens; ++iPassagem)
        {
            if (std::fseek(pfArquivoLeitura, lPrimeiroPonto, SEEK_SET) != 0)
                return FALSE;
            if (!GerarPassagem(pfArquivoLeitura, stEtapa, iPassagem, stDesenho, stReceptor, pstParametros))
                return FALSE;
        }
    }

    static constexpr char kFimPasta[] = "\n</Folder>\n";
    std::fwrite(kFimPasta, 1, sizeof kFimPasta - 1, pfArquivoEscrita);
    return TRUE;
}
