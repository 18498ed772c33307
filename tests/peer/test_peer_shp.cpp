// Real shapefile readers judge the coverage sets beside our maps: GDAL's ogrinfo must open each one
// without a warning, as WGS 84 polygons with our two fields and as many features as the table
// announces, and shapelib's shpinfo and dbfdump must count the same records.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

namespace
{
long Numero(const std::string& szTexto, const std::string& szPadrao)
{
    std::smatch m;
    return std::regex_search(szTexto, m, std::regex(szPadrao)) ? std::stol(m[1]) : -1;
}

// Records the table's header announces (bytes 4..7, little-endian).
long RegistrosDbf(const std::filesystem::path& dbf)
{
    const std::vector<std::uint8_t> v = lerArquivo(dbf);
    if (v.size() < 8)
        return -1;
    return static_cast<long>(v[4] | (v[5] << 8) | (v[6] << 16) | (static_cast<unsigned long>(v[7]) << 24));
}

void VerificarConjunto(const std::filesystem::path& shp, bool bVelocidade)
{
    SCOPED_TRACE(shp.string());
    std::filesystem::path dbf = shp;
    dbf.replace_extension(".dbf");
    const long lRegistros = RegistrosDbf(dbf);
    ASSERT_GE(lRegistros, 0);

    const Resultado o = Shell("ogrinfo -ro -al -so " + Aspas(shp.string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("Warning"), std::string::npos) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("ERROR"), std::string::npos) << o.szSaida;
    EXPECT_EQ(Numero(o.szSaida, "Feature Count: (\\d+)"), lRegistros);
    EXPECT_NE(o.szSaida.find("Geometry: Polygon"), std::string::npos) << o.szSaida;
    EXPECT_NE(o.szSaida.find("\nID: Real (9.2)"), std::string::npos) << o.szSaida;
    EXPECT_NE(o.szSaida.find(bVelocidade ? "\nVELOCIDADE: Real (9.2)" : "\nDOSES: Real (9.2)"), std::string::npos)
        << o.szSaida;
    EXPECT_NE(o.szSaida.find("WGS"), std::string::npos) << o.szSaida;
    EXPECT_NE(o.szSaida.find("4326"), std::string::npos) << o.szSaida;

    const Resultado s = Shell("shpinfo " + Aspas(shp.string()));
    EXPECT_EQ(s.iSaida, 0) << s.szSaida;
    EXPECT_EQ(Numero(s.szSaida, "Polygon\\(5\\), (\\d+) Records"), lRegistros) << s.szSaida;

    // dbfdump prints the field names, then one line per record.
    const Resultado d = Shell("dbfdump " + Aspas(dbf.string()));
    EXPECT_EQ(d.iSaida, 0) << d.szSaida;
    EXPECT_EQ(static_cast<long>(std::count(d.szSaida.begin(), d.szSaida.end(), '\n')) - 1, lRegistros);
    EXPECT_NE(d.szSaida.find(bVelocidade ? "VELOCIDADE" : "DOSES"), std::string::npos);
}

int VerificarPasta(const std::filesystem::path& pasta)
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        if (e.path().extension() == ".shp")
        {
            VerificarConjunto(e.path(), e.path().stem().string().ends_with("_Velocidade"));
            n++;
        }
    return n;
}
} // namespace

TEST(PeerShp, ConjuntosDasAmostrasAbremNosLeitoresReais)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    ASSERT_NE(pcAmostras, nullptr);
    DiretorioTemporario dir;
    int iArquivos = 0;
    for (const auto& e : std::filesystem::directory_iterator(pcAmostras))
        if (e.path().extension() == ".nvg")
        {
            std::filesystem::copy_file(e.path(), dir / e.path().filename().string());
            iArquivos++;
        }
    Resultado r = Executar("mapa --cobertura " + Aspas(dir.caminho().string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    r = Executar("mapa --velocidade " + Aspas(dir.caminho().string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_EQ(VerificarPasta(dir.caminho()), 2 * iArquivos);
}

TEST(PeerShp, EtapasMistasEConjuntoVazio)
{
    DiretorioTemporario dir;
    // Spraying with a gap in the sections, then harvest, then irrigation: split strips, unvalued
    // polygons and the long irrigation limit in one set.
    NvgBuilder b = NvgBuilder::tipico(9, 120);
    for (std::size_t i = 40; i < 80; ++i)
        b.etapas[0].pontos[i].usSecoes = 0b111000111;
    Etapa colheita = etapaTipica(60, 120);
    colheita.operacao(D_ZAVORO_OPERACAO_COLHEITA);
    Etapa irrigacao = etapaTipica(60, 180);
    irrigacao.operacao(D_ZAVORO_OPERACAO_IRRIGACAO);
    b.etapas.push_back(colheita);
    b.etapas.push_back(irrigacao);
    b.gravar(dir / "mista.nvg");
    // No section ever on: a set without records.
    NvgBuilder vazio = NvgBuilder::tipico(9, 20);
    for (ST_PontoNVG_v2& st : vazio.etapas[0].pontos)
        st.usSecoes = 0;
    vazio.gravar(dir / "vazio.nvg");

    for (const char* pcTipo : {"--cobertura", "--velocidade"})
    {
        Resultado r = Executar(std::string("mapa ") + pcTipo + " " + Aspas((dir / "mista.nvg").string()) + " " +
                               Aspas((dir / "vazio.nvg").string()));
        ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    }
    EXPECT_EQ(VerificarPasta(dir.caminho()), 4);
    EXPECT_GT(RegistrosDbf(dir / "mista_Cobertura.dbf"), 0);
    EXPECT_EQ(RegistrosDbf(dir / "vazio_Cobertura.dbf"), 0);
}
