// The store of coverage pieces per cell: whatever the memory it may hold (everything in memory, a run
// written every few pieces, pieces larger than the buffer or the read buffer), it hands every piece
// back once, cells in order, the pieces of a cell in the order they came, with their points intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "analise/pecasCelulas.h"

namespace
{
struct ST_Lida
{
    std::int64_t llCelula;
    std::vector<AnelPlano> vAneis;
};

// Piece k: cell from a scrambled sequence (negative ones too), one or two rings of k-dependent sizes.
std::int64_t CelulaDe(int k)
{
    return static_cast<std::int64_t>((k * 7919) % 23) - 11;
}

std::vector<AnelPlano> AneisDe(int k, std::size_t ulPontos)
{
    std::vector<AnelPlano> v(1 + k % 2);
    for (std::size_t r = 0; r < v.size(); r++)
        for (std::size_t i = 0; i < ulPontos + r; i++)
            v[r].push_back({k + 0.25 * static_cast<double>(i), -static_cast<double>(k) - 1e-9 * static_cast<double>(r)});
    return v;
}

std::vector<ST_Lida> GuardarELer(std::size_t ulLimite, int iPecas, std::size_t (*pfPontos)(int), ST_PecasCelulas* pst)
{
    pst->ulLimiteMemoria = ulLimite;
    for (int k = 0; k < iPecas; k++)
    {
        const std::vector<AnelPlano> v = AneisDe(k, pfPontos(k));
        analise_GuardarPeca(pst, CelulaDe(k), v);
    }
    std::vector<ST_Lida> vLidas;
    analise_PercorrerPecas(pst, [&](std::int64_t llCelula, std::span<const AnelPlano> vAneis) {
        vLidas.push_back({llCelula, {vAneis.begin(), vAneis.end()}});
    });
    return vLidas;
}

// What the store must give back: by cell, and within a cell by arrival.
std::vector<ST_Lida> Esperadas(int iPecas, std::size_t (*pfPontos)(int))
{
    std::vector<std::tuple<std::int64_t, int>> vOrdem;
    for (int k = 0; k < iPecas; k++)
        vOrdem.emplace_back(CelulaDe(k), k);
    std::sort(vOrdem.begin(), vOrdem.end());
    std::vector<ST_Lida> v;
    for (const auto& [llCelula, k] : vOrdem)
        v.push_back({llCelula, AneisDe(k, pfPontos(k))});
    return v;
}

void Conferir(const std::vector<ST_Lida>& vLidas, const std::vector<ST_Lida>& vEsperadas)
{
    ASSERT_EQ(vLidas.size(), vEsperadas.size());
    for (std::size_t i = 0; i < vLidas.size(); i++)
    {
        ASSERT_EQ(vLidas[i].llCelula, vEsperadas[i].llCelula) << i;
        ASSERT_EQ(vLidas[i].vAneis.size(), vEsperadas[i].vAneis.size()) << i;
        for (std::size_t r = 0; r < vLidas[i].vAneis.size(); r++)
        {
            const AnelPlano& a = vLidas[i].vAneis[r];
            const AnelPlano& b = vEsperadas[i].vAneis[r];
            ASSERT_EQ(a.size(), b.size()) << i;
            for (std::size_t j = 0; j < a.size(); j++)
                ASSERT_TRUE(a[j].dX == b[j].dX && a[j].dY == b[j].dY) << "piece " << i << " ring " << r << " point " << j;
        }
    }
}

std::size_t Pequenas(int k)
{
    return 3 + static_cast<std::size_t>(k % 5);
}

// Every 50th piece holds 6000 points (96 KB): more than a run's read buffer and than the smallest limit.
std::size_t AlgumasGrandes(int k)
{
    return k % 50 == 7 ? 6000 : Pequenas(k);
}

TEST(AnalisePecasCelulas, OrdemPorCelulaEChegadaComOuSemArquivoTemporario)
{
    for (const std::size_t ulLimite : {std::size_t{64} << 20, std::size_t{4096}, std::size_t{300}})
    {
        ST_PecasCelulas st;
        Conferir(GuardarELer(ulLimite, 2000, Pequenas, &st), Esperadas(2000, Pequenas));
        EXPECT_FALSE(st.bFalhaDisco);
        EXPECT_FALSE(st.bFalhaLeitura);
        EXPECT_EQ(st.ulPecas, 2000u);
    }
}

TEST(AnalisePecasCelulas, PecasMaioresQueOBufferDeLeituraEQueOLimite)
{
    ST_PecasCelulas st;
    Conferir(GuardarELer(32u << 10, 600, AlgumasGrandes, &st), Esperadas(600, AlgumasGrandes));
    EXPECT_FALSE(st.bFalhaLeitura);
}

TEST(AnalisePecasCelulas, MemoriaLimitadaAoBufferEOArmazemFicaVazio)
{
    ST_PecasCelulas st;
    st.ulLimiteMemoria = 16u << 10;
    for (int k = 0; k < 5000; k++)
    {
        analise_GuardarPeca(&st, CelulaDe(k), AneisDe(k, Pequenas(k)));
        ASSERT_LE(st.vDados.size() + st.vEntradas.size() * sizeof(ST_PecasCelulas::ST_Entrada), st.ulLimiteMemoria) << k;
    }
    EXPECT_GT(st.vTrechos.size(), 10u);
    int iPecas = 0;
    analise_PercorrerPecas(&st, [&](std::int64_t, std::span<const AnelPlano>) { iPecas++; });
    EXPECT_EQ(iPecas, 5000);
    // Handed out once: a second walk finds nothing.
    analise_PercorrerPecas(&st, [&](std::int64_t, std::span<const AnelPlano>) { iPecas++; });
    EXPECT_EQ(iPecas, 5000);
}
} // namespace
