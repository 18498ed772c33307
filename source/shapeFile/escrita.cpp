// The coverage of a map as an ESRI Shapefile set (.shp, .shx, .dbf, .prj): a second walk over the
// track with longer polygons than the KML (cut by length, value jumps, mask changes and a point
// limit), each carrying the truncated running mean of its values, drawn with the common strip
// geometry. The set is written to temporaries and renamed over its targets only when complete.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "conversor/geometria.h"
#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

namespace
{

constexpr std::uint32_t kCodigoArquivoShp = 9994;
constexpr std::uint32_t kVersaoShp = 1000;
constexpr std::uint32_t kTipoPoligono = 5;
constexpr std::size_t kTamanhoCabecalhoShp = 100;
constexpr std::size_t kTamanhoCabecalhoRegistro = 8;
constexpr std::size_t kTamanhoEntradaShx = 8;

// A record is closed once its buffer holds more than this, so the next point still fits.
constexpr int kPontosFecharPoligono = D_SHPFILE_MAXIMO_PONTOS_POLIGONO - 2;
// A value differing from the previous one by more than 5 %, or by 50 units or more, starts a record.
constexpr double kRazaoSaltoSuperior = 1.05;
constexpr double kRazaoSaltoInferior = 0.95;
constexpr int kDiferencaSalto = 50;

void Erro(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
}

bool Gravar(std::FILE* pf, const unsigned char* puc, std::size_t n)
{
    return std::fwrite(puc, 1, n, pf) == n;
}

// Writes bytes at an offset and returns to the end.
bool Corrigir(std::FILE* pf, long lPosicao, const unsigned char* puc, std::size_t n)
{
    return std::fseek(pf, lPosicao, SEEK_SET) == 0 && Gravar(pf, puc, n) && std::fseek(pf, 0, SEEK_END) == 0;
}

// The 100-byte header of the .shp and the .shx; length and box are patched at the end.
bool GravarCabecalhoShp(std::FILE* pf)
{
    unsigned char uc[kTamanhoCabecalhoShp] = {};
    funcAux_GravarBe32(uc, kCodigoArquivoShp);
    funcAux_GravarLe32(uc + 28, kVersaoShp);
    funcAux_GravarLe32(uc + 32, kTipoPoligono);
    return Gravar(pf, uc, sizeof uc);
}

void GravarCampoDbf(unsigned char* puc, std::string_view szNome)
{
    std::copy_n(szNome.data(), std::min<std::size_t>(szNome.size(), 10), puc);
    puc[11] = 'N';
    puc[16] = 9; // width, decimal point included
    puc[17] = 2; // decimals
}

bool GravarCabecalhoDbf(std::FILE* pf, int iTipoMapa)
{
    unsigned char uc[D_SHPFILE_TAMANHO_CABECALHO_DBF] = {};
    uc[0] = 3; // dBASE III without memo
    const std::time_t t = std::time(nullptr);
    std::tm stData{};
    localtime_r(&t, &stData);
    uc[1] = static_cast<unsigned char>(std::clamp(stData.tm_year, 0, 255));
    uc[2] = static_cast<unsigned char>(stData.tm_mon + 1);
    uc[3] = static_cast<unsigned char>(stData.tm_mday);
    funcAux_GravarLe16(uc + 8, D_SHPFILE_TAMANHO_CABECALHO_DBF);
    funcAux_GravarLe16(uc + 10, D_SHPFILE_TAMANHO_REGISTRO_DBF);
    GravarCampoDbf(uc + 32, "ID");
    GravarCampoDbf(uc + 64, iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE ? "VELOCIDADE" : "DOSES");
    uc[96] = 0x0D;
    return Gravar(pf, uc, sizeof uc);
}

struct ST_ContextoShp
{
    unsigned int* puiNumPoligonos = nullptr;
    double* pdBox = nullptr;
};

BOOL InserirAnelShp(void* pContexto, ST_DesenhoPoligono* pstDesenhoPoligono, const ST_CoordenadaKml* pstVertices,
                    int iNumVertices)
{
    auto* pstContexto = static_cast<ST_ContextoShp*>(pContexto);
    if (!conversor_InserirPoligonoSHP(pstDesenhoPoligono, pstVertices, iNumVertices, *pstContexto->puiNumPoligonos))
        return FALSE;
    ++*pstContexto->puiNumPoligonos;
    // Every ring widens the box, also the second strip of a polygon with a gap in its sections.
    conversor_AtualizarBoundingBox(pstDesenhoPoligono, pstContexto->pdBox);
    return TRUE;
}

bool SaltoDeValor(int iValor, int iValorAnterior)
{
    if (iValorAnterior <= 0)
        return iValor > 0;
    const double dRazao = static_cast<double>(iValor) / static_cast<double>(iValorAnterior);
    if (dRazao > kRazaoSaltoSuperior || dRazao < kRazaoSaltoInferior)
        return true;
    return std::abs(iValor - iValorAnterior) >= kDiferencaSalto;
}

// Stages whose coverage has no value of its own are still drawn on the coverage maps, as value 0.
bool EscrevePoligonosSemValor(const ST_EtapaPoligonos& stEtapa)
{
    if (stEtapa.iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE)
        return false;
    return stEtapa.ucOperacao == D_ZAVORO_OPERACAO_COLHEITA || stEtapa.ucOperacao == D_ZAVORO_OPERACAO_PLANTIO ||
           stEtapa.ucOperacao == D_ZAVORO_OPERACAO_IRRIGACAO || stEtapa.ucOperacao == D_ZAVORO_OPERACAO_OUTROS;
}

// One walk over the stage's points for pass iPassagem. *pdLimite is the length limit of a record,
// raised for the rest of the file by the first irrigation point.
BOOL GerarPassagemShp(std::FILE* pfArquivoLeitura, const ST_EtapaPoligonos& stEtapa, int iPassagem,
                      ST_DesenhoPoligono& stDesenho, std::vector<ST_PontoPoligono>& vBuffer,
                      const ST_ReceptorAnel& stReceptor, double* pdLimite)
{
    ST_PontoPoligono* const pstBuffer = vBuffer.data();
    stDesenho.pstPontoPoligono = pstBuffer;
    const BOOL bTemValor = stEtapa.bTemLegenda;
    const bool bSemValor = EscrevePoligonosSemValor(stEtapa);

    BOOL bPoligonoAberto = FALSE;
    int iPontosBuffer = 0;
    std::uint16_t usSecoesAnterior = 0;
    int iValorAnterior = 0;
    int iMedia = 0;
    int iContagemMedia = 0;
    double dComprimento = 0.0;
    float fLonAnterior = 0.0f;
    float fLatAnterior = 0.0f;
    ST_PontoNVG_v2 stPonto{};

    auto Desenhar = [&]() -> BOOL
    {
        stDesenho.iPontosBuffer = iPontosBuffer;
        stDesenho.iFaixaLegendaAtual = iMedia;
        return conversor_DesenharPoligono(&stDesenho, stReceptor, stEtapa.usVersaoArquivoEvento);
    };
    auto Abrir = [&](int iValor)
    {
        conversor_InserirPontoPoligono(pstBuffer, &stPonto, 0);
        iPontosBuffer = 1;
        bPoligonoAberto = TRUE;
        if (bTemValor)
        {
            iMedia = iValor;
            iContagemMedia = 1;
        }
        dComprimento = 0.0;
    };

    for (std::uint32_t ul = 0; ul < stEtapa.ulNumeroPontos; ++ul)
    {
        int iBytesLidos = 0;
        if (!zavoro_LerEstruturaLog(pfArquivoLeitura, &stPonto, stEtapa.usVersaoArquivoEvento, &iBytesLidos))
            return FALSE;
        if ((stPonto.usTag & D_ZAVORO_TAG_RASTRO) == 0)
            continue;
        if (stEtapa.ucOperacao == D_ZAVORO_OPERACAO_IRRIGACAO)
            *pdLimite = D_SHPFILE_COMPRIMENTO_POLIGONO_IRRIGACAO;

        const std::uint16_t usSecoes = conversor_MascararSecoesPoligono(stPonto.usSecoes, stEtapa, iPassagem);
        stPonto.usSecoes = usSecoes;
        const bool bSecoesMudaram = usSecoes != usSecoesAnterior;
        bool bAbrirNovo = !bPoligonoAberto && bSecoesMudaram && !bTemValor;
        bool bFecharAtual = false;
        int iValor = 0;

        if (bTemValor)
        {
            iValor = conversor_ValorPontoPoligono(stPonto, stEtapa, iPassagem);
            if (bPoligonoAberto)
            {
                if (iValor == 0)
                    bFecharAtual = true;
                // The opening point's value gives way to the next one seen.
                if (iPontosBuffer == 1)
                    iMedia = iValor;
            }
            else if (usSecoes != 0 && iValor > 0)
                bAbrirNovo = true;
        }

        dComprimento += zavoro_CalcularDistancia2Pontos(std::fabs(stPonto.fLongitudeRelImp - fLonAnterior),
                                                        std::fabs(stPonto.fLatitudeRelImp - fLatAnterior));
        fLonAnterior = stPonto.fLongitudeRelImp;
        fLatAnterior = stPonto.fLatitudeRelImp;

        if (bSecoesMudaram && bPoligonoAberto)
            bFecharAtual = true;
        if (iPontosBuffer > kPontosFecharPoligono || (dComprimento >= *pdLimite && iPontosBuffer > 0) ||
            (SaltoDeValor(iValor, iValorAnterior) && iPontosBuffer > 0))
            bFecharAtual = true;

        if (bAbrirNovo)
            Abrir(iValor);
        else
        {
            if (bPoligonoAberto)
            {
                // A closing point ends the strip it closes, with that strip's sections.
                if (bFecharAtual)
                    stPonto.usSecoes = usSecoesAnterior;
                if (iPontosBuffer > 0 && iPontosBuffer < D_SHPFILE_MAXIMO_PONTOS_POLIGONO &&
                    (bFecharAtual || !conversor_AnalisarProximidadePontosPoligono(pstBuffer, &stPonto, iPontosBuffer)))
                {
                    conversor_InserirPontoPoligono(pstBuffer, &stPonto, iPontosBuffer);
                    ++iPontosBuffer;
                }
                stPonto.usSecoes = usSecoes;
                if (!bFecharAtual && bTemValor)
                {
                    iMedia = static_cast<int>(std::floor(
                        std::floor(iContagemMedia * static_cast<double>(iMedia) + iValor) / (iContagemMedia + 1)));
                    ++iContagemMedia;
                }
            }
            if (bFecharAtual)
            {
                if ((iMedia > 0 || bSemValor) && !Desenhar())
                    return FALSE;
                iPontosBuffer = 0;
                iMedia = 0;
                iContagemMedia = 0;
                if (usSecoes != 0)
                    Abrir(iValor);
                else
                    bPoligonoAberto = FALSE;
            }
        }
        usSecoesAnterior = usSecoes;
        iValorAnterior = iValor;
    }

    if (bPoligonoAberto && iPontosBuffer > 1 && !Desenhar())
        return FALSE;
    stDesenho.pstPontoPoligono = nullptr;
    return TRUE;
}

void AbrirSaida(const std::string& szDestino, ST_ArquivoSaida* pstSaida, bool* pbOk, std::string* pszErro)
{
    if (*pbOk && !funcAux_AbrirArquivoSaida(szDestino, pstSaida, pszErro))
        *pbOk = false;
}

} // namespace

