// Drawing of the viewer maps, checked on the pixels of a software picture: layout of wide and tall
// maps, the shared extent of the work map, holes, colours of values, the legend strip, and the prompt
// and error pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/ShpBuilder.h"
#include "support/SuperficieRaster.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/legenda.h"
#include "zavoro/shapeFile.h"

using namespace zavoro_teste;

namespace
{

constexpr std::uint32_t kBranco = 0xFFFFFF; // what the pictures start with
constexpr std::uint32_t kFundo = 0xF5F5F5;
constexpr std::uint32_t kBorda = 0x646464;
constexpr std::uint32_t kCinza = 0xE1E1E1;
constexpr std::uint32_t kZero = 0xEBEBEB;

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
        return {.uiParamSelecionado = 1,
                .szNomeArqMapaShp = (dir / (szNome + ".shp")).string(),
                .szNomeArqMapaDbf = (dir / (szNome + ".dbf")).string()};
    }

    // Map 0 is the recommendation, map 1 the work map.
    BOOL Desenhar(int iMapa, const ShpBuilder& b)
    {
        (iMapa == 0 ? vis.gstMapa1 : vis.gstMapa2) = Gravar(b, iMapa == 0 ? "rec" : "trabalho");
        return shpFile_DesenharMapa(&vis, iMapa);
    }
};

// The picture as text, so a whole picture is compared and not a few spots: each row as runs of
// colour letters, equal rows in a row counted once, then the texts with place and colour.
char Letra(std::uint32_t ulCor)
{
    for (const auto& [ul, c] : {std::pair{kFundo, '.'}, std::pair{kBorda, '#'}, std::pair{kBranco, ' '},
                                std::pair{kCinza, 'c'}, std::pair{kZero, 'z'}})
        if (ul == ulCor)
            return c;
    for (int i = 0; i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
        if (gulVetorCoresShp[i] == ulCor)
            return static_cast<char>('a' + i);
    return '?';
}

std::string Retrato(const SuperficieRaster& s)
{
    const int iAltura = s.largura() == D_SHPFILE_LADO_MAPA_MAX ? D_SHPFILE_LADO_MAPA_MAX : D_SHPFILE_ALTURA_MAPA;
    std::string sz, szAnterior;
    int iRepeticoes = 0;
    auto Fechar = [&] {
        if (iRepeticoes > 0)
            sz += std::to_string(iRepeticoes) + "x " + szAnterior + "\n";
    };
    for (int y = 0; y < iAltura; y++)
    {
        std::string szLinha;
        for (int x = 0, n = 0; x < s.largura(); x += n)
        {
            const std::uint32_t ulCor = s.pixel(x, y);
            for (n = 1; x + n < s.largura() && s.pixel(x + n, y) == ulCor;)
                n++;
            szLinha += Letra(ulCor) + std::to_string(n) + " ";
        }
        if (szLinha != szAnterior)
            Fechar(), szAnterior = szLinha, iRepeticoes = 0;
        iRepeticoes++;
    }
    Fechar();
    for (const TextoDesenhado& t : s.textos())
    {
        char acCor[8];
        std::snprintf(acCor, sizeof acCor, "%06X", static_cast<unsigned>(t.ulCor));
        sz += std::to_string(t.iX) + "," + std::to_string(t.iY) + " " + acCor + " " + t.szTexto + "\n";
    }
    return sz;
}

// What map iMapa's error picture is (its text pinned by the start-up data).
std::string ImagemDeErro(int iMapa)
{
    SuperficieRaster s(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA);
    ST_SuperficieDesenho st = s.superficie();
    shpFile_LimparVisualizacaoMapa(&st, 1, iMapa);
    return Retrato(s);
}

} // namespace

