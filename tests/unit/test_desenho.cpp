// Drawing of the viewer maps, checked on the pixels of a software picture: layout of wide and tall
// maps, the shared extent of the work map, holes, colours of values, the legend strip, and the prompt
// and error pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "support/DiretorioTemporario.h"
#include "support/ShpBuilder.h"
#include "support/SuperficieRaster.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/shapeFile.h"

using namespace zavoro_teste;

namespace
{

constexpr std::uint32_t kBranco = 0xFFFFFF; // what the pictures start with
constexpr std::uint32_t kFundo = 0xF5F5F5;
constexpr std::uint32_t kBorda = 0x646464;
constexpr std::uint32_t kCinza = 0xE1E1E1;
constexpr std::uint32_t kZero = 0xEBEBEB;
constexpr std::uint32_t kLinha0 = 0x1E1EFF;
constexpr std::uint32_t kLinha1 = 0x1E96FF;
constexpr std::uint32_t kLinha9 = 0xFF1E1E; // the maximum of a table falls in row 9

// A map 0.001 degrees high at latitude -24: wide maps are twice as wide as high on the ground,
// tall ones half as wide, so the shorter side takes half of the picture's map box.
constexpr double kY0 = -24.0;
constexpr double kY1 = -23.999;
constexpr double kYm = (kY0 + kY1) / 2;
constexpr double kX0 = -51.93;
double LarguraGraus(double dProporcao)
{
    return 0.001 * dProporcao / std::cos(24.0 * std::numbers::pi / 180.0);
}
const double kDx = LarguraGraus(2.0);

// The rectangle from x0 + a * kDx to x0 + b * kDx over the given latitudes.
AnelShp Faixa(double dA, double dB, double dYmin = kY0, double dYmax = kY1)
{
    return ShpBuilder::retangulo(kX0 + dA * kDx, dYmin, kX0 + dB * kDx, dYmax);
}

AnelShp Invertido(AnelShp anel)
{
    return AnelShp(anel.rbegin(), anel.rend());
}

// One polygon per entry, with its dose; the dose is field 1.
ShpBuilder Conjunto(const std::vector<std::pair<std::vector<AnelShp>, std::string>>& vPoligonos)
{
    ShpBuilder b;
    b.campos = {{"ID", 'N', 5, 0}, {"DOSE", 'N', 9, 2}};
    int i = 0;
    for (const auto& [vAneis, szDose] : vPoligonos)
        b.adicionar(vAneis, {std::to_string(++i), szDose});
    return b;
}

ShpBuilder UmaDose(const char* pcDose)
{
    return Conjunto({{{Faixa(0, 1)}, pcDose}});
}

class Desenho : public ::testing::Test
{
protected:
    DiretorioTemporario dir;
    SuperficieRaster painel1{D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, kBranco};
    SuperficieRaster painel2{D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, kBranco};
    SuperficieRaster ampliado1{D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX, kBranco};
    SuperficieRaster ampliado2{D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX, kBranco};
    ST_VisualizadorMapas vis;
    std::vector<std::pair<std::string, std::string>> vMensagens;

    void SetUp() override
    {
        vis.stMapa[0] = painel1.superficie();
        vis.stMapa[1] = painel2.superficie();
        vis.stMapaMax[0] = ampliado1.superficie();
        vis.stMapaMax[1] = ampliado2.superficie();
        vis.stPlataforma.pContexto = &vMensagens;
        vis.stPlataforma.pfMostrarMensagem = [](void* p, const char* pcTexto, const char* pcTitulo) {
            static_cast<std::vector<std::pair<std::string, std::string>>*>(p)->emplace_back(pcTexto, pcTitulo);
        };
    }

    ST_ShpMapa Gravar(const ShpBuilder& b, const std::string& szNome)
    {
        b.gravar(dir / szNome);
        ST_ShpMapa st;
        st.szNomeArqMapaShp = (dir / (szNome + ".shp")).string();
        st.szNomeArqMapaDbf = (dir / (szNome + ".dbf")).string();
        st.uiParamSelecionado = 1;
        return st;
    }

