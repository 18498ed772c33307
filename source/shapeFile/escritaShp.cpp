// The coverage of a map as an ESRI Shapefile set (.shp, .shx, .dbf, .prj): a receiver of the coverage
// walk by the length rules, one record per ring with its polygon's mean value. The set is written to
// temporaries and renamed over its targets only when complete.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <charconv>
#include <ctime>
#include <string_view>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/cobertura.h"
#include "zavoro/shapeFile.h"

namespace
{

constexpr std::size_t kTamanhoCabecalhoRegistro = 8;
constexpr std::size_t kTamanhoEntradaShx = 8;

void Erro(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
}

bool Gravar(std::FILE* pf, const unsigned char* puc, std::size_t n)
{
    return std::fwrite(puc, 1, n, pf) == n;
}

// The 100-byte header of the .shp and the .shx, with the file's length in bytes and the set's box:
// written with placeholders first, again over them when the set is complete.
bool GravarCabecalhoShp(std::FILE* pf, std::uint64_t ulTamanho, const double* pdBox)
{
    unsigned char uc[D_SHPFILE_TAMANHO_CABECALHO_SHP] = {};
    funcAux_GravarBe32(uc, D_SHPFILE_CODIGO_ARQUIVO);
    funcAux_GravarBe32(uc + 24, static_cast<std::uint32_t>(ulTamanho / 2));
    funcAux_GravarLe32(uc + 28, D_SHPFILE_VERSAO);
    funcAux_GravarLe32(uc + 32, D_SHPFILE_TIPO_POLIGONO);
    if (pdBox != nullptr)
        for (int i = 0; i < 4; ++i)
            funcAux_GravarLeDouble(uc + 36 + 8 * i, pdBox[i]);
    return Gravar(pf, uc, sizeof uc);
}

// Writes bytes at an offset: the last thing done to a file.
bool Corrigir(std::FILE* pf, long lPosicao, const unsigned char* puc, std::size_t n)
{
    return std::fseek(pf, lPosicao, SEEK_SET) == 0 && Gravar(pf, puc, n);
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
#if defined(_WIN32)
    localtime_s(&stData, &t);
#else
    localtime_r(&t, &stData);
#endif
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

// The 19-byte .dbf row: a space (not deleted), then number and value each as "%9.2f" would print them,
// right-aligned; numbers above 999999 are written as 999999.
void LinhaDbf(unsigned int uiNumPoligono, unsigned int uiValor, unsigned char* pcBuffer)
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

// A ring not written stops the walk; the system's reason is kept for the message, as other walks
// sharing the read go on and may change errno.
BOOL Recusar(ST_EscritaShp& stEscrita)
{
    stEscrita.iErro = errno;
    return FALSE;
}

// Appends one ring (iNumVertices vertices in degrees, not closed) as the next record: the .shp record
// with the ring's box, its .shx entry and its .dbf row with the value iValor; the set's box grows by
// the ring's. FALSE when a write comes up short.
BOOL InserirAnelShp(void* pContexto, const ST_CoordenadaKml* pstCoordenada, int iNumVertices, int iValor)
{
    ST_EscritaShp& stReceptor = *static_cast<ST_EscritaShp*>(pContexto);
    if (iNumVertices <= 0)
        return FALSE;
    const unsigned int uiNumPoligono = stReceptor.uiNumPoligonos;
    const std::uint64_t ulPosicao = stReceptor.ulTamanhoShp;

    double dLonMin = D_SHPFILE_BOX_VAZIO, dLatMin = D_SHPFILE_BOX_VAZIO;
    double dLonMax = -D_SHPFILE_BOX_VAZIO, dLatMax = -D_SHPFILE_BOX_VAZIO;
    for (int i = 0; i < iNumVertices; ++i)
    {
        dLonMin = std::min(dLonMin, pstCoordenada[i].dLongitude);
        dLatMin = std::min(dLatMin, pstCoordenada[i].dLatitude);
        dLonMax = std::max(dLonMax, pstCoordenada[i].dLongitude);
        dLatMax = std::max(dLatMax, pstCoordenada[i].dLatitude);
    }
    // Content: type, box, parts, points, one part index, then the ring closed on its first vertex.
    const std::size_t nPontos = static_cast<std::size_t>(iNumVertices) + 1;
    const std::size_t nConteudo = 44 + 4 + 16 * nPontos;
    std::vector<unsigned char>& vRegistro = stReceptor.vRegistro;
    vRegistro.resize(kTamanhoCabecalhoRegistro + nConteudo);
    unsigned char* puc = vRegistro.data();
    const auto uiPalavras = static_cast<std::uint32_t>(nConteudo / 2);
    funcAux_GravarBe32(puc, uiNumPoligono);
    funcAux_GravarBe32(puc + 4, uiPalavras);
    funcAux_GravarLe32(puc + 8, D_SHPFILE_TIPO_POLIGONO);
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
    if (!Gravar(stReceptor.stConjunto.stShp.pfArquivo, puc, vRegistro.size()))
        return Recusar(stReceptor);
    stReceptor.ulTamanhoShp += vRegistro.size();

    unsigned char ucIndice[kTamanhoEntradaShx];
    funcAux_GravarBe32(ucIndice, static_cast<std::uint32_t>(ulPosicao / 2));
    funcAux_GravarBe32(ucIndice + 4, uiPalavras);
    if (!Gravar(stReceptor.stConjunto.stShx.pfArquivo, ucIndice, sizeof ucIndice))
        return Recusar(stReceptor);
    stReceptor.ulTamanhoShx += sizeof ucIndice;

    unsigned char ucLinha[D_SHPFILE_TAMANHO_REGISTRO_DBF];
    LinhaDbf(uiNumPoligono, static_cast<unsigned int>(std::max(iValor, 0)), ucLinha);
    if (!Gravar(stReceptor.stConjunto.stDbf.pfArquivo, ucLinha, sizeof ucLinha))
        return Recusar(stReceptor);

    ++stReceptor.uiNumPoligonos;
    // Every ring widens the box, also the second strip of a polygon with a gap in its sections.
    double* dBox = stReceptor.dBox;
    dBox[0] = std::min(dBox[0], dLonMin);
    dBox[1] = std::min(dBox[1], dLatMin);
    dBox[2] = std::max(dBox[2], dLonMax);
    dBox[3] = std::max(dBox[3], dLatMax);
    return TRUE;
}

// Names the file of the set whose stream failed, with the system's reason; the input is blamed only
// when every output stream is sound.
std::string MotivoFalha(const ST_ConjuntoShpSaida& stConjunto, int iErro, std::string szMotivoEntrada)
{
    for (const ST_ArquivoSaida* pst : {&stConjunto.stShp, &stConjunto.stShx, &stConjunto.stDbf, &stConjunto.stPrj})
        if (pst->pfArquivo != nullptr && std::ferror(pst->pfArquivo))
            return "erro de gravação de " + pst->szDestino + (iErro != 0 ? " (" + funcAux_DescreverErro(iErro) + ")" : "");
    return szMotivoEntrada;
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
    return funcAux_PublicarArquivosSaida(pstArquivos, pszErro);
}

BOOL shpFile_AbrirEscritaShp(const std::string& szArquivoKml, int iTipoMapa, ST_EscritaShp* pstEscrita,
                             std::string* pszErro)
{
    ST_EscritaShp& stEscrita = *pstEscrita;
    ST_ArquivosShp stNomes;
    if (!shpFile_NomesArquivosShp(szArquivoKml, &stNomes))
    {
        Erro(pszErro, "nome de mapa curto demais para o conjunto shapefile: " + szArquivoKml);
        return FALSE;
    }
    stEscrita.szShp = stNomes.szShp;

    ST_ConjuntoShpSaida& stConjunto = stEscrita.stConjunto;
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
    errno = 0;
    if (!GravarCabecalhoShp(stConjunto.stShp.pfArquivo, 0, nullptr) ||
        !GravarCabecalhoShp(stConjunto.stShx.pfArquivo, 0, nullptr) ||
        !GravarCabecalhoDbf(stConjunto.stDbf.pfArquivo, iTipoMapa))
    {
        Erro(pszErro, MotivoFalha(stConjunto, errno, "erro de gravação do conjunto shapefile " + stNomes.szShp));
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }
    return TRUE;
}

ST_ReceptorCobertura shpFile_ReceptorShp(ST_EscritaShp* pstEscrita)
{
    ST_ReceptorCobertura stReceptor;
    stReceptor.pContexto = pstEscrita;
    stReceptor.pfInserirAnel = InserirAnelShp;
    return stReceptor;
}

BOOL shpFile_ConcluirEscritaShp(ST_EscritaShp* pstEscrita, BOOL bPercursoOk, ST_ConjuntoShpSaida* pstPendente,
                                std::string* pszErro)
{
    ST_EscritaShp& stEscrita = *pstEscrita;
    ST_ConjuntoShpSaida& stConjunto = stEscrita.stConjunto;
    if (!bPercursoOk)
    {
        Erro(pszErro, MotivoFalha(stConjunto, stEscrita.iErro, "pontos do trajeto ilegíveis"));
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }
    std::FILE* pfShp = stConjunto.stShp.pfArquivo;
    std::FILE* pfShx = stConjunto.stShx.pfArquivo;
    std::FILE* pfDbf = stConjunto.stDbf.pfArquivo;
    std::FILE* pfPrj = stConjunto.stPrj.pfArquivo;

    errno = 0;
    const unsigned char ucFim = D_SHPFILE_FIM_ARQUIVO_DBF;
    bool bOk = pfShp != nullptr && Gravar(pfDbf, &ucFim, 1);
    // The headers last: the length and box of the .shp and .shx, the record count of the .dbf.
    bOk = bOk && std::fseek(pfShp, 0, SEEK_SET) == 0 &&
          GravarCabecalhoShp(pfShp, stEscrita.ulTamanhoShp, stEscrita.dBox) && std::fseek(pfShx, 0, SEEK_SET) == 0 &&
          GravarCabecalhoShp(pfShx, stEscrita.ulTamanhoShx, stEscrita.dBox);
    if (bOk)
    {
        unsigned char ucRegistros[4];
        funcAux_GravarLe32(ucRegistros, stEscrita.uiNumPoligonos - 1);
        bOk = Corrigir(pfDbf, 4, ucRegistros, sizeof ucRegistros);
    }
    if (bOk)
    {
        const std::string_view szPrj = D_SHPFILE_PRJ_WGS84;
        bOk = Gravar(pfPrj, reinterpret_cast<const unsigned char*>(szPrj.data()), szPrj.size());
    }
    if (!bOk)
    {
        Erro(pszErro, MotivoFalha(stConjunto, errno, "erro de gravação do conjunto shapefile " + stEscrita.szShp));
        shpFile_DescartarConjuntoShp(&stConjunto);
        return FALSE;
    }

    if (pstPendente == nullptr)
        return shpFile_ConcluirConjuntoShp(&stConjunto, pszErro);
    *pstPendente = std::move(stConjunto);
    // The streams are the caller's now.
    stConjunto = ST_ConjuntoShpSaida{};
    return TRUE;
}

ST_EscritaShp::~ST_EscritaShp()
{
    shpFile_DescartarConjuntoShp(&stConjunto);
}

BOOL shpFile_GerarArquivosShp(std::FILE* pfArquivoNVGLeitura, const std::string& szArquivoKml,
                              unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                              double dZeroRelativoLon, double dZeroRelativoLat, ST_ConjuntoShpSaida* pstPendente,
                              std::string* pszErro)
{
    ST_EscritaShp stEscrita;
    if (!shpFile_AbrirEscritaShp(szArquivoKml, iTipoMapa, &stEscrita, pszErro))
        return FALSE;
    const BOOL bOk =
        cobertura_PercorrerCobertura(pfArquivoNVGLeitura, usVersaoArquivoEvento, uiNumConfiguracoes, iTipoMapa,
                                     dZeroRelativoLon, dZeroRelativoLat, D_COBERTURA_CORTE_COMPRIMENTO,
                                     shpFile_ReceptorShp(&stEscrita));
    return shpFile_ConcluirEscritaShp(&stEscrita, bOk, pstPendente, pszErro);
}
