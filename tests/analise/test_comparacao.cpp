// The comparison engine on hand-computable layouts in the plane: rectangular zones, straight strips
// of known width, an overlap of a known strip, a skipped strip, a zone never touched; the projection
// keeps areas; the tables and the difference classes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "support/Csv.h"
#include "zavoro/analise.h"

namespace
{
constexpr double kTol = 1e-9;

AnelPlano Retangulo(double dX0, double dY0, double dX1, double dY1)
{
    return {{dX0, dY0}, {dX0, dY1}, {dX1, dY1}, {dX1, dY0}};
}

// Rows 0-149 and 150-249 only.
ST_ShpLegenda DuasLinhas()
{
    ST_ShpLegenda st;
    st.ucNumLinhasLegenda = 2;
    st.ulValorLegenda[0][0] = 0;
    st.ulValorLegenda[0][1] = 149;
    st.ulValorLegenda[1][0] = 150;
    st.ulValorLegenda[1][1] = 249;
    return st;
}

// Zone 1 (x 0-100, 100/ha) and zone 2 (x 100-200, 200/ha) side by side, zone 3 (x 300-400, 150/ha)
// never touched, all 100 m high, inside a 400 x 100 m boundary. Two passes along the first 200 m:
// y 0-20 at 100/ha and y 10-30 at 110/ha, so the strip y 10-20 is covered twice.
ST_ResultadoComparacao Campo()
{
    ComparacaoPlano p = analise_CriarComparacao();
    EXPECT_TRUE(analise_AdicionarZona(p.get(), 1, {Retangulo(0, 0, 100, 100)}, 100.0));
    EXPECT_TRUE(analise_AdicionarZona(p.get(), 2, {Retangulo(100, 0, 200, 100)}, 200.0));
    EXPECT_TRUE(analise_AdicionarZona(p.get(), 3, {Retangulo(300, 0, 400, 100)}, 150.0));
    analise_AdicionarLimite(p.get(), Retangulo(0, 0, 400, 100));
    EXPECT_TRUE(analise_AdicionarCobertura(p.get(), Retangulo(0, 0, 200, 20), 100.0));
    EXPECT_TRUE(analise_AdicionarCobertura(p.get(), Retangulo(0, 10, 200, 30), 110.0));
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    return r;
}

TEST(AnaliseComparacao, ZonasCobertasSobrepostasENuncaTocadas)
{
    const ST_ResultadoComparacao r = Campo();
    ASSERT_EQ(r.vZonas.size(), 3u);
    const ST_FigurasZona& z1 = r.vZonas[0];
    EXPECT_EQ(z1.ulRegistro, 1u);
    EXPECT_NEAR(z1.dAreaZona, 1.0, kTol);
    EXPECT_NEAR(z1.dAreaCoberta, 0.3, kTol); // 100 x 30 m: the overlap counts once
    EXPECT_NEAR(analise_PercentualCoberto(z1), 30.0, kTol);
    EXPECT_NEAR(z1.dAreaAplicada, 0.4, kTol); // both passes, 2000 m² each
    EXPECT_NEAR(analise_ValorAplicado(z1), 105.0, kTol);
    EXPECT_NEAR(analise_DesvioPercentual(z1), 5.0, kTol);
    EXPECT_NEAR(analise_PercentualEstreito(z1), 100.0, kTol); // 110 is exactly 10 % over
    EXPECT_NEAR(analise_PercentualLargo(z1), 100.0, kTol);

    const ST_FigurasZona& z2 = r.vZonas[1];
    EXPECT_NEAR(z2.dAreaCoberta, 0.3, kTol);
    EXPECT_NEAR(analise_ValorAplicado(z2), 105.0, kTol);
    EXPECT_NEAR(analise_DesvioPercentual(z2), -47.5, kTol);
    EXPECT_NEAR(analise_PercentualEstreito(z2), 0.0, kTol);
    EXPECT_NEAR(analise_PercentualLargo(z2), 0.0, kTol);

    const ST_FigurasZona& z3 = r.vZonas[2];
    EXPECT_NEAR(z3.dAreaCoberta, 0.0, kTol);
    EXPECT_NEAR(analise_PercentualCoberto(z3), 0.0, kTol);
    EXPECT_TRUE(std::isnan(analise_ValorAplicado(z3)));
    EXPECT_TRUE(std::isnan(analise_DesvioPercentual(z3)));
}

TEST(AnaliseComparacao, TotaisDoTalhao)
{
    const ST_TotaisComparacao t = Campo().stTotais;
    EXPECT_EQ(t.iFonteLimites, D_ANALISE_LIMITES_ARQUIVO);
    EXPECT_EQ(t.lPoligonos, 2);
    EXPECT_NEAR(t.dSomaCobertura, 0.8, kTol);
    EXPECT_NEAR(t.dAreaCoberta, 0.6, kTol);
    EXPECT_NEAR(t.dAreaSobreposta, 0.2, kTol);
    EXPECT_NEAR(analise_PercentualSobreposicao(t), 25.0, kTol);
    EXPECT_NEAR(t.dAreaLimites, 4.0, kTol);
    EXPECT_NEAR(t.dAreaFalhada, 3.4, kTol);
    EXPECT_NEAR(t.dAreaForaLimites, 0.0, kTol);
    EXPECT_NEAR(t.dAreaZonas, 3.0, kTol);
    EXPECT_NEAR(t.dAreaCobertaZonas, 0.6, kTol);
}

TEST(AnaliseComparacao, LinhasDaLegendaSomamSuasZonas)
{
    const ST_ResultadoComparacao r = Campo();
    const ST_FigurasZona& l0 = r.stLinhas[0];
    EXPECT_EQ(l0.iZonas, 1);
    EXPECT_NEAR(l0.dPrescrito, 100.0, kTol);
    EXPECT_NEAR(l0.dAreaCoberta, 0.3, kTol);
    // Zones 2 (200/ha) and 3 (150/ha), one hectare each; only zone 2 was covered.
    const ST_FigurasZona& l1 = r.stLinhas[1];
    EXPECT_EQ(l1.iZonas, 2);
    EXPECT_NEAR(l1.dAreaZona, 2.0, kTol);
    EXPECT_NEAR(l1.dPrescrito, 175.0, kTol);
    EXPECT_NEAR(analise_PercentualCoberto(l1), 15.0, kTol);
    EXPECT_NEAR(analise_ValorAplicado(l1), 105.0, kTol);
    for (int i = 2; i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
        EXPECT_EQ(r.stLinhas[i].iZonas, 0) << i;
}

TEST(AnaliseComparacao, MuitasPassagensNoMesmoLugarSeFundemEmLotes)
{
    ComparacaoPlano p = analise_CriarComparacao();
    analise_AdicionarZona(p.get(), 7, {Retangulo(0, 0, 1000, 100)}, 50.0);
    // 1000 squares of 10 x 10 m, the first 100 tiling a 1000 x 10 m row, then that row nine times more.
    for (int k = 0; k < 1000; k++)
    {
        const double dX = 10.0 * (k % 100);
        analise_AdicionarCobertura(p.get(), Retangulo(dX, 0, dX + 10, 10), k < 500 ? 50.0 : 70.0);
    }
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    EXPECT_NEAR(r.stTotais.dAreaCoberta, 1.0, kTol);
    EXPECT_NEAR(r.stTotais.dSomaCobertura, 10.0, kTol);
    EXPECT_NEAR(r.stTotais.dAreaSobreposta, 9.0, kTol);
    EXPECT_NEAR(analise_ValorAplicado(r.vZonas[0]), 60.0, kTol);
    EXPECT_NEAR(analise_PercentualEstreito(r.vZonas[0]), 50.0, kTol);
    // Without boundaries in the file the field is the zones' ground.
    EXPECT_EQ(r.stTotais.iFonteLimites, D_ANALISE_LIMITES_RECOMENDACAO);
    EXPECT_NEAR(r.stTotais.dAreaFalhada, 9.0, kTol);
}

TEST(AnaliseComparacao, FuroDaZonaNaoContaComoZona)
{
    ComparacaoPlano p = analise_CriarComparacao();
    // The hole runs the same way as the outer ring: a ring inside another is a hole whatever its turn.
    analise_AdicionarZona(p.get(), 1, {Retangulo(0, 0, 100, 100), Retangulo(25, 25, 75, 75)}, 100.0);
    analise_AdicionarCobertura(p.get(), Retangulo(0, 40, 100, 60), 100.0);
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    ASSERT_EQ(r.vZonas.size(), 1u);
    EXPECT_NEAR(r.vZonas[0].dAreaZona, 0.75, kTol);
    EXPECT_NEAR(r.vZonas[0].dAreaCoberta, 0.1, kTol); // 2000 m² less the 1000 m² over the hole
    EXPECT_NEAR(r.vZonas[0].dAreaAplicada, 0.1, kTol);
}

TEST(AnaliseComparacao, GeometriaRuimEZonasSobrepostasSaoAvisadas)
{
    ComparacaoPlano p = analise_CriarComparacao();
    // A bow tie: two triangles of 2500 m² each.
    analise_AdicionarZona(p.get(), 1, {{{0, 0}, {100, 100}, {100, 0}, {0, 100}}}, 100.0);
    analise_AdicionarZona(p.get(), 2, {{{0, 0}, {10, 0}, {20, 0}}}, 100.0); // no area
    analise_AdicionarZona(p.get(), 3, {}, 100.0);
    analise_AdicionarZona(p.get(), 4, {Retangulo(50, 0, 150, 100)}, 100.0); // over half of zone 1
    analise_AdicionarCobertura(p.get(), Retangulo(0, 0, 10, 10), 100.0);
    EXPECT_FALSE(analise_AdicionarZona(p.get(), 5, {Retangulo(0, 0, 1, 1)}, 1.0)) << "zones come before coverage";
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    ASSERT_EQ(r.vZonas.size(), 2u);
    EXPECT_EQ(r.vZonas[0].ulRegistro, 1u);
    EXPECT_NEAR(r.vZonas[0].dAreaZona, 0.5, kTol);
    EXPECT_EQ(r.vZonas[1].ulRegistro, 4u);
    std::string szAvisos;
    for (const std::string& sz : r.vAvisos)
        szAvisos += sz + "\n";
    EXPECT_NE(szAvisos.find("zona 1 da recomendação com geometria inválida"), std::string::npos) << szAvisos;
    EXPECT_NE(szAvisos.find("zona 2 da recomendação sem área"), std::string::npos) << szAvisos;
    EXPECT_NE(szAvisos.find("zona 3 da recomendação sem área"), std::string::npos) << szAvisos;
    EXPECT_NE(szAvisos.find("as zonas 1 e 4 da recomendação se sobrepõem (0,25 ha"), std::string::npos) << szAvisos;
}

// Only coverage, no zones nor boundaries: the field totals.
ST_TotaisComparacao Totais(const std::vector<AnelPlano>& vCobertura)
{
    ComparacaoPlano p = analise_CriarComparacao();
    for (const AnelPlano& v : vCobertura)
        EXPECT_TRUE(analise_AdicionarCobertura(p.get(), v, 100.0));
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    return r.stTotais;
}

TEST(AnaliseCobertura, PecasQueSeTocamSomamEAsQueSeSobrepoemNao)
{
    // Side by side in one cell: nothing covered twice.
    ST_TotaisComparacao t = Totais({Retangulo(0, 0, 10, 10), Retangulo(10, 0, 20, 10)});
    EXPECT_NEAR(t.dAreaCoberta, 0.02, kTol);
    EXPECT_NEAR(t.dAreaSobreposta, 0.0, kTol);
    // A third over a quarter of each: 25 m² of each covered twice.
    t = Totais({Retangulo(0, 0, 10, 10), Retangulo(10, 0, 20, 10), Retangulo(5, 5, 15, 15)});
    EXPECT_NEAR(t.dAreaCoberta, 0.025, kTol);
    EXPECT_NEAR(t.dAreaSobreposta, 0.005, kTol);
    // A millimetre over its neighbour along 10 m: 0.01 m² covered twice, not lost in a tolerance.
    t = Totais({Retangulo(0, 0, 10, 10), Retangulo(10 - 1e-3, 0, 20, 10)});
    EXPECT_NEAR(t.dSomaCobertura * 1e4 - t.dAreaCoberta * 1e4, 0.01, 1e-6);
    // A square in the notch of an L: their boxes meet, their areas do not.
    t = Totais({{{0, 40}, {20, 40}, {20, 50}, {10, 50}, {10, 60}, {0, 60}}, Retangulo(10, 50, 20, 60)});
    EXPECT_NEAR(t.dAreaCoberta, 0.04, kTol);
    EXPECT_NEAR(t.dAreaSobreposta, 0.0, kTol);
    // The same square twice, then one over the L's foot and the square's corner.
    t = Totais({Retangulo(10, 50, 20, 60), Retangulo(10, 50, 20, 60), Retangulo(15, 45, 25, 55)});
    EXPECT_NEAR(t.dAreaCoberta, 0.0175, kTol);
}

TEST(AnaliseCobertura, EspinhosNasCabeceirasEAnelQueSeCruza)
{
    // Passes 9 m wide of ten 40 m stretches, east then west; where a pass ends the walk's ring runs
    // 9 m up the end and straight back (a spike of no area), as on the sample jobs.
    std::vector<AnelPlano> v;
    for (int iPassagem = 0; iPassagem < 6; iPassagem++)
        for (int k = 0; k < 10; k++)
        {
            const double dY0 = 9.0 * iPassagem, dY1 = dY0 + 9.0;
            const double dX0 = 40.0 * k, dX1 = dX0 + 40.0;
            if (k == 9 && iPassagem % 2 == 0)
                v.push_back({{dX0, dY1}, {dX1, dY1}, {dX1, dY1}, {dX1, dY1 + 9.0}, {dX1, dY0}, {dX0, dY0}});
            else if (k == 0 && iPassagem % 2 == 1)
                v.push_back({{dX1, dY0}, {dX0, dY0}, {dX0, dY1 + 9.0}, {dX0, dY1}, {dX1, dY1}});
            else
                v.push_back(Retangulo(dX0, dY0, dX1, dY1));
        }
    ST_TotaisComparacao t = Totais(v);
    EXPECT_EQ(t.lPoligonos, 60);
    EXPECT_NEAR(t.dSomaCobertura, 2.16, kTol);
    EXPECT_NEAR(t.dAreaCoberta, 2.16, kTol);
    EXPECT_NEAR(t.dAreaSobreposta, 0.0, kTol);

    // A bow tie: two triangles of 2500 m², covered once each.
    t = Totais({{{0, 0}, {100, 100}, {100, 0}, {0, 100}}});
    EXPECT_NEAR(t.dSomaCobertura, 0.5, kTol);
    EXPECT_NEAR(t.dAreaCoberta, 0.5, kTol);
    // Nothing but a spike: no area, no polygon.
    EXPECT_EQ(Totais({{{0, 0}, {10, 0}, {20, 0}, {10, 0}}}).lPoligonos, 0);
}

TEST(AnaliseCobertura, LosangoCortadoEmQuatroCelulasEUmaZonaNumQuadrante)
{
    ComparacaoPlano p = analise_CriarComparacao();
    analise_AdicionarZona(p.get(), 1, {Retangulo(0, 0, 100, 100)}, 100.0);
    analise_AdicionarLimite(p.get(), Retangulo(-100, -100, 0, 100));
    // Centred on the corner of four cells, driven twice.
    for (int i = 0; i < 2; i++)
        analise_AdicionarCobertura(p.get(), {{50, 0}, {0, 50}, {-50, 0}, {0, -50}}, 100.0);
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    EXPECT_NEAR(r.stTotais.dAreaCoberta, 0.5, kTol);
    EXPECT_NEAR(r.stTotais.dAreaSobreposta, 0.5, kTol);
    EXPECT_NEAR(r.vZonas[0].dAreaCoberta, 0.125, kTol);
    EXPECT_NEAR(r.vZonas[0].dAreaAplicada, 0.25, kTol);
    EXPECT_NEAR(r.stTotais.dAreaForaLimites, 0.25, kTol);
    EXPECT_NEAR(r.stTotais.dAreaFalhada, 2.0 - 0.25, kTol);
}

TEST(AnaliseCobertura, MuitasPassagensEntreCelulasComLimiteNoMeio)
{
    // Forty passes over a 900 m strip in 30 m stretches: cells far past the first batch, pieces cut at
    // the cells' edges, the boundary through the middle of the cells it crosses, half of the strip
    // north of it; one zone holds it all.
    ComparacaoPlano p = analise_CriarComparacao();
    analise_AdicionarZona(p.get(), 1, {Retangulo(-500, -500, 500, 500)}, 100.0);
    analise_AdicionarLimite(p.get(), Retangulo(-500, -500, 500, 0));
    for (int i = 0; i < 40; i++)
        for (int k = 0; k < 30; k++)
            analise_AdicionarCobertura(p.get(), Retangulo(-450 + 30.0 * k, -10, -420 + 30.0 * k, 10), 100.0);
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), DuasLinhas(), &r);
    EXPECT_NEAR(r.stTotais.dSomaCobertura, 72.0, 1e-7);
    EXPECT_NEAR(r.stTotais.dAreaCoberta, 1.8, kTol);
    EXPECT_NEAR(r.stTotais.dAreaSobreposta, 70.2, 1e-7);
    EXPECT_NEAR(r.stTotais.dAreaForaLimites, 0.9, kTol);
    EXPECT_NEAR(r.stTotais.dAreaFalhada, 50.0 - 0.9, kTol);
    EXPECT_NEAR(r.vZonas[0].dAreaCoberta, 1.8, kTol);
}