    BOOL DesenharMapa1(const ShpBuilder& b)
    {
        vis.gstMapa1 = Gravar(b, "rec");
        return shpFile_DesenharMapa(&vis, 0);
    }

    BOOL DesenharMapa2(const ShpBuilder& b)
    {
        vis.gstMapa2 = Gravar(b, "trabalho");
        return shpFile_DesenharMapa(&vis, 1);
    }
};

bool TemErroMapa1(const SuperficieRaster& s)
{
    const TextoDesenhado* a = s.procurarTexto("Erro em desenho de mapa. Selecione os arquivos SHP, DBF e");
    const TextoDesenhado* b = s.procurarTexto("a recomendação do mapa desejado e tente novamente.");
    const TextoDesenhado* c = s.procurarTexto("Os arquivos SHP e DBF devem ser do mesmo mapa.");
    return a != nullptr && b != nullptr && c != nullptr && a->iY == 140 && b->iY == 160 && c->iY == 180 &&
           a->ulCor == 0xFF0000 && a->iX == 6 && b->iX == 27 && c->iX == 39 && s.textos().size() == 3;
}

} // namespace

TEST_F(Desenho, PromptEErro)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    for (SuperficieRaster* s : {&painel1, &painel2})
    {
        EXPECT_EQ(s->pixel(0, 0), kBorda);
        EXPECT_EQ(s->pixel(354, 334), kBorda);
        EXPECT_EQ(s->pixel(1, 1), kFundo);
        EXPECT_EQ(s->pixel(353, 333), kFundo);
        EXPECT_EQ(s->pixel(177, 280), kFundo); // a prompt has no separator
        ASSERT_EQ(s->textos().size(), 1u);
        EXPECT_EQ(s->textos()[0].iY, 160);
        EXPECT_EQ(s->textos()[0].ulCor, 0x000000u);
    }
    EXPECT_EQ(painel1.textos()[0].szTexto, "Selecione um mapa de recomendação (Arquivos SHP e DBF)");
    EXPECT_EQ(painel1.textos()[0].iX, 15); // centred: 54 characters
    EXPECT_EQ(painel2.textos()[0].szTexto, "Selecione o trabalho realizado na mesma área (Arquivo NVG)");
    EXPECT_EQ(painel2.textos()[0].iX, 3);
    // The enlarged pictures are left to their first drawing.
    EXPECT_EQ(ampliado1.contar(kBranco, 0, 0, 550, 550), 550 * 550);

    shpFile_LimparVisualizacaoMapa(&vis.stMapa[0], 1, 0);
    EXPECT_TRUE(TemErroMapa1(painel1));
    // Map 2's error picture is the cleared picture alone.
    shpFile_LimparVisualizacaoMapa(&vis.stMapa[1], 1, 1);
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_EQ(painel2.pixel(177, 160), kFundo);
}

