// Guide and boundary folders of the KML map, byte for byte: numbering past unmarked guides, straight
// and curved guides of every version, curves cut by unusable points or by counts that run past their
// entry, boundaries, and the failures that stop the map.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "conversor/kml.h"
#include "support/NvgBuilder.h"
#include "zavoro/cobertura.h"

using namespace zavoro_teste;

namespace
{
constexpr double kZeroLon = -51.25;
constexpr double kZeroLat = -24.5;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::string Fmt(const char* pcFormato, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* pcFormato, ...)
{
    char cBuf[512];
    va_list args;
    va_start(args, pcFormato);
    std::vsnprintf(cBuf, sizeof cBuf, pcFormato, args);
    va_end(args);
    return cBuf;
}

// ---- expected texts, composed from the map's formats ----

std::string Coord(float fLonRel, float fLatRel)
{
    double dLat = 0.0;
    double dLon = 0.0;
    conversor_TransformarCoordenadasAbsolutas(fLatRel, fLonRel, &dLat, &dLon, kZeroLat, kZeroLon);
    return Fmt("%.06f,%.06f,%d\n", dLon, dLat, 0);
}

template <typename T_Ponto>
std::string Coords(const std::vector<T_Ponto>& v)
{
    std::string sz;
    for (const T_Ponto& p : v)
        sz += Coord(p.fLongitudeRel, p.fLatitudeRel);
    return sz;
}

std::string Marca(char c, double dLon, double dLat, int n)
{
    return "\n<Placemark>\n<visibility>1</visibility>\n<name></name><description>\n" +
           Fmt("<strong>Ponto %c - Guia %d</strong>\n", c, n) + "</description><styleUrl>" +
           Fmt("#GOTA_PONTO_%c\n", c) + "</styleUrl><Point><coordinates>\n" +
           Fmt("%.06f,%.06f,0\n", dLon, dLat) + "</coordinates>\n</Point>\n</Placemark>\n";
}

std::string Pasta(const ST_Guia_v2& g, int n, const std::string& szLinhas)
{
    return Fmt("<Folder>\n<name>Guia %d</name>\n", n) + Marca('A', g.dPontoALon, g.dPontoALat, n) +
           Marca('B', g.dPontoBLon, g.dPontoBLat, n) + szLinhas + "</Folder>";
}

std::string Reta(const ST_Guia_v2& g, int n)
{
    return "<Placemark><visibility>1</visibility>\n" +
           Fmt("<name>Reta %d</name><styleUrl>#LINHA_GUIA</styleUrl><description>Reta %d: %.1f "
               "m</description>\n",
               n, n, g.fDistanciaPercorridaAB) +
           "<LineString><coordinates>\n" + Fmt("%.06f,%.06f,0\n", g.dPontoALon, g.dPontoALat) +
           Fmt("%.06f,%.06f,0\n", g.dPontoBLon, g.dPontoBLat) + "</coordinates></LineString></Placemark>";
}

std::string LinhaCurva(int k, const std::string& szCoords)
{
    return "<Placemark><visibility>1</visibility>\n" +
           Fmt("<name>Curva %d</name><styleUrl>#LINHA_GUIA</styleUrl><description>Curva %d</description>\n",
               k, k) +
           "<LineString><coordinates>\n" + szCoords + "</coordinates></LineString></Placemark>";
}

std::string Guias(const std::string& szPastas)
{
    return "\n<Folder>\n<name>Guias</name>\n" + szPastas + "</Folder>";
}

// ---- fixtures ----

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

struct FecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using Arquivo = std::unique_ptr<std::FILE, FecharArquivo>;

Arquivo ArquivoCom(const std::vector<std::uint8_t>& v)
{
    Arquivo pf(std::tmpfile());
    std::fwrite(v.data(), 1, v.size(), pf.get());
    std::rewind(pf.get());
    return pf;
}

std::string Conteudo(std::FILE* pf)
{
    std::string sz;
    std::rewind(pf);
    char cBuf[4096];
    std::size_t n;
    while ((n = std::fread(cBuf, 1, sizeof cBuf, pf)) > 0)
        sz.append(cBuf, n);
    return sz;
}

struct Resultado
{
    BOOL bOk = FALSE;
    std::string szKml;
    int iErro = 7; // the pass must clear it
    Layout stLayout;
};

// Walks the builder's file, then runs the guide (or boundary) pass over what the walk found. iBytes
// keeps only that many bytes of the file the pass reads (0: all of it).
Resultado Passar(const NvgBuilder& b, bool bLimites = false, std::size_t iBytes = 0)
{
    Resultado r;
    std::vector<std::uint8_t> v = b.construir(&r.stLayout);
    Arquivo pfEntrada = ArquivoCom(v);
    ST_EstruturaNavegacao st;
    r.bOk = zavoro_PercorrerEstrutura(pfEntrada.get(), &st);
    if (iBytes != 0)
    {
        v.resize(iBytes);
        pfEntrada = ArquivoCom(v);
    }
    Arquivo pfSaida(std::tmpfile());
    if (r.bOk)
        r.bOk = bLimites ? conversor_InserirLimiteKml(pfSaida.get(), pfEntrada.get(), &st)
                         : conversor_InserirGuiasKml(pfSaida.get(), pfEntrada.get(), &st, &r.iErro);
    r.szKml = Conteudo(pfSaida.get());
    return r;
}

std::string PastaLimite(int n, float fArea, const std::string& szCoords)
{
    return Fmt("<Folder>\n<name>Limite %d</name>\n", n) + "<Placemark><visibility>1</visibility>\n" +
           Fmt("<name>Limite %d</name><styleUrl>#LINHA_LIMITE</styleUrl><description>Limite %d: %.3f "
               "ha</description>\n",
               n, n, fArea) +
           "<LineString><coordinates>\n" + szCoords + "</coordinates></LineString></Placemark></Folder>";
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

TEST(GuiasKml, NumeracaoPulaGuiaSemPontoMarcado)
{
    NvgBuilder b = Base();
    b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_CURVA, 0.1),
               NovaGuia(3, D_ZAVORO_TIPO_GUIA_RETA, 0.2)};
    b.guias[0].stGuia.fDistanciaPercorridaAB = 412.34f;
    b.guias[1].stGuia.ucFlagPontoBMarcado = 0;
    b.guias[1].pontosCurva = Pontos(4, 1.0f);

