// Work report throughput on files of 1,000,000 track points: one file, and four files converted one
// at a time or two at a time by the same worker the window and the command run.
//
//   build/bin/bench_relatorio                          runs the benchmarks
//   build/bin/bench_relatorio --gerar-milhao ARQ...    writes 1,000,000-point files for whole-command runs
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"

using namespace zavoro_teste;

namespace
{
constexpr int kArquivos = 4;

void GravarMilhao(const std::filesystem::path& caminho)
{
    NvgBuilder b = NvgBuilder::tipico(9, 0);
    b.etapas[0].pontos.clear();
    b.etapas[0].gerador = [](std::uint32_t i) { return pontoTipico(i); };
    b.etapas[0].ulPontosGerados = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO;
    b.gravar(caminho);
}

const std::vector<std::filesystem::path>& Arquivos()
{
    static const std::vector<std::filesystem::path> v = [] {
        std::vector<std::filesystem::path> r;
        for (int i = 0; i < kArquivos; i++)
        {
            r.push_back(std::filesystem::temp_directory_path() / ("zavoro_bench_relatorio_" + std::to_string(i) + ".nvg"));
            GravarMilhao(r.back());
        }
        return r;
    }();
    return v;
}

std::int64_t Bytes(int n)
{
    return static_cast<std::int64_t>(std::filesystem::file_size(Arquivos()[0])) * n;
}

void BM_RelatorioMilhaoDePontos(benchmark::State& state)
{
    const auto& entrada = Arquivos()[0];
    const std::string szSaida = conversor_NomeArquivoSaida(entrada.string(), D_CONVERSOR_TIPO_CONVERSAO_RELATORIO);
    for (auto _ : state)
        benchmark::DoNotOptimize(conversor_CriarRelatoriosNavegacao(entrada.c_str(), szSaida.c_str()));
    state.SetBytesProcessed(state.iterations() * Bytes(1));
}
BENCHMARK(BM_RelatorioMilhaoDePontos)->Unit(benchmark::kMillisecond);

// The whole job per file (validation included), with state.range(0) workers sharing the files.
void BM_RelatorioQuatroArquivos(benchmark::State& state)
{
    const int iTrabalhos = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        std::atomic<int> proximo{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < iTrabalhos; t++)
            threads.emplace_back([&] {
                for (int i = proximo++; i < kArquivos; i = proximo++)
                {
                    std::string szLista = Arquivos()[i].string() + '\0';
                    ST_ConversaoArquivos stJob{D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO,
                                               D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, szLista.c_str(), 1, {}, {}, {}, {}};
                    ST_EstruturaThread stThread;
                    stThread.lpArgumento = &stJob;
                    conversor_ThreadCriarRelatoriosMapasNavegacao(&stThread);
                }
            });
        for (auto& t : threads)
            t.join();
    }
    state.SetBytesProcessed(state.iterations() * Bytes(kArquivos));
}
BENCHMARK(BM_RelatorioQuatroArquivos)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--gerar-milhao") == 0)
    {
        for (int i = 2; i < argc; i++)
            GravarMilhao(argv[i]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& p : Arquivos())
    {
        std::filesystem::remove(p);
        std::filesystem::remove(conversor_NomeArquivoSaida(p.string(), D_CONVERSOR_TIPO_CONVERSAO_RELATORIO));
    }
    return 0;
}