BOOL shpFile_NomesArquivosShp(const std::string& szArquivoKml, ST_ArquivosShp* pstArquivos)
{
    if (szArquivoKml.size() < 4)
        return FALSE;
    const std::string szBase = szArquivoKml.substr(0, szArquivoKml.size() - 3);
    pstArquivos->szShp = szBase + "shp";
    pstArquivos->szShx = szBase + "shx";
    pstArquivos->szDbf = szBase + "dbf";
    pstArquivos->szPrj = szBase + "prj";
    return TRUE;
}

void conversor_RetornarStringValorDbf(unsigned int uiNumPoligono, unsigned int uiValor, unsigned char* pcBuffer)
{
    pcBuffer[0] = ' ';
    auto Campo = [](unsigned int ui, unsigned char* puc)
    {
        char cNumero[16];
        char* pcFim = std::to_chars(cNumero, cNumero + sizeof cNumero, std::min(ui, D_SHPFILE_VALOR_MAXIMO_DBF)).ptr;
        const std::size_t n = static_cast<std::size_t>(pcFim - cNumero);
        std::fill_n(puc, 6 - n, ' ');
        std::copy_n(cNumero, n, puc + (6 - n));
        std::copy_n(".00", 3, puc + 6);
    };
    Campo(uiNumPoligono, pcBuffer + 1);
    Campo(uiValor, pcBuffer + 10);
}

