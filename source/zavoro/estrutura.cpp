// The light walk over a navigation file that the converters make before they write: positions of the
// parts, no checksums.
#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/zavoro.h"

namespace
{
BOOL Falhar(std::string* pszErro, const char* pcMotivo)
{
    if (pszErro != nullptr)
        *pszErro = pcMotivo;
    return FALSE;
}

// Skips ulNumero entries by their lengths, checking each one's version.
bool PularEntradas(std::FILE* pf, std::uint32_t ulNumero, bool bGuias)
{
    for (std::uint32_t i = 0; i < ulNumero; i++)
    {
        long lInicio = std::ftell(pf);
        std::int32_t iTamanho = 0;
        std::uint16_t usVersao = 0;
        if (!funcAux_Ler(pf, &iTamanho) || !funcAux_Ler(pf, &usVersao) || iTamanho < 2)
            return false;
        bool bVersaoValida = bGuias ? usVersao >= D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA &&
                                          usVersao <= D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA
                                    : usVersao == D_ZAVORO_VERSAO_ARQUIVO_LIMITE;
        if (!bVersaoValida || std::fseek(pf, lInicio + 4 + iTamanho, SEEK_SET) != 0)
            return false;
    }
    return true;
}
} // namespace

BOOL zavoro_PercorrerEstrutura(std::FILE* pf, ST_EstruturaNavegacao* pst, std::string* pszErro)
{
    *pst = ST_EstruturaNavegacao{};
    std::int32_t iTamanho = 0;
    std::uint16_t usVersao = 0;
    if (pf == nullptr || std::fseek(pf, 0, SEEK_SET) != 0 || !funcAux_Ler(pf, &pst->uiVersaoArquivoNavegacao) ||
        (pst->uiVersaoArquivoNavegacao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES &&
         pst->uiVersaoArquivoNavegacao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES))
        return Falhar(pszErro, "versão de arquivo de navegação desconhecida");
    if (!funcAux_Ler(pf, &iTamanho) || !funcAux_Ler(pf, &usVersao) || usVersao != D_ZAVORO_VERSAO_ARQUIVO_TALHAO ||
        !funcAux_Ler(pf, &pst->stTalhao) || std::fseek(pf, 1, SEEK_CUR) != 0)
        return Falhar(pszErro, "talhão ilegível ou de versão desconhecida");
    pst->bTalhaoLido = TRUE;

    if (!funcAux_Ler(pf, &pst->ulNumeroGuias) || pst->ulNumeroGuias > D_ZAVORO_NUMERO_MAXIMO_GUIAS)
        return Falhar(pszErro, "lista de guias ilegível");
    pst->lInicioGuias = std::ftell(pf);
    if (!PularEntradas(pf, pst->ulNumeroGuias, true))
        return Falhar(pszErro, "guia ilegível ou de versão desconhecida");
    if (pst->uiVersaoArquivoNavegacao == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
    {
        if (!funcAux_Ler(pf, &pst->uiNumeroLimites) || pst->uiNumeroLimites > D_ZAVORO_NUMERO_MAXIMO_LIMITES)
            return Falhar(pszErro, "lista de limites ilegível");
        pst->lInicioLimites = std::ftell(pf);
        if (!PularEntradas(pf, pst->uiNumeroLimites, false))
            return Falhar(pszErro, "limite ilegível ou de versão desconhecida");
    }
    if (!funcAux_Ler(pf, &iTamanho) || !funcAux_Ler(pf, &pst->usVersaoArquivoEvento) ||
        pst->usVersaoArquivoEvento < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_EVENTO ||
        pst->usVersaoArquivoEvento > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO || !funcAux_Ler(pf, &pst->stCabecalho))
        return Falhar(pszErro, "evento ilegível ou de versão desconhecida");
    pst->lPrimeiraEtapa = std::ftell(pf);
    return TRUE;
}
