// zavoro-exportacao: the GIS export of the zavoro command, in a program of its own so that only it loads
// GDAL. zavoro runs it from its own folder as "zavoro-exportacao exportar ARGS..."; it speaks as zavoro
// does.
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandos.h"

int main(int argc, char** argv)
{
    cli_IniciarProcesso();
    const std::string_view szComando = argc >= 2 ? argv[1] : "";
    const std::vector<std::string> vArgumentos(argv + (argc >= 2 ? 2 : argc), argv + argc);
    if (szComando == "exportar")
        return cli_Exportar(vArgumentos);
    return cli_ErroUso("comando desconhecido: " + std::string(szComando));
}