void conversor_AtualizarBoundingBox(const ST_DesenhoPoligono* pstDesenhoPoligono, double* dBox)
{
    dBox[0] = std::min(dBox[0], pstDesenhoPoligono->dLongitudeMin);
    dBox[1] = std::min(dBox[1], pstDesenhoPoligono->dLatitudeMin);
    dBox[2] = std::max(dBox[2], pstDesenhoPoligono->dLongitudeMax);
    dBox[3] = std::max(dBox[3], pstDesenhoPoligono->dLatitudeMax);
}

BOOL conversor_InserirPoligonoSHP(ST_DesenhoPoligono* pstDesenhoPoligono, const ST_CoordenadaKml* pstCoordenada,
                                  int iNumVertices, unsigned int uiNumPoligono)
{
    if (iNumVertices <= 0)
        return FALSE;
    std::FILE* pfShp = pstDesenhoPoligono->pfArquivoEscritaSHP;
    const long lPosicao = std::ftell(pfShp);
    if (lPosicao < 0)
        return FALSE;

    double dLonMin = D_SHPFILE_BOX_VAZIO, dLatMin = D_SHPFILE_BOX_VAZIO;
    double dLonMax = -D_SHPFILE_BOX_VAZIO, dLatMax = -D_SHPFILE_BOX_VAZIO;
    for (int i = 0; i < iNumVertices; ++i)
    {
        dLonMin = std::min(dLonMin, pstCoordenada[i].dLongitude);
        dLatMin = std::min(dLatMin, pstCoordenada[i].dLatitude);
        dLonMax = std::max(dLonMax, pstCoordenada[i].dLongitude);
        dLatMax = std::max(dLatMax, pstCoordenada[i].dLatitude);
    }
    pstDesenhoPoligono->dLongitudeMin = dLonMin;
    pstDesenhoPoligono->dLatitudeMin = dLatMin;
    pstDesenhoPoligono->dLongitudeMax = dLonMax;
    pstDesenhoPoligono->dLatitudeMax = dLatMax;

    // Content: type, box, parts, points, one part index, then the ring closed on its first vertex.
    const std::size_t nPontos = static_cast<std::size_t>(iNumVertices) + 1;
    const std::size_t nConteudo = 44 + 4 + 16 * nPontos;
    std::vector<unsigned char> vRegistro(kTamanhoCabecalhoRegistro + nConteudo);
    unsigned char* puc = vRegistro.data();
    const auto uiPalavras = static_cast<std::uint32_t>(nConteudo / 2);
    funcAux_GravarBe32(puc, uiNumPoligono);
    funcAux_GravarBe32(puc + 4, uiPalavras);
    funcAux_GravarLe32(puc + 8, kTipoPoligono);
    funcAux_GravarLeDouble(puc + 12, dLonMin);
    funcAux_GravarLeDouble(puc + 20, dLatMin);
    funcAux_GravarLeDouble(puc + 28, dLonMax);
    funcAux_GravarLeDouble(puc + 36, dLatMax);
    funcAux_GravarLe32(puc + 44, 1);
    funcAux_GravarLe32(puc + 48, static_cast<std::uint32_t>(nPontos));
    funcAux_GravarLe32(puc + 52, 0);
    for (std::size_t i = 0; i < nPontos; ++i)
    {
        const ST_CoordenadaKml& stVertice = pstCoordenada[i < nPontos - 1 ? i : 0];
        funcAux_GravarLeDouble(puc + 56 + 16 * i, stVertice.dLongitude);
        funcAux_GravarLeDouble(puc + 64 + 16 * i, stVertice.dLatitude);
    }
    if (!Gravar(pfShp, puc, vRegistro.size()))
        return FALSE;

    unsigned char ucIndice[kTamanhoEntradaShx];
    funcAux_GravarBe32(ucIndice, static_cast<std::uint32_t>(lPosicao / 2));
    funcAux_GravarBe32(ucIndice + 4, uiPalavras);
    if (!Gravar(pstDesenhoPoligono->pfArquivoEscritaSHX, ucIndice, sizeof ucIndice))
        return FALSE;

    unsigned char ucLinha[D_SHPFILE_TAMANHO_REGISTRO_DBF];
    conversor_RetornarStringValorDbf(uiNumPoligono,
                                     static_cast<unsigned int>(std::max(pstDesenhoPoligono->iFaixaLegendaAtual, 0)),
                                     ucLinha);
    return Gravar(pstDesenhoPoligono->pfArquivoEscritaDBF, ucLinha, sizeof ucLinha);
}

