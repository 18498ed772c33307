// Drawing of the viewer maps, checked on the pixels of a software picture: layout of wide and tall
// maps, the shared extent of the work map, holes, colours of values, the legend strip, and the prompt
// and error pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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

constexpr std::uint32_t D_BRANCO = 0xFFFFFF; // what the pictures start with
constexpr std::uint32_t D_FUNDO = 0xF5F5F5;
constexpr std::uint32_t D_BORDA = 0x646464;
constexpr std::uint32_t D_CINZA = 0xE1E1E1;
constexpr std::uint32_t D_ZERO = 0xEBEBEB;
constexpr std::uint32_t D_LINHA_1 = 0x1E96FF;
constexpr std::uint32_t D_LINHA_9 = 0xFF1E1E; // the maximum of a table falls in row 9

// A map 0.001 degrees high at latitude -24: wide maps are twice as wide as high on the ground,
// tall ones half as wide, so the shorter side takes 135 of the 270 panel pixels.
constexpr double D_Y0 = -24.0;
constexpr double D_Y1 = -23.999;
constexpr double D_X0 = -51.93;
double larguraGraus(double dProporcao)
{
    return 0.001 * dProporcao / std::cos(24.0 * std::numbers::pi / 180.0);
}

AnelShp invertido(AnelShp anel)
{
    return AnelShp(anel.rbegin(), anel.rend());
}

class Desenho : public ::testing::Test
{
protected:
    DiretorioTemporario dir;
    SuperficieRaster painel1{D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, D_BRANCO};
    SuperficieRaster painel2{D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, D_BRANCO};
    SuperficieRaster ampliado1{D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX, D_BRANCO};
    SuperficieRaster ampliado2{D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX, D_BRANCO};
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

    // One polygon per entry, with its dose; the dose is field 1.
    static ShpBuilder conjunto(const std::vector<std::pair<std::vector<AnelShp>, std::string>>& vPoligonos)
    {
        ShpBuilder b;
        b.campos = {{"ID", 'N', 5, 0}, {"DOSE", 'N', 9, 2}};
        int i = 0;
        for (const auto& [vAneis, szDose] : vPoligonos)
            b.adicionar(vAneis, {std::to_string(++i), szDose});
        return b;
    }

    ST_ShpMapa gravar(const ShpBuilder& b, const std::string& szNome)
    {
        b.gravar(dir / szNome);
        ST_ShpMapa st;
        st.szNomeArqMapaShp = (dir / (szNome + ".shp")).string();
        st.szNomeArqMapaDbf = (dir / (szNome + ".dbf")).string();
        st.uiParamSelecionado = 1;
        return st;
    }

    BOOL desenharMapa1(const ShpBuilder& b)
    {
        vis.gstMapa1 = gravar(b, "rec");
        return shpFile_DesenharMapa(&vis, 0);
    }

    BOOL desenharMapa2(const ShpBuilder& b)
    {
        vis.gstMapa2 = gravar(b, "trabalho");
        return shpFile_DesenharMapa(&vis, 1);
    }
};

bool temErroMapa1(const SuperficieRaster& s)
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
        EXPECT_EQ(s->pixel(0, 0), D_BORDA);
        EXPECT_EQ(s->pixel(354, 334), D_BORDA);
        EXPECT_EQ(s->pixel(1, 1), D_FUNDO);
        EXPECT_EQ(s->pixel(353, 333), D_FUNDO);
        EXPECT_EQ(s->pixel(177, 280), D_FUNDO); // a prompt has no separator
        ASSERT_EQ(s->textos().size(), 1u);
        EXPECT_EQ(s->textos()[0].iY, 160);
        EXPECT_EQ(s->textos()[0].ulCor, 0x000000u);
    }
    EXPECT_EQ(painel1.textos()[0].szTexto, "Selecione um mapa de recomendação (Arquivos SHP e DBF)");
    EXPECT_EQ(painel1.textos()[0].iX, 15); // centred: 54 characters
    EXPECT_EQ(painel2.textos()[0].szTexto, "Selecione o trabalho realizado na mesma área (Arquivo NVG)");
    EXPECT_EQ(painel2.textos()[0].iX, 3);
    // The enlarged pictures are left to their first drawing.
    EXPECT_EQ(ampliado1.contar(D_BRANCO, 0, 0, 550, 550), 550 * 550);

    shpFile_LimparVisualizacaoMapa(&vis.stMapa[0], 1, 0);
    EXPECT_TRUE(temErroMapa1(painel1));
    // Map 2's error picture is the cleared picture alone.
    shpFile_LimparVisualizacaoMapa(&vis.stMapa[1], 1, 1);
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_EQ(painel2.pixel(177, 160), D_FUNDO);
}