    const Resultado r = Passar(b);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1, Reta(b.guias[0].stGuia, 1)) +
                             Pasta(b.guias[2].stGuia, 2, Reta(b.guias[2].stGuia, 2))));
    EXPECT_NE(r.szKml.find("<description>Reta 1: 412.3 m</description>"), std::string::npos);
    EXPECT_EQ(r.iErro, 0); // cleared at the start of the pass

    // With no usable guide at all there is no folder, and no stray closing tag.
    b.guias[0].stGuia.ucFlagPontoAMarcado = 0;
    b.guias[2].stGuia.ucFlagPontoBMarcado = 0;
    const Resultado rVazio = Passar(b);
    ASSERT_TRUE(rVazio.bOk);
    EXPECT_EQ(rVazio.szKml, "");
}

TEST(GuiasKml, CoordenadaEnormeSaiComTodosOsDigitos)
{
    // A mark of a damaged file may lie anywhere; its coordinate is written whole, never cut short.
    NvgBuilder b = Base();
    b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.0)};
    b.guias[0].stGuia.dPontoALon = -1.5e300;
    b.guias[0].stGuia.dPontoBLat = 4.25e70;
    const Resultado r = Passar(b);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1, Reta(b.guias[0].stGuia, 1))));
}

TEST(GuiasKml, Versao1TomaOTipoDoTalhao)
{
    // A version-1 record has no type of its own; a straight one still carries its curve points.
    for (std::uint8_t ucTipoTalhao : {D_ZAVORO_TIPO_GUIA_RETA, D_ZAVORO_TIPO_GUIA_CURVA})
    {
        NvgBuilder b = Base();
        b.stTalhao.ucTipoGuia = ucTipoTalhao;
        b.guias = {NovaGuia(1, D_ZAVORO_TIPO_GUIA_RETA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.3)};
        b.guias[0].pontosCurva = Pontos(5, 7.0f);

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        const ST_Guia_v2& g = b.guias[0].stGuia;
        const std::string szLinha = ucTipoTalhao == D_ZAVORO_TIPO_GUIA_RETA
                                        ? Reta(g, 1)
                                        : LinhaCurva(1, Coords(b.guias[0].pontosCurva));
        EXPECT_EQ(r.szKml,
                  Guias(Pasta(g, 1, szLinha) + Pasta(b.guias[1].stGuia, 2, Reta(b.guias[1].stGuia, 2))))
            << "field type " << int(ucTipoTalhao);
        EXPECT_EQ(r.iErro, 0);
    }
}