BOOL conversor_GerarPoligonosShp(std::FILE* pfArquivoEscritaShp, std::FILE* pfArquivoEscritaDbf,
                                 std::FILE* pfArquivoEscritaShx, std::FILE* pfArquivoNVGLeitura,
                                 unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                                 double dZeroRelativoLon, double dZeroRelativoLat, double* dBox,
                                 unsigned int* puiNumPoligonos)
{
    ST_ContextoShp stContexto{puiNumPoligonos, dBox};
    const ST_ReceptorAnel stReceptor{&stContexto, InserirAnelShp};
    std::vector<ST_PontoPoligono> vBuffer(D_SHPFILE_MAXIMO_PONTOS_POLIGONO);
    double dLimite = D_SHPFILE_COMPRIMENTO_POLIGONO;

    for (unsigned int uiEtapa = 0; uiEtapa < uiNumConfiguracoes; ++uiEtapa)
    {
        ST_EventoConfig_v9 stConfig;
        ST_EtapaPoligonos stEtapa;
        ST_DesenhoPoligono stDesenho;
        if (!conversor_PrepararEtapaPoligonos(pfArquivoNVGLeitura, usVersaoArquivoEvento, iTipoMapa, dZeroRelativoLon,
                                              dZeroRelativoLat, &stConfig, &stEtapa, &stDesenho))
            return FALSE;
        stDesenho.pfArquivoEscritaSHP = pfArquivoEscritaShp;
        stDesenho.pfArquivoEscritaDBF = pfArquivoEscritaDbf;
        stDesenho.pfArquivoEscritaSHX = pfArquivoEscritaShx;

        const long lPrimeiroPonto = std::ftell(pfArquivoNVGLeitura);
        if (lPrimeiroPonto < 0)
            return FALSE;
        for (int iPassagem = 0; iPassagem < stEtapa.iPassagens; ++iPassagem)
        {
            if (std::fseek(pfArquivoNVGLeitura, lPrimeiroPonto, SEEK_SET) != 0)
                return FALSE;
            if (!GerarPassagemShp(pfArquivoNVGLeitura, stEtapa, iPassagem, stDesenho, vBuffer, stReceptor, &dLimite))
                return FALSE;
        }
    }
    return TRUE;
}