TEST_F(Desenho, MapaLargoOcupaALarguraECentraNaAltura)
{
    const double dDx = larguraGraus(2.0);
    ASSERT_TRUE(desenharMapa1(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}})));

    // Panel: x 42..312, y 5 + (270 - 135) / 2 = 72 .. 207.
    EXPECT_EQ(painel1.pixel(46, 76), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(308, 203), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(38, 140), D_FUNDO);
    EXPECT_EQ(painel1.pixel(316, 140), D_FUNDO);
    EXPECT_EQ(painel1.pixel(177, 68), D_FUNDO);
    EXPECT_EQ(painel1.pixel(177, 211), D_FUNDO);
    EXPECT_EQ(painel1.pixel(0, 100), D_BORDA);
    EXPECT_EQ(painel1.pixel(100, 280), D_BORDA); // separator
    // Enlarged: x 40..510, y 10 + (470 - 235) / 2 = 127 .. 362.
    EXPECT_EQ(ampliado1.pixel(44, 131), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(506, 358), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(36, 240), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(514, 240), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(275, 123), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(275, 366), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(275, 500), D_BORDA);
    EXPECT_EQ(ampliado1.pixel(549, 549), D_BORDA);

    // The extent is kept for the work map.
    EXPECT_DOUBLE_EQ(vis.gdLimiteXmin, D_X0);
    EXPECT_DOUBLE_EQ(vis.gdLimiteXmax, D_X0 + dDx);
    EXPECT_DOUBLE_EQ(vis.gdLimiteYmin, D_Y0);
    EXPECT_DOUBLE_EQ(vis.gdLimiteYmax, D_Y1);
}

TEST_F(Desenho, MapaAltoOcupaAAlturaECentraNaLargura)
{
    ASSERT_TRUE(desenharMapa1(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + larguraGraus(0.5), D_Y1)}, "150.00"}})));
    // Panel: x 42 + 67 = 109 .. 244, y 5..275.
    EXPECT_EQ(painel1.pixel(113, 9), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(240, 271), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(105, 140), D_FUNDO);
    EXPECT_EQ(painel1.pixel(248, 140), D_FUNDO);
    EXPECT_EQ(painel1.pixel(177, 2), D_FUNDO);
    EXPECT_EQ(painel1.pixel(177, 278), D_FUNDO);
    // Enlarged: x 40 + 117 = 157 .. 392, y 10..480.
    EXPECT_EQ(ampliado1.pixel(161, 14), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(388, 476), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(153, 240), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(396, 240), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(275, 484), D_FUNDO);
}