TEST(GuiasKml, RetaComDadosDeCurvaNaoDesviaAsSeguintes)
{
    // A straight guide whose entry still holds curve data (versions 2 and 3) is left by its length.
    NvgBuilder b = Base();
    b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.0), NovaGuia(3, D_ZAVORO_TIPO_GUIA_RETA, 0.1),
               NovaGuia(2, D_ZAVORO_TIPO_GUIA_CURVA, 0.2)};
    b.guias[0].pontosCurva = Pontos(6, 3.0f);
    b.guias[1].curvas = {Curva{Pontos(2, 4.0f), {}}};
    b.guias[2].pontosCurva = Pontos(2, 5.0f);

    const Resultado r = Passar(b);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1, Reta(b.guias[0].stGuia, 1)) +
                             Pasta(b.guias[1].stGuia, 2, Reta(b.guias[1].stGuia, 2)) +
                             Pasta(b.guias[2].stGuia, 3, LinhaCurva(3, Coords(b.guias[2].pontosCurva)))));
}

TEST(GuiasKml, Versao3NumeraCurvasDeZero)
{
    NvgBuilder b = Base();
    b.guias = {NovaGuia(3, D_ZAVORO_TIPO_GUIA_CURVA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.1)};
    b.guias[0].curvas = {Curva{Pontos(3, 1.5f), {}}, Curva{{}, {}}};

    const Resultado r = Passar(b);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1,
                                   LinhaCurva(0, Coords(b.guias[0].curvas[0].pontos)) + LinhaCurva(1, "")) +
                             Pasta(b.guias[1].stGuia, 2, Reta(b.guias[1].stGuia, 2))));
    EXPECT_EQ(r.iErro, 0);
}

TEST(GuiasKml, PontoInvalidoCortaACurvaEMarcaErro)
{
    // Version 2: the fourth point has no latitude; points after it are not drawn.
    {
        NvgBuilder b = Base();
        b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_CURVA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.1)};
        std::vector<ST_PontosCurva> v = Pontos(6, 2.0f);
        v[3].fLatitudeRel = kNaN;
        b.guias[0].pontosCurva = v;

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1,
                                       LinhaCurva(1, Coords(std::vector<ST_PontosCurva>{v[0], v[1], v[2]}))) +
                                 Pasta(b.guias[1].stGuia, 2, Reta(b.guias[1].stGuia, 2))));
        EXPECT_EQ(r.iErro, 1);
    }
    // Version 3: a bad longitude (infinite counts as well) cuts its own curve only; the next curve of
    // the same guide is read from its own start.
    for (float fRuim : {kNaN, std::numeric_limits<float>::infinity()})
    {
        NvgBuilder b = Base();
        b.guias = {NovaGuia(3, D_ZAVORO_TIPO_GUIA_CURVA, 0.0)};
        std::vector<ST_PontosCurva> v0 = Pontos(4, 1.0f);
        v0[1].fLongitudeRel = fRuim;
        const std::vector<ST_PontosCurva> v1 = Pontos(3, 9.0f);
        b.guias[0].curvas = {Curva{v0, {}}, Curva{v1, {}}};

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1,
                                       LinhaCurva(0, Coords(std::vector<ST_PontosCurva>{v0[0]})) +
                                           LinhaCurva(1, Coords(v1)))));
        EXPECT_EQ(r.iErro, 1);
        EXPECT_EQ(r.szKml.find("nan"), std::string::npos);
        EXPECT_EQ(r.szKml.find("inf"), std::string::npos);
    }
}