// A wide map fills the width of the map box and is centred in its height; a tall one the other way.
TEST_F(Desenho, MapaLargoEAltoCentradosNaCaixa)
{
    struct Caixa
    {
        int iX0, iY0, iX1, iY1;
    };
    const struct
    {
        double dProporcao;
        Caixa stPainel, stAmpliado;
    } casos[] = {
        // Panel box x 42..312, y 5..275; enlarged x 40..510, y 10..480.
        {2.0, {42, 72, 312, 207}, {40, 127, 510, 362}},
        {0.5, {109, 5, 244, 275}, {157, 10, 392, 480}},
    };
    for (const auto& caso : casos)
    {
        SCOPED_TRACE(caso.dProporcao);
        ASSERT_TRUE(DesenharMapa1(Conjunto({{{ShpBuilder::retangulo(kX0, kY0, kX0 + LarguraGraus(caso.dProporcao), kY1)}, "150.00"}})));
        for (const auto& [s, c] : {std::pair{&painel1, caso.stPainel}, std::pair{&ampliado1, caso.stAmpliado}})
        {
            const int iXm = (c.iX0 + c.iX1) / 2, iYm = (c.iY0 + c.iY1) / 2;
            EXPECT_EQ(s->pixel(c.iX0 + 4, c.iY0 + 4), kLinha9);
            EXPECT_EQ(s->pixel(c.iX1 - 4, c.iY1 - 4), kLinha9);
            EXPECT_EQ(s->pixel(c.iX0 - 3, iYm), kFundo);
            EXPECT_EQ(s->pixel(c.iX1 + 3, iYm), kFundo);
            EXPECT_EQ(s->pixel(iXm, c.iY0 - 3), kFundo);
            EXPECT_EQ(s->pixel(iXm, c.iY1 + 3), kFundo);
        }
    }
    // The frame and the separator above the legend.
    EXPECT_EQ(painel1.pixel(0, 100), kBorda);
    EXPECT_EQ(painel1.pixel(100, 280), kBorda);
    EXPECT_EQ(ampliado1.pixel(275, 500), kBorda);
    EXPECT_EQ(ampliado1.pixel(549, 549), kBorda);
    // The extent is kept for the work map.
    EXPECT_DOUBLE_EQ(vis.gdLimiteXmin, kX0);
    EXPECT_DOUBLE_EQ(vis.gdLimiteXmax, kX0 + LarguraGraus(0.5));
    EXPECT_DOUBLE_EQ(vis.gdLimiteYmin, kY0);
    EXPECT_DOUBLE_EQ(vis.gdLimiteYmax, kY1);
}

TEST_F(Desenho, TrabalhoUsaAExtensaoEALegendaDaRecomendacao)
{
    ASSERT_TRUE(DesenharMapa1(UmaDose("150.00")));
    // The northern half of the recommendation's eastern half, running a tenth beyond its east edge;
    // value 20 lies in row 1 (15-30) of the recommendation's legend.
    ASSERT_TRUE(DesenharMapa2(Conjunto({{{Faixa(0.5, 1.1, kYm)}, "20.00"}})));

    // x 177..339, y 72..139: drawn where it lies on the recommendation, not stretched over the box.
    EXPECT_EQ(painel2.pixel(200, 100), kLinha1);
    EXPECT_EQ(painel2.pixel(330, 100), kLinha1); // outside the map box, still drawn
    EXPECT_EQ(painel2.pixel(100, 100), kFundo);
    EXPECT_EQ(painel2.pixel(200, 170), kFundo);
    EXPECT_EQ(ampliado2.pixel(350, 200), kLinha1);
    EXPECT_EQ(ampliado2.pixel(150, 200), kFundo);
    // Legend strip of the recommendation, below the work map too.
    EXPECT_EQ(painel2.pixel(8 + 26 * 9 + 13, 307), kLinha9);
    EXPECT_NE(painel2.procurarTexto("142"), nullptr);
    EXPECT_DOUBLE_EQ(vis.gstMapa2.dLimiteXmin, vis.gdLimiteXmin);
    EXPECT_DOUBLE_EQ(vis.gstMapa2.dLimiteYmax, vis.gdLimiteYmax);
    // Map 1's picture is left alone.
    EXPECT_EQ(painel1.pixel(100, 100), kLinha9);
}

TEST_F(Desenho, FuroMostraOFundoEAnelUnicoNuncaEFuro)
{
    // Left half: outer ring with a counter-clockwise hole in its middle. Right half: a single ring
    // traced counter-clockwise.
    const AnelShp stFuro = Invertido(Faixa(1.0 / 8, 3.0 / 8, kYm - 0.00025, kYm + 0.00025));
    ASSERT_TRUE(DesenharMapa1(Conjunto({{{Faixa(0, 0.5), stFuro}, "150.00"}, {{Invertido(Faixa(0.5, 1))}, "150.00"}})));
    // Hole: x 75..143, y ~106..173.
    EXPECT_EQ(painel1.pixel(110, 140), kFundo);
    EXPECT_EQ(ampliado1.pixel(190, 245), kFundo);
    for (const auto& [iX, iY] : {std::pair{55, 140}, std::pair{160, 140}, std::pair{110, 85}, std::pair{250, 140}})
        EXPECT_EQ(painel1.pixel(iX, iY), kLinha9) << iX << "," << iY;
    EXPECT_EQ(ampliado1.pixel(420, 245), kLinha9);
}

