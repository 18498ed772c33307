// Legend classes: bands built from the five targets, their validation, and the classing of values
// into bands and recommendation rows.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "zavoro/legenda.h"

namespace
{
using Faixa = std::tuple<int, int, int, int>; // lower, upper, colour, target slot

ST_ParametrosMapa Parametros(const int (&iAlvos)[5], int iTipoMapa, ST_ParametrosMapa st = {})
{
    conversor_SetarLegenda(iAlvos, iTipoMapa, st.gstLegendaMapa);
    return st;
}

std::vector<Faixa> Faixas(const ST_ParametrosMapa& st)
{
    std::vector<Faixa> v;
    for (const ST_LegendaMapa& f : st.gstLegendaMapa)
        v.emplace_back(f.iValorInf, f.iValorSup, f.iCor, f.iIndiceVetor);
    return v;
}

int Classe(int iValor, const ST_ParametrosMapa& st, int iTipo = D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR)
{
    return conversor_RetornarFaixaLegenda(iValor, iTipo, &st);
}

constexpr int V = D_CONVERSOR_VALOR_ALVO_VAZIO;
constexpr int kTaxa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
constexpr int kVelocidade = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
} // namespace

TEST(Legenda, BandasDosAlvosPadrao)
{
    EXPECT_EQ(Faixas(Parametros({75, 125, 175, 225, 300}, kTaxa)),
              (std::vector<Faixa>{{1, 75, 0, 0}, {76, 125, 1, 1}, {126, 175, 2, 2}, {176, 225, 3, 3}, {226, 300, 4, 4},
                                  {301, 50000, 5, 5}}));
    EXPECT_EQ(Faixas(Parametros({5, 10, 15, 20, 30}, kVelocidade)),
              (std::vector<Faixa>{{1, 5, 0, 0}, {6, 10, 1, 1}, {11, 15, 2, 2}, {16, 20, 3, 3}, {21, 30, 4, 4},
                                  {31, 110, 5, 5}}));
}

TEST(Legenda, AlvosVaziosSaoPuladosEOTopoESempreVermelho)
{
    // Empty slots (9999 and 0) leave no band; the later bands keep the slot they came from.
    EXPECT_EQ(Faixas(Parametros({100, V, 0, 200, V}, kTaxa)),
              (std::vector<Faixa>{{1, 100, 0, 0}, {101, 200, 1, 3}, {201, 50000, 5, 5}, {}, {}, {}}));
    EXPECT_EQ(Faixas(Parametros({V, 80, V, V, V}, kTaxa)),
              (std::vector<Faixa>{{1, 80, 0, 1}, {81, 50000, 5, 5}, {}, {}, {}, {}}));

    // A rebuild forgets the earlier bands.
    const ST_ParametrosMapa stAntes = Parametros({75, 125, 175, 225, 300}, kTaxa);
    EXPECT_EQ(Faixas(Parametros({V, V, V, V, V}, kVelocidade, stAntes)),
              (std::vector<Faixa>{{0, 110, 5, 5}, {}, {}, {}, {}, {}}));
}

TEST(Legenda, SemAlvosNadaEClassificavel)
{
    const ST_ParametrosMapa st = Parametros({V, V, V, V, V}, kTaxa);
    EXPECT_FALSE(conversor_AnalisarDadosLegenda(st.gstLegendaMapa));
    // The lone top band starts at 0, so it is not usable: everything falls back to band 0.
    for (int iValor : {1, 150, 60000})
        EXPECT_EQ(Classe(iValor, st), 0) << iValor;
    EXPECT_EQ(Classe(0, st), D_CONVERSOR_FAIXA_SEM_VALOR);
}

TEST(Legenda, ValidacaoExigeOrdemCrescente)
{
    auto valida = [](const int (&iAlvos)[5], int iTipoMapa) {
        return conversor_AnalisarDadosLegenda(Parametros(iAlvos, iTipoMapa).gstLegendaMapa);
    };
    EXPECT_TRUE(valida({75, 125, 175, 225, 300}, kTaxa));
    EXPECT_TRUE(valida({V, 80, V, V, V}, kTaxa));
    EXPECT_TRUE(valida({75, 76, V, V, V}, kTaxa)); // a one-value band is fine
    EXPECT_FALSE(valida({100, 50, V, V, V}, kTaxa));
    EXPECT_FALSE(valida({50, 50, V, V, V}, kTaxa));
    EXPECT_FALSE(valida({75, 125, 175, 225, 100}, kTaxa));
    EXPECT_FALSE(valida({300, V, 0, 200, V}, kTaxa)); // out of order across an empty slot
    // The speed map's top band ends at 110 and is checked; the rate map's, at 50000, is not.
    EXPECT_TRUE(valida({5, 10, 15, 20, 109}, kVelocidade));
    EXPECT_FALSE(valida({5, 10, 15, 20, 110}, kVelocidade));
    EXPECT_TRUE(valida({5, 10, 15, 20, 110}, kTaxa));
}

TEST(Legenda, ClassificacaoPorFaixa)
{
    const ST_ParametrosMapa stTaxa = Parametros({75, 125, 175, 225, 300}, kTaxa);
    for (auto [iValor, iFaixa] : {std::pair{1, 0}, {75, 0}, {76, 1}, {125, 1}, {126, 2}, {300, 4}, {301, 5},
                                  {50000, 5}, {60000, 5}, {0, D_CONVERSOR_FAIXA_SEM_VALOR}})
        EXPECT_EQ(Classe(iValor, stTaxa), iFaixa) << iValor;

    const ST_ParametrosMapa stVelocidade = Parametros({5, 10, 15, 20, 30}, kVelocidade);
    EXPECT_EQ(Classe(120, stVelocidade), 5);
    EXPECT_EQ(Classe(12, stVelocidade), 2);

    // A target of 9998 pushes the top band to start at 9999, which makes it unusable: values above
    // fall to the last usable band, not to the top one.
    const ST_ParametrosMapa stLacuna = Parametros({75, 9998, V, V, V}, kTaxa);
    EXPECT_EQ(Classe(20000, stLacuna), 1);
    EXPECT_EQ(Classe(5000, stLacuna), 1);
}

TEST(Legenda, ClassificacaoPorLinhaDaRecomendacao)
{
    // The fifth row is past the count: ignored even where it would match.
    ST_ParametrosMapa st;
    const std::uint32_t ulLinhas[][2] = {{1, 100}, {90, 150}, {151, 199}, {250, 400}, {200, 249}};
    std::memcpy(st.gstShpLegendaMapa.ulValorLegenda, ulLinhas, sizeof ulLinhas);
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 4;

    constexpr int kRec = D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO;
    const std::pair<int, int> casos[] = {{1, 0},   {95, 0},  {100, 0}, {101, 1},
                                         {199, 2}, {250, 3}, {220, 3}, {500, 3}, {0, D_CONVERSOR_FAIXA_SEM_VALOR}};
    for (auto [iValor, iLinha] : casos)
        EXPECT_EQ(Classe(iValor, st, kRec), iLinha) << iValor;

    // Without a recommendation legend a value has no class.
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 0;
    EXPECT_EQ(Classe(95, st, kRec), D_CONVERSOR_FAIXA_SEM_VALOR);
}
