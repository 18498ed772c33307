// Reading of track points and configuration blocks of any event version into the in-memory forms.
#include <algorithm>
#include <cstring>

#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
// Points a block reader takes with one read: more bytes than a file's buffer, so that the C library
// reads most of them straight into the block.
constexpr std::size_t kPontosPorBloco = 8192;

// A stored point of iTamanho bytes, nLidos of them present, into the in-memory point.
BOOL DecodificarPonto(const unsigned char* pucPonto, std::size_t nLidos, int iTamanho, ST_PontoNVG_v2* pstPontoNVG)
{
    // The current format whole, the usual case: a copy of known size, without a call.
    if (iTamanho == sizeof(ST_PontoNVG_v2) && nLidos == sizeof(ST_PontoNVG_v2))
    {
        std::memcpy(pstPontoNVG, pucPonto, sizeof(ST_PontoNVG_v2));
        return TRUE;
    }
    if (iTamanho != sizeof(ST_PontoNVG_v1))
    {
        // The 40- and 52-byte formats are prefixes of the in-memory point.
        std::memcpy(pstPontoNVG, pucPonto, nLidos);
        return nLidos == static_cast<std::size_t>(iTamanho);
    }
    if (nLidos != sizeof(ST_PontoNVG_v1))
        return FALSE;

    ST_PontoNVG_v1 stAntigo;
    std::memcpy(&stAntigo, pucPonto, sizeof stAntigo);
    pstPontoNVG->fLongitudeRelImp = stAntigo.fLongitudeRelImp;
    pstPontoNVG->fLatitudeRelImp = stAntigo.fLatitudeRelImp;
    pstPontoNVG->fAnguloNavegacao = stAntigo.fAnguloNavegacao;
    pstPontoNVG->fAreaCobertura = stAntigo.fAreaCobertura;
    pstPontoNVG->ulSegundosDataHora = stAntigo.ulSegundosDataHora;
    pstPontoNVG->usTag = stAntigo.usTag;
    pstPontoNVG->usSecoes = stAntigo.usSecoes;
    pstPontoNVG->usTaxaLida[0] = stAntigo.usTaxaLida;
    for (int i = 1; i < D_ZAVORO_NUMERO_TAXAS; i++)
        pstPontoNVG->usTaxaLida[i] = 0;
    pstPontoNVG->usNivelTanque = stAntigo.usNivelTanque;
    pstPontoNVG->usVolumeAplicado = stAntigo.usVolumeAplicado;
    pstPontoNVG->ucVelocidade = stAntigo.ucVelocidade;
    pstPontoNVG->ucDesvio = stAntigo.ucDesvio;
    return TRUE;
}
} // namespace

BOOL zavoro_LerEstruturaLog(std::FILE* pfArquivoLeitura, ST_PontoNVG_v2* pstPontoNVG,
                            unsigned int uiVersaoArquivoEvento, int* piBytesLidosLog)
{
    int iTamanho = zavoro_TamanhoPontoNVG(uiVersaoArquivoEvento);
    std::size_t lidos = 0;
    unsigned char ucBuffer[sizeof(ST_PontoNVG_v2)];
    if (pfArquivoLeitura != nullptr && pstPontoNVG != nullptr && iTamanho > 0)
        lidos = std::fread(ucBuffer, 1, static_cast<std::size_t>(iTamanho), pfArquivoLeitura);
    if (piBytesLidosLog != nullptr)
        *piBytesLidosLog = static_cast<int>(lidos);
    if (iTamanho == 0 || pstPontoNVG == nullptr)
        return FALSE;
    return DecodificarPonto(ucBuffer, lidos, iTamanho, pstPontoNVG);
}

void zavoro_IniciarLeitorPontos(ST_LeitorPontosNVG* pstLeitor, std::FILE* pfArquivoLeitura,
                                unsigned int uiVersaoArquivoEvento, std::uint32_t ulNumeroPontos)
{
    pstLeitor->pfArquivoLeitura = pfArquivoLeitura;
    pstLeitor->nTamanhoPonto = static_cast<std::size_t>(std::max(zavoro_TamanhoPontoNVG(uiVersaoArquivoEvento), 0));
    pstLeitor->ulPontosNoArquivo = ulNumeroPontos;
    pstLeitor->nPosicao = 0;
    pstLeitor->nFim = 0;
}

BOOL zavoro_LerProximoPonto(ST_LeitorPontosNVG* pstLeitor, ST_PontoNVG_v2* pstPontoNVG)
{
    const std::size_t nTamanho = pstLeitor->nTamanhoPonto;
    if (nTamanho == 0 || pstLeitor->pfArquivoLeitura == nullptr || pstPontoNVG == nullptr)
        return FALSE;
    if (pstLeitor->nFim - pstLeitor->nPosicao < nTamanho)
    {
        // What is left of the block is a point cut short by the end of the file.
        if (pstLeitor->nPosicao != pstLeitor->nFim || pstLeitor->ulPontosNoArquivo == 0)
            return FALSE;
        const std::size_t nPontos = std::min<std::size_t>(pstLeitor->ulPontosNoArquivo, kPontosPorBloco);
        // A short stage gets a short block; the block only grows.
        if (pstLeitor->vBloco.size() < nPontos * nTamanho)
            pstLeitor->vBloco.resize(nPontos * nTamanho);
        pstLeitor->nPosicao = 0;
        pstLeitor->nFim = std::fread(pstLeitor->vBloco.data(), 1, nPontos * nTamanho, pstLeitor->pfArquivoLeitura);
        pstLeitor->ulPontosNoArquivo -= static_cast<std::uint32_t>(nPontos);
        if (pstLeitor->nFim < nTamanho)
            return FALSE;
    }
    const unsigned char* puc = pstLeitor->vBloco.data() + pstLeitor->nPosicao;
    pstLeitor->nPosicao += nTamanho;
    return DecodificarPonto(puc, nTamanho, static_cast<int>(nTamanho), pstPontoNVG);
}

BOOL zavoro_LerConfiguracaoEvento(std::FILE* pfArquivoLeitura, unsigned int uiVersaoArquivoEvento,
                                  ST_EventoConfig_v9* pstConfig, int* piBytesLidos)
{
    int iTamanho = zavoro_TamanhoConfiguracaoEvento(uiVersaoArquivoEvento);
    std::size_t lidos = 0;
    if (pstConfig != nullptr)
    {
        std::memset(pstConfig, 0, sizeof *pstConfig);
        if (pfArquivoLeitura != nullptr && iTamanho > 0)
            lidos = std::fread(pstConfig, 1, static_cast<std::size_t>(iTamanho), pfArquivoLeitura);
    }
    if (piBytesLidos != nullptr)
        *piBytesLidos = static_cast<int>(lidos);
    return iTamanho > 0 && lidos == static_cast<std::size_t>(iTamanho);
}

std::string zavoro_TextoCampo(const char* pcCampo, std::size_t tamanho)
{
    const void* pFim = std::memchr(pcCampo, 0, tamanho);
    std::size_t n = pFim != nullptr ? static_cast<std::size_t>(static_cast<const char*>(pFim) - pcCampo) : tamanho;
    return funcAux_Cp1252ParaUtf8(std::string_view(pcCampo, n));
}
