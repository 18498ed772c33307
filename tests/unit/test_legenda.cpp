// Legend classes: bands built from the five targets, their validation, and the classing of values
// into bands and recommendation rows.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "zavoro/legenda.h"

namespace
{
using Faixa = std::tuple<int, int, int, int>; // lower, upper, colour, target slot

std::vector<Faixa> Faixas(const int (&iAlvos)[5], int iTipoMapa, ST_ParametrosMapa* pstParametros = nullptr)
{
    ST_ParametrosMapa stLocal;
    ST_ParametrosMapa& st = pstParametros != nullptr ? *pstParametros : stLocal;
    conversor_SetarLegenda(iAlvos, iTipoMapa, st.gstLegendaMapa);
    std::vector<Faixa> v;
    for (const ST_LegendaMapa& f : st.gstLegendaMapa)
        v.emplace_back(f.iValorInf, f.iValorSup, f.iCor, f.iIndiceVetor);
    return v;
}

ST_ParametrosMapa Parametros(const int (&iAlvos)[5], int iTipoMapa)
{
    ST_ParametrosMapa st;
    conversor_SetarLegenda(iAlvos, iTipoMapa, st.gstLegendaMapa);
    return st;
}

BOOL Valida(const int (&iAlvos)[5], int iTipoMapa)
{
    return conversor_AnalisarDadosLegenda(Parametros(iAlvos, iTipoMapa).gstLegendaMapa);
}

constexpr int V = D_CONVERSOR_VALOR_ALVO_VAZIO;
} // namespace

TEST(Legenda, BandasDosAlvosPadrao)
{
    EXPECT_EQ(Faixas({75, 125, 175, 225, 300}, D_CONVERSOR_TIPO_MAPA_COBERTURA),
              (std::vector<Faixa>{{1, 75, 0, 0}, {76, 125, 1, 1}, {126, 175, 2, 2}, {176, 225, 3, 3}, {226, 300, 4, 4},
                                  {301, 50000, 5, 5}}));
    EXPECT_EQ(Faixas({5, 10, 15, 20, 30}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE),
              (std::vector<Faixa>{{1, 5, 0, 0}, {6, 10, 1, 1}, {11, 15, 2, 2}, {16, 20, 3, 3}, {21, 30, 4, 4},
                                  {31, 110, 5, 5}}));
}

