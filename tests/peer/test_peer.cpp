// Real readers judge our maps and the shapefile sets beside them. xmllint must find every KML
// well-formed and GDAL's ogrinfo open it without a warning, with the folders and features we wrote;
// ogrinfo must open every set as WGS 84 polygons with our two fields and as many features as the
// table announces, and shapelib's shpinfo and dbfdump must count the same records. Every coverage
// polygon must be valid for GEOS (through SpatiaLite in ogrinfo's SQLite dialect), survive a copy by
// GDAL's LIBKML driver, and, in a set, run clockwise as shapelib's shprewind wants outer rings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
int Contar(const std::string& szTexto, const std::string& szTrecho, std::size_t inicio = 0,
           std::size_t fim = std::string::npos)
{
    int n = 0;
    for (std::size_t p = szTexto.find(szTrecho, inicio); p != std::string::npos && p < fim; p = szTexto.find(szTrecho, p + 1))
        n++;
    return n;
}

// The first number the pattern captures, or -1.
long Numero(const std::string& szTexto, const std::string& szPadrao)
{
    std::smatch m;
    return std::regex_search(szTexto, m, std::regex(szPadrao)) ? std::stol(m[1]) : -1;
}

// Feature count ogrinfo reports for a layer, or -1 when the layer is missing.
long ContagemCamada(const std::string& szInfo, const std::string& szCamada)
{
    return Numero(szInfo, "Layer name: " + szCamada + "\\n(?:.*\\n)*?Feature Count: (\\d+)");
}

// ogrinfo's summary of a file, which must come without warnings or errors.
std::string Ogrinfo(const fs::path& caminho)
{
    const Resultado o = Shell("ogrinfo -ro -al -so " + Aspas(caminho.string()));
    EXPECT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("Warning"), std::string::npos) << o.szSaida.substr(0, 2000);
    EXPECT_EQ(o.szSaida.find("ERROR"), std::string::npos) << o.szSaida.substr(0, 2000);
    return o.szSaida;
}

// One number out of an SQL query in ogrinfo's SQLite dialect (SpatiaLite), or -1.
double Consulta(const fs::path& arquivo, const std::string& szSelect)
{
    const Resultado o = Shell("ogrinfo -ro -q -dialect sqlite -sql " + Aspas(szSelect) + " " + Aspas(arquivo.string()));
    std::smatch m;
    return std::regex_search(o.szSaida, m, std::regex(" n \\((?:Integer|Real)\\) = ([-0-9.e+]+)")) ? std::stod(m[1]) : -1.0;
}

long Invalidos(const fs::path& arquivo, const std::string& szCamada)
{
    return std::lround(Consulta(arquivo, "SELECT count(*) AS n FROM \"" + szCamada + "\" WHERE NOT ST_IsValid(GEOMETRY)"));
}

// Placemark polygons left after GDAL's LIBKML driver copies the "Mapa" layer; it drops those it finds invalid.
int PoligonosCopiaLibkml(const fs::path& kml)
{
    DiretorioTemporario dir;
    const fs::path copia = dir / "copia.kml";
    const Resultado r = Shell("ogr2ogr --config GDAL_SKIP KML -f LIBKML " + Aspas(copia.string()) + " " + Aspas(kml.string()) + " Mapa");
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    return Contar(lerTexto(copia), "<Polygon>");
}

void VerificarMapa(const fs::path& kml)
{
    SCOPED_TRACE(kml.string());
    const Resultado x = Shell("xmllint --noout " + Aspas(kml.string()));
    EXPECT_EQ(x.iSaida, 0) << x.szSaida;
    EXPECT_EQ(x.szSaida, "");

    const std::string szInfo = Ogrinfo(kml);
    const std::string szKml = lerTexto(kml);
    EXPECT_EQ(ContagemCamada(szInfo, "Mapa"), Contar(szKml, "<Polygon>"));
    EXPECT_EQ(Invalidos(kml, "Mapa"), 0);
    EXPECT_EQ(PoligonosCopiaLibkml(kml), Contar(szKml, "<Polygon>"));
    const std::size_t inicio = szKml.find("<name>Pontos Relevantes</name>");
    ASSERT_NE(inicio, std::string::npos);
    EXPECT_EQ(ContagemCamada(szInfo, "Pontos Relevantes"), Contar(szKml, "<Placemark>", inicio, szKml.find("</Folder>", inicio)));
    // A folder is a layer of its own only when the map has it.
    for (const char* pcPasta : {"Guias", "Limites"})
        EXPECT_EQ(ContagemCamada(szInfo, pcPasta) >= 0, szKml.find(std::string("<name>") + pcPasta + "</name>") != std::string::npos)
            << pcPasta;
}

