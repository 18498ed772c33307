// zavoro validar: one line per file, valid or invalid with the reason and where.
#include <cstdio>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
constexpr const char* kAjuda =
    "Uso: zavoro validar [OPÇÕES] ALVO...\n"
    "\n"
    "Valida arquivos de navegação (.nvg). ALVO é um arquivo ou uma pasta (buscada com as\n"
    "subpastas). Uma linha por arquivo, em ordem de caminho: válido, ou inválido com o\n"
    "motivo e a posição. Sai com 1 se algum arquivo for inválido.\n"
    "\n"
    "Opções:\n";
} // namespace

int cli_Validar(const std::vector<std::string>& vArgumentos)
{
    ST_SaidaCli stSaida;
    stSaida.bGrava = false;
    std::vector<std::string> vAlvos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjuda, {}, &vAlvos, &stSaida); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vAlvos.empty())
        return cli_ErroUso("validar: informe ao menos um arquivo ou pasta");

    // Folders are searched as relatorio and mapa search them.
    std::vector<std::string> vArquivos;
    int iSaida = cli_ExpandirAlvos(vAlvos, vArquivos) ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
    ST_ProgressoCli stProgresso;
    cli_IniciarProgresso(&stProgresso, stSaida, vArquivos);
    cli_DesenharProgresso(&stProgresso);
    for (std::size_t i = 0; i < vArquivos.size(); i++)
    {
        ST_ResultadoCli stResultado;
        stResultado.szEntrada = vArquivos[i];
        ST_DiagnosticoValidacao stDiagnostico;
        stResultado.bOk = zavoro_DiagnosticarArquivoNavegacao(vArquivos[i].c_str(), &stDiagnostico);
        const std::string szNome = funcAux_EscaparControles(vArquivos[i]);
        if (stResultado.bOk)
            stResultado.szTexto = szNome + ": válido\n";
        else
        {
            stResultado.szMotivo = zavoro_DescreverDiagnostico(stDiagnostico);
            stResultado.szTexto = szNome + ": inválido: " + funcAux_EscaparControles(stResultado.szMotivo) + "\n";
            stResultado.bTextoTemMotivo = true;
            iSaida = D_CLI_SAIDA_FALHA;
        }
        cli_MostrarResultadoLote(&stProgresso, stSaida, stResultado);
    }
    cli_ApagarProgresso(&stProgresso);
    return iSaida;
}