void shpFile_DescartarConjuntoShp(ST_ConjuntoShpSaida* pstConjunto)
{
    funcAux_DescartarArquivoSaida(&pstConjunto->stShp);
    funcAux_DescartarArquivoSaida(&pstConjunto->stShx);
    funcAux_DescartarArquivoSaida(&pstConjunto->stDbf);
    funcAux_DescartarArquivoSaida(&pstConjunto->stPrj);
}

BOOL shpFile_ConcluirConjuntoShp(ST_ConjuntoShpSaida* pstConjunto, std::string* pszErro)
{
    ST_ArquivoSaida* const pstArquivos[] = {&pstConjunto->stShp, &pstConjunto->stShx, &pstConjunto->stDbf,
                                            &pstConjunto->stPrj};
    // Every file is finished and every target free before the first rename.
    bool bOk = true;
    for (ST_ArquivoSaida* pst : pstArquivos)
    {
        if (pst->pfArquivo == nullptr)
        {
            bOk = false;
            continue;
        }
        const bool bGravado = std::fflush(pst->pfArquivo) == 0 && !std::ferror(pst->pfArquivo);
        bOk = std::fclose(pst->pfArquivo) == 0 && bGravado && bOk;
        pst->pfArquivo = nullptr;
        std::error_code ec;
        if (std::filesystem::is_directory(pst->szDestino, ec))
            bOk = false;
    }
    if (!bOk)
    {
        Erro(pszErro, "erro de gravação do conjunto shapefile " + pstConjunto->stShp.szDestino);
        shpFile_DescartarConjuntoShp(pstConjunto);
        return FALSE;
    }
    for (std::size_t i = 0; i < std::size(pstArquivos); ++i)
    {
        if (std::rename(pstArquivos[i]->szTemporario.c_str(), pstArquivos[i]->szDestino.c_str()) == 0)
        {
            pstArquivos[i]->szTemporario.clear();
            continue;
        }
        // A set of new and old files would not belong together: take back the new ones.
        Erro(pszErro, "não foi possível gravar " + pstArquivos[i]->szDestino);
        for (std::size_t j = 0; j < i; ++j)
            std::remove(pstArquivos[j]->szDestino.c_str());
        shpFile_DescartarConjuntoShp(pstConjunto);
        return FALSE;
    }
    return TRUE;
}

