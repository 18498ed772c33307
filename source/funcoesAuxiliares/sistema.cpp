#include "funcoesAuxiliares/sistema.h"
#include "zavoro/funcoesAuxiliares.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "funcoesAuxiliares/win32.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
std::FILE* Recusar(std::string* pszMotivo, std::string szMotivo)
{
    if (pszMotivo != nullptr)
        *pszMotivo = std::move(szMotivo);
    return nullptr;
}
} // namespace

#if defined(_WIN32)

namespace
{
// The classic Win32 API stops at 260 characters; past it, only an absolute path with "\\?\" works.
constexpr std::size_t kLimiteCaminhoClassico = 248; // a folder's own limit, below MAX_PATH
} // namespace

std::filesystem::path funcAux_Caminho(std::string_view szUtf8)
{
    std::filesystem::path caminho = funcAux_CaminhoUtf8(szUtf8);
    if (caminho.native().starts_with(L"\\\\?\\"))
        return caminho;
    std::error_code ec;
    std::wstring szAbsoluto = std::filesystem::absolute(caminho, ec).lexically_normal().native();
    if (ec || szAbsoluto.size() < kLimiteCaminhoClassico)
        return caminho;
    std::replace(szAbsoluto.begin(), szAbsoluto.end(), L'/', L'\\');
    if (szAbsoluto.starts_with(L"\\\\"))
        return std::filesystem::path(L"\\\\?\\UNC\\" + szAbsoluto.substr(2));
    return std::filesystem::path(L"\\\\?\\" + szAbsoluto);
}

