// Search for navigation files beneath a folder, and the worker that runs it (and then, on the same
// thread, whatever the caller gave it to go on with: the window's classification).
//
// Only real folders and real regular files are looked at: a symbolic link is neither followed into nor
// reported, whatever it points at. Following folder links could loop, and any link could put one file
// in the list twice, which would convert it twice.
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "zavoro/arquivo.h"
#include "zavoro/avisos.h"
#include "zavoro/funcoesAuxiliares.h"

namespace fs = std::filesystem;

namespace
{

// Longest path the search builds, terminator excluded.
constexpr std::size_t kMaximoCaracteresPath = D_ARQUIVO_TAMANHO_MAXIMO_PATH - 1;
// Last byte of the list stays zero, so the list always ends with a double zero.
constexpr std::size_t kLimiteBuffer = D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS - 1;

// The text after the last '.' must be exactly "nvg" or "NVG"; "Nvg" or "x.nvg.bak" are not ours.
bool EhArquivoNavegacao(std::string_view szNome)
{
    const std::size_t posPonto = szNome.rfind('.');
    if (posPonto == std::string_view::npos)
        return false;
    const std::string_view szExtensao = szNome.substr(posPonto + 1);
    return szExtensao == "nvg" || szExtensao == "NVG";
}

// A folder is listed with the pattern "folder<sep>*", which must fit in a path buffer too.
bool PadraoCabe(std::size_t tamanhoPasta)
{
    return tamanhoPasta + 2 <= kMaximoCaracteresPath;
}

// Keeps the shared depth right on every way out of one level, exceptions included.
class NivelProcura
{
public:
    explicit NivelProcura(ST_EstadoProcura* pstEstado) : m_pstEstado(pstEstado) { ++m_pstEstado->iContRecursividadeProcuraDir; }
    ~NivelProcura() { --m_pstEstado->iContRecursividadeProcuraDir; }
    NivelProcura(const NivelProcura&) = delete;
    NivelProcura& operator=(const NivelProcura&) = delete;

private:
    ST_EstadoProcura* m_pstEstado;
};

// Handles one entry of a listing; returns the level's new result.
int TratarEntrada(const fs::directory_entry& entrada, const std::string& szPrefixo, int iResultado, char* pcBuffer,
                  int* piNumArquivos, ST_EstadoProcura* pstEstado)
{
    std::error_code ec;
    // symlink_status: a link is judged as a link, not as what it points at.
    const fs::file_type tipo = entrada.symlink_status(ec).type();
    if (ec)
        return iResultado; // vanished since it was listed

    if (tipo == fs::file_type::directory)
    {
        const std::string szNome = funcAux_TextoCaminho(entrada.path().filename());
        if (!PadraoCabe(szPrefixo.size() + szNome.size()))
            return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO;
        const std::string szSubpasta = szPrefixo + szNome;
        const int iSub = arquivo_ProcurarArquivosNavegacaoDiretorio(szSubpasta.c_str(), pcBuffer, piNumArquivos, pstEstado);
        // Only a full buffer concerns the levels above; a sub-folder's other troubles stay there.
        return iSub == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO ? iSub : D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK;
    }

    if (tipo == fs::file_type::regular)
    {
        const std::string szNome = funcAux_TextoCaminho(entrada.path().filename());
        if (!EhArquivoNavegacao(szNome))
            return iResultado;
        // A cut path would name another file, or none: skip it as a too-long folder is skipped.
        if (szPrefixo.size() + szNome.size() > kMaximoCaracteresPath)
            return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO;
        const std::size_t tamanho = szPrefixo.size() + szNome.size();
        const std::size_t indice = static_cast<std::size_t>(pstEstado->iIndBufferProcuraArquivosDir);
        if (indice + tamanho + 1 > kLimiteBuffer)
            return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO;
        std::memcpy(pcBuffer + indice, szPrefixo.data(), szPrefixo.size());
        std::memcpy(pcBuffer + indice + szPrefixo.size(), szNome.data(), szNome.size());
        pcBuffer[indice + tamanho] = '\0';
        pstEstado->iIndBufferProcuraArquivosDir = static_cast<int>(indice + tamanho + 1);
        ++*piNumArquivos;
    }
    // Links, devices, pipes and sockets are not navigation files.
    return iResultado;
}

} // namespace

