// zavoro comparar on a job whose ground is known: one straight pass of the 27 m boom across two
// zones, a third zone far from it, inside a boundary; and the inputs it must refuse plainly.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "support/Comando.h"
#include "support/Csv.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"
#include "zavoro/analise.h"
#include "zavoro/cobertura.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
constexpr std::uint32_t kPontos = 100;
constexpr double kPassoM = 15.0 / 3.6;
constexpr double kComprimento = (kPontos - 1) * kPassoM; // of the track, metres
constexpr double kLargura = 27.0;
constexpr double kMeio = kComprimento / 2;

// A point given in metres east and north of the builder's field origin, in degrees.
PontoShp Grau(const NvgBuilder& b, double dLeste, double dNorte)
{
    double dLat = 0.0, dLon = 0.0;
    conversor_TransformarCoordenadasAbsolutas(dNorte, dLeste, &dLat, &dLon, b.stTalhao.dZeroRelativoLat,
                                              b.stTalhao.dZeroRelativoLon);
    return {dLon, dLat};
}

AnelShp Retangulo(const NvgBuilder& b, double dX0, double dY0, double dX1, double dY1)
{
    // Clockwise, closed.
    return {Grau(b, dX0, dY0), Grau(b, dX0, dY1), Grau(b, dX1, dY1), Grau(b, dX1, dY0), Grau(b, dX0, dY0)};
}

struct Caso
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO, kPontos);
    ShpBuilder rec;

    Caso()
    {
        // 150 L/ha applied: the first zone asks for it, the second for 100, the third lies 1 km north.
        rec.campos = {{"DOSE", 'N', 9, 2}, {"NOME", 'C', 10, 0}};
        rec.adicionar(Retangulo(b, -100, -100, kMeio, 100), {"150.00", "Baixada"});
        rec.adicionar(Retangulo(b, kMeio, -100, kComprimento + 100, 100), {"100.00", "Encosta"});
        rec.adicionar(Retangulo(b, 0, 1000, 100, 1100), {"120.00", "Longe"});
        Limite stLimite;
        for (const auto& [dX, dY] : {std::pair{-100.0, -100.0}, {-100.0, 100.0}, {kComprimento + 100, 100.0}, {kComprimento + 100, -100.0}})
            stLimite.pontos.push_back({static_cast<float>(dX), static_cast<float>(dY)});
        b.limites.push_back(stLimite);
    }
    void gravar()
    {
        b.gravar(dir / "trabalho.nvg");
        rec.gravar(dir / "rec");
    }
    Resultado comparar(const std::string& szOpcoes = "")
    {
        gravar();
        return Executar("comparar --mapa " + Aspas((dir / "rec.shp").string()) + " " + szOpcoes + " " +
                        Aspas((dir / "trabalho.nvg").string()));
    }
};

double Numero(const std::string& sz)
{
    return sz.empty() ? NAN : std::stod(sz);
}

// The console's metres are on a sphere of the equatorial radius; the ground's are the ellipsoid's:
// the scale from the one to the other at the field's latitude.
double EscalaDoElipsoide(const NvgBuilder& b)
{
    constexpr double kE2 = 0.0066943799901413165;
    const double dSen = std::sin(b.stTalhao.dZeroRelativoLat * std::numbers::pi / 180.0);
    return (1.0 - kE2) / ((1.0 - kE2 * dSen * dSen) * (1.0 - kE2 * dSen * dSen));
}

