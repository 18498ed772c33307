// Real KML readers judge our maps: xmllint must find every document well-formed, and GDAL's ogrinfo
// must open it without a warning and list the folders with the features we wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

namespace
{
std::string Ler(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int Contar(const std::string& szTexto, const std::string& szTrecho, std::size_t inicio = 0,
           std::size_t fim = std::string::npos)
{
    int n = 0;
    for (std::size_t p = szTexto.find(szTrecho, inicio); p != std::string::npos && p < fim;
         p = szTexto.find(szTrecho, p + 1))
        n++;
    return n;
}

// Feature count ogrinfo reports for a layer, or -1 when the layer is missing.
int ContagemCamada(const std::string& szInfo, const std::string& szCamada)
{
    std::smatch m;
    std::regex re("Layer name: " + szCamada + "\\n(?:.*\\n)*?Feature Count: (\\d+)");
    return std::regex_search(szInfo, m, re) ? std::stoi(m[1]) : -1;
}

void VerificarMapa(const std::filesystem::path& kml)
{
    SCOPED_TRACE(kml.string());
    Resultado x = Shell("xmllint --noout " + Aspas(kml.string()));
    EXPECT_EQ(x.iSaida, 0) << x.szSaida;
    EXPECT_EQ(x.szSaida, "");

    Resultado o = Shell("ogrinfo -ro -al -so " + Aspas(kml.string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("Warning"), std::string::npos) << o.szSaida.substr(0, 2000);
    EXPECT_EQ(o.szSaida.find("ERROR"), std::string::npos) << o.szSaida.substr(0, 2000);

    const std::string szKml = Ler(kml);
    EXPECT_EQ(ContagemCamada(o.szSaida, "Mapa"), Contar(szKml, "<Polygon>"));
    std::size_t inicio = szKml.find("<name>Pontos Relevantes</name>");
    ASSERT_NE(inicio, std::string::npos);
    std::size_t fim = szKml.find("</Folder>", inicio);
    EXPECT_EQ(ContagemCamada(o.szSaida, "Pontos Relevantes"), Contar(szKml, "<Placemark>", inicio, fim));
    for (const char* pcPasta : {"Guias", "Limites"})
    {
        // The folder is a layer of its own only when the map has it.
        bool bTem = szKml.find(std::string("<name>") + pcPasta + "</name>") != std::string::npos;
        EXPECT_EQ(ContagemCamada(o.szSaida, pcPasta) >= 0, bTem) << pcPasta;
    }
}
} // namespace

TEST(PeerKml, MapasDasAmostrasAbremNosLeitoresReais)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    ASSERT_NE(pcAmostras, nullptr);
    DiretorioTemporario dir;
    for (const auto& e : std::filesystem::directory_iterator(pcAmostras))
        if (e.path().extension() == ".nvg")
            std::filesystem::copy_file(e.path(), dir / e.path().filename().string());

    Resultado r = Executar("mapa --cobertura " + Aspas(dir.caminho().string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    r = Executar("mapa --velocidade " + Aspas(dir.caminho().string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.caminho()))
        if (e.path().extension() == ".kml")
        {
            VerificarMapa(e.path());
            n++;
        }
    EXPECT_EQ(n, 12);
}

TEST(PeerKml, NomesHostisNaoQuebramODocumento)
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(9, 40);
    texto(b.stTalhao.szNomeTalhao, "Talhão <A> & \"B\" ]]>");
    texto(b.stCabecalho.szNomeEvento, "Evento & <x> ]]> ç");
    b.etapas[0].campo("szOperador", "Zé & <Cia>").campo("szCultura", "]]><![CDATA[");
    Guia guia;
    guia.stGuia.ucFlagPontoAMarcado = 1;
    guia.stGuia.ucFlagPontoBMarcado = 1;
    guia.stGuia.dPontoALon = -51.93;
    guia.stGuia.dPontoALat = -24.05;
    guia.stGuia.dPontoBLon = -51.92;
    guia.stGuia.dPontoBLat = -24.05;
    b.guias.push_back(guia);
    b.gravar(dir / "hostil.nvg");
    NvgBuilder semNada = NvgBuilder::tipico(1, 30);
    semNada.uiVersaoArquivo = 1;
    semNada.gravar(dir / "v1.nvg");

    Resultado r = Executar("mapa " + Aspas((dir / "hostil.nvg").string()) + " " + Aspas((dir / "v1.nvg").string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    VerificarMapa(dir / "hostil_Cobertura.kml");
    VerificarMapa(dir / "v1_Cobertura.kml");
    // The event name round-trips through GDAL's reader as text.
    Resultado o = Shell("ogrinfo -ro -al " + Aspas((dir / "hostil_Cobertura.kml").string()) + " Mapa");
    EXPECT_EQ(o.iSaida, 0);
}