TEST_F(Desenho, TrabalhoUsaAExtensaoEALegendaDaRecomendacao)
{
    const double dDx = larguraGraus(2.0);
    ASSERT_TRUE(desenharMapa1(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}})));

    // The northern half of the recommendation's eastern half, running a tenth beyond its east edge;
    // value 20 lies in row 1 (15-30) of the recommendation's legend.
    ASSERT_TRUE(desenharMapa2(conjunto(
        {{{ShpBuilder::retangulo(D_X0 + dDx / 2, (D_Y0 + D_Y1) / 2, D_X0 + dDx * 1.1, D_Y1)}, "20.00"}})));

    // x 177..339, y 72..139: drawn where it lies on the recommendation, not stretched over the box.
    EXPECT_EQ(painel2.pixel(200, 100), D_LINHA_1);
    EXPECT_EQ(painel2.pixel(330, 100), D_LINHA_1); // outside the map box, still drawn
    EXPECT_EQ(painel2.pixel(100, 100), D_FUNDO);
    EXPECT_EQ(painel2.pixel(200, 170), D_FUNDO);
    EXPECT_EQ(ampliado2.pixel(350, 200), D_LINHA_1);
    EXPECT_EQ(ampliado2.pixel(150, 200), D_FUNDO);
    // Legend strip of the recommendation, below the work map too.
    EXPECT_EQ(painel2.pixel(8 + 26 * 9 + 13, 307), D_LINHA_9);
    ASSERT_NE(painel2.procurarTexto("142"), nullptr);

    EXPECT_DOUBLE_EQ(vis.gstMapa2.dLimiteXmin, vis.gdLimiteXmin);
    EXPECT_DOUBLE_EQ(vis.gstMapa2.dLimiteYmax, vis.gdLimiteYmax);
    // Map 1's picture is left alone.
    EXPECT_EQ(painel1.pixel(100, 100), D_LINHA_9);
}

TEST_F(Desenho, FuroMostraOFundoEAnelUnicoNuncaEFuro)
{
    const double dDx = larguraGraus(2.0);
    const double dYm = (D_Y0 + D_Y1) / 2, dQy = 0.00025;
    // Left half: outer ring with a counter-clockwise hole in its middle. Right half: a single ring
    // traced counter-clockwise.
    const AnelShp stFuro = invertido(ShpBuilder::retangulo(D_X0 + dDx / 8, dYm - dQy, D_X0 + 3 * dDx / 8, dYm + dQy));
    ASSERT_TRUE(desenharMapa1(conjunto({
        {{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 2, D_Y1), stFuro}, "150.00"},
        {{invertido(ShpBuilder::retangulo(D_X0 + dDx / 2, D_Y0, D_X0 + dDx, D_Y1))}, "150.00"},
    })));

    // Hole: x 75..143, y ~106..173.
    EXPECT_EQ(painel1.pixel(110, 140), D_FUNDO);
    EXPECT_EQ(painel1.pixel(55, 140), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(160, 140), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(110, 85), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(250, 140), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(190, 245), D_FUNDO);
    EXPECT_EQ(ampliado1.pixel(60, 245), D_LINHA_9);
    EXPECT_EQ(ampliado1.pixel(420, 245), D_LINHA_9);
}

TEST_F(Desenho, ValorZeroEApagadoSaoCinzaClaro)
{
    const double dDx = larguraGraus(2.0);
    ShpBuilder b;
    b.campos = {{"ID", 'N', 5, 0}, {"DOSE", 'N', 9, 2}};
    b.adicionar(ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 3, D_Y1), {"1", "0.00"});
    b.adicionar(ShpBuilder::retangulo(D_X0 + dDx / 3, D_Y0, D_X0 + 2 * dDx / 3, D_Y1), {"2", "150.00"});
    b.adicionar(ShpBuilder::retangulo(D_X0 + 2 * dDx / 3, D_Y0, D_X0 + dDx, D_Y1), {"3", "150.00"}, true);
    ASSERT_TRUE(desenharMapa1(b));
    EXPECT_EQ(painel1.pixel(87, 140), D_ZERO);
    EXPECT_EQ(painel1.pixel(177, 140), D_LINHA_9);
    EXPECT_EQ(painel1.pixel(267, 140), D_ZERO);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucFlagPoligonoValorZero, 1);
}

