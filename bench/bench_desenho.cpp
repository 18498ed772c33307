// Drawing speed of a recommendation map of 10,000 polygons (a 100 x 100 grid of 20 m squares with
// 2,000 distinct doses): the whole drawing (check, legend, walk) into software pictures, and the
// renderer alone onto surfaces that draw nothing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "support/ShpBuilder.h"
#include "support/SuperficieRaster.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/shapeFile.h"

using namespace zavoro_teste;

namespace
{

const std::filesystem::path& ConjuntoBench()
{
    static const std::filesystem::path base = [] {
        ShpBuilder b;
        b.campos = {{"ID", 'N', 6, 0}, {"DOSE", 'N', 9, 2}};
        const double dPasso = 20.0 / 111319.49;
        for (int i = 0; i < 10000; i++)
        {
            const double x = -51.93 + dPasso * (i % 100), y = -24.05 + dPasso * (i / 100);
            b.adicionar(ShpBuilder::retangulo(x, y, x + dPasso, y + dPasso),
                        {std::to_string(i + 1), formatarNumeroDbf(100.0 + i % 2000 * 0.1, 9, 2)});
        }
        auto p = std::filesystem::temp_directory_path() / "zavoro_bench_recomendacao";
        b.gravar(p);
        return p;
    }();
    return base;
}

ST_ShpMapa Mapa()
{
    ST_ShpMapa st;
    st.szNomeArqMapaShp = ConjuntoBench().string() + ".shp";
    st.szNomeArqMapaDbf = ConjuntoBench().string() + ".dbf";
    st.uiParamSelecionado = 1;
    return st;
}

void BM_DesenharMapaDezMilPoligonos(benchmark::State& state)
{
    SuperficieRaster painel(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA);
    SuperficieRaster ampliado(D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX);
    ST_VisualizadorMapas vis;
    vis.stMapa[0] = painel.superficie();
    vis.stMapaMax[0] = ampliado.superficie();
    vis.gstMapa1 = Mapa();
    for (auto _ : state)
        if (!shpFile_DesenharMapa(&vis, 0))
            state.SkipWithError("map not drawn");
}
BENCHMARK(BM_DesenharMapaDezMilPoligonos)->Unit(benchmark::kMillisecond);

void BM_DesenharSemPintar(benchmark::State& state)
{
    ST_VisualizadorMapas vis;
    int iPoligonos = 0;
    for (ST_SuperficieDesenho* p : {&vis.stMapa[0], &vis.stMapaMax[0]})
    {
        p->pContexto = &iPoligonos;
        p->pfPoligono = [](void* pc, const ST_PontoTela*, int, std::uint32_t, std::uint32_t) { ++*static_cast<int*>(pc); };
    }
    vis.gstMapa1 = Mapa();
    for (auto _ : state)
        if (!shpFile_DesenharMapaEntrada2D(&vis, &vis.gstMapa1, 0))
            state.SkipWithError("map not drawn");
    state.counters["poligonos"] = benchmark::Counter(iPoligonos, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DesenharSemPintar)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
