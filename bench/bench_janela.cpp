// The window's side of a conversion: jobs started through the window logic on files of 1,000,000
// track points, their notices handled on this thread as the window thread would. Reports the wall time
// of each job and the longest time one handler held the window thread (what the user would feel).
//   build/bin/bench_janela ARQ.nvg...   (files from bench_relatorio --gerar-milhao)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ServicosFalsos.h"

using namespace std::chrono;

namespace
{
struct ST_Medida
{
    double dSegundos = 0;
    double dMaiorHandlerMs = 0;
    int iAvisos = 0;
};

ST_Medida Medir(const std::vector<std::string>& vArquivos, bool bMapa)
{
    ST_Janela stJanela;
    zavoro_teste::ServicosFalsos servicos(&stJanela, true);
    stJanela.unidadePausa = nanoseconds(0);
    principal_InitDialogHandler(&stJanela);

    // Every notice handled on this thread is timed.
    ST_Medida stMedida;
    auto pfPostarOriginal = stJanela.stServicos.pfPostar;
    static ST_Medida* s_pstMedida;
    static void (*s_pfPostar)(void*, std::function<void()>);
    s_pstMedida = &stMedida;
    s_pfPostar = pfPostarOriginal;
    stJanela.stServicos.pfPostar = [](void* p, std::function<void()> fn) {
        s_pfPostar(p, [fn = std::move(fn)] {
            const auto inicio = steady_clock::now();
            fn();
            const double dMs = duration<double, std::milli>(steady_clock::now() - inicio).count();
            s_pstMedida->dMaiorHandlerMs = std::max(s_pstMedida->dMaiorHandlerMs, dMs);
            s_pstMedida->iAvisos++;
        });
    };

    servicos.filaArquivos.push_back(vArquivos);
    principal_CommandHandler(&stJanela, btnSelecioneArquivos);
    servicos.EsperarAte([&] { return principal_Controle(&stJanela, btnBotaoEsquerda).bHabilitado; });
    stMedida = ST_Medida{};
    const auto inicio = steady_clock::now();
    if (bMapa)
    {
        // Speed map: 0, 1, 3, 4, 6.
        stJanela.giTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
        principal_CommandHandler(&stJanela, btnBotaoDireita);
        principal_CommandHandler(&stJanela, rdbtnOpcao2);
        for (int i = 0; i < 3; i++)
            principal_CommandHandler(&stJanela, btnBotaoDireita);
    }
    else
    {
        principal_CommandHandler(&stJanela, btnBotaoEsquerda);
    }
    servicos.EsperarAte([&] { return principal_Controle(&stJanela, btnSelecioneArquivos).bHabilitado; },
                        minutes(10));
    stMedida.dSegundos = duration<double>(steady_clock::now() - inicio).count();
    principal_EncerrarTrabalhos(&stJanela); // before the services the workers post to go away
    return stMedida;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "uso: bench_janela ARQ.nvg...\n");
        return 2;
    }
    // The window's multi-file layout wants one folder; give absolute paths.
    std::vector<std::string> vArquivos;
    for (int i = 1; i < argc; i++)
        vArquivos.push_back(std::filesystem::absolute(argv[i]).string());
    for (bool bMapa : {false, true})
    {
        const ST_Medida st = Medir(vArquivos, bMapa);
        std::printf("%-22s %zu arquivo(s): %.2f s; %d avisos; maior tempo de um handler na janela: %.3f ms\n",
                    bMapa ? "mapa de velocidade" : "relatorio", vArquivos.size(), st.dSegundos, st.iAvisos,
                    st.dMaiorHandlerMs);
    }
    return 0;
}