TEST(DesenhoCor, LinhasDaLegenda)
{
    ST_ShpLegenda st;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 0), D_CINZA); // no rows: even 0 is unmatched
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 5), D_CINZA);

    st.ucNumLinhasLegenda = 3;
    st.ulValorLegenda[0][0] = 0, st.ulValorLegenda[0][1] = 10;
    st.ulValorLegenda[1][0] = 20, st.ulValorLegenda[1][1] = 30;
    st.ulValorLegenda[2][0] = 25, st.ulValorLegenda[2][1] = 40;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 0), D_ZERO);
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 10), 0x1E1EFFu);
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 15), D_CINZA); // between rows
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 27), D_LINHA_1); // the first row that holds it
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 40), 0x1EF0F0u);
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 41), D_CINZA);

    // Only thirteen colours exist: rows past them are never used.
    st.ucNumLinhasLegenda = 20;
    st.ulValorLegenda[15][0] = 100, st.ulValorLegenda[15][1] = 200;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 150), D_CINZA);
}

TEST(DesenhoArea, SinalPeloSentido)
{
    // About 100 m by 100 m at latitude -24, corner at the reference point.
    const double dLat = 100.0 / D_SHPFILE_METROS_POR_GRAU;
    const double dLon = dLat / std::cos(24.0 * std::numbers::pi / 180.0);
    const ST_ShpFilePto stRef{-51.0, -24.0};
    AnelShp anel = ShpBuilder::retangulo(-51.0, -24.0 - dLat, -51.0 + dLon, -24.0);
    std::vector<ST_ShpFilePto> v;
    for (const PontoShp& p : anel)
        v.push_back({p.x, p.y});
    const float fHorario = shpFile_CalcularAreaPoligono(&stRef, v.data(), 0, 4);
    EXPECT_NEAR(fHorario, 10000.0f, 300.0f);
    std::reverse(v.begin(), v.end());
    EXPECT_NEAR(shpFile_CalcularAreaPoligono(&stRef, v.data(), 0, 4), -fHorario, 1.0f);
    // Only the ring's own points count.
    v.push_back({-50.0, -20.0});
    EXPECT_NEAR(shpFile_CalcularAreaPoligono(&stRef, v.data(), 0, 4), -fHorario, 1.0f);
}

TEST_F(Desenho, FaixaDaLegenda)
{
    // Maximum 800: the last label ("1010") is one character wider than the one before it ("926").
    const double dDx = larguraGraus(2.0);
    ASSERT_TRUE(desenharMapa1(conjunto({
        {{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 2, D_Y1)}, "800.00"},
        {{ShpBuilder::retangulo(D_X0 + dDx / 2, D_Y0, D_X0 + dDx, D_Y1)}, "400.00"},
    })));
    const std::vector<std::string> vRotulos = {"0",   "84",  "168", "252", "336", "421", "505",
                                               "589", "673", "757", "842", "926", "1010"};
    const std::uint32_t ulCores[13] = {0x1E1EFF, 0x1E96FF, 0x1EF0F0, 0x64E1C8, 0x1EE11E, 0xC8FF64, 0xFFFF1E,
                                       0xFFC81E, 0xFF7F1E, 0xFF1E1E, 0xD21E1E, 0xA01E1E, 0x641E1E};

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
            EXPECT_EQ(s.pixel(iL + c.iLargura / 2, c.iTopo + 7), ulCores[i]);
            EXPECT_EQ(s.pixel(iL, c.iTopo + 7), D_BORDA);
            EXPECT_EQ(s.pixel(iL + c.iLargura - 1, c.iTopo + 7), D_BORDA);
            EXPECT_EQ(s.pixel(iL + 3, c.iTopo), D_BORDA);
            EXPECT_EQ(s.pixel(iL + 3, iBase - 1), D_BORDA);
            // Ticks: up from the top on even rows, down from the bottom on odd ones.
            const bool bPar = i % 2 == 0;
            EXPECT_EQ(s.pixel(iL, c.iTopo - 3), bPar ? D_BORDA : D_FUNDO);
            EXPECT_EQ(s.pixel(iL, iBase + 3), bPar ? D_FUNDO : D_BORDA);
            EXPECT_EQ(s.pixel(iL, c.iTopo - 7), D_FUNDO);
            EXPECT_EQ(s.pixel(iL, iBase + 7), D_FUNDO);

            const TextoDesenhado& t = s.textos()[static_cast<std::size_t>(i)];
            EXPECT_EQ(t.szTexto, vRotulos[static_cast<std::size_t>(i)]);
            EXPECT_EQ(t.ulCor, 0x000000u);
            EXPECT_EQ(t.iY, bPar ? c.iTopo - 2 - 12 : iBase + 2);
            // Centred on the box's left edge; the last with the width of the label before it.
            const int iLarguraMedida = 6 * static_cast<int>(vRotulos[i == 12 ? 11 : static_cast<std::size_t>(i)].size());
            EXPECT_EQ(t.iX, iL - iLarguraMedida / 2);
        }
        EXPECT_EQ(s.pixel(c.iX0 + c.iPasso * 12 + c.iLargura + 3, c.iTopo + 7), D_FUNDO); // thirteen boxes only
    }
    EXPECT_EQ(painel1.textos()[12].iX, 320 - 9);
}

