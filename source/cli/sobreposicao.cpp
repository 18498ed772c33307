// The overlap and skipped area of each file of a map run, printed after the result blocks.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "zavoro/analise.h"
#include "zavoro/funcoesAuxiliares.h"

void cli_ImprimirSobreposicao(const std::vector<std::string>& vArquivos, const std::vector<ST_DetalhesConversao>& vResultados)
{
    bool bTitulo = false;
    for (std::size_t i = 0; i < vArquivos.size() && i < vResultados.size(); i++)
    {
        if (vResultados[i].iStatus != D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO)
            continue;
        ST_TotaisComparacao st;
        std::string szErro;
        if (!bTitulo)
            std::printf("\nSobreposição e falhas da cobertura:\n");
        bTitulo = true;
        const std::string szNome = funcAux_EscaparControles(vArquivos[i]);
        if (!analise_TotaisArquivo(vArquivos[i].c_str(), &st, &szErro))
        {
            std::printf("%s: não calculadas (%s)\n", szNome.c_str(), funcAux_EscaparControles(szErro).c_str());
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
}
