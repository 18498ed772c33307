// Recommendation sets from arbitrary bytes: the input is split into a .shp and a .dbf (the first four
// bytes, little-endian, give the length of the .shp part) and every reader of the viewer runs over
// the pair: field list, the check of fields 0..3, polygon count, legend, the values of a drawing, and
// the drawing itself (map 1, then map 2 on its extent) onto surfaces that check what they are given.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pastaFuzz.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/shapeFile.h"

namespace
{

namespace fs = std::filesystem;


void ConferirLegenda(const ST_ShpLegenda& st)
{
    if (st.ucNumLinhasLegenda != D_SHPFILE_NUM_LINHAS_LEGENDA ||
        st.ulValorLegenda[D_SHPFILE_NUM_LINHAS_LEGENDA - 1][1] != D_SHPFILE_LIMITE_SUPERIOR_LEGENDA)
        __builtin_trap();
    for (std::uint32_t i = 0; i + 1 < D_SHPFILE_NUM_LINHAS_LEGENDA; i++)
        if (st.ulValorLegenda[i + 1][0] < st.ulValorLegenda[i][0] ||
            st.ulValorLegenda[i][1] > st.ulValorLegenda[i + 1][0])
            __builtin_trap(); // rows ascend and never overlap the next
}

// Every polygon the renderer hands over has at least three pixels, all within the coordinate limit.
void ConferirPoligono(void*, const ST_PontoTela* pst, int iNum, std::uint32_t, std::uint32_t)
{
    constexpr int D_LIMITE = (1 << 24) + 1000;
    if (iNum < 3)
        __builtin_trap();
    for (int i = 0; i < iNum; i++)
        if (pst[i].iX < -D_LIMITE || pst[i].iX > D_LIMITE || pst[i].iY < -D_LIMITE || pst[i].iY > D_LIMITE)
            __builtin_trap();
}

void Desenhar(const ST_ShpMapa& stMapa)
{
    ST_VisualizadorMapas stVis;
    for (int i = 0; i < 2; i++)
    {
        stVis.stMapa[i].pfPoligono = ConferirPoligono;
        stVis.stMapaMax[i].pfPoligono = ConferirPoligono;
    }
    stVis.gstMapa1 = stMapa;
    stVis.gstMapa2 = stMapa;
    stVis.gstMapa2.uiParamSelecionado = 1;
    shpFile_DesenharMapaEntrada2D(&stVis, &stVis.gstMapa1, 0);
    shpFile_DesenharMapaEntrada2D(&stVis, &stVis.gstMapa2, 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    ST_ShpMapa stMapa;
    std::size_t nShp = 0;
    if (!fuzz_GravarConjuntoShp(pucDados, tamanho, 1u << 20, &stMapa, &nShp))
        return 0;
    const std::size_t n = tamanho - 4;

    std::vector<std::string> vNomes;
    const BOOL bLista = shpFile_ListarParametrosMapaEntrada(&stMapa, &vNomes);
    if (vNomes.size() > D_SHPFILE_MAX_CAMPOS_DBF)
        __builtin_trap();

    const long lPoligonos = shpFile_RetornarNumPoligonosShp(&stMapa);
    if (lPoligonos < 0 || static_cast<std::uint64_t>(lPoligonos) * 104 > nShp)
        __builtin_trap(); // each counted record takes its 8-byte header and 96 bytes at least

    for (std::uint32_t uiParam = 0; uiParam < 4; uiParam++)
    {
        stMapa.uiParamSelecionado = uiParam;
        const BOOL bValido = shpFile_AnalisarParametroMapaEntrada(&stMapa);
        if (bValido && (!bLista || uiParam >= vNomes.size()))
            __builtin_trap(); // a drawable field is one the list showed

        ST_ShpLegenda stLegenda;
        if (!shpFile_LegendaMapaEntrada(stMapa.szNomeArqMapaDbf.c_str(), &stLegenda, uiParam))
            __builtin_trap();
        ConferirLegenda(stLegenda);

        ST_ShpDadosDbf stDados;
        std::vector<ST_ShpSubrecords> vCampos;
        ShpArquivoDbf pf;
        if (!shpFile_AbrirDbf(&stMapa, &stDados, &vCampos, &pf, uiParam, nullptr))
            continue;
        unsigned int ulValor = 0;
        std::uint64_t ulLidos = 0;
        while (shpFile_LerProxValorDbf(&stDados, vCampos, pf.get(), uiParam, &ulValor))
        {
            if (bValido && ulLidos < stDados.ulNumRecords && ulValor > 10000000)
                __builtin_trap(); // validation bounds every value the drawing reads
            if (++ulLidos > n)
                __builtin_trap(); // every record takes at least one byte
        }
        if (ulValor != 0)
            __builtin_trap();
    }
    stMapa.uiParamSelecionado = 0;
    Desenhar(stMapa);
    return 0;
}
