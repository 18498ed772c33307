// Subcommands run by programs installed beside this one: zavoro desenhar and zavoro recomendacao by
// zavoro-desenho (the only one that links Qt), zavoro exportar by zavoro-exportacao (the only one that
// links GDAL), so that the text subcommands start without loading either. The helper program takes this
// process's place (same process, streams and exit status).
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#include <stdlib.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
#if defined(_WIN32)
constexpr const char* kExtensao = ".exe";
#else
constexpr const char* kExtensao = "";
#endif

// The helper program in this program's folder; without a way to tell that folder, its bare name,
// looked up in PATH.
std::string ProgramaAuxiliar(const char* pcNome)
{
    const std::string szNome = std::string(pcNome) + kExtensao;
    std::error_code ec;
#if defined(_WIN32)
    const std::filesystem::path proprio = _pgmptr != nullptr ? funcAux_Caminho(_pgmptr) : std::filesystem::path();
#else
    const std::filesystem::path proprio = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || proprio.empty())
        return szNome;
    return funcAux_TextoCaminho(proprio.parent_path() / szNome);
}

#if defined(_WIN32)
// The spawned program gets one command line, split again by its C runtime: each argument is quoted
// so that spaces, quotes and final backslashes reach it as they were.
std::string ArgumentoWindows(const std::string& szArgumento)
{
    if (!szArgumento.empty() && szArgumento.find_first_of(" \t\n\v\"") == std::string::npos)
        return szArgumento;
    std::string szCitado = "\"";
    std::size_t nBarras = 0;
    for (char c : szArgumento)
    {
        if (c == '\\')
        {
            nBarras++;
            continue;
        }
        szCitado.append(c == '"' ? 2 * nBarras + 1 : nBarras, '\\');
        nBarras = 0;
        szCitado.push_back(c);
    }
    szCitado.append(2 * nBarras, '\\');
    return szCitado + '"';
}
#else
const std::string& ArgumentoWindows(const std::string& szArgumento)
{
    return szArgumento;
}
#endif

// The argument vector of a helper's run, quoted for the platform; vTextos keeps the texts it points to.
std::vector<char*> Argv(const std::string& szPrograma, const char* pcComando, const std::vector<std::string>& vArgumentos,
                        std::vector<std::string>* pvTextos)
{
    std::vector<std::string>& vTextos = *pvTextos;
    vTextos = {ArgumentoWindows(szPrograma), pcComando};
    for (const std::string& szArgumento : vArgumentos)
        vTextos.push_back(ArgumentoWindows(szArgumento));
    std::vector<char*> vArgv;
    for (std::string& szTexto : vTextos)
        vArgv.push_back(szTexto.data());
    vArgv.push_back(nullptr);
    return vArgv;
}

int FalhaExecucao(const char* pcComando, const std::string& szPrograma, int iErro)
{
    std::fprintf(stderr, "zavoro: %s: não foi possível executar %s (%s)\n", pcComando,
                 funcAux_EscaparControles(szPrograma).c_str(), funcAux_DescreverErro(iErro).c_str());
    return D_CLI_SAIDA_FALHA;
}

int Delegar(const char* pcPrograma, const char* pcComando, const std::vector<std::string>& vArgumentos)
{
    const std::string szPrograma = ProgramaAuxiliar(pcPrograma);
#if defined(_WIN32)
    // The Windows build has no Qt, so no drawing helper: said as such, not as a program that failed.
    std::error_code ec;
    if (szPrograma.find_first_of("/\\") != std::string::npos && !std::filesystem::exists(funcAux_Caminho(szPrograma), ec))
    {
        std::fprintf(stderr, "zavoro: %s: não disponível nesta instalação (falta %s)\n", pcComando,
                     funcAux_EscaparControles(szPrograma).c_str());
        return D_CLI_SAIDA_FALHA;
    }
    // No exec on Windows: the helper runs as a child and its status becomes this process's.
    return cli_ExecutarAuxiliar(pcPrograma, pcComando, vArgumentos);
#else
    std::vector<std::string> vTextos;
    std::vector<char*> vArgv = Argv(szPrograma, pcComando, vArgumentos, &vTextos);
    std::fflush(nullptr);
    execvp(szPrograma.c_str(), vArgv.data());
    return FalhaExecucao(pcComando, szPrograma, errno);
#endif
}
} // namespace

int cli_Desenhar(const std::vector<std::string>& vArgumentos)
{
    return Delegar("zavoro-desenho", "desenhar", vArgumentos);
}

int cli_Recomendacao(const std::vector<std::string>& vArgumentos)
{
    return Delegar("zavoro-desenho", "recomendacao", vArgumentos);
}

int cli_Comparar(const std::vector<std::string>& vArgumentos)
{
    return Delegar("zavoro-desenho", "comparar", vArgumentos);
}

int cli_Exportar(const std::vector<std::string>& vArgumentos)
{
    return Delegar("zavoro-exportacao", "exportar", vArgumentos);
}

int cli_ExecutarAuxiliar(const char* pcPrograma, const char* pcComando, const std::vector<std::string>& vArgumentos)
{
    const std::string szPrograma = ProgramaAuxiliar(pcPrograma);
    std::vector<std::string> vTextos;
    std::vector<char*> vArgv = Argv(szPrograma, pcComando, vArgumentos, &vTextos);
    std::fflush(nullptr);
#if defined(_WIN32)
    const intptr_t iSaida = _spawnvp(_P_WAIT, szPrograma.c_str(), vArgv.data());
    if (iSaida != -1)
        return static_cast<int>(iSaida);
    const int iErro = errno;
#else
    pid_t pid = 0;
    const int iErro = posix_spawnp(&pid, szPrograma.c_str(), nullptr, nullptr, vArgv.data(), environ);
    int iStatus = 0;
    if (iErro == 0)
    {
        while (waitpid(pid, &iStatus, 0) < 0 && errno == EINTR)
        {
        }
        return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : D_CLI_SAIDA_FALHA;
    }
#endif
    return FalhaExecucao(pcComando, szPrograma, iErro);
}
