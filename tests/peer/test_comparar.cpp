// GDAL's SQLite dialect (SpatiaLite's ST_Intersection, ST_Union, ST_Area in an equal-area CRS) judges
// `zavoro comparar`: over the coverage that `zavoro exportar` writes and the recommendation set, each
// zone's covered area, applied area and area-weighted applied value agree within 0.5 %.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/Comando.h"
#include "support/Csv.h"
#include "support/DiretorioTemporario.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
struct Figuras
{
    double dCoberta = NAN; // ha
    double dValor = NAN;   // area-weighted applied value
};

// Zone figures of the command's CSV, by record.
std::map<int, Figuras> FigurasComando(const fs::path& csv)
{
    std::map<int, Figuras> m;
    for (const auto& c : lerCsv(lerTexto(csv)).vLinhas)
        if (c.at("tipo") == "zona")
        {
            Figuras& f = m[std::stoi(c.at("id"))];
            f.dCoberta = std::stod(c.at("area_coberta_ha"));
            if (!c.at("aplicado_por_ha").empty())
                f.dValor = std::stod(c.at("aplicado_por_ha"));
        }
    return m;
}

// The same figures from SQL over the exported coverage and the zones, areas in EPSG:6933 (equal area
// on the WGS 84 ellipsoid). An intersection that also touches along a line is a collection, whose
// polygons alone have the area.
std::map<int, Figuras> FigurasSql(const fs::path& gpkg)
{
    const char* pcSql =
        "SELECT z.rowid + 0 AS zona, "
        "ST_Area(ST_Transform(CollectionExtract(ST_Intersection(ST_Union(c.geom), z.geom), 3), 6933)) / 10000 AS coberta, "
        "SUM(c.valor * ST_Area(ST_Transform(ST_Intersection(c.geom, z.geom), 6933))) / "
        "SUM(ST_Area(ST_Transform(ST_Intersection(c.geom, z.geom), 6933))) AS valor "
        "FROM zonas z, cobertura c WHERE ST_Intersects(c.geom, z.geom) GROUP BY z.rowid";
    const Resultado o = Shell("ogrinfo -ro -q -dialect sqlite -sql " + Aspas(pcSql) + " " + Aspas(gpkg.string()) + " 2>&1");
    EXPECT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("ERROR"), std::string::npos) << o.szSaida;
    std::map<int, Figuras> m;
    // The zone's rowid counts from 1 in file order, as the CSV's record.
    const std::regex re("zona \\(\\w+\\) = (\\d+)\\n\\s+coberta \\(Real\\) = (\\S+)\\n\\s+valor \\(Real\\) = (\\S+)");
    for (std::sregex_iterator it(o.szSaida.begin(), o.szSaida.end(), re), fim; it != fim; ++it)
        m[std::stoi((*it)[1])] = {std::stod((*it)[2]), std::stod((*it)[3])};
    EXPECT_FALSE(m.empty()) << o.szSaida.substr(0, 3000);
    return m;
}
} // namespace

TEST(CompararPeer, AreasCobertasEMediasPonderadasIguaisAsDoSql)
{
    DiretorioTemporario dir;
    for (const char* pc : {"recomendacao_pulverizacao.shp", "recomendacao_pulverizacao.shx", "recomendacao_pulverizacao.dbf",
                           "recomendacao_pulverizacao.prj", "pulverizacao_soja.nvg"})
        fs::copy_file(amostra(pc), dir / pc);
    const Resultado o = Executar("comparar --mapa " + Aspas((dir / "recomendacao_pulverizacao.shp").string()) + " --csv " +
                                 Aspas((dir / "comparacao.csv").string()) + " " + Aspas((dir / "pulverizacao_soja.nvg").string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    ASSERT_EQ(Executar("exportar " + Aspas((dir / "pulverizacao_soja.nvg").string())).iSaida, 0);
    const fs::path gpkg = dir / "pulverizacao_soja_Exportacao.gpkg";
    const Resultado a = Shell("ogr2ogr -append -nln zonas " + Aspas(gpkg.string()) + " " +
                              Aspas((dir / "recomendacao_pulverizacao.shp").string()) + " 2>&1");
    ASSERT_EQ(a.iSaida, 0) << a.szSaida;

    const std::map<int, Figuras> mComando = FigurasComando(dir / "comparacao.csv");
    const std::map<int, Figuras> mSql = FigurasSql(gpkg);
    ASSERT_FALSE(mComando.empty());
    for (const auto& [iZona, f] : mComando)
    {
        SCOPED_TRACE("zona " + std::to_string(iZona));
        const auto it = mSql.find(iZona);
        if (it == mSql.end())
        {
            EXPECT_EQ(f.dCoberta, 0.0) << "SQL finds no coverage in this zone";
            continue;
        }
        EXPECT_NEAR(f.dCoberta, it->second.dCoberta, it->second.dCoberta * 0.005);
        EXPECT_NEAR(f.dValor, it->second.dValor, it->second.dValor * 0.005);
    }
}

// The overlap lines of `zavoro mapa` against SQL over the shapefile set the same run wrote: the union
// of its polygons (made valid first, as the walk leaves spikes where a pass turns) in EPSG:6933. The
// jobs cover from a single strip to ground covered twice.
TEST(CompararPeer, AreaCobertaDasLinhasDeSobreposicaoIgualADoSql)
{
    DiretorioTemporario dir;
    const std::vector<std::string> vJobs = {"colheita", "plantio", "irrigacao", "pulverizacao_soja", "adubacao_taxa_variavel"};
    std::string szArquivos;
    for (const std::string& sz : vJobs)
    {
        fs::copy_file(amostra(sz + ".nvg"), dir / (sz + ".nvg"));
        szArquivos += " " + Aspas((dir / (sz + ".nvg")).string());
    }
    const Resultado o = Executar("mapa --cobertura" + szArquivos);
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    for (const std::string& sz : vJobs)
    {
        SCOPED_TRACE(sz);
        std::smatch m;
        const std::regex reLinha(sz + "\\.nvg: aplicada ([0-9]+),([0-9]+) ha, coberta ([0-9]+),([0-9]+) ha");
        ASSERT_TRUE(std::regex_search(o.szSaida, m, reLinha)) << o.szSaida.substr(o.szSaida.rfind("Sobreposição"));
        const double dAplicada = std::stod(m[1].str() + "." + m[2].str());
        const double dCoberta = std::stod(m[3].str() + "." + m[4].str());

        const std::string szSql = "SELECT ST_Area(ST_Transform(ST_Union(CollectionExtract(MakeValid(geometry), 3)), 6933)) / 10000 "
                                  "AS coberta FROM " + sz + "_Cobertura";
        const Resultado s = Shell("ogrinfo -ro -q -dialect sqlite -sql " + Aspas(szSql) + " " +
                                  Aspas((dir / (sz + "_Cobertura.shp")).string()) + " 2>&1");
        ASSERT_EQ(s.iSaida, 0) << s.szSaida;
        std::smatch mSql;
        const std::regex reSql("coberta \\(Real\\) = (\\S+)");
        ASSERT_TRUE(std::regex_search(s.szSaida, mSql, reSql)) << s.szSaida;
        const double dSql = std::stod(mSql[1].str());
        // The printed figure's rounding, and the engine's plane against the SQL's ellipsoid.
        EXPECT_NEAR(dCoberta, dSql, 0.005 + dSql * 0.002);
        EXPECT_LE(dCoberta, dAplicada + 0.01);
    }
}
