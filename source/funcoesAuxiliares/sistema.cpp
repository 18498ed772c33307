#include "funcoesAuxiliares/sistema.h"
#include "zavoro/funcoesAuxiliares.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
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

std::FILE* funcAux_AbrirArquivoComum(const char* pcArquivo, std::string* pszMotivo)
{
    // Windows has no FIFO in the file system; devices ("CON", "\\.\...") are what must not be opened.
    std::error_code ec;
    const std::filesystem::path caminho = std::filesystem::u8path(pcArquivo);
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

#else

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