// Area (m²) of the projected lon/lat cell of side dLado degrees, its edges split to follow the graticule.
double AreaCelula(double dLon, double dLat, double dLado)
{
    AnelPlano v;
    constexpr int kN = 50;
    for (int i = 0; i < kN; i++)
        v.push_back(analise_Projetar(dLon + dLado * i / kN, dLat, -51.93, -24.0));
    for (int i = 0; i < kN; i++)
        v.push_back(analise_Projetar(dLon + dLado, dLat + dLado * i / kN, -51.93, -24.0));
    for (int i = 0; i < kN; i++)
        v.push_back(analise_Projetar(dLon + dLado - dLado * i / kN, dLat + dLado, -51.93, -24.0));
    for (int i = 0; i < kN; i++)
        v.push_back(analise_Projetar(dLon, dLat + dLado - dLado * i / kN, -51.93, -24.0));
    double dArea = 0.0;
    for (std::size_t i = 0; i < v.size(); i++)
        dArea += v[i].dX * v[(i + 1) % v.size()].dY - v[(i + 1) % v.size()].dX * v[i].dY;
    return std::fabs(dArea) / 2.0;
}

TEST(AnaliseProjecao, AreasDoElipsoideNoCentroEDaEsferaLonge)
{
    constexpr double kA = 6378137.0, kE2 = 0.0066943799901413165, kGrau = std::numbers::pi / 180.0;
    const auto Raios = [&](double dLat, double* pdM, double* pdN) {
        const double dW2 = 1.0 - kE2 * std::sin(dLat * kGrau) * std::sin(dLat * kGrau);
        *pdM = kA * (1.0 - kE2) / std::pow(dW2, 1.5);
        *pdN = kA / std::sqrt(dW2);
    };
    // A 100 m cell at the centre has the ellipsoid's area: M N cos(lat) dlat dlon.
    double dM = 0.0, dN = 0.0;
    Raios(-24.0, &dM, &dN);
    const double dLado = 0.001;
    EXPECT_NEAR(AreaCelula(-51.93, -24.0, dLado) / (dM * dN * std::cos(-23.9995 * kGrau) * dLado * dLado * kGrau * kGrau), 1.0,
                1e-5);
    // Far away the projection still keeps the sphere's areas.
    const double dR2 = dM * dN;
    for (const auto& [dLon, dLat] : {std::pair{-48.5, -21.0}, std::pair{-51.93, -27.5}})
    {
        const double dEsperada = dR2 * 0.01 * kGrau * (std::sin((dLat + 0.01) * kGrau) - std::sin(dLat * kGrau));
        EXPECT_NEAR(AreaCelula(dLon, dLat, 0.01) / dEsperada, 1.0, 1e-6) << dLon << " " << dLat;
    }
    const ST_PontoPlano c = analise_Projetar(-51.93, -24.0, -51.93, -24.0);
    EXPECT_NEAR(c.dX, 0.0, 1e-9);
    EXPECT_NEAR(c.dY, 0.0, 1e-9);
    EXPECT_GT(analise_Projetar(-51.92, -24.0, -51.93, -24.0).dX, 0.0) << "east is +x";
    EXPECT_GT(analise_Projetar(-51.93, -23.99, -51.93, -24.0).dY, 0.0) << "north is +y";
}