std::FILE* funcAux_AbrirArquivo(const std::filesystem::path& caminho, const char* pcModo)
{
    const std::string_view szModo(pcModo);
    if (szModo.find('x') == std::string_view::npos)
    {
        const std::wstring szModoLargo(szModo.begin(), szModo.end());
        return _wfopen(caminho.c_str(), szModoLargo.c_str());
    }
    // The C runtime's fopen has no "x": an exclusive create, then a stream over it.
    const int fd = _wopen(caminho.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_TRUNC, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* pf = _wfdopen(fd, L"wb");
    if (pf == nullptr)
        _close(fd);
    return pf;
}

std::FILE* funcAux_AbrirArquivoComum(const char* pcArquivo, std::string* pszMotivo)
{
    // Windows has no FIFO in the file system; devices ("CON", "\\.\...") are what must not be opened.
    const std::string szMotivoNome = funcAux_MotivoNomeProibidoWindows(pcArquivo);
    if (!szMotivoNome.empty())
        return Recusar(pszMotivo, szMotivoNome);
    std::error_code ec;
    const std::filesystem::path caminho = funcAux_Caminho(pcArquivo);
    const auto status = std::filesystem::status(caminho, ec);
    if (ec)
        return Recusar(pszMotivo, funcAux_DescreverErro(ec));
    if (std::filesystem::is_directory(status))
        return Recusar(pszMotivo, "é uma pasta, não um arquivo");
    if (!std::filesystem::is_regular_file(status))
        return Recusar(pszMotivo, "não é um arquivo comum");
    std::FILE* pf = _wfopen(caminho.c_str(), L"rb");
    if (pf == nullptr)
        return Recusar(pszMotivo, funcAux_DescreverErro(errno));
    return pf;
}

std::uint32_t funcAux_IdProcesso()
{
    return static_cast<std::uint32_t>(GetCurrentProcessId());
}

bool funcAux_SaidaErrosTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

bool funcAux_ProcessoAtivo(std::uint32_t ulId)
{
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ulId);
    if (h == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD dwCodigo = 0;
    const bool bAtivo = GetExitCodeProcess(h, &dwCodigo) == 0 || dwCodigo == STILL_ACTIVE;
    CloseHandle(h);
    return bAtivo;
}

void funcAux_EsperarMudanca(const std::atomic<unsigned char>* pValor, unsigned char ucAtual)
{
    static_assert(sizeof(std::atomic<unsigned char>) == 1 && std::atomic<unsigned char>::is_always_lock_free);
    while (pValor->load() == ucAtual)
        WaitOnAddress(const_cast<std::atomic<unsigned char>*>(pValor), &ucAtual, 1, INFINITE);
}

void funcAux_AcordarEsperas(std::atomic<unsigned char>* pValor)
{
    WakeByAddressAll(pValor);
}

#else

void funcAux_EsperarMudanca(const std::atomic<unsigned char>* pValor, unsigned char ucAtual)
{
    pValor->wait(ucAtual);
}

void funcAux_AcordarEsperas(std::atomic<unsigned char>* pValor)
{
    pValor->notify_all();
}

std::filesystem::path funcAux_Caminho(std::string_view szUtf8)
{
    return std::filesystem::path(szUtf8);
}

std::FILE* funcAux_AbrirArquivo(const std::filesystem::path& caminho, const char* pcModo)
{
    return std::fopen(caminho.c_str(), pcModo);
}

std::FILE* funcAux_AbrirArquivoComum(const char* pcArquivo, std::string* pszMotivo)
{
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(pcArquivo, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Recusar(pszMotivo, funcAux_DescreverErro(errno));
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        const bool bPasta = S_ISDIR(st.st_mode);
        ::close(fd);
        return Recusar(pszMotivo, bPasta ? "é uma pasta, não um arquivo"
                                         : "não é um arquivo comum (FIFO, dispositivo ou socket)");
    }
    std::FILE* pf = ::fdopen(fd, "rb");
    if (pf == nullptr)
    {
        const int iErro = errno;
        ::close(fd);
        return Recusar(pszMotivo, funcAux_DescreverErro(iErro));
    }
    return pf;
}

std::uint32_t funcAux_IdProcesso()
{
    return static_cast<std::uint32_t>(::getpid());
}

bool funcAux_SaidaErrosTerminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

bool funcAux_ProcessoAtivo(std::uint32_t ulId)
{
    // 0 and what pid_t cannot hold would name process groups, not a process.
    if (ulId == 0 || ulId > 0x7FFFFFFFu)
        return false;
    return ::kill(static_cast<pid_t>(ulId), 0) == 0 || errno == EPERM;
}

#endif

std::string funcAux_MotivoNomeProibidoWindows(std::string_view szCaminho)
{
    const std::size_t posNome = szCaminho.find_last_of("\\/");
    std::string_view szNome = posNome == std::string_view::npos ? szCaminho : szCaminho.substr(posNome + 1);
    // "C:arquivo" names a file in drive C's current folder; the colon belongs to the drive.
    if (posNome == std::string_view::npos && szNome.size() >= 2 && szNome[1] == ':' &&
        ((szNome[0] >= 'A' && szNome[0] <= 'Z') || (szNome[0] >= 'a' && szNome[0] <= 'z')))
        szNome.remove_prefix(2);
    if (szNome.empty() || szNome == "." || szNome == "..")
        return {};
    const std::string szCitado = "\"" + funcAux_EscaparControles(szNome) + "\"";
    for (unsigned char c : szNome)
        if (c < 0x20 || std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return "o Windows não aceita o nome " + szCitado + " (contém um dos caracteres < > : \" | ? * ou de controle)";
    if (szNome.back() == '.' || szNome.back() == ' ')
        return "o Windows não aceita o nome " + szCitado + " (termina em ponto ou espaço)";
    // Device names, also with an extension ("aux.txt") and spaces before it.
    std::string szBase(szNome.substr(0, szNome.find('.')));
    while (!szBase.empty() && szBase.back() == ' ')
        szBase.pop_back();
    for (char& c : szBase)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const bool bDispositivo = szBase == "CON" || szBase == "PRN" || szBase == "AUX" || szBase == "NUL" ||
                              (szBase.size() == 4 && (szBase.starts_with("COM") || szBase.starts_with("LPT")) &&
                               szBase[3] >= '1' && szBase[3] <= '9');
    if (bDispositivo)
        return "o Windows não aceita o nome " + szCitado + " (" + szBase + " é reservado para um dispositivo)";
    return {};
}

std::string funcAux_DescreverErro(int iErro)
{
    struct ST_Texto
    {
        int iErro;
        const char* pcTexto;
    };
    static constexpr ST_Texto kTextos[] = {
        {ENOENT, "arquivo ou pasta inexistente"},
        {EACCES, "permissão negada"},
        {EPERM, "operação não permitida"},
        {ENOSPC, "sem espaço no disco"},
        {EROFS, "disco somente para leitura"},
        {EISDIR, "é uma pasta"},
        {ENOTDIR, "parte do caminho não é uma pasta"},
        {ENAMETOOLONG, "nome longo demais"},
        {EEXIST, "o arquivo já existe"},
        {ENOTEMPTY, "a pasta não está vazia"},
        {EBUSY, "arquivo em uso"},
        {EIO, "erro de leitura ou gravação no dispositivo"},
        {EMFILE, "arquivos abertos demais"},
        {ENFILE, "arquivos abertos demais no sistema"},
        {EFBIG, "arquivo grande demais"},
        {ELOOP, "atalhos demais no caminho"},
        {EXDEV, "pastas em discos diferentes"},
        {EINVAL, "nome ou argumento inválido"},
#ifdef EDQUOT
        {EDQUOT, "cota de disco esgotada"},
#endif
    };
    for (const ST_Texto& st : kTextos)
        if (st.iErro == iErro)
            return st.pcTexto;
    return std::string("erro do sistema ") + std::to_string(iErro) + " (" + std::strerror(iErro) + ")";
}

std::string funcAux_DescreverErro(const std::error_code& ec)
{
    const std::error_condition condicao = ec.default_error_condition();
    if (condicao.category() == std::generic_category())
        return funcAux_DescreverErro(condicao.value());
    return ec.message();
}