TEST_F(Desenho, ValorZeroEApagadoSaoCinzaClaro)
{
    ShpBuilder b = Conjunto({{{Faixa(0, 1.0 / 3)}, "0.00"}, {{Faixa(1.0 / 3, 2.0 / 3)}, "150.00"}, {{Faixa(2.0 / 3, 1)}, "150.00"}});
    b.linhas[2].bApagada = true;
    ASSERT_TRUE(DesenharMapa1(b));
    EXPECT_EQ(painel1.pixel(87, 140), kZero);
    EXPECT_EQ(painel1.pixel(177, 140), kLinha9);
    EXPECT_EQ(painel1.pixel(267, 140), kZero);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucFlagPoligonoValorZero, 1);
}

TEST(DesenhoCor, LinhasDaLegenda)
{
    ST_ShpLegenda st;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 0), kCinza); // no rows: even 0 is unmatched
    st.ucNumLinhasLegenda = 3;
    st.ulValorLegenda[0][0] = 0, st.ulValorLegenda[0][1] = 10;
    st.ulValorLegenda[1][0] = 20, st.ulValorLegenda[1][1] = 30;
    st.ulValorLegenda[2][0] = 25, st.ulValorLegenda[2][1] = 40;
    // Between rows, the first row that holds a value, past the last.
    const std::pair<unsigned, std::uint32_t> casos[] = {{0, kZero},    {10, kLinha0},  {15, kCinza},
                                                        {27, kLinha1}, {40, 0x1EF0F0}, {41, kCinza}};
    for (const auto& [ulValor, ulCor] : casos)
        EXPECT_EQ(shpFile_DecidirCorPoligono(&st, ulValor), ulCor) << ulValor;
    // Only thirteen colours exist: rows past them are never used.
    st.ucNumLinhasLegenda = 20;
    st.ulValorLegenda[15][0] = 100, st.ulValorLegenda[15][1] = 200;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 150), kCinza);
}

TEST(DesenhoArea, SinalPeloSentido)
{
    // About 100 m by 100 m at latitude -24, corner at the reference point.
    const double dLat = 100.0 / D_SHPFILE_METROS_POR_GRAU;
    const double dLon = dLat / std::cos(24.0 * std::numbers::pi / 180.0);
    const ST_ShpFilePto stRef{-51.0, -24.0};
    std::vector<ST_ShpFilePto> v;
    for (const PontoShp& p : ShpBuilder::retangulo(-51.0, -24.0 - dLat, -51.0 + dLon, -24.0))
        v.push_back({p.x, p.y});
    const float fHorario = shpFile_CalcularAreaPoligono(&stRef, v.data(), 0, 4);
    EXPECT_NEAR(fHorario, 10000.0f, 300.0f);
    std::reverse(v.begin(), v.end());
    // Only the ring's own points count.
    v.push_back({-50.0, -20.0});
    EXPECT_NEAR(shpFile_CalcularAreaPoligono(&stRef, v.data(), 0, 4), -fHorario, 1.0f);
}