TEST_F(Desenho, TrabalhoAntesDeQualquerRecomendacao)
{
    // Both a zero and a real value: with no legend every polygon is the unmatched grey.
    const double dDx = larguraGraus(2.0);
    ASSERT_TRUE(desenharMapa2(conjunto({
        {{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 2, D_Y1)}, "0.00"},
        {{ShpBuilder::retangulo(D_X0 + dDx / 2, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"},
    })));
    // Laid out on its own box, since there is no recommendation extent to share.
    EXPECT_EQ(painel2.pixel(100, 140), D_CINZA);
    EXPECT_EQ(painel2.pixel(250, 140), D_CINZA);
    EXPECT_EQ(painel2.pixel(177, 60), D_FUNDO);
    EXPECT_EQ(ampliado2.pixel(275, 240), D_CINZA);
    // No legend: the strip is bare background and nothing is written.
    EXPECT_EQ(painel2.contar(D_FUNDO, 1, 281, 354, 334), 353 * 53);
    EXPECT_EQ(ampliado2.contar(D_FUNDO, 1, 501, 549, 549), 548 * 48);
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_TRUE(ampliado2.textos().empty());

    // Forgetting the maps brings that state back.
    ASSERT_TRUE(desenharMapa1(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}})));
    shpFile_LiberarMemoriaMapas(&vis);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmax, 0.0);
    EXPECT_TRUE(vis.gstMapa1.szNomeArqMapaShp.empty());
    ASSERT_TRUE(desenharMapa2(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}})));
    EXPECT_EQ(painel2.pixel(177, 140), D_CINZA);
    EXPECT_TRUE(painel2.textos().empty());
}

TEST_F(Desenho, TabelaAusenteAvisaEMostraOErro)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    const ShpBuilder b = conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + 0.002, D_Y1)}, "150.00"}});
    vis.gstMapa1 = gravar(b, "rec");
    std::filesystem::remove(dir / "rec.dbf");

    EXPECT_FALSE(shpFile_DesenharMapa(&vis, 0));
    ASSERT_EQ(vMensagens.size(), 1u);
    EXPECT_EQ(vMensagens[0].first, "Arquivo \"rec.dbf\" não encontrado.          \n"
                                   "O arquivo deve estar na mesma pasta do arquivo escolhido acima");
    EXPECT_EQ(vMensagens[0].second, "ERRO");
    EXPECT_TRUE(temErroMapa1(painel1));
    EXPECT_EQ(painel1.pixel(100, 100), D_FUNDO);
    EXPECT_EQ(ampliado1.contar(D_BRANCO, 0, 0, 550, 550), 550 * 550);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmin, 0.0);
}