TEST(Legenda, AlvosVaziosSaoPuladosEOTopoESempreVermelho)
{
    // Empty slots (9999 and 0) leave no band; the later bands keep the slot they came from.
    EXPECT_EQ(Faixas({100, V, 0, 200, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA),
              (std::vector<Faixa>{{1, 100, 0, 0}, {101, 200, 1, 3}, {201, 50000, 5, 5}, {}, {}, {}}));
    EXPECT_EQ(Faixas({V, 80, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA),
              (std::vector<Faixa>{{1, 80, 0, 1}, {81, 50000, 5, 5}, {}, {}, {}, {}}));

    // A rebuild forgets the earlier bands.
    ST_ParametrosMapa st;
    Faixas({75, 125, 175, 225, 300}, D_CONVERSOR_TIPO_MAPA_COBERTURA, &st);
    EXPECT_EQ(Faixas({V, V, V, V, V}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, &st),
              (std::vector<Faixa>{{0, 110, 5, 5}, {}, {}, {}, {}, {}}));
}

TEST(Legenda, SemAlvosNadaEClassificavel)
{
    const ST_ParametrosMapa st = Parametros({V, V, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA);
    EXPECT_FALSE(conversor_AnalisarDadosLegenda(st.gstLegendaMapa));
    // The lone top band starts at 0, so it is not usable: everything falls back to band 0.
    for (int iValor : {1, 150, 60000})
        EXPECT_EQ(conversor_RetornarFaixaLegenda(iValor, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &st), 0) << iValor;
    EXPECT_EQ(conversor_RetornarFaixaLegenda(0, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &st), D_CONVERSOR_FAIXA_SEM_VALOR);
}

TEST(Legenda, ValidacaoExigeOrdemCrescente)
{
    EXPECT_TRUE(Valida({75, 125, 175, 225, 300}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_TRUE(Valida({5, 10, 15, 20, 30}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE));
    EXPECT_TRUE(Valida({V, 80, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    // A one-value band is fine.
    EXPECT_TRUE(Valida({75, 76, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA));

    EXPECT_FALSE(Valida({100, 50, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_FALSE(Valida({50, 50, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_FALSE(Valida({75, 125, 175, 225, 100}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    // Out of order across an empty slot.
    EXPECT_FALSE(Valida({300, V, 0, 200, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA));

    // The speed map's top band ends at 110 and is checked; the rate map's, at 50000, is not.
    EXPECT_TRUE(Valida({5, 10, 15, 20, 109}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE));
    EXPECT_FALSE(Valida({5, 10, 15, 20, 110}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE));
    EXPECT_TRUE(Valida({5, 10, 15, 20, 110}, D_CONVERSOR_TIPO_MAPA_COBERTURA));
}

TEST(Legenda, ClassificacaoPorFaixa)
{
    const ST_ParametrosMapa stTaxa = Parametros({75, 125, 175, 225, 300}, D_CONVERSOR_TIPO_MAPA_COBERTURA);
    const std::vector<std::pair<int, int>> vCasos = {{1, 0},   {75, 0},  {76, 1},  {125, 1},   {126, 2},
                                                     {300, 4}, {301, 5}, {50000, 5}, {60000, 5}};
    for (auto [iValor, iFaixa] : vCasos)
        EXPECT_EQ(conversor_RetornarFaixaLegenda(iValor, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stTaxa), iFaixa) << iValor;
    EXPECT_EQ(conversor_RetornarFaixaLegenda(0, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stTaxa), D_CONVERSOR_FAIXA_SEM_VALOR);

    const ST_ParametrosMapa stVelocidade = Parametros({5, 10, 15, 20, 30}, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
    EXPECT_EQ(conversor_RetornarFaixaLegenda(120, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stVelocidade), 5);
    EXPECT_EQ(conversor_RetornarFaixaLegenda(12, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stVelocidade), 2);

    // A target of 9998 pushes the top band to start at 9999, which makes it unusable: values above
    // fall to the last usable band, not to the top one.
    const ST_ParametrosMapa stLacuna = Parametros({75, 9998, V, V, V}, D_CONVERSOR_TIPO_MAPA_COBERTURA);
    EXPECT_EQ(conversor_RetornarFaixaLegenda(20000, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stLacuna), 1);
    EXPECT_EQ(conversor_RetornarFaixaLegenda(5000, D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR, &stLacuna), 1);
}

TEST(Legenda, ClassificacaoPorLinhaDaRecomendacao)
{
    ST_ParametrosMapa st;
    const std::uint32_t ulLinhas[][2] = {{1, 100}, {90, 150}, {151, 199}, {250, 400}};
    for (int r = 0; r < 4; ++r)
    {
        st.gstShpLegendaMapa.ulValorLegenda[r][0] = ulLinhas[r][0];
        st.gstShpLegendaMapa.ulValorLegenda[r][1] = ulLinhas[r][1];
    }
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 4;
    // Rows past the count are ignored even when they would match.
    st.gstShpLegendaMapa.ulValorLegenda[4][0] = 200;
    st.gstShpLegendaMapa.ulValorLegenda[4][1] = 249;

    const std::vector<std::pair<int, int>> vCasos = {{1, 0}, {95, 0}, {100, 0}, {101, 1}, {199, 2}, {250, 3},
                                                     {220, 3}, {500, 3}};
    for (auto [iValor, iLinha] : vCasos)
        EXPECT_EQ(conversor_RetornarFaixaLegenda(iValor, D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO, &st), iLinha) << iValor;
    EXPECT_EQ(conversor_RetornarFaixaLegenda(0, D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO, &st), D_CONVERSOR_FAIXA_SEM_VALOR);

    // Without a recommendation legend a value has no class.
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 0;
    EXPECT_EQ(conversor_RetornarFaixaLegenda(95, D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO, &st), D_CONVERSOR_FAIXA_SEM_VALOR);
}
