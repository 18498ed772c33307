// zavoro-desenho: the drawing subcommands of the zavoro command, in a program of their own so that only
// they load Qt. zavoro runs it from its own folder as "zavoro-desenho desenhar|recomendacao ARGS..."; it
// speaks as zavoro does.
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandos.h"

int main(int argc, char** argv)
{
    cli_IniciarProcesso();
    const std::string_view szComando = argc >= 2 ? argv[1] : "";
    const std::vector<std::string> vArgumentos(argv + (argc >= 2 ? 2 : argc), argv + argc);
    if (szComando == "desenhar")
        return cli_Desenhar(vArgumentos);
    if (szComando == "recomendacao")
        return cli_Recomendacao(vArgumentos);
    if (szComando == "comparar")
        return cli_Comparar(vArgumentos);
    if (szComando == "sobreposicao")
        return cli_Sobreposicao(vArgumentos);
    return cli_ErroUso("comando desconhecido: " + std::string(szComando));
}
