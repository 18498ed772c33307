// Validation speed on large files, against the floor of reading the same file twice.
//
//   build/bin/bench_validacao                      runs the benchmarks (a 1,000,000-point file)
//   build/bin/bench_validacao --gerar-maximo ARQ   writes a valid file of nearly the 100 MiB limit,
//                                                  for whole-command runs under /usr/bin/time -v
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "support/NvgBuilder.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
// One stage of a million generated points (about 52 MB in version 9).
NvgBuilder MilhaoDePontos()
{
    NvgBuilder b = NvgBuilder::tipico(9, 0);
    b.etapas[0].pontos.clear();
    b.etapas[0].gerador = [](std::uint32_t i) { return pontoTipico(i); };
    b.etapas[0].ulPontosGerados = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO;
    return b;
}

// The largest file the limits allow in practice: a full event section plus five guides of nearly
// 10 MiB of curves each.
NvgBuilder ArquivoMaximo()
{
    NvgBuilder b = MilhaoDePontos();
    Guia guia;
    guia.usVersao = 3;
    guia.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    Curva curva;
    for (std::uint32_t i = 0; i < 65535; i++)
        curva.pontos.push_back({static_cast<float>(i), static_cast<float>(i % 97)});
    guia.curvas.assign(19, curva);
    b.guias.assign(5, guia);
    return b;
}

const std::filesystem::path& ArquivoBench()
{
    static const std::filesystem::path caminho = [] {
        auto p = std::filesystem::temp_directory_path() / "zavoro_bench_milhao.nvg";
        MilhaoDePontos().gravar(p);
        return p;
    }();
    return caminho;
}

void BM_ValidarMilhaoDePontos(benchmark::State& state)
{
    const auto& caminho = ArquivoBench();
    for (auto _ : state)
        benchmark::DoNotOptimize(zavoro_ValidarArquivoNavegacao(caminho.c_str()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(caminho)));
}
BENCHMARK(BM_ValidarMilhaoDePontos)->Unit(benchmark::kMillisecond);

// The floor: two plain sequential reads of the file through a 64 KiB buffer.
void BM_LerDuasVezes(benchmark::State& state)
{
    const auto& caminho = ArquivoBench();
    std::vector<char> buffer(65536);
    for (auto _ : state)
        for (int passada = 0; passada < 2; passada++)
        {
            std::FILE* pf = std::fopen(caminho.c_str(), "rb");
            unsigned char ucSoma = 0;
            std::size_t n;
            while ((n = std::fread(buffer.data(), 1, buffer.size(), pf)) > 0)
                ucSoma ^= static_cast<unsigned char>(buffer[n - 1]);
            std::fclose(pf);
            benchmark::DoNotOptimize(ucSoma);
        }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(caminho)));
}
BENCHMARK(BM_LerDuasVezes)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--gerar-maximo") == 0)
    {
        Layout stLayout = ArquivoMaximo().gravar(argv[2]);
        std::printf("%s: %zu bytes\n", argv[2], stLayout.tamanhoArquivo);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(ArquivoBench());
    return 0;
}
