// zavoro desenhar and zavoro recomendacao are run by zavoro-desenho, the program installed beside this
// one: only it links Qt, so the text subcommands start without loading a GUI library. The drawing
// program takes this process's place (same process, streams and exit status).
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
#include <unistd.h>
#endif

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
#if defined(_WIN32)
constexpr const char* kProgramaDesenho = "zavoro-desenho.exe";
#else
constexpr const char* kProgramaDesenho = "zavoro-desenho";
#endif

// The drawing program in this program's folder; without a way to tell that folder, its bare name,
// looked up in PATH.
std::string ProgramaDesenho()
{
    std::error_code ec;
#if defined(_WIN32)
    const std::filesystem::path proprio = _pgmptr != nullptr ? std::filesystem::path(_pgmptr) : std::filesystem::path();
#else
    const std::filesystem::path proprio = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || proprio.empty())
        return kProgramaDesenho;
    return (proprio.parent_path() / kProgramaDesenho).string();
}

int Delegar(const char* pcComando, const std::vector<std::string>& vArgumentos)
{
    const std::string szPrograma = ProgramaDesenho();
    std::vector<char*> vArgv{const_cast<char*>(szPrograma.c_str()), const_cast<char*>(pcComando)};
    for (const std::string& szArgumento : vArgumentos)
        vArgv.push_back(const_cast<char*>(szArgumento.c_str()));
    vArgv.push_back(nullptr);
    std::fflush(nullptr);
#if defined(_WIN32)
    const intptr_t iSaida = _spawnvp(_P_WAIT, szPrograma.c_str(), vArgv.data());
    if (iSaida != -1)
        return static_cast<int>(iSaida);
#else
    execvp(szPrograma.c_str(), vArgv.data());
#endif
    const int iErro = errno;
    std::fprintf(stderr, "zavoro: %s: não foi possível executar %s (%s)\n", pcComando,
                 funcAux_EscaparControles(szPrograma).c_str(), funcAux_DescreverErro(iErro).c_str());
    return D_CLI_SAIDA_FALHA;
}
} // namespace

int cli_Desenhar(const std::vector<std::string>& vArgumentos)
{
    return Delegar("desenhar", vArgumentos);
}

int cli_Recomendacao(const std::vector<std::string>& vArgumentos)
{
    return Delegar("recomendacao", vArgumentos);
}