TEST_F(Desenho, PromptEErro)
{
    shpFile_InicializarVisualizacaoMapas(&vis);
    std::string szObtido = Retrato(painel1) + Retrato(painel2);
    // The enlarged pictures are left to their first drawing.
    EXPECT_EQ(ampliado1.contar(kBranco, 0, 0, 550, 550), 550 * 550);
    // Map 2's error picture is the cleared picture alone.
    szObtido += ImagemDeErro(0) + ImagemDeErro(1);
    EXPECT_TRUE(CompararComDados("desenho/inicio_e_erro.txt", szObtido));
}

// Recommendation maps against their pictures and enlarged pictures, after the prompt. No polygon: the
// legend alone. Left third: outer ring with a counter-clockwise hole in its middle, which shows the
// background; middle: a single ring traced counter-clockwise, never a hole; right: a zero value and a
// deleted row, both light grey. Maximum 800: the last label ("1010") is one character wider than the
// one before it ("926"); ticks go up on even rows and down on odd ones. A wide map fills the width of
// the map box and is centred in its height; a tall one the other way.
TEST_F(Desenho, MapasDeRecomendacao)
{
    ShpBuilder furo = Conjunto(
        {{{Faixa(0, 1.0 / 3), Invertido(Faixa(1.0 / 12, 3.0 / 12, kYm - 0.00025, kYm + 0.00025))}, "150.00"},
         {{Invertido(Faixa(1.0 / 3, 2.0 / 3))}, "150.00"},
         {{Faixa(2.0 / 3, 5.0 / 6)}, "0.00"},
         {{Faixa(5.0 / 6, 1)}, "150.00"}});
    furo.linhas[3].bApagada = true;
    auto Proporcao = [](double d) {
        return Conjunto({{{ShpBuilder::retangulo(kX0, kY0, kX0 + LarguraGraus(d), kY1)}, "150.00"}});
    };
    const std::pair<const char*, ShpBuilder> casos[] = {
        {"sem_poligonos", Conjunto({})},
        {"furo_zero_apagado", furo},
        {"faixa_legenda", Conjunto({{{Faixa(0, 0.5)}, "800.00"}, {{Faixa(0.5, 1)}, "400.00"}})},
        {"largo", Proporcao(2.0)},
        {"alto", Proporcao(0.5)},
    };
    shpFile_InicializarVisualizacaoMapas(&vis);
    for (const auto& [pcNome, b] : casos)
    {
        ASSERT_TRUE(Desenhar(0, b)) << pcNome;
        EXPECT_TRUE(CompararComDados(std::string("desenho/") + pcNome + ".txt",
                                     Retrato(painel1) + Retrato(ampliado1)));
        EXPECT_EQ(vis.gstShpLegendaMapa.ucFlagPoligonoValorZero, b.linhas.size() == 4) << pcNome;
    }
}

TEST_F(Desenho, TrabalhoComESemRecomendacao)
{
    // Before any recommendation, a zero and a real value: with no legend every polygon is the unmatched
    // grey, laid out on its own box, and the legend strip is bare background with nothing written.
    const ShpBuilder bSemLegenda = Conjunto({{{Faixa(0, 0.5)}, "0.00"}, {{Faixa(0.5, 1)}, "150.00"}});
    ASSERT_TRUE(Desenhar(1, bSemLegenda));
    const std::string szSemLegenda = Retrato(painel2) + Retrato(ampliado2);
    EXPECT_TRUE(CompararComDados("desenho/trabalho_sem_legenda.txt", szSemLegenda));

    ASSERT_TRUE(Desenhar(0, UmaDose("150.00")));
    const std::string szMapa1 = Retrato(painel1);
    // The northern half of the recommendation's eastern half, running a tenth beyond its east edge;
    // value 20 lies in row 1 (15-30) of the recommendation's legend. It is drawn where it lies on the
    // recommendation, not stretched over the box, and past the box's edge; the legend strip is the
    // recommendation's.
    ASSERT_TRUE(Desenhar(1, Conjunto({{{Faixa(0.5, 1.1, kYm)}, "20.00"}})));
    EXPECT_TRUE(CompararComDados("desenho/trabalho.txt", Retrato(painel2) + Retrato(ampliado2)));
    EXPECT_EQ(Retrato(painel1), szMapa1); // map 1's picture is left alone

    // Forgetting the maps brings the first state back.
    shpFile_LiberarMemoriaMapas(&vis);
    EXPECT_TRUE(vis.gstMapa1.szNomeArqMapaShp.empty());
    ASSERT_TRUE(Desenhar(1, bSemLegenda));
    EXPECT_EQ(Retrato(painel2) + Retrato(ampliado2), szSemLegenda);
}