BOOL shpFile_GerarArquivosShp(std::FILE* pfArquivoNVGLeitura, const std::string& szArquivoKml,
                              unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                              double dZeroRelativoLon, double dZeroRelativoLat, ST_ConjuntoShpSaida* pstPendente,
                              std::string* pszErro)
{
    ST_ArquivosShp stNomes;
    if (!shpFile_NomesArquivosShp(szArquivoKml, &stNomes))
    {
        Erro(pszErro, "nome de mapa curto demais para o conjunto shapefile: " + szArquivoKml);
        return FALSE;
    }

    ST_ConjuntoShpSaida stConjunto;
    bool bOk = true;
    AbrirSaida(stNomes.szShp, &stConjunto.stShp, &bOk, pszErro);
    AbrirSaida(stNomes.szDbf, &stConjunto.stDbf, &bOk, pszErro);
    AbrirSaida(stNomes.szShx, &stConjunto.stShx, &bOk, pszErro);
    AbrirSaida(stNomes.szPrj, &stConjunto.stPrj, &bOk, pszErro);
    if (!bOk)
    {
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }
    std::FILE* pfShp = stConjunto.stShp.pfArquivo;
    std::FILE* pfShx = stConjunto.stShx.pfArquivo;
    std::FILE* pfDbf = stConjunto.stDbf.pfArquivo;
    std::FILE* pfPrj = stConjunto.stPrj.pfArquivo;

    bOk = GravarCabecalhoShp(pfShp) && GravarCabecalhoShp(pfShx) && GravarCabecalhoDbf(pfDbf, iTipoMapa);
    unsigned int uiNumPoligonos = 1;
    double dBox[4] = {D_SHPFILE_BOX_VAZIO, D_SHPFILE_BOX_VAZIO, -D_SHPFILE_BOX_VAZIO, -D_SHPFILE_BOX_VAZIO};
    if (bOk && !conversor_GerarPoligonosShp(pfShp, pfDbf, pfShx, pfArquivoNVGLeitura, usVersaoArquivoEvento,
                                            uiNumConfiguracoes, iTipoMapa, dZeroRelativoLon, dZeroRelativoLat, dBox,
                                            &uiNumPoligonos))
    {
        Erro(pszErro, "pontos do trajeto ilegíveis ou registro não gravado no conjunto shapefile");
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }

    if (bOk)
    {
        const unsigned char ucFim = D_SHPFILE_FIM_ARQUIVO_DBF;
        bOk = Gravar(pfDbf, &ucFim, 1);
    }
    unsigned char ucBox[32];
    for (int i = 0; i < 4; ++i)
        funcAux_GravarLeDouble(ucBox + 8 * i, dBox[i]);
    for (std::FILE* pf : {pfShp, pfShx})
    {
        const long lTamanho = bOk ? std::ftell(pf) : -1;
        unsigned char ucTamanho[4];
        funcAux_GravarBe32(ucTamanho, static_cast<std::uint32_t>(lTamanho / 2));
        bOk = lTamanho >= 0 && Corrigir(pf, 24, ucTamanho, 4) && Corrigir(pf, 36, ucBox, sizeof ucBox);
    }
    if (bOk)
    {
        unsigned char ucRegistros[4];
        funcAux_GravarLe32(ucRegistros, uiNumPoligonos - 1);
        bOk = Corrigir(pfDbf, 4, ucRegistros, sizeof ucRegistros);
    }
    if (bOk)
    {
        const std::string_view szPrj = D_SHPFILE_PRJ_WGS84;
        bOk = Gravar(pfPrj, reinterpret_cast<const unsigned char*>(szPrj.data()), szPrj.size());
    }
    if (!bOk)
    {
        Erro(pszErro, "erro de gravação do conjunto shapefile " + stNomes.szShp);
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }

    if (pstPendente != nullptr)
    {
        *pstPendente = std::move(stConjunto);
        return TRUE;
    }
    return shpFile_ConcluirConjuntoShp(&stConjunto, pszErro);
}