TEST(AnaliseTextos, CsvComPontoDecimalEUmaColunaPorTitulo)
{
    const std::string szCsv = analise_CsvComparacao(Campo());
    EXPECT_EQ(szCsv.find(';'), std::string::npos);
    const zavoro_teste::TabelaCsv t = zavoro_teste::lerCsv(szCsv); // as many cells as titles in every row
    EXPECT_EQ(t.vTitulos[0], "tipo");
    EXPECT_EQ(t.vTitulos[4], "area_zona_ha");
    // Three zones, two legend rows, the field.
    ASSERT_EQ(t.vLinhas.size(), 6u);
    EXPECT_EQ(t.vLinhas[0].at("aplicado_por_ha"), "105.000");
    EXPECT_EQ(t.vLinhas[1].at("desvio_pct"), "-47.500");
    EXPECT_EQ(t.vLinhas[2].at("aplicado_por_ha"), "") << "no coverage: no applied value";
    EXPECT_EQ(t.vLinhas[4].at("tipo"), "linha");
    EXPECT_EQ(t.vLinhas[4].at("faixa"), "150-249");
    EXPECT_EQ(t.vLinhas[5].at("tipo"), "talhao");
    EXPECT_EQ(t.vLinhas[5].at("sobreposta_pct"), "25.00");
    EXPECT_EQ(t.vLinhas[5].at("falhada_ha"), "3.4000");
}