TEST_F(Desenho, ConjuntoReprovadoMostraOErroSemMexerNoAmpliado)
{
    const double dDx = larguraGraus(2.0);
    ASSERT_TRUE(desenharMapa1(conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}})));
    const ST_ShpLegenda stLegenda = vis.gstShpLegendaMapa;

    // A table with a row more than the .shp has polygons.
    ShpBuilder b = conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 2, D_Y1)}, "900.00"}});
    b.linhas.push_back({{"2", "5.00"}, false});
    EXPECT_FALSE(desenharMapa1(b));
    EXPECT_TRUE(temErroMapa1(painel1));
    EXPECT_EQ(ampliado1.pixel(275, 240), D_LINHA_9); // still the earlier map
    EXPECT_EQ(vis.gstShpLegendaMapa.ulValorLegenda[12][0], stLegenda.ulValorLegenda[12][0]);
    EXPECT_TRUE(vMensagens.empty());

    // Map 2 fails the same way but its error picture has no text.
    shpFile_LimparVisualizacaoMapa(&vis.stMapa[1], 0, 1);
    ShpBuilder c = conjunto({{{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"}});
    c.campos[1].cTipo = 'C';
    EXPECT_FALSE(desenharMapa2(c));
    EXPECT_TRUE(painel2.textos().empty());
    EXPECT_EQ(painel2.pixel(177, 140), D_FUNDO);
}

TEST_F(Desenho, ConjuntoSemPoligonosSoDesenhaALegenda)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    ShpBuilder b;
    b.campos = {{"ID", 'N', 5, 0}, {"DOSE", 'N', 9, 2}};
    ASSERT_TRUE(desenharMapa1(b));
    EXPECT_NE(painel1.procurarTexto("Selecione um mapa de recomendação (Arquivos SHP e DBF)"), nullptr);
    EXPECT_EQ(painel1.pixel(8 + 13, 307), 0x1E1EFFu);
    EXPECT_EQ(ampliado1.pixel(275, 240), D_BRANCO);
    EXPECT_EQ(ampliado1.pixel(20 + 20, 525), 0x1E1EFFu);
}

TEST_F(Desenho, RegistroRuimParaODesenhoNoMeio)
{
    const double dDx = larguraGraus(2.0);
    const ShpBuilder b = conjunto({
        {{ShpBuilder::retangulo(D_X0, D_Y0, D_X0 + dDx / 2, D_Y1)}, "150.00"},
        {{ShpBuilder::retangulo(D_X0 + dDx / 2, D_Y0, D_X0 + dDx, D_Y1)}, "150.00"},
    });
    ST_ShpMapa st = gravar(b, "rec");
    std::vector<std::uint8_t> vShp = b.construirShp();
    // Record 1 (one ring of five points) takes 8 + 128 bytes; record 2's content length follows.
    const std::size_t posTamanho2 = 100 + 8 + 128 + 4;
    ASSERT_EQ(vShp[posTamanho2 + 3], 64u); // 128 bytes in words
    vShp[posTamanho2 + 3] = 20;            // 40 bytes: too short to be drawn
    dir.gravar("rec.shp", vShp);

    EXPECT_FALSE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));
    EXPECT_EQ(painel1.pixel(100, 140), D_LINHA_9); // drawn before the bad record
    EXPECT_EQ(painel1.pixel(250, 140), D_FUNDO);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmax, 0.0);

    // Counts that overrun the record fail; part indices outside it draw nothing.
    vShp = b.construirShp();
    vShp[100 + 8 + 40] = 0xFF; // points of record 1
    vShp[100 + 8 + 41] = 0xFF;
    dir.gravar("rec.shp", vShp);
    EXPECT_FALSE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));

    vShp = b.construirShp();
    vShp[100 + 8 + 44] = 5; // record 1's ring starts past its last point
    dir.gravar("rec.shp", vShp);
    SuperficieRaster novo(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, D_BRANCO);
    vis.stMapa[0] = novo.superficie();
    EXPECT_TRUE(shpFile_DesenharMapaEntrada2D(&vis, &st, 0));
    EXPECT_EQ(novo.pixel(100, 140), D_FUNDO);
    EXPECT_EQ(novo.pixel(250, 140), D_LINHA_9);
}
