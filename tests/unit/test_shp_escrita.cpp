// Coverage shapefile sets: the bytes of .shp, .shx, .dbf and .prj of each kind of walk against data
// files, and the replacement of an earlier set only by a complete one.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
using Bytes = std::vector<std::uint8_t>;

// The four files beside kml, sixteen bytes a line in hex and printable text; the .dbf's date (bytes
// 1 to 3) is masked since it is the day of the run.
std::string Despejo(const std::filesystem::path& kml)
{
    std::string sz;
    for (const char* pcExtensao : {".shp", ".shx", ".dbf", ".prj"})
    {
        Bytes v = lerArquivo(std::filesystem::path(kml).replace_extension(pcExtensao));
        if (std::string(pcExtensao) == ".dbf" && v.size() > 3)
            v[1] = v[2] = v[3] = 0;
        sz += std::string(pcExtensao) + " " + std::to_string(v.size()) + "\n";
        for (std::size_t i = 0; i < v.size(); i += 16)
        {
            char szByte[8];
            std::string szTexto;
            for (std::size_t k = i; k < i + 16 && k < v.size(); ++k)
            {
                std::snprintf(szByte, sizeof szByte, "%02x ", v[k]);
                sz += szByte;
                szTexto += v[k] >= 0x20 && v[k] < 0x7F ? static_cast<char>(v[k]) : '.';
            }
            sz += std::string(3 * (16 - szTexto.size()), ' ') + szTexto + "\n";
        }
    }
    return sz;
}

// Writes the set of the builder's file beside dir/mapa.kml through the writer alone.
BOOL Gerar(const DiretorioTemporario& dir, const NvgBuilder& b, int iTipoMapa, std::string* pszErro = nullptr)
{
    const Layout stLayout = b.gravar(dir / "entrada.nvg");
    std::FILE* pf = std::fopen((dir / "entrada.nvg").string().c_str(), "rb");
    std::fseek(pf, static_cast<long>(stLayout.posCabecalhoEvento + sizeof(ST_EventoCabecalho)), SEEK_SET);
    const BOOL b0 = shpFile_GerarArquivosShp(pf, (dir / "mapa.kml").string(), b.usVersaoEvento,
                                             static_cast<unsigned int>(b.etapas.size()), iTipoMapa,
                                             b.stTalhao.dZeroRelativoLon, b.stTalhao.dZeroRelativoLat, nullptr, pszErro);
    std::fclose(pf);
    return b0;
}

// Typical points (4.17 m apart, 150 L/ha, 15 km/h) with the spraying rate of each point in L/ha.
NvgBuilder Taxas(const std::vector<int>& vTaxas)
{
    NvgBuilder b = NvgBuilder::tipico(9, 0);
    for (std::size_t i = 0; i < vTaxas.size(); ++i)
    {
        ST_PontoNVG_v2 st = pontoTipico(static_cast<std::uint32_t>(i));
        st.usTaxaLida[0] = static_cast<std::uint16_t>(vTaxas[i] * 10);
        b.etapas[0].pontos.push_back(st);
    }
    return b;
}

// Every entry of the folder but the navigation files, with the bytes of each file.
std::map<std::string, Bytes> Pasta(const DiretorioTemporario& dir)
{
    std::map<std::string, Bytes> m;
    for (const auto& e : std::filesystem::directory_iterator(dir.caminho()))
        if (e.path().extension() != ".nvg")
            m[e.path().filename().string()] = e.is_regular_file() ? lerArquivo(e.path()) : Bytes{};
    return m;
}

} // namespace

// One set per walk, all in one data file. What to look for there: 100 m of constant track is cut every
// 40 m (after ten steps of 4.17 m) into records of 23, 23 and 11 points that share the cutting point.
// A rate jump above 5 % or 50 units cuts, and the closing point stays out of the mean before the cut;
// without a cut the mean is truncated at every step. A zero rate closes the record and zero-valued
// records are not written. No section on: the headers alone with the empty box. Harvest has no rate
// but its speed in a VELOCIDADE field; after an irrigation stage the 40 m limit runs to the end of the
// file. Sections 1 and 3 of three: two strips side by side with the polygon's mean.
TEST(ShpEscrita, ConjuntosGravados)
{
    struct Caso
    {
        const char* pcNome;
        NvgBuilder b;
        int iTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
    };
    std::vector<Caso> vCasos = {
        {"constante", Taxas(std::vector<int>(25, 150))},
        {"abaixo de 5 %", Taxas({100, 100, 100, 104, 104, 104})},
        {"acima de 5 %", Taxas({100, 100, 100, 106, 106, 106})},
        {"abaixo de 50", Taxas({2000, 2000, 2000, 2040, 2040, 2040})},
        {"acima de 50", Taxas({2000, 2000, 2000, 2060, 2060, 2060})},
        {"queda", Taxas({100, 100, 100, 94, 94, 94})},
        {"zero", Taxas({150, 150, 150, 0, 0, 150, 150, 150})},
        {"sem secoes", Taxas(std::vector<int>(10, 150))},
        {"colheita", Taxas(std::vector<int>(25, 150))},
        {"velocidade", Taxas(std::vector<int>(25, 150)), D_CONVERSOR_TIPO_MAPA_VELOCIDADE},
        {"irrigacao", Taxas(std::vector<int>(25, 150))},
        {"secoes separadas", Taxas(std::vector<int>(5, 150))},
    };
    for (ST_PontoNVG_v2& st : vCasos[7].b.etapas[0].pontos)
        st.usSecoes = 0;
    vCasos[8].b.etapas[0].operacao(D_ZAVORO_OPERACAO_COLHEITA);
    vCasos[9].b.etapas[0].operacao(D_ZAVORO_OPERACAO_COLHEITA);
    vCasos[10].b.etapas.push_back(vCasos[10].b.etapas[0]);
    vCasos[10].b.etapas[0].operacao(D_ZAVORO_OPERACAO_IRRIGACAO);
    vCasos[11].b.etapas[0].campo("ucNumeroSecoes", 3);
    for (ST_PontoNVG_v2& st : vCasos[11].b.etapas[0].pontos)
        st.usSecoes = 0b101;

    std::string szObtido;
    for (const Caso& caso : vCasos)
    {
        DiretorioTemporario dir;
        EXPECT_TRUE(Gerar(dir, caso.b, caso.iTipoMapa)) << caso.pcNome;
        szObtido += std::string("== ") + caso.pcNome + "\n" + Despejo(dir / "mapa.kml");
    }
    EXPECT_TRUE(CompararComDados("shp/conjuntos_cobertura.txt", szObtido));
}
TEST(ShpEscrita, FalhaNaoDeixaNadaENaoTocaOConjuntoAnterior)
{
    DiretorioTemporario dir;
    ASSERT_TRUE(Gerar(dir, Taxas(std::vector<int>(25, 150)), D_CONVERSOR_TIPO_MAPA_COBERTURA));
    const std::map<std::string, Bytes> antes = Pasta(dir);
    ASSERT_EQ(antes.size(), 4u);

    // A stage that announces more points than the file holds.
    NvgBuilder b = Taxas(std::vector<int>(12, 150));
    b.etapas[0].numeroPontosGravado = 40;
    std::string szErro;
    EXPECT_FALSE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA, &szErro));
    EXPECT_FALSE(szErro.empty());
    EXPECT_EQ(Pasta(dir), antes);
}
