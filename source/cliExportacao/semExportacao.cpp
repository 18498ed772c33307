// zavoro exportar in a build without GDAL: the subcommand exists and says why it cannot run.
#include <cstdio>

#include "cli/comandos.h"

int cli_Exportar(const std::vector<std::string>&)
{
    std::fputs("zavoro: exportar indisponível: este zavoro foi compilado sem GDAL\n", stderr);
    return D_CLI_SAIDA_FALHA;
}