// Records the table's header announces (bytes 4..7, little-endian).
long RegistrosDbf(const fs::path& dbf)
{
    const std::vector<std::uint8_t> v = lerArquivo(dbf);
    return v.size() < 8 ? -1 : static_cast<long>(v[4] | (v[5] << 8) | (v[6] << 16) | (static_cast<unsigned long>(v[7]) << 24));
}

void VerificarConjunto(const fs::path& shp)
{
    SCOPED_TRACE(shp.string());
    const fs::path dbf = fs::path(shp).replace_extension(".dbf");
    const long lRegistros = RegistrosDbf(dbf);
    ASSERT_GE(lRegistros, 0);
    const char* pcCampo = shp.stem().string().ends_with("_Velocidade") ? "VELOCIDADE" : "DOSES";

    const std::string szInfo = Ogrinfo(shp);
    EXPECT_EQ(Numero(szInfo, "Feature Count: (\\d+)"), lRegistros);
    for (const std::string& szTrecho : {std::string("Geometry: Polygon"), std::string("\nID: Real (9.2)"),
                                        "\n" + std::string(pcCampo) + ": Real (9.2)", std::string("WGS"), std::string("4326")})
        EXPECT_NE(szInfo.find(szTrecho), std::string::npos) << szTrecho << "\n" << szInfo;

    const Resultado s = Shell("shpinfo " + Aspas(shp.string()));
    EXPECT_EQ(s.iSaida, 0) << s.szSaida;
    EXPECT_EQ(Numero(s.szSaida, "Polygon\\(5\\), (\\d+) Records"), lRegistros) << s.szSaida;
    // dbfdump prints the field names, then one line per record.
    const Resultado d = Shell("dbfdump " + Aspas(dbf.string()));
    EXPECT_EQ(d.iSaida, 0) << d.szSaida;
    EXPECT_EQ(std::count(d.szSaida.begin(), d.szSaida.end(), '\n') - 1, lRegistros);
    EXPECT_NE(d.szSaida.find(pcCampo), std::string::npos);

    EXPECT_EQ(Invalidos(shp, shp.stem().string()), 0);
    DiretorioTemporario dir;
    const Resultado w = Shell("shprewind " + Aspas(fs::path(shp).replace_extension().string()) + " " + Aspas((dir / "r").string()));
    EXPECT_EQ(Numero(w.szSaida, "(\\d+) objects rewound"), 0) << w.szSaida;
}

// Both maps of every navigation file in the folder, then every KML and set there judged; returns
// how many of each were found.
std::pair<int, int> ConverterEVerificar(const fs::path& pasta)
{
    for (const char* pcTipo : {"--cobertura", "--velocidade"})
    {
        const Resultado r = Executar(std::string("mapa ") + pcTipo + " " + Aspas(pasta.string()));
        EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    }
    std::pair<int, int> n{0, 0};
    for (const auto& e : fs::directory_iterator(pasta))
    {
        if (e.path().extension() == ".kml")
        {
            VerificarMapa(e.path());
            n.first++;
        }
        else if (e.path().extension() == ".shp")
        {
            VerificarConjunto(e.path());
            n.second++;
        }
    }
    return n;
}
} // namespace

TEST(Peer, AmostrasAbremNosLeitoresReais)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    ASSERT_NE(pcAmostras, nullptr);
    DiretorioTemporario dir;
    int iArquivos = 0;
    for (const auto& e : fs::directory_iterator(pcAmostras))
        if (e.path().extension() == ".nvg")
        {
            fs::copy_file(e.path(), dir / e.path().filename().string());
            iArquivos++;
        }
    EXPECT_EQ(ConverterEVerificar(dir.caminho()), std::pair(2 * iArquivos, 2 * iArquivos));
}

