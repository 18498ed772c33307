// Guide and boundary folders of the KML map, byte for byte (expected folders in tests/dados/guias_kml/):
// numbering past unmarked guides, straight and curved guides of every version, curves cut by unusable
// points or by counts that run past their entry, boundaries, and a file that ends inside a curve.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "conversor/kml.h"
#include "support/DadosEsperados.h"
#include "support/NvgBuilder.h"
#include "zavoro/cobertura.h"

using namespace zavoro_teste;

namespace
{
constexpr double kZeroLon = -51.25;
constexpr double kZeroLat = -24.5;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

Guia NovaGuia(std::uint16_t usVersao, std::uint8_t ucTipo, double dDeslocamento)
{
    Guia g;
    g.usVersao = usVersao;
    g.stGuia.ucTipoGuia = ucTipo;
    g.stGuia.ucFlagPontoAMarcado = g.stGuia.ucFlagPontoBMarcado = 1;
    g.stGuia.dPontoALon = kZeroLon + dDeslocamento;
    g.stGuia.dPontoALat = kZeroLat - dDeslocamento;
    g.stGuia.dPontoBLon = kZeroLon + 0.0123456789 + dDeslocamento;
    g.stGuia.dPontoBLat = kZeroLat + 0.00987654321;
    g.stGuia.fDistanciaPercorridaAB = 100.0f + static_cast<float>(dDeslocamento);
    return g;
}

std::vector<ST_PontosCurva> Pontos(int n, float fBase)
{
    std::vector<ST_PontosCurva> v;
    for (int i = 0; i < n; i++)
        v.push_back({fBase + 10.5f * static_cast<float>(i), -3.25f * static_cast<float>(i) + fBase});
    return v;
}

NvgBuilder Base()
{
    NvgBuilder b;
    b.stTalhao.dZeroRelativoLon = kZeroLon;
    b.stTalhao.dZeroRelativoLat = kZeroLat;
    return b;
}

struct Resultado
{
    BOOL bOk = FALSE;
    std::string szKml;
    int iErro = 7; // the pass must clear it
};

// Walks the builder's file, then runs the guide (or boundary) pass over what the walk found. iBytes
// keeps only that many bytes of the file the pass reads (0: all of it).
Resultado Passar(const NvgBuilder& b, bool bLimites = false, std::size_t iBytes = 0)
{
    Resultado r;
    std::vector<std::uint8_t> v = b.construir();
    ArquivoTemporario pfEntrada = arquivoTemporario(v);
    ST_EstruturaNavegacao st;
    r.bOk = zavoro_PercorrerEstrutura(pfEntrada.get(), &st);
    if (iBytes != 0)
    {
        v.resize(iBytes);
        pfEntrada = arquivoTemporario(v);
    }
    ArquivoTemporario pfSaida = arquivoTemporario();
    if (r.bOk)
        r.bOk = bLimites ? conversor_InserirLimiteKml(pfSaida.get(), pfEntrada.get(), &st)
                         : conversor_InserirGuiasKml(pfSaida.get(), pfEntrada.get(), &st, &r.iErro);
    r.szKml = conteudo(pfSaida.get());
    return r;
}

// Guides of the given versions and types, 0.1 apart.
NvgBuilder Guias(std::initializer_list<std::pair<std::uint16_t, std::uint8_t>> lGuias)
{
    NvgBuilder b = Base();
    for (const auto& [usVersao, ucTipo] : lGuias)
        b.guias.push_back(NovaGuia(usVersao, ucTipo, 0.1 * static_cast<double>(b.guias.size())));
    return b;
}

Limite NovoLimite(float fArea, int iPontos, float fBase)
{
    Limite l;
    l.stLimite.fAreaLimite = fArea;
    for (const ST_PontosCurva& p : Pontos(iPontos, fBase))
        l.pontos.push_back({p.fLongitudeRel, p.fLatitudeRel});
    return l;
}
} // namespace