TEST(DesenhoCor, LinhasDaLegenda)
{
    ST_ShpLegenda st;
    st.ucNumLinhasLegenda = 3;
    for (int i = 0; const auto& [ulDe, ulAte] : {std::pair{0u, 10u}, {20u, 30u}, {25u, 40u}})
        st.ulValorLegenda[i][0] = ulDe, st.ulValorLegenda[i++][1] = ulAte;
    // Between rows, the first row that holds a value, past the last.
    const std::pair<unsigned, std::uint32_t> casos[] = {{0, kZero},  {10, gulVetorCoresShp[0]},
                                                        {15, kCinza}, {27, gulVetorCoresShp[1]},
                                                        {40, gulVetorCoresShp[2]}, {41, kCinza}};
    for (const auto& [ulValor, ulCor] : casos)
        EXPECT_EQ(shpFile_DecidirCorPoligono(&st, ulValor), ulCor) << ulValor;
    // Only thirteen colours exist: rows past them are never used.
    st.ucNumLinhasLegenda = 20;
    st.ulValorLegenda[15][0] = 100, st.ulValorLegenda[15][1] = 200;
    EXPECT_EQ(shpFile_DecidirCorPoligono(&st, 150), kCinza);
}

TEST_F(Desenho, FalhaMostraOErroSemMexerNoAmpliado)
{
    // A missing table warns, shows the error and keeps nothing of the map.
    shpFile_InicializarVisualizacaoMapas(&vis);
    vis.gstMapa1 = Gravar(UmaDose("150.00"), "rec");
    std::filesystem::remove(dir / "rec.dbf");

    EXPECT_FALSE(shpFile_DesenharMapa(&vis, 0));
    ASSERT_EQ(vMensagens.size(), 1u);
    EXPECT_EQ(vMensagens[0].second, "ERRO");
    EXPECT_EQ(Retrato(painel1), ImagemDeErro(0));
    EXPECT_EQ(ampliado1.contar(kBranco, 0, 0, 550, 550), 550 * 550);
    EXPECT_EQ(vis.gstShpLegendaMapa.ucNumLinhasLegenda, 0);
    EXPECT_EQ(vis.gdLimiteXmin, 0.0);

    // A set refused by the check shows the error too, silently, and leaves the enlarged picture and
    // the legend of the earlier map: here a table with a row more than the .shp has polygons.
    ASSERT_TRUE(Desenhar(0, UmaDose("150.00")));
    const ST_ShpLegenda stLegenda = vis.gstShpLegendaMapa;
    ShpBuilder b = Conjunto({{{Faixa(0, 0.5)}, "900.00"}});
    b.linhas.push_back({{"2", "5.00"}, false});
    EXPECT_FALSE(Desenhar(0, b));
    EXPECT_EQ(Retrato(painel1), ImagemDeErro(0));
    EXPECT_EQ(ampliado1.pixel(275, 240), gulVetorCoresShp[9]); // still the earlier map, its maximum in row 9
    EXPECT_EQ(vis.gstShpLegendaMapa.ulValorLegenda[12][0], stLegenda.ulValorLegenda[12][0]);
    EXPECT_EQ(vMensagens.size(), 1u);

    // Map 2 fails the same way but its error picture has no text.
    shpFile_LimparVisualizacaoMapa(&vis.stMapa[1], 0, 1);
    ShpBuilder c = UmaDose("150.00");
    c.campos[1].cTipo = 'C';
    EXPECT_FALSE(Desenhar(1, c));
    EXPECT_EQ(Retrato(painel2), ImagemDeErro(1));
}