TEST(AnaliseTextos, ConsoleComVirgulaDecimalEColunasAlinhadas)
{
    const std::string szTexto = analise_TextoComparacao(Campo());
    EXPECT_NE(szTexto.find("Área sobreposta:                  0,20 ha (25,0 % da área aplicada)"), std::string::npos) << szTexto;
    EXPECT_NE(szTexto.find("Área falhada dentro dos limites:  3,40 ha"), std::string::npos) << szTexto;
    // Every line of the zone table ends at the same column.
    std::stringstream ss(szTexto);
    std::string szLinha;
    std::getline(ss, szLinha);
    std::vector<std::size_t> vLarguras;
    while (std::getline(ss, szLinha) && !szLinha.empty())
    {
        std::size_t n = 0;
        for (unsigned char c : szLinha)
            n += (c & 0xC0) != 0x80 ? 1 : 0;
        vLarguras.push_back(n);
        EXPECT_EQ(szLinha.find('.'), std::string::npos) << szLinha;
    }
    ASSERT_EQ(vLarguras.size(), 5u); // titles, three zones, all
    for (std::size_t n : vLarguras)
        EXPECT_EQ(n, vLarguras[0]);
}

TEST(AnaliseDiferenca, PassoRedondoEClassesCentradasNoZero)
{
    const auto Passo = [](std::vector<double> vDiferencas) {
        ST_ResultadoComparacao r;
        for (double d : vDiferencas)
        {
            ST_FigurasZona f;
            f.dPrescrito = 100.0;
            f.dAreaAplicada = 1.0;
            f.dSomaValorArea = 100.0 + d;
            r.vZonas.push_back(f);
        }
        r.vZonas.push_back(ST_FigurasZona{}); // never covered: no difference
        return analise_PassoDiferenca(r);
    };
    EXPECT_DOUBLE_EQ(Passo({31.6, -3.0}), 10.0);
    EXPECT_DOUBLE_EQ(Passo({-9.0}), 2.5);
    EXPECT_DOUBLE_EQ(Passo({4.0}), 1.0);
    EXPECT_DOUBLE_EQ(Passo({0.3}), 0.1);
    EXPECT_DOUBLE_EQ(Passo({}), 1.0);

    EXPECT_EQ(analise_ClasseDiferenca(0.0, 10.0), 5);
    EXPECT_EQ(analise_ClasseDiferenca(-0.1, 10.0), 4);
    EXPECT_EQ(analise_ClasseDiferenca(39.9, 10.0), 8);
    EXPECT_EQ(analise_ClasseDiferenca(40.0, 10.0), 9);
    EXPECT_EQ(analise_ClasseDiferenca(1e9, 10.0), 9);
    EXPECT_EQ(analise_ClasseDiferenca(-40.0, 10.0), 1);
    EXPECT_EQ(analise_ClasseDiferenca(-1e9, 10.0), 0);
}
} // namespace