TEST_F(Desenho, FaixaDaLegenda)
{
    // Maximum 800: the last label ("1010") is one character wider than the one before it ("926").
    ASSERT_TRUE(DesenharMapa1(Conjunto({{{Faixa(0, 0.5)}, "800.00"}, {{Faixa(0.5, 1)}, "400.00"}})));
    const std::vector<std::string> vRotulos = {"0",   "84",  "168", "252", "336", "421", "505",
                                               "589", "673", "757", "842", "926", "1010"};
    struct Caso
    {
        SuperficieRaster* s;
        int iX0, iPasso, iLargura, iTopo;
    };
    for (const Caso& c : {Caso{&painel1, 8, 26, 27, 300}, Caso{&ampliado1, 20, 39, 40, 518}})
    {
        SCOPED_TRACE(c.iX0);
        const SuperficieRaster& s = *c.s;
        ASSERT_EQ(s.textos().size(), 13u); // the prompt went with the background
        for (int i = 0; i < 13; i++)
        {
            SCOPED_TRACE(i);
            const int iL = c.iX0 + c.iPasso * i;
            const int iBase = c.iTopo + 15;
            EXPECT_EQ(s.pixel(iL + 3, c.iTopo), kBorda);
            EXPECT_EQ(s.pixel(iL + 3, iBase - 1), kBorda);
            // Ticks: up from the top on even rows, down from the bottom on odd ones.
            const bool bPar = i % 2 == 0;
            EXPECT_EQ(s.pixel(iL, c.iTopo - 3), bPar ? kBorda : kFundo);
            EXPECT_EQ(s.pixel(iL, iBase + 3), bPar ? kFundo : kBorda);
            EXPECT_EQ(s.pixel(iL, c.iTopo - 7), kFundo);
            EXPECT_EQ(s.pixel(iL, iBase + 7), kFundo);

            const TextoDesenhado& t = s.textos()[static_cast<std::size_t>(i)];
            EXPECT_EQ(t.szTexto, vRotulos[static_cast<std::size_t>(i)]);
            EXPECT_EQ(t.ulCor, 0x000000u);
            EXPECT_EQ(t.iY, bPar ? c.iTopo - 2 - 12 : iBase + 2);
            // Centred on the box's left edge; the last with the width of the label before it.
            const int iLarguraMedida = 6 * static_cast<int>(vRotulos[i == 12 ? 11 : static_cast<std::size_t>(i)].size());
            EXPECT_EQ(t.iX, iL - iLarguraMedida / 2);
        }
        EXPECT_EQ(s.pixel(c.iX0 + c.iPasso * 12 + c.iLargura + 3, c.iTopo + 7), kFundo); // thirteen boxes only
    }
}

TEST_F(Desenho, TrabalhoAntesDeQualquerRecomendacao)
{
    // Both a zero and a real value: with no legend every polygon is the unmatched grey.
    ASSERT_TRUE(DesenharMapa2(Conjunto({{{Faixa(0, 0.5)}, "0.00"}, {{Faixa(0.5, 1)}, "150.00"}})));
    // Laid out on its own box, since there is no recommendation extent to share.
    EXPECT_EQ(painel2.pixel(100, 140), kCinza);
    EXPECT_EQ(painel2.pixel(250, 140), kCinza);
    EXPECT_EQ(painel2.pixel(177, 60), kFundo);
    EXPECT_EQ(ampliado2.pixel(275, 240), kCinza);
    // No legend: the strip is bare background and nothing is written.
    EXPECT_EQ(painel2.contar(kFundo, 1, 281, 354, 334), 353 * 53);
    EXPECT_EQ(ampliado2.contar(kFundo, 1, 501, 549, 549), 548 * 48);
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_TRUE(ampliado2.textos().empty());

    // Forgetting the maps brings that state back.
    ASSERT_TRUE(DesenharMapa1(UmaDose("150.00")));
    shpFile_LiberarMemoriaMapas(&vis);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmax, 0.0);
    EXPECT_TRUE(vis.gstMapa1.szNomeArqMapaShp.empty());
    ASSERT_TRUE(DesenharMapa2(UmaDose("150.00")));
    EXPECT_EQ(painel2.pixel(177, 140), kCinza);
    EXPECT_TRUE(painel2.textos().empty());
}

