// The file and folder dialogs of the selection, over the platform's dialogs.
#include <cstring>
#include <algorithm>
#include <filesystem>

#include "principal/principal.h"

namespace
{
constexpr const char* kFiltroNvgTexto = "Arquivos NVG (*.nvg)";
constexpr const char* kFiltroNvgPadrao = "*.nvg";
constexpr const char* kTituloDiretorio = "Selecione um diretório que contenha arquivos de navegação (.nvg)";

// Copies a path into a caller's buffer; FALSE when it does not fit (the buffer is left empty).
BOOL CopiarCaminho(const std::string& szCaminho, char* pcPath, std::size_t tamanho)
{
    if (tamanho == 0)
        return FALSE;
    if (szCaminho.empty() || szCaminho.size() >= tamanho)
    {
        pcPath[0] = '\0';
        return FALSE;
    }
    std::memcpy(pcPath, szCaminho.c_str(), szCaminho.size() + 1);
    return TRUE;
}

// The paths given at start answer one dialog; true when they did.
bool RespostaPronta(ST_Janela* pstJanela, std::vector<std::string>* pvCaminhos)
{
    if (pstJanela->vRespostaDialogo.empty())
        return false;
    *pvCaminhos = std::move(pstJanela->vRespostaDialogo);
    pstJanela->vRespostaDialogo.clear();
    return true;
}

BOOL SelecionarArquivoUnico(ST_Janela* pstJanela, const char* pcFiltroTexto, const char* pcFiltroPadrao,
                            const char* pcExtensao, char* pcPath, std::size_t tamanho)
{
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    std::vector<std::string> vArquivos;
    if (!RespostaPronta(pstJanela, &vArquivos) &&
        (stServicos.pfAbrirArquivos == nullptr ||
         !stServicos.pfAbrirArquivos(stServicos.pContexto, pcFiltroTexto, pcFiltroPadrao, pcExtensao, false,
                                     &vArquivos)))
        return FALSE;
    if (vArquivos.size() != 1)
        return FALSE;
    return CopiarCaminho(vArquivos[0], pcPath, tamanho);
}
} // namespace

void arquivo_SelecionarArquivosNavegacao(ST_Janela* pstJanela, ST_SelecaoArquivos* pstSelecao)
{
    pstSelecao->iNumArquivos = 0;
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    std::vector<std::string> vArquivos;
    if (!RespostaPronta(pstJanela, &vArquivos) &&
        (stServicos.pfAbrirArquivos == nullptr ||
         !stServicos.pfAbrirArquivos(stServicos.pContexto, kFiltroNvgTexto, kFiltroNvgPadrao, "nvg", true,
                                     &vArquivos)))
        return;
    if (vArquivos.empty())
        return;

    // The dialog's result layout: one file is its full path; several are the folder and then each name.
    std::string szLista;
    std::size_t offsetPrimeiroNome = 0;
    if (vArquivos.size() == 1)
    {
        szLista = vArquivos[0];
        offsetPrimeiroNome = szLista.size() - funcAux_NomeArquivo(szLista).size();
        szLista.push_back('\0');
    }
    else
    {
        const std::string szPasta = funcAux_TextoCaminho(funcAux_CaminhoUtf8(vArquivos[0]).parent_path());
        szLista = szPasta;
        szLista.push_back('\0');
        offsetPrimeiroNome = szLista.size();
        for (const std::string& szArquivo : vArquivos)
        {
            const std::filesystem::path caminho = funcAux_CaminhoUtf8(szArquivo);
            if (funcAux_TextoCaminho(caminho.parent_path()) != szPasta)
                return; // the dialog never mixes folders; a list that does is not taken
            szLista += funcAux_TextoCaminho(caminho.filename());
            szLista.push_back('\0');
        }
    }
    szLista.push_back('\0');
    // Names that do not fit count as a cancelled dialog.
    if (szLista.size() > sizeof(pstSelecao->szPathsArqNaveg))
        return;

    std::memset(pstSelecao->szPathsArqNaveg, 0, sizeof(pstSelecao->szPathsArqNaveg));
    std::memcpy(pstSelecao->szPathsArqNaveg, szLista.data(), szLista.size());
    pstSelecao->iNumArquivos = arquivo_SepararPathsArquivosSelecionados(
        static_cast<int>(offsetPrimeiroNome), pstSelecao->szPathsArqNaveg, pstSelecao->szPathsArqNavegTxtBox,
        D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS, sizeof(pstSelecao->szPathsArqNavegTxtBox));
}

BOOL arquivo_SelecionarDiretorioComArquivosNavegacao(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho)
{
    if (tamanho == 0)
        return FALSE;
    pcPath[0] = '\0';
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    std::string szDiretorio;
    std::vector<std::string> vResposta;
    if (RespostaPronta(pstJanela, &vResposta))
        szDiretorio = vResposta.front();
    else if (stServicos.pfEscolherDiretorio == nullptr ||
             !stServicos.pfEscolherDiretorio(stServicos.pContexto, kTituloDiretorio, &szDiretorio))
        return TRUE;
    if (szDiretorio.empty())
        return TRUE;
    // A folder whose path does not fit the search's path limit is refused like a non-file-system item.
    if (szDiretorio.size() >= std::min<std::size_t>(tamanho, 260))
        return FALSE;
    return CopiarCaminho(szDiretorio, pcPath, tamanho);
}

BOOL arquivo_SelecionarArquivoMapaShapefile(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho)
{
    return SelecionarArquivoUnico(pstJanela, "Arquivos SHP (*.shp)", "*.shp", "shp", pcPath, tamanho);
}

BOOL arquivo_SelecionarArquivoNVG(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho)
{
    return SelecionarArquivoUnico(pstJanela, kFiltroNvgTexto, kFiltroNvgPadrao, "nvg", pcPath, tamanho);
}
