// The zavoro command: batch work over navigation files for scripts and servers.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandos.h"
#include "zavoro/versao.h"

namespace
{
constexpr const char* kUso =
    "Uso: zavoro COMANDO [OPÇÕES] ARQUIVO...\n"
    "\n"
    "Comandos:\n"
    "  validar ALVO...             valida arquivos de navegação (.nvg; pastas são\n"
    "                              buscadas): uma linha por arquivo, em ordem de\n"
    "                              caminho, válido ou inválido com o motivo e a posição\n"
    "  relatorio [-j N] ALVO...    gera o relatório de trabalho (.txt) de cada arquivo;\n"
    "                              ALVO é um arquivo .nvg ou uma pasta (buscada com as\n"
    "                              subpastas); -j N converte N arquivos ao mesmo tempo\n"
    "                              (padrão: o número de núcleos)\n"
    "  mapa [--cobertura|--velocidade] [--alvos A,B,C,D,E] [-j N] ALVO...\n"
    "                              gera o mapa KML de cada arquivo (_Cobertura.kml ou\n"
    "                              _Velocidade.kml), classificado pelos cinco valores\n"
    "                              alvo (vazios permitidos: --alvos 100,,,200,)\n"
    "  exportar [--formato gpkg|geojson|csv|kmz|fgb] [--saida PASTA] [-j N] ALVO...\n"
    "                              exporta os dados aplicados para SIG: cobertura,\n"
    "                              rastro, etapas, eventos, guias e limites (padrão:\n"
    "                              GeoPackage _Exportacao.gpkg; geojson, csv e fgb\n"
    "                              gravam um arquivo por camada)\n"
    "  isoxml [--juntar] [--versao 3|4] [--saida PASTA] ALVO...\n"
    "                              grava o trabalho como ISOXML TaskData (_ISOXML.zip):\n"
    "                              talhão com limites e guias, produto, cultura,\n"
    "                              implemento e a tarefa com o registro de todos os\n"
    "                              pontos; --juntar põe uma tarefa por arquivo num\n"
    "                              só TaskData\n"
    "  recomendacao --mapa REC.shp [--campo NOME] [--png PREFIXO] ARQ.nvg\n"
    "                              desenha o mapa de recomendação REC.shp (mapa 1,\n"
    "                              treze faixas do campo NOME; padrão: o primeiro campo\n"
    "                              numérico), gera o mapa de cobertura com recomendação\n"
    "                              de ARQ.nvg (_Cobertura.kml e Shapefile) e desenha o\n"
    "                              trabalho realizado (mapa 2) na mesma área; com --png\n"
    "                              grava PREFIXO_mapa1.png, PREFIXO_mapa2.png e suas\n"
    "                              versões _ampliado\n"
    "  comparar --mapa REC.shp [--campo NOME] [--csv SAIDA.csv] [--png PREFIXO] ARQ.nvg\n"
    "                              compara a recomendação com o trabalho realizado, zona\n"
    "                              por zona e por faixa da legenda: área coberta, dose\n"
    "                              prescrita e aplicada, desvio; e no talhão a área\n"
    "                              sobreposta, falhada e fora dos limites; --csv grava\n"
    "                              as tabelas, --png o mapa de diferença\n"
    "                              (PREFIXO_diferenca.png e _ampliado)\n"
    "  desenhar REC.shp [--campo NOME] --png SAIDA.png\n"
    "                              desenha o mapa de recomendação em SAIDA.png\n"
    "                              (355 x 335) e SAIDA_ampliado.png (550 x 550)\n"
    "  procurar PASTA              lista os arquivos de navegação encontrados na pasta\n"
    "\n"
    "Opções gerais:\n"
    "  --help                      mostra esta ajuda\n"
    "  COMANDO --help, help COMANDO\n"
    "                              mostra o uso e as opções de um comando\n"
    "  --saida PASTA               (comandos que gravam) grava as saídas em PASTA\n"
    "  --json, -q                  uma linha JSON por arquivo, ou nada além dos erros\n"
    "  --version                   mostra a versão\n"
    "\n"
    "Saída: 0 tudo correu bem, 1 algum arquivo falhou, 2 linha de comando incorreta.\n"
#if defined(_WIN32)
    "\n"
    "Nesta versão para Windows não há desenhar nem recomendacao (suas imagens são\n"
    "desenhadas pelo Qt), e exportar não está disponível (requer o GDAL).\n"
#endif
    ;

struct ST_Comando
{
    const char* pcNome;
    int (*pfExecutar)(const std::vector<std::string>& vArgumentos);
};

constexpr ST_Comando kComandos[] = {
    {"validar", cli_Validar},
    {"relatorio", cli_Relatorio},
    {"procurar", cli_Procurar},
    {"mapa", cli_Mapa},
    {"exportar", cli_Exportar},
    {"isoxml", cli_Isoxml},
    {"desenhar", cli_Desenhar},
    {"recomendacao", cli_Recomendacao},
    {"comparar", cli_Comparar},
};
} // namespace

int main(int argc, char** argv)
{
    cli_IniciarProcesso();
    if (argc < 2)
        return cli_ErroUso("falta o comando");

    std::string_view szPrimeiro = argv[1];
    if (szPrimeiro == "--help" || szPrimeiro == "-h" || ((szPrimeiro == "ajuda" || szPrimeiro == "help") && argc == 2))
    {
        std::fputs(kUso, stdout);
        return D_CLI_SAIDA_OK;
    }
    if (szPrimeiro == "--version")
    {
        std::printf("zavoro %s\n", D_ZAVORO_VERSAO);
        return D_CLI_SAIDA_OK;
    }
    std::vector<std::string> vArgumentos(argv + 2, argv + argc);
    // "zavoro help mapa" is "zavoro mapa --help".
    if ((szPrimeiro == "help" || szPrimeiro == "ajuda") && argc == 3)
    {
        szPrimeiro = argv[2];
        vArgumentos = {"--help"};
    }
    for (const ST_Comando& stComando : kComandos)
        if (szPrimeiro == stComando.pcNome)
            return stComando.pfExecutar(vArgumentos);
    if (!szPrimeiro.empty() && szPrimeiro[0] == '-')
        return cli_ErroUso("opção desconhecida: " + std::string(szPrimeiro));
    return cli_ErroUso("comando desconhecido: " + std::string(szPrimeiro));
}