TEST(GuiasKml, ContagemQuePassaDaEntradaParaNoFimDela)
{
    // Version 2: 200 points claimed, 2 stored; the next entry is not read as points.
    {
        NvgBuilder b = Base();
        b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_CURVA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.1)};
        b.guias[0].pontosCurva = Pontos(2, 4.0f);
        b.guias[0].numeroPontosCurvaGravado = 200;

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        EXPECT_EQ(r.szKml, Guias(Pasta(b.guias[0].stGuia, 1, LinhaCurva(1, Coords(b.guias[0].pontosCurva))) +
                                 Pasta(b.guias[1].stGuia, 2, Reta(b.guias[1].stGuia, 2))));
        EXPECT_EQ(r.iErro, 1);
    }
    // Version 3: a curve's point count past the entry, then a curve count past it.
    {
        NvgBuilder b = Base();
        b.guias = {NovaGuia(3, D_ZAVORO_TIPO_GUIA_CURVA, 0.0), NovaGuia(3, D_ZAVORO_TIPO_GUIA_CURVA, 0.1),
                   NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.2)};
        b.guias[0].curvas = {Curva{Pontos(2, 1.0f), {}}, Curva{Pontos(3, 2.0f), std::uint16_t{60000}}};
        b.guias[1].curvas = {Curva{Pontos(2, 3.0f), {}}};
        b.guias[1].numeroPontosCurvaGravado = 5;

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        EXPECT_EQ(r.szKml,
                  Guias(Pasta(b.guias[0].stGuia, 1,
                              LinhaCurva(0, Coords(b.guias[0].curvas[0].pontos)) +
                                  LinhaCurva(1, Coords(b.guias[0].curvas[1].pontos))) +
                        Pasta(b.guias[1].stGuia, 2, LinhaCurva(0, Coords(b.guias[1].curvas[0].pontos))) +
                        Pasta(b.guias[2].stGuia, 3, Reta(b.guias[2].stGuia, 3))));
        EXPECT_EQ(r.iErro, 1);
    }
    // A count above 32767 is a count, not a negative number.
    {
        NvgBuilder b = Base();
        b.guias = {NovaGuia(3, D_ZAVORO_TIPO_GUIA_CURVA, 0.0)};
        b.guias[0].curvas = {Curva{Pontos(40000, 0.5f), {}}};

        const Resultado r = Passar(b);
        ASSERT_TRUE(r.bOk);
        EXPECT_EQ(r.szKml,
                  Guias(Pasta(b.guias[0].stGuia, 1, LinhaCurva(0, Coords(b.guias[0].curvas[0].pontos)))));
        EXPECT_EQ(r.iErro, 0);
    }
}

TEST(GuiasKml, FalhasInterrompemOMapa)
{
    NvgBuilder b = Base();
    b.guias = {NovaGuia(2, D_ZAVORO_TIPO_GUIA_RETA, 0.0), NovaGuia(2, D_ZAVORO_TIPO_GUIA_CURVA, 0.1)};
    b.guias[1].pontosCurva = Pontos(3, 1.0f);
    const std::string szPrimeira =
        "\n<Folder>\n<name>Guias</name>\n" + Pasta(b.guias[0].stGuia, 1, Reta(b.guias[0].stGuia, 1));

    // Unknown version of the second guide, or a record cut short inside its own entry: the walk refuses
    // the file before anything is written.
    NvgBuilder bVersao = b;
    bVersao.guias[1].versaoGravada = 4;
    Resultado r = Passar(bVersao);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml, "");

    NvgBuilder bRegistro = b;
    bRegistro.guias[1].bytesRegistroGravados = 30;
    r = Passar(bRegistro);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml, "");

    // The file ends in the middle of the second guide's curve: what was written stays.
    r = Passar(b, false, b.layout().posGuias[1] + 4 + 2 + sizeof(ST_Guia_v2) + sizeof(ST_PontosCurva) + 3);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml.rfind(szPrimeira, 0), 0u);
    EXPECT_EQ(r.szKml.find("</coordinates></LineString></Placemark></Folder>", szPrimeira.size()),
              std::string::npos);
}

TEST(LimitesKml, UmaPastaPorLimiteNumeradaPelaPosicao)
{
    NvgBuilder b = Base();
    b.limites = {NovoLimite(3.25f, 4, 1.0f), NovoLimite(12.5f, 5, -20.0f), NovoLimite(0.0f, 0, 0.0f)};
    b.limites[0].stLimite.ucSentidoLimite = 1;

    const Resultado r = Passar(b, true);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, "\n<Folder>\n<name>Limites</name>\n" +
                           PastaLimite(1, 3.25f, Coords(b.limites[0].pontos)) +
                           PastaLimite(2, 12.5f, Coords(b.limites[1].pontos)) + PastaLimite(3, 0.0f, "") +
                           "</Folder>");
    EXPECT_NE(r.szKml.find("<description>Limite 2: 12.500 ha</description>"), std::string::npos);
}

TEST(LimitesKml, ContagemQuePassaDaEntradaEVersaoDesconhecida)
{
    NvgBuilder b = Base();
    b.limites = {NovoLimite(1.0f, 3, 1.0f), NovoLimite(2.0f, 2, 5.0f)};
    b.limites[0].numeroPontosGravado = 9;

    Resultado r = Passar(b, true);
    ASSERT_TRUE(r.bOk);
    const std::string szCoords0 = Coords(b.limites[0].pontos);
    EXPECT_EQ(r.szKml, "\n<Folder>\n<name>Limites</name>\n" + PastaLimite(1, 1.0f, szCoords0) +
                           PastaLimite(2, 2.0f, Coords(b.limites[1].pontos)) + "</Folder>");

    b.limites[1].usVersao = 2;
    r = Passar(b, true);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml, "");
}
