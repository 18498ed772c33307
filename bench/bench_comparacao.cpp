// Prescription against application at scale: a 400 ha field driven over about 26 times in 1,000,000
// points (80 passes of the 27 m boom 25 m apart), against a grid prescription of 10,000 zones.
//
//   build/bin/bench_comparacao                      runs the engine's benchmark (zones and strips in the plane)
//   build/bin/bench_comparacao --gerar PASTA        writes PASTA/campo.nvg and PASTA/grade.shp for
//                                                   whole-command runs (bench/medir_comandos.sh)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"
#include "zavoro/analise.h"
#include "zavoro/cobertura.h"

using namespace zavoro_teste;

namespace
{
constexpr double kLado = 2000.0;   // metres
constexpr int kPassagens = 80;
constexpr double kEntrePassagens = 25.0;
constexpr double kPasso = 15.0 / 3.6;
constexpr std::uint32_t kPontosPorPassagem = static_cast<std::uint32_t>(kLado / kPasso);
constexpr int kZonasPorLado = 100;

// Serpentine passes over the square, again and again.
ST_PontoNVG_v2 PontoCampo(std::uint32_t i)
{
    ST_PontoNVG_v2 p = pontoTipico(i);
    const std::uint32_t ulPassagem = i / kPontosPorPassagem % kPassagens;
    const std::uint32_t k = i % kPontosPorPassagem;
    const bool bLeste = ulPassagem % 2 == 0;
    p.fLongitudeRelImp = static_cast<float>(bLeste ? k * kPasso : kLado - k * kPasso);
    p.fLatitudeRelImp = static_cast<float>(ulPassagem * kEntrePassagens);
    p.fAnguloNavegacao = bLeste ? 0.0f : 180.0f;
    // The rate drifts by a few per cent around 150 L/ha (stored in tenths), as a controller holds it.
    p.usTaxaLida[0] = static_cast<std::uint16_t>(1500.0 + 40.0 * std::sin(i / 60.0));
    return p;
}

void Gerar(const std::filesystem::path& pasta)
{
    NvgBuilder b = NvgBuilder::tipico(9, 0);
    b.etapas[0].pontos.clear();
    b.etapas[0].gerador = PontoCampo;
    b.etapas[0].ulPontosGerados = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO;
    Limite stLimite;
    const float fNorte = static_cast<float>((kPassagens - 1) * kEntrePassagens);
    stLimite.pontos = {{0.0f, 0.0f}, {0.0f, fNorte}, {static_cast<float>(kLado), fNorte}, {static_cast<float>(kLado), 0.0f}};
    b.limites.push_back(stLimite);
    b.gravar(pasta / "campo.nvg");

    ShpBuilder rec;
    rec.campos = {{"DOSE", 'N', 9, 2}};
    const double dLadoZona = kLado / kZonasPorLado;
    for (int i = 0; i < kZonasPorLado; i++)
        for (int j = 0; j < kZonasPorLado; j++)
        {
            double dLat0 = 0, dLon0 = 0, dLat1 = 0, dLon1 = 0;
            conversor_TransformarCoordenadasAbsolutas(j * dLadoZona - 13.5, i * dLadoZona, &dLat0, &dLon0,
                                                      b.stTalhao.dZeroRelativoLat, b.stTalhao.dZeroRelativoLon);
            conversor_TransformarCoordenadasAbsolutas((j + 1) * dLadoZona - 13.5, (i + 1) * dLadoZona, &dLat1, &dLon1,
                                                      b.stTalhao.dZeroRelativoLat, b.stTalhao.dZeroRelativoLon);
            rec.adicionar(ShpBuilder::retangulo(dLon0, dLat0, dLon1, dLat1),
                          {formatarNumeroDbf(120.0 + (i + j) % 7 * 10.0, 9, 2)});
        }
    rec.gravar(pasta / "grade");
}

// The engine alone: a 100 x 100 grid of 20 m zones and state.range(0) strips of 27 x 40 m in passes.
void BM_MotorComparacao(benchmark::State& state)
{
    for (auto _ : state)
    {
        ComparacaoPlano p = analise_CriarComparacao();
        for (int i = 0; i < kZonasPorLado; i++)
            for (int j = 0; j < kZonasPorLado; j++)
                analise_AdicionarZona(p.get(), static_cast<std::uint32_t>(i * kZonasPorLado + j + 1),
                                      {{{i * 20.0, j * 20.0}, {i * 20.0, j * 20.0 + 20}, {i * 20.0 + 20, j * 20.0 + 20}, {i * 20.0 + 20, j * 20.0}}},
                                      150.0);
        for (long k = 0; k < state.range(0); k++)
        {
            const double dX = static_cast<double>(k % 50) * 40.0;
            const double dY = static_cast<double>(k / 50 % 80) * 25.0;
            analise_AdicionarCobertura(p.get(), {{dX, dY - 13.5}, {dX, dY + 13.5}, {dX + 40, dY + 13.5}, {dX + 40, dY - 13.5}}, 150.0);
        }
        ST_ResultadoComparacao r;
        analise_ConcluirComparacao(p.get(), ST_ShpLegenda{}, &r);
        benchmark::DoNotOptimize(r.stTotais.dAreaCoberta);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MotorComparacao)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);

// The union alone (the overlap lines of a file without boundaries): state.range(0) stretches of
// 27 x 40 m, either along one long pass (nothing covered twice) or (range(1) = 1) in rows of 2 km,
// 80 rows 25 m apart (neighbours overlap by 2 m), the 2 x 2 km square covered again and again.
void BM_UniaoCobertura(benchmark::State& state)
{
    for (auto _ : state)
    {
        ComparacaoPlano p = analise_CriarComparacao();
        const bool bRepetida = state.range(1) == 1;
        for (long k = 0; k < state.range(0); k++)
        {
            const double dX = static_cast<double>(bRepetida ? k % 50 : k) * 40.0;
            const double dY = bRepetida ? static_cast<double>(k / 50 % 80) * 25.0 : 0.0;
            analise_AdicionarCobertura(p.get(), {{dX, dY - 13.5}, {dX, dY + 13.5}, {dX + 40, dY + 13.5}, {dX + 40, dY - 13.5}}, 150.0);
        }
        ST_ResultadoComparacao r;
        analise_ConcluirComparacao(p.get(), ST_ShpLegenda{}, &r);
        benchmark::DoNotOptimize(r.stTotais.dAreaCoberta);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UniaoCobertura)->Args({40000, 0})->Args({40000, 1})->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--gerar") == 0)
    {
        Gerar(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