TEST_F(Desenho, TabelaAusenteAvisaEMostraOErro)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    vis.gstMapa1 = Gravar(UmaDose("150.00"), "rec");
    std::filesystem::remove(dir / "rec.dbf");

    EXPECT_FALSE(shpFile_DesenharMapa(&vis, 0));
    ASSERT_EQ(vMensagens.size(), 1u);
    EXPECT_EQ(vMensagens[0].second, "ERRO");
    EXPECT_TRUE(TemErroMapa1(painel1));
    EXPECT_EQ(painel1.pixel(100, 100), kFundo);
    EXPECT_EQ(ampliado1.contar(kBranco, 0, 0, 550, 550), 550 * 550);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmin, 0.0);
}

TEST_F(Desenho, ConjuntoReprovadoMostraOErroSemMexerNoAmpliado)
{
    ASSERT_TRUE(DesenharMapa1(UmaDose("150.00")));
    const ST_ShpLegenda stLegenda = vis.gstShpLegendaMapa;

    // A table with a row more than the .shp has polygons.
    ShpBuilder b = Conjunto({{{Faixa(0, 0.5)}, "900.00"}});
    b.linhas.push_back({{"2", "5.00"}, false});
    EXPECT_FALSE(DesenharMapa1(b));
    EXPECT_TRUE(TemErroMapa1(painel1));
    EXPECT_EQ(ampliado1.pixel(275, 240), kLinha9); // still the earlier map
    EXPECT_EQ(vis.gstShpLegendaMapa.ulValorLegenda[12][0], stLegenda.ulValorLegenda[12][0]);
    EXPECT_TRUE(vMensagens.empty());

    // Map 2 fails the same way but its error picture has no text.
    shpFile_LimparVisualizacaoMapa(&vis.stMapa[1], 0, 1);
    ShpBuilder c = UmaDose("150.00");
    c.campos[1].cTipo = 'C';
    EXPECT_FALSE(DesenharMapa2(c));
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_EQ(painel2.pixel(177, 140), kFundo);
}

TEST_F(Desenho, ConjuntoSemPoligonosSoDesenhaALegenda)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    ASSERT_TRUE(DesenharMapa1(Conjunto({})));
    EXPECT_NE(painel1.procurarTexto("Selecione um mapa de recomendação (Arquivos SHP e DBF)"), nullptr);
    EXPECT_EQ(painel1.pixel(8 + 13, 307), kLinha0);
    EXPECT_EQ(ampliado1.pixel(275, 240), kBranco);
    EXPECT_EQ(ampliado1.pixel(20 + 20, 525), kLinha0);
}

TEST_F(Desenho, RegistroRuimParaODesenhoNoMeio)
{
    const ShpBuilder b = Conjunto({{{Faixa(0, 0.5)}, "150.00"}, {{Faixa(0.5, 1)}, "150.00"}});
    ST_ShpMapa st = Gravar(b, "rec");
    // Writes rec.shp with one byte changed: the changes of each case below.
    auto gravarComByte = [&](std::size_t pos, std::uint8_t uc) {
        std::vector<std::uint8_t> vShp = b.construirShp();
        vShp[pos] = uc;
        dir.gravar("rec.shp", vShp);
    };
    // Record 1 (one ring of five points) takes 8 + 128 bytes; record 2's content length follows,
    // cut from 64 words to 20: too short to be drawn.
    ASSERT_EQ(b.construirShp()[100 + 8 + 128 + 4 + 3], 64u);
    gravarComByte(100 + 8 + 128 + 4 + 3, 20);
    EXPECT_FALSE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));
    EXPECT_EQ(painel1.pixel(100, 140), kLinha9); // drawn before the bad record
    EXPECT_EQ(painel1.pixel(250, 140), kFundo);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmax, 0.0);

    // A point count that overruns the record fails.
    gravarComByte(100 + 8 + 41, 0xFF);
    EXPECT_FALSE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));

    // A ring starting past its record's last point draws nothing of that record.
    gravarComByte(100 + 8 + 44, 5);
    SuperficieRaster novo(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, kBranco);
    vis.stMapa[0] = novo.superficie();
    EXPECT_TRUE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));
    EXPECT_EQ(novo.pixel(100, 140), kFundo);
    EXPECT_EQ(novo.pixel(250, 140), kLinha9);
}
