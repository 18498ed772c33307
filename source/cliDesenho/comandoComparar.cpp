// zavoro comparar: the recommendation against the work done, zone by zone, as tables on the console,
// a CSV file and a difference map drawn by the viewer's renderer on map 1's extent.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "cliDesenho/visualizadorCli.h"
#include "zavoro/analise.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr const char* kAjuda =
    "Uso: zavoro comparar --mapa REC.shp [--campo NOME] [--csv SAIDA.csv] [--png PREFIXO] ARQ.nvg\n"
    "\n"
    "Compara a recomendação REC.shp com o trabalho de ARQ.nvg, zona por zona: área da zona,\n"
    "área coberta, dose recomendada e aplicada (média ponderada pela área), desvio e a\n"
    "parte da área dentro de ±10 % e ±20 %; o mesmo por faixa da legenda; e no talhão a\n"
    "área coberta, a sobreposta e a falha dentro dos limites.\n"
    "\n"
    "Opções:\n"
    "  --mapa REC.shp    o mapa de recomendação (obrigatório)\n"
    "  --campo NOME      campo da tabela (padrão: o primeiro numérico)\n"
    "  --csv SAIDA.csv   grava as tabelas em CSV (ponto decimal, UTF-8, unidades no cabeçalho)\n"
    "  --png PREFIXO     grava o mapa de diferença (aplicado menos recomendado) em\n"
    "                    PREFIXO_diferenca.png e PREFIXO_diferenca_ampliado.png\n";

bool GravarCsv(const std::string& szArquivo, const ST_ResultadoComparacao& stResultado)
{
    std::string szErro;
    if (analise_GravarCsvComparacao(szArquivo, stResultado, &szErro))
    {
        std::printf("Tabela gravada: %s\n", funcAux_EscaparControles(szArquivo).c_str());
        return true;
    }
    std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(szArquivo).c_str(), funcAux_EscaparControles(szErro).c_str());
    return false;
}

// Map 1 sets the extent; the difference map is drawn over the same ground into the first pictures.
bool GravarMapaDiferenca(const ST_ShpMapa& stMapa, const ST_ResultadoComparacao& stResultado, const std::string& szPng)
{
    auto pstCli = cliDesenho_CriarVisualizador();
    ST_VisualizadorMapas& stVisualizador = pstCli->stVisualizador;
    stVisualizador.gstMapa1 = stMapa;
    if (!cliDesenho_DesenharMapa(&stVisualizador, 0, stMapa.szNomeArqMapaShp))
        return false;
    if (!analise_DesenharMapaDiferenca(&stVisualizador, stMapa.szNomeArqMapaShp, stResultado, &stVisualizador.stMapa[1],
                                       &stVisualizador.stMapaMax[1]))
    {
        std::fprintf(stderr, "zavoro: %s: o mapa de diferença não pôde ser desenhado\n",
                     funcAux_EscaparControles(stMapa.szNomeArqMapaShp).c_str());
        return false;
    }
    ST_ResultadoCli stImagens;
    return cliDesenho_SalvarMapa(pstCli->stImagens, 1, szPng, ST_SaidaCli{}, &stImagens);
}
} // namespace

int cli_Comparar(const std::vector<std::string>& vArgumentos)
{
    std::string szMapa, szCampo, szCsv, szPng;
    const ST_OpcaoCli vOpcoes[] = {cli_OpcaoTexto("--mapa", &szMapa), cli_OpcaoTexto("--campo", &szCampo),
                                   cli_OpcaoTexto("--csv", &szCsv), cli_OpcaoTexto("--png", &szPng)};
    std::vector<std::string> vOperandos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjuda, vOpcoes, &vOperandos); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (szMapa.empty())
        return cli_ErroUso("comparar: informe o mapa de recomendação com --mapa REC.shp");
    if (vOperandos.size() != 1)
        return cli_ErroUso("comparar: informe um arquivo de navegação (.nvg)");
    const std::string szPngDiferenca = szPng + "_diferenca.png";
    if (!szPng.empty() && !cliDesenho_DestinosLivres({szPngDiferenca}))
        return D_CLI_SAIDA_FALHA;

    ST_ShpMapa stMapa;
    if (!cliDesenho_PrepararMapa1(szMapa, szCampo, &stMapa))
        return D_CLI_SAIDA_FALHA;
    ST_ResultadoComparacao stResultado;
    std::string szErro;
    const std::string& szNvg = vOperandos[0];
    if (!analise_CompararArquivos(szNvg.c_str(), stMapa, &stResultado, &szErro))
    {
        std::fprintf(stderr, "zavoro: %s\n", szErro.c_str());
        return D_CLI_SAIDA_FALHA;
    }

    std::vector<std::string> vCampos;
    shpFile_ListarParametrosMapaEntrada(&stMapa, &vCampos);
    const std::string szCampoUsado = stMapa.uiParamSelecionado < vCampos.size() ? vCampos[stMapa.uiParamSelecionado] : "";
    std::printf("Recomendação: %s (campo %s)\nTrabalho: %s\n\n%s", funcAux_EscaparControles(szMapa).c_str(),
                funcAux_EscaparControles(szCampoUsado).c_str(), funcAux_EscaparControles(szNvg).c_str(),
                analise_TextoComparacao(stResultado).c_str());
    bool bOk = szCsv.empty() || GravarCsv(szCsv, stResultado);
    bOk = (szPng.empty() || GravarMapaDiferenca(stMapa, stResultado, szPngDiferenca)) && bOk;
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}
