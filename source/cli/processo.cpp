// What every program of the command shares at its start and on a wrong command line.
#include <cstdio>

#include "cli/comandos.h"
#include "funcoesAuxiliares/win32.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
void AvisarFalhaAlocacao(const char* pcTexto, const char* pcTitulo)
{
    std::fprintf(stderr, "zavoro: %s: %s\n", pcTitulo, pcTexto);
}
} // namespace

void cli_IniciarProcesso()
{
#if defined(_WIN32)
    // Messages are UTF-8, as the manifest makes the arguments; the console shows them so.
    SetConsoleOutputCP(CP_UTF8);
#endif
    funcAux_DefinirAvisoFalhaAlocacao(AvisarFalhaAlocacao);
    cli_TratarSinais();
}

int cli_ErroUso(const std::string& szMensagem)
{
    std::fprintf(stderr, "zavoro: %s\nUse \"zavoro --help\" para ver o uso.\n", funcAux_EscaparControles(szMensagem).c_str());
    return D_CLI_SAIDA_USO;
}
