// zavoro validar: one line per file, valid or invalid with the reason and where.
#include <cstdio>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

int cli_Validar(const std::vector<std::string>& vArgumentos)
{
    std::vector<std::string> vAlvos;
    if (!cli_LerArgumentos(vArgumentos, {}, &vAlvos))
        return D_CLI_SAIDA_USO;
    if (vAlvos.empty())
        return cli_ErroUso("validar: informe ao menos um arquivo ou pasta");

    // Folders are searched as relatorio and mapa search them.
    std::vector<std::string> vArquivos;
    int iSaida = cli_ExpandirAlvos(vAlvos, vArquivos) ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
    for (const std::string& szArquivo : vArquivos)
    {
        ST_DiagnosticoValidacao stDiagnostico;
        if (zavoro_DiagnosticarArquivoNavegacao(szArquivo.c_str(), &stDiagnostico))
            std::printf("%s: válido\n", funcAux_EscaparControles(szArquivo).c_str());
        else
        {
            std::printf("%s: inválido: %s\n", funcAux_EscaparControles(szArquivo).c_str(),
                        funcAux_EscaparControles(zavoro_DescreverDiagnostico(stDiagnostico)).c_str());
            iSaida = D_CLI_SAIDA_FALHA;
        }
    }
    return iSaida;
}