TEST(CompararCli, PassagemRetaPorDuasZonasEUmaNuncaTocada)
{
    Caso c;
    const Resultado o = c.comparar("--csv " + Aspas((c.dir / "tabela.csv").string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_NE(o.szSaida.find("Recomendação: "), std::string::npos);
    EXPECT_NE(o.szSaida.find("(campo DOSE)"), std::string::npos) << "the first numeric field";
    EXPECT_NE(o.szSaida.find("Área dos limites do arquivo:"), std::string::npos) << o.szSaida;

    const TabelaCsv t = lerCsv(lerTexto(c.dir / "tabela.csv"));
    ASSERT_GE(t.vLinhas.size(), 3u);
    const double dEscala = EscalaDoElipsoide(c.b);
    const double dFaixa = dEscala * kComprimento * kLargura / 10000.0; // ha swept, within the boom's lag
    const auto& z1 = t.vLinhas[0];
    const auto& z2 = t.vLinhas[1];
    const auto& z3 = t.vLinhas[2];
    EXPECT_EQ(z3.at("id"), "3");
    // The pass splits at the zones' border; each holds about half of the strip.
    EXPECT_NEAR(Numero(z1.at("area_coberta_ha")), dFaixa / 2, dFaixa * 0.03);
    EXPECT_NEAR(Numero(z2.at("area_coberta_ha")), dFaixa / 2, dFaixa * 0.03);
    EXPECT_NEAR(Numero(z1.at("area_coberta_ha")) + Numero(z2.at("area_coberta_ha")), dFaixa, dFaixa * 0.02);
    EXPECT_DOUBLE_EQ(Numero(z1.at("aplicado_por_ha")), 150.0);
    EXPECT_DOUBLE_EQ(Numero(z1.at("desvio_pct")), 0.0);
    EXPECT_DOUBLE_EQ(Numero(z1.at("dentro_10pct_pct")), 100.0);
    EXPECT_DOUBLE_EQ(Numero(z2.at("desvio_pct")), 50.0);
    EXPECT_DOUBLE_EQ(Numero(z2.at("dentro_20pct_pct")), 0.0);
    EXPECT_DOUBLE_EQ(Numero(z3.at("area_coberta_ha")), 0.0);
    EXPECT_TRUE(std::isnan(Numero(z3.at("aplicado_por_ha"))));

    const auto& talhao = t.vLinhas.back();
    EXPECT_EQ(talhao.at("tipo"), "talhao");
    const double dLimites = dEscala * (kComprimento + 200) * 200 / 10000.0;
    EXPECT_NEAR(Numero(talhao.at("area_limites_ha")), dLimites, dLimites * 0.001);
    EXPECT_NEAR(Numero(talhao.at("falhada_ha")), dLimites - dFaixa, dFaixa * 0.02);
    EXPECT_NEAR(Numero(talhao.at("fora_limites_ha")), 0.0, 1e-9);
    EXPECT_NEAR(Numero(talhao.at("sobreposta_ha")), 0.0, dFaixa * 0.01) << "one pass overlaps nothing";
}

TEST(CompararCli, MapaDeDiferencaNaExtensaoDoMapa1)
{
    Caso c;
    const std::string szPrefixo = (c.dir / "comp").string();
    const Resultado o = c.comparar("--png " + Aspas(szPrefixo));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    QImage painel(QString::fromStdString(szPrefixo + "_diferenca.png"));
    QImage ampliado(QString::fromStdString(szPrefixo + "_diferenca_ampliado.png"));
    ASSERT_EQ(painel.size(), QSize(355, 335));
    ASSERT_EQ(ampliado.size(), QSize(550, 550));
    // Zone 1 was applied as asked (the class starting at zero), zone 2 got 50 over (steps of 20: the
    // class from 40), zone 3 never saw the boom (the zero colour).
    int iZero = 0, iTopo = 0, iNunca = 0;
    for (int y = 0; y < 280; y++)
        for (int x = 0; x < 355; x++)
        {
            const std::uint32_t ul = painel.pixel(x, y) & 0xFFFFFFu;
            iZero += ul == D_ANALISE_CORES_DIFERENCA[5];
            iTopo += ul == D_ANALISE_CORES_DIFERENCA[7];
            iNunca += ul == D_SHPFILE_RGB_COR_VALOR_ZERO;
        }
    EXPECT_GT(iZero, 20);
    EXPECT_GT(iTopo, 20);
    EXPECT_GT(iNunca, 0);
    // The legend strip carries the ten classes.
    int iCaixas = 0;
    for (std::uint32_t ulCor : D_ANALISE_CORES_DIFERENCA)
        for (int x = 0; x < 355; x++)
            if ((painel.pixel(x, 307) & 0xFFFFFFu) == ulCor)
            {
                iCaixas++;
                break;
            }
    EXPECT_EQ(iCaixas, D_ANALISE_CLASSES_DIFERENCA);
}

TEST(CompararCli, EntradasRuinsTemMensagemClara)
{
    {
        Caso c; // the prescription lies 50 km away
        c.rec = ShpBuilder{};
        c.rec.campos = {{"DOSE", 'N', 9, 2}};
        c.rec.adicionar(ShpBuilder::retangulo(-51.5, -24.5, -51.49, -24.49), {"150.00"});
        const Resultado o = c.comparar();
        EXPECT_EQ(o.iSaida, 1) << o.szSaida;
        EXPECT_NE(o.szSaida.find("não passa por nenhuma zona"), std::string::npos) << o.szSaida;
    }
    {
        Caso c; // a text field
        const Resultado o = c.comparar("--campo NOME");
        EXPECT_EQ(o.iSaida, 1) << o.szSaida;
        EXPECT_NE(o.szSaida.find("rec.dbf: o campo escolhido não é numérico"), std::string::npos) << o.szSaida;
    }
    {
        Caso c; // a zone that crosses itself and one of a single line: said, and the rest compared
        c.rec.adicionar(AnelShp{Grau(c.b, 0, 0), Grau(c.b, 100, 50), Grau(c.b, 100, 0), Grau(c.b, 0, 50), Grau(c.b, 0, 0)},
                        {"150.00", "Laço"});
        c.rec.adicionar(AnelShp{Grau(c.b, 0, 0), Grau(c.b, 100, 0), Grau(c.b, 0, 0)}, {"150.00", "Linha"});
        const Resultado o = c.comparar();
        EXPECT_EQ(o.iSaida, 0) << o.szSaida;
        EXPECT_NE(o.szSaida.find("Aviso: zona 4 da recomendação com geometria inválida"), std::string::npos) << o.szSaida;
        EXPECT_NE(o.szSaida.find("Aviso: zona 5 da recomendação sem área"), std::string::npos) << o.szSaida;
        EXPECT_NE(o.szSaida.find("Aviso: as zonas 1 e 4 da recomendação se sobrepõem"), std::string::npos) << o.szSaida;
    }
    {
        Caso c; // no zone at all
        c.rec = ShpBuilder{};
        c.rec.campos = {{"DOSE", 'N', 9, 2}};
        const Resultado o = c.comparar();
        EXPECT_EQ(o.iSaida, 1) << o.szSaida;
        EXPECT_NE(o.szSaida.find("a recomendação não tem nenhuma zona com área"), std::string::npos) << o.szSaida;
    }
    {
        Caso c; // the recommendation's .shp is not one
        c.gravar();
        fs::resize_file(c.dir / "rec.shp", 40);
        const Resultado o = Executar("comparar --mapa " + Aspas((c.dir / "rec.shp").string()) + " " +
                                     Aspas((c.dir / "trabalho.nvg").string()));
        EXPECT_EQ(o.iSaida, 1) << o.szSaida;
        EXPECT_NE(o.szSaida.find("não é um shapefile de polígonos legível"), std::string::npos) << o.szSaida;
    }
    {
        Caso c;
        const Resultado o = Executar("comparar " + Aspas((c.dir / "trabalho.nvg").string()));
        EXPECT_EQ(o.iSaida, 2) << o.szSaida;
        EXPECT_NE(o.szSaida.find("--mapa REC.shp"), std::string::npos) << o.szSaida;
    }
}

// zavoro mapa adds, after its result blocks, each file's coverage summed, its union, the ground covered
// twice and what the boundary left uncovered: the pass driven twice covers its strip twice.
TEST(CompararCli, MapaDizSobreposicaoEFalhaDeCadaArquivo)
{
    Caso c;
    c.b.etapas.push_back(c.b.etapas[0]);
    c.gravar();
    const Resultado o = Executar("mapa --cobertura " + Aspas((c.dir / "trabalho.nvg").string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    const std::size_t pos = o.szSaida.find("\nSobreposição e falhas da cobertura:\n");
    ASSERT_NE(pos, std::string::npos) << o.szSaida;
    std::smatch m;
    const std::string szResto = o.szSaida.substr(pos);
    ASSERT_TRUE(std::regex_search(szResto, m,
                                  std::regex("trabalho\\.nvg: aplicada ([0-9]+),([0-9]+) ha, coberta ([0-9]+),([0-9]+) ha, "
                                             "sobreposta [0-9,]+ ha \\(50,0 %\\), falhada nos limites ([0-9]+),([0-9]+) ha de "
                                             "[0-9,]+ ha, fora dos limites 0,00 ha")))
        << szResto;
    const auto Ha = [&](int i) { return std::stod(m[i].str() + "." + m[i + 1].str()); };
    const double dFaixa = EscalaDoElipsoide(c.b) * kComprimento * kLargura / 10000.0;
    EXPECT_NEAR(Ha(1), 2 * dFaixa, dFaixa * 0.04);
    EXPECT_NEAR(Ha(3), dFaixa, dFaixa * 0.02);
    // Nothing else of the output changed: the blocks come first, whole.
    EXPECT_EQ(o.szSaida.find("Sobreposição"), pos + 1);
}
} // namespace
