// The hidden subcommand behind zavoro mapa's last lines: each file's coverage applied, covered, covered
// twice and, when the file has boundaries, skipped inside and covered outside them.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "zavoro/analise.h"
#include "zavoro/funcoesAuxiliares.h"

int cli_Sobreposicao(const std::vector<std::string>& vArquivos)
{
    std::printf("\nSobreposição e falhas da cobertura:\n");
    bool bOk = true;
    for (const std::string& szArquivo : vArquivos)
    {
        ST_TotaisComparacao st;
        std::string szErro;
        const std::string szNome = funcAux_EscaparControles(szArquivo);
        if (!analise_TotaisArquivo(szArquivo.c_str(), &st, &szErro))
        {
            std::printf("%s: não calculadas (%s)\n", szNome.c_str(), funcAux_EscaparControles(szErro).c_str());
            bOk = false;
            continue;
        }
        std::string szLinha = szNome + ": aplicada " + analise_Numero(st.dSomaCobertura, 2, ',') + " ha, coberta " +
                              analise_Numero(st.dAreaCoberta, 2, ',') + " ha, sobreposta " +
                              analise_Numero(st.dAreaSobreposta, 2, ',') + " ha (" +
                              analise_Numero(analise_PercentualSobreposicao(st), 1, ',') + " %)";
        if (st.iFonteLimites == D_ANALISE_LIMITES_ARQUIVO)
            szLinha += ", falhada nos limites " + analise_Numero(st.dAreaFalhada, 2, ',') + " ha de " +
                       analise_Numero(st.dAreaLimites, 2, ',') + " ha, fora dos limites " +
                       analise_Numero(st.dAreaForaLimites, 2, ',') + " ha";
        else
            szLinha += ", sem limites no arquivo";
        std::printf("%s\n", szLinha.c_str());
    }
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}