TEST(Peer, NomesHostisEtapasMistasEConjuntoVazio)
{
    DiretorioTemporario dir;
    // Names that would break XML or CDATA if they were not escaped, and a marked guide.
    NvgBuilder hostil = NvgBuilder::tipico(9, 40);
    texto(hostil.stTalhao.szNomeTalhao, "Talhão <A> & \"B\" ]]>");
    texto(hostil.stCabecalho.szNomeEvento, "Evento & <x> ]]> ç");
    hostil.etapas[0].campo("szOperador", "Zé & <Cia>").campo("szCultura", "]]><![CDATA[");
    Guia guia;
    guia.stGuia.ucFlagPontoAMarcado = guia.stGuia.ucFlagPontoBMarcado = 1;
    guia.stGuia.dPontoALon = -51.93;
    guia.stGuia.dPontoALat = guia.stGuia.dPontoBLat = -24.05;
    guia.stGuia.dPontoBLon = -51.92;
    hostil.guias.push_back(guia);
    hostil.gravar(dir / "hostil.nvg");
    // The oldest container and event.
    NvgBuilder antigo = NvgBuilder::tipico(1, 30);
    antigo.uiVersaoArquivo = 1;
    antigo.gravar(dir / "v1.nvg");
    // Spraying with a gap in the sections, then harvest, then irrigation: split strips, unvalued
    // polygons and the long irrigation limit in one set.
    NvgBuilder misto = NvgBuilder::tipico(9, 120);
    for (std::size_t i = 40; i < 80; ++i)
        misto.etapas[0].pontos[i].usSecoes = 0b111000111;
    misto.etapas.push_back(etapaTipica(60, 120).operacao(D_ZAVORO_OPERACAO_COLHEITA));
    misto.etapas.push_back(etapaTipica(60, 180).operacao(D_ZAVORO_OPERACAO_IRRIGACAO));
    misto.gravar(dir / "mista.nvg");
    // No section ever on: a set without records.
    NvgBuilder vazio = NvgBuilder::tipico(9, 20);
    for (ST_PontoNVG_v2& st : vazio.etapas[0].pontos)
        st.usSecoes = 0;
    vazio.gravar(dir / "vazio.nvg");

    EXPECT_EQ(ConverterEVerificar(dir.caminho()), std::pair(8, 8));
    EXPECT_GT(RegistrosDbf(dir / "mista_Cobertura.dbf"), 0);
    EXPECT_EQ(RegistrosDbf(dir / "vazio_Cobertura.dbf"), 0);
}

TEST(Peer, ManobrasFechadasDaoPoligonosValidos)
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(9, 0);
    b.etapas[0] = etapaManobras(6 * 200);
    b.gravar(dir / "manobras.nvg");
    // A whole day's job, every manoeuvre many times over.
    b.etapas[0] = etapaManobras(100000, 500);
    b.gravar(dir / "grande.nvg");
    EXPECT_EQ(ConverterEVerificar(dir.caminho()), std::pair(4, 4));
    EXPECT_GT(RegistrosDbf(dir / "grande_Cobertura.dbf"), 1000);
}

// The union of the coverage set, in the UTM zone of the field, against the first "Área Aplicada" of the report.
TEST(Peer, UniaoDaCoberturaTemAAreaDoRelatorio)
{
    DiretorioTemporario dir;
    for (const auto& e : fs::directory_iterator(std::getenv("ZAVORO_SAMPLES")))
        if (e.path().extension() == ".nvg")
            fs::copy_file(e.path(), dir / e.path().filename().string());
    for (const char* pcComando : {"relatorio ", "mapa --cobertura "})
        ASSERT_EQ(Executar(pcComando + Aspas(dir.caminho().string())).iSaida, 0);
    int iAmostras = 0;
    for (const auto& e : fs::directory_iterator(dir.caminho()))
    {
        if (e.path().extension() != ".nvg")
            continue;
        const std::string szNome = e.path().stem().string();
        const std::vector<std::uint8_t> v = lerArquivo(dir / (szNome + ".txt"));
        std::smatch m;
        const std::string szRelatorio(v.begin(), v.end());
        ASSERT_TRUE(std::regex_search(szRelatorio, m, std::regex("\xC1rea Aplicada:\\t+([0-9]+),([0-9]+) ha"))) << szNome;
        const double dRelatorio = std::stod(m[1].str() + "." + m[2].str()) * 10000.0;

        const fs::path shp = dir / (szNome + "_Cobertura.shp");
        const std::string szCamada = "\"" + szNome + "_Cobertura\"";
        const double dLon = Consulta(shp, "SELECT ST_X(ST_Centroid(ST_Collect(GEOMETRY))) AS n FROM " + szCamada);
        const double dLat = Consulta(shp, "SELECT ST_Y(ST_Centroid(ST_Collect(GEOMETRY))) AS n FROM " + szCamada);
        const int iEpsg = (dLat < 0 ? 32701 : 32601) + static_cast<int>(std::floor((dLon + 180.0) / 6.0));
        const double dUniao = Consulta(shp, "SELECT ST_Area(ST_Transform(ST_Union(GEOMETRY), " + std::to_string(iEpsg) + ")) AS n FROM " + szCamada);
        std::printf("%s: relatório %.0f m², união da cobertura %.0f m² (%+.2f %%)\n", szNome.c_str(), dRelatorio, dUniao,
                    100.0 * (dUniao / dRelatorio - 1.0));
        EXPECT_NEAR(dUniao / dRelatorio, 1.0, 0.02) << szNome;
        iAmostras++;
    }
    EXPECT_GT(iAmostras, 0);
}
