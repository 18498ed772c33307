// The overlap and skipped area of each file of a map run, printed after the result blocks by the
// drawing program (the one that links GEOS), so that zavoro itself loads no geometry library.
#include <string>
#include <vector>

#include "cli/comandos.h"

void cli_ImprimirSobreposicao(const std::vector<std::string>& vArquivos, const std::vector<ST_DetalhesConversao>& vResultados)
{
    std::vector<std::string> vConvertidos;
    for (std::size_t i = 0; i < vArquivos.size() && i < vResultados.size(); i++)
        if (vResultados[i].iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO)
            vConvertidos.push_back(vArquivos[i]);
    if (!vConvertidos.empty())
        cli_ExecutarAuxiliar("zavoro-desenho", "sobreposicao", vConvertidos);
}
