// zavoro relatorio and zavoro procurar.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/comandos.h"
#include "zavoro/arquivo.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr const char* kAjudaRelatorio =
    "Uso: zavoro relatorio [OPÇÕES] ALVO...\n"
    "\n"
    "Gera o relatório de trabalho (.txt) de cada arquivo de navegação. ALVO é um arquivo\n"
    "ou uma pasta (buscada com as subpastas); o relatório de campo.nvg é campo.txt.\n"
    "Para cada arquivo, o bloco de resultado da janela e os arquivos gravados.\n"
    "\n"
    "Opções:\n"
    "  -j N              converte N arquivos ao mesmo tempo (padrão: o número de núcleos)\n";

constexpr const char* kAjudaProcurar =
    "Uso: zavoro procurar PASTA\n"
    "\n"
    "Lista, em ordem de caminho, os arquivos de navegação encontrados na pasta e nas\n"
    "subpastas, e o resultado da busca.\n"
    "\n"
    "Opções:\n";
} // namespace

int cli_Relatorio(const std::vector<std::string>& vArgumentos)
{
    int iTrabalhos = cli_TrabalhosPadrao();
    ST_SaidaCli stSaida;
    const ST_OpcaoCli vOpcoes[] = {cli_OpcaoTrabalhos(&iTrabalhos)};
    std::vector<std::string> vAlvos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjudaRelatorio, vOpcoes, &vAlvos, &stSaida);
        iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vAlvos.empty())
        return cli_ErroUso("relatorio: informe ao menos um arquivo ou pasta");

    std::vector<std::string> vArquivos;
    bool bBuscasOk = cli_ExpandirAlvos(vAlvos, vArquivos);
    int iSaida = cli_ConverterArquivos(vArquivos, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, iTrabalhos, stSaida);
    return bBuscasOk ? iSaida : D_CLI_SAIDA_FALHA;
}

int cli_Procurar(const std::vector<std::string>& vArgumentos)
{
    std::vector<std::string> vPastas;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjudaProcurar, {}, &vPastas); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vPastas.size() != 1)
        return cli_ErroUso("procurar: informe uma pasta");

    auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
    ST_EstadoProcura stEstado;
    int iCodigo = arquivo_ProcurarArquivosNavegacaoDiretorio(vPastas[0].c_str(), pstSelecao->szPathsArqNaveg,
                                                             &pstSelecao->iNumArquivos, &stEstado);
    std::vector<std::string> vArquivos;
    conversor_PercorrerListaPaths(D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO, pstSelecao->szPathsArqNaveg,
                                  pstSelecao->iNumArquivos, [&](const std::string& szPath) {
                                      vArquivos.push_back(szPath);
                                      return true;
                                  });
    std::sort(vArquivos.begin(), vArquivos.end());
    for (const std::string& szPath : vArquivos)
        std::printf("%s\n", funcAux_EscaparControles(szPath).c_str());
    std::printf("%d arquivo(s) encontrado(s); código %d: %s\n", pstSelecao->iNumArquivos, iCodigo,
                arquivo_DescreverCodigoBusca(iCodigo));
    return iCodigo == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}