int arquivo_ProcurarArquivosNavegacaoDiretorio(const char* pcRaiz, char* pcBuffer, int* piNumArquivos,
                                               ST_EstadoProcura* pstEstado)
{
    if (pcRaiz == nullptr || pcBuffer == nullptr || piNumArquivos == nullptr || pstEstado == nullptr ||
        pstEstado->iIndBufferProcuraArquivosDir < 0 ||
        pstEstado->iIndBufferProcuraArquivosDir > static_cast<int>(kLimiteBuffer))
        return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;
    // An empty root would otherwise become the separator alone, the file system's root.
    if (*pcRaiz == '\0')
        return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;

    // A root given with its separator ("/", "C:\") gets no second one.
    std::string szPrefixo = pcRaiz;
    if (szPrefixo.empty() || szPrefixo.back() != D_ARQUIVO_SEPARADOR)
        szPrefixo += D_ARQUIVO_SEPARADOR;
    if (szPrefixo.size() + 1 > kMaximoCaracteresPath)
        return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO;

    if (pstEstado->iContRecursividadeProcuraDir + 1 > D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA)
        return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUSCA_LONGA;
    NivelProcura nivel(pstEstado);

    int iResultado = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK;
    try
    {
        std::error_code ec;
        fs::directory_iterator it(funcAux_Caminho(pcRaiz), ec);
        if (ec)
            return D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;

        bool bErroListagem = false;
        for (; it != fs::directory_iterator(); )
        {
            // The result is that of the last entry handled, so a -2 is forgotten by a later sub-folder.
            iResultado = TratarEntrada(*it, szPrefixo, iResultado, pcBuffer, piNumArquivos, pstEstado);
            if (iResultado == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO)
                break;
            it.increment(ec);
            if (ec)
            {
                bErroListagem = true;
                break;
            }
        }
        // A listing cut short by an error only counts when nothing else was reported.
        if (bErroListagem && iResultado == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK)
            iResultado = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;
    }
    catch (const std::exception&)
    {
        // Out of memory while building a path: this folder cannot be searched.
        iResultado = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;
    }
    return iResultado;
}

unsigned int arquivo_ThreadProcurarArquivosNavegacao(void* lpArg)
{
    auto* pstEstruturaThread = static_cast<ST_EstruturaThread*>(lpArg);
    if (pstEstruturaThread == nullptr || pstEstruturaThread->lpArgumento == nullptr)
        return 0;
    auto* pstSelecao = static_cast<ST_SelecaoArquivos*>(pstEstruturaThread->lpArgumento);

    ST_EstadoProcura stEstado;
    pstSelecao->iNumArquivos = 0;
    // The list is read up to its double zero; nothing of an earlier selection may follow the new paths.
    std::memset(pstSelecao->szPathsArqNaveg, 0, sizeof pstSelecao->szPathsArqNaveg);

    int iResultado = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;
    if (std::memchr(pstSelecao->szPathsArqNavegTxtBox, '\0', sizeof pstSelecao->szPathsArqNavegTxtBox) != nullptr)
        iResultado = arquivo_ProcurarArquivosNavegacaoDiretorio(pstSelecao->szPathsArqNavegTxtBox,
                                                                pstSelecao->szPathsArqNaveg,
                                                                &pstSelecao->iNumArquivos, &stEstado);

    funcAux_Delay(D_ARQUIVO_PAUSA_FIM_BUSCA, pstEstruturaThread->unidadePausa);

    if (iResultado == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK && pstEstruturaThread->pfAposProcura != nullptr)
    {
        // The next worker ends with its own notice; running it here saves a thread and its failure path.
        pstEstruturaThread->pfAposProcura(lpArg);
        return 0;
    }

    // Told with its code and no classification: after a failure the window takes the paths found so far
    // as other operations.
    const ST_ReceptorAvisos& stReceptor = pstEstruturaThread->hHandleRetorno;
    if (stReceptor.pfProcuraArquivosOk != nullptr)
        stReceptor.pfProcuraArquivosOk(stReceptor.pContexto, iResultado, 0);
    return 0;
}

const char* arquivo_DescreverCodigoBusca(int iCodigo)
{
    switch (iCodigo)
    {
    case D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK:
        return "busca concluída";
    case D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUSCA_LONGA:
        return "pasta a 100 ou mais níveis abaixo da raiz ignorada";
    case D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO:
        return "caminho longo demais (mais de 259 caracteres) ignorado";
    case D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO:
        return "Muitos arquivos de navegação foram encontrados. Selecione outro diretório com menos arquivos.";
    case D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO:
        return "não foi possível listar a pasta";
    default:
        return "código de busca desconhecido";
    }
}