TEST_F(Desenho, RegistroRuimParaODesenhoNoMeio)
{
    const ShpBuilder b = Conjunto({{{Faixa(0, 0.5)}, "150.00"}, {{Faixa(0.5, 1)}, "150.00"}});
    ST_ShpMapa st = Gravar(b, "rec");
    // One byte of rec.shp changed per case; record 1 (one ring of five points) takes 8 + 128 bytes.
    // Record 2's content length cut from 64 words to 20 is too short to be drawn, after record 1 was;
    // a point count overrunning record 1 fails; a ring starting past its record's last point draws
    // nothing of that record.
    const std::tuple<std::size_t, std::uint8_t, BOOL> casos[] = {
        {100 + 8 + 128 + 4 + 3, 20, FALSE}, {100 + 8 + 41, 0xFF, FALSE}, {100 + 8 + 44, 5, TRUE}};
    std::string szObtido;
    for (const auto& [pos, uc, bEsperado] : casos)
    {
        std::vector<std::uint8_t> vShp = b.construirShp();
        vShp[pos] = uc;
        dir.gravar("rec.shp", vShp);
        SuperficieRaster novo(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA, kBranco);
        vis.stMapa[0] = novo.superficie();
        EXPECT_EQ(shpFile_DesenharMapaEntrada2D(&vis, &st, 0), bEsperado) << pos;
        // A failed drawing leaves no legend nor extent behind.
        EXPECT_TRUE(bEsperado || (vis.gstShpLegendaMapa.ucNumLinhasLegenda == 0 && vis.gdLimiteXmax == 0.0)) << pos;
        szObtido += Retrato(novo);
    }
    vis.stMapa[0] = painel1.superficie();
    EXPECT_TRUE(CompararComDados("desenho/registro_ruim.txt", szObtido));
}

// A part list that names the same points again and again (0, N, 0, N...) costs a record its points
// once: doubling such a file doubles the points drawn, where drawing every listed part quadrupled them.
TEST_F(Desenho, PartesRepetidasCustamSoOsPontosDoRegistro)
{
    static long lPontos;
    for (ST_SuperficieDesenho* pst : {&vis.stMapa[0], &vis.stMapaMax[0]})
        pst->pfPoligono = [](void*, const ST_PontoTela*, int iNum, std::uint32_t, std::uint32_t) { lPontos += iNum; };
    auto Trabalho = [&](std::uint32_t ulAneis) {
        const ShpBuilder b = Conjunto({{std::vector<AnelShp>(ulAneis, Faixa(0, 1)), "150.00"}});
        std::vector<std::uint8_t> vShp = b.construirShp();
        const std::uint32_t ulPontos = 5 * ulAneis;
        for (std::uint32_t p = 0; p < ulAneis; p++)
            for (int k = 0; k < 4; k++)
                vShp[100 + 8 + 44 + 4 * p + k] = static_cast<std::uint8_t>((p % 2 == 0 ? 0 : ulPontos) >> (8 * k));
        ST_ShpMapa st = Gravar(b, "rep");
        dir.gravar("rep.shp", vShp);
        vis.gstMapa1 = st;
        lPontos = 0;
        EXPECT_TRUE(shpFile_DesenharMapa(&vis, 0));
        return lPontos;
    };
    const long lSimples = Trabalho(200);
    const long lDobro = Trabalho(400);
    EXPECT_GT(lSimples, 0);
    EXPECT_LE(lDobro, 2 * lSimples + 16) << lSimples << " -> " << lDobro;
}