TEST(GuiasKml, PastasPorVersaoTipoEPontos)
{
    constexpr std::uint8_t RETA = D_ZAVORO_TIPO_GUIA_RETA;
    constexpr std::uint8_t CURVA = D_ZAVORO_TIPO_GUIA_CURVA;
    NvgBuilder bBoas = Guias({{2, RETA}, {2, CURVA}, {3, RETA}, {2, RETA}, {2, RETA}, {3, RETA}, {2, CURVA}, {3, CURVA}});
    std::vector<Guia>& g = bBoas.guias;
    // The numbering skips a guide without both points marked.
    g[0].stGuia.fDistanciaPercorridaAB = 412.34f;
    g[1].stGuia.ucFlagPontoBMarcado = 0;
    g[1].pontosCurva = Pontos(4, 1.0f);
    // A mark of a damaged file may lie anywhere; its coordinate is written whole, never cut short.
    g[3].stGuia.dPontoALon = -1.5e300;
    g[3].stGuia.dPontoBLat = 4.25e70;
    // A straight guide whose entry still holds curve data (versions 2 and 3) is left by its length.
    g[4].pontosCurva = Pontos(6, 3.0f);
    g[5].curvas = {Curva{Pontos(2, 4.0f), {}}};
    g[6].pontosCurva = Pontos(2, 5.0f);
    // Version 3 numbers its curves from zero.
    g[7].curvas = {Curva{Pontos(3, 1.5f), {}}, Curva{{}, {}}};

    // A version-1 record has no type of its own; a straight one still carries its curve points.
    NvgBuilder bV1Reta = Guias({{1, RETA}, {2, RETA}});
    bV1Reta.guias[0].pontosCurva = Pontos(5, 7.0f);
    NvgBuilder bV1Curva = bV1Reta;
    bV1Reta.stTalhao.ucTipoGuia = RETA;
    bV1Curva.stTalhao.ucTipoGuia = CURVA;

    // Version 2: the fourth point has no latitude; points after it are not drawn. Version 3: a bad
    // longitude (infinite counts as well) cuts its own curve only; the next curve of the same guide is
    // read from its own start.
    NvgBuilder bInvalidos = Guias({{2, CURVA}, {3, CURVA}, {3, CURVA}, {2, RETA}});
    bInvalidos.guias[0].pontosCurva = Pontos(6, 2.0f);
    bInvalidos.guias[0].pontosCurva[3].fLatitudeRel = kNaN;
    for (int i : {1, 2})
    {
        std::vector<ST_PontosCurva> v0 = Pontos(4, 1.0f);
        v0[1].fLongitudeRel = i == 1 ? kNaN : std::numeric_limits<float>::infinity();
        bInvalidos.guias[i].curvas = {Curva{v0, {}}, Curva{Pontos(3, 9.0f), {}}};
    }

    // Version 2: 200 points claimed, 2 stored; the next entry is not read as points. Version 3: a
    // curve's point count past the entry, then a curve count past it.
    NvgBuilder bContagem = Guias({{2, CURVA}, {3, CURVA}, {3, CURVA}, {2, RETA}});
    bContagem.guias[0].pontosCurva = Pontos(2, 4.0f);
    bContagem.guias[0].numeroPontosCurvaGravado = 200;
    bContagem.guias[1].curvas = {Curva{Pontos(2, 1.0f), {}}, Curva{Pontos(3, 2.0f), std::uint16_t{60000}}};
    bContagem.guias[2].curvas = {Curva{Pontos(2, 3.0f), {}}};
    bContagem.guias[2].numeroPontosCurvaGravado = 5;

    const std::tuple<const char*, NvgBuilder, int> vCasos[] = {
        {"guias_utilizaveis", bBoas, 0},
        {"versao1_talhao_reta", bV1Reta, 0},
        {"versao1_talhao_curva", bV1Curva, 0},
        {"pontos_invalidos", bInvalidos, 1},
        {"contagens_passam_da_entrada", bContagem, 1},
    };
    // tests/dados/guias_kml/<nome>.kml; the error flag is cleared at the start of the pass.
    for (const auto& [pcNome, b, iErro] : vCasos)
    {
        const Resultado r = Passar(b);
        EXPECT_TRUE(r.bOk) << pcNome;
        EXPECT_TRUE(CompararComDados(std::string("guias_kml/") + pcNome + ".kml", r.szKml)) << pcNome;
        EXPECT_EQ(r.iErro, iErro) << pcNome;
    }
}

TEST(GuiasKml, SemGuiaUtilizavelEContagemAcimaDe32767)
{
    // With no usable guide at all there is no folder, and no stray closing tag.
    NvgBuilder b = Guias({{2, D_ZAVORO_TIPO_GUIA_RETA}, {2, D_ZAVORO_TIPO_GUIA_RETA}});
    b.guias[0].stGuia.ucFlagPontoAMarcado = 0;
    b.guias[1].stGuia.ucFlagPontoBMarcado = 0;
    Resultado r = Passar(b);
    EXPECT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, "");

    // A count above 32767 is a count, not a negative number: every point is drawn.
    b = Guias({{3, D_ZAVORO_TIPO_GUIA_CURVA}});
    b.guias[0].curvas = {Curva{Pontos(40000, 0.5f), {}}};
    r = Passar(b);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.iErro, 0);
    int iLinhas = 0;
    for (std::size_t pos = r.szKml.find(",0\n"); pos != std::string::npos; pos = r.szKml.find(",0\n", pos + 1))
        iLinhas++;
    EXPECT_EQ(iLinhas, 40000 + 2); // the curve and the two marks
    EXPECT_TRUE(r.szKml.ends_with("</coordinates></LineString></Placemark></Folder></Folder>"));
}

TEST(GuiasKml, ArquivoQueAcabaNaCurvaGuardaOQueFoiEscrito)
{
    NvgBuilder b = Guias({{2, D_ZAVORO_TIPO_GUIA_RETA}, {2, D_ZAVORO_TIPO_GUIA_CURVA}});
    b.guias[1].pontosCurva = Pontos(3, 1.0f);
    // The file ends in the middle of the second guide's curve.
    const Resultado r =
        Passar(b, false, b.layout().posGuias[1] + 4 + 2 + sizeof(ST_Guia_v2) + sizeof(ST_PontosCurva) + 3);
    EXPECT_FALSE(r.bOk);
    EXPECT_TRUE(CompararComDados("guias_kml/arquivo_cortado_na_curva.kml", r.szKml));
}

TEST(LimitesKml, PastasPorLimiteEContagemQuePassaDaEntrada)
{
    // One folder per boundary, numbered by position, an empty one included.
    NvgBuilder b = Base();
    b.limites = {NovoLimite(3.25f, 4, 1.0f), NovoLimite(12.5f, 5, -20.0f), NovoLimite(0.0f, 0, 0.0f)};
    b.limites[0].stLimite.ucSentidoLimite = 1;
    NvgBuilder bContagem = Base();
    bContagem.limites = {NovoLimite(1.0f, 3, 1.0f), NovoLimite(2.0f, 2, 5.0f)};
    bContagem.limites[0].numeroPontosGravado = 9;
    for (const auto& [pcNome, bCaso] : {std::pair{"limites", b}, {"limite_contagem_passa_da_entrada", bContagem}})
    {
        const Resultado r = Passar(bCaso, true);
        EXPECT_TRUE(r.bOk) << pcNome;
        EXPECT_TRUE(CompararComDados(std::string("guias_kml/") + pcNome + ".kml", r.szKml)) << pcNome;
    }
}
