// Coverage shapefile sets: the bytes of .shp, .shx and .dbf decoded here on their own (big- and
// little-endian fields read byte by byte), the cutting rules of the walk, and the replacement of an
// earlier set only by a complete one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Caixa = std::array<double, 4>; // x min, y min, x max, y max

// Fields are decoded byte by byte, in the order the format gives each one.
std::uint32_t Big32(const Bytes& v, std::size_t p)
{
    return (std::uint32_t{v.at(p)} << 24) | (std::uint32_t{v.at(p + 1)} << 16) | (std::uint32_t{v.at(p + 2)} << 8) |
           v.at(p + 3);
}
std::uint32_t Little(const Bytes& v, std::size_t p, int iBytes = 4)
{
    std::uint32_t ul = 0;
    for (int i = iBytes - 1; i >= 0; --i)
        ul = (ul << 8) | v.at(p + static_cast<std::size_t>(i));
    return ul;
}
double Double(const Bytes& v, std::size_t p)
{
    return std::bit_cast<double>(std::uint64_t{Little(v, p + 4)} << 32 | Little(v, p));
}
Caixa CaixaEm(const Bytes& v, std::size_t p)
{
    return {Double(v, p), Double(v, p + 8), Double(v, p + 16), Double(v, p + 24)};
}
void Estender(Caixa& c, const Caixa& d)
{
    c = {std::min(c[0], d[0]), std::min(c[1], d[1]), std::max(c[2], d[2]), std::max(c[3], d[3])};
}
constexpr Caixa kVazia{1e6, 1e6, -1e6, -1e6};

struct Registro
{
    Caixa stCaixa{};
    std::vector<std::pair<double, double>> vPontos; // (lon, lat), closing point included
    std::string szId, szValor;                      // the .dbf row's two fields
};

struct Conjunto
{
    Bytes shp, shx, dbf;
    Caixa stCaixa{};
    std::vector<Registro> vRegistros;
    std::string szCampoValor;
};

// Decodes a set and checks every rule that holds for any set we write; the test then looks at what
// it is about.
Conjunto Ler(const std::filesystem::path& kml)
{
    Conjunto c;
    for (auto [pv, pcExtensao] : {std::pair{&c.shp, ".shp"}, {&c.shx, ".shx"}, {&c.dbf, ".dbf"}})
        *pv = lerArquivo(std::filesystem::path(kml).replace_extension(pcExtensao));
    const Bytes prj = lerArquivo(std::filesystem::path(kml).replace_extension(".prj"));
    EXPECT_EQ(std::string(prj.begin(), prj.end()), D_SHPFILE_PRJ_WGS84);
    if (c.shp.size() < 100 || c.shx.size() < 100 || c.dbf.size() < 97)
    {
        ADD_FAILURE() << "set incomplete beside " << kml;
        return c;
    }
    for (const Bytes* pv : {&c.shp, &c.shx})
    {
        EXPECT_EQ(Big32(*pv, 0), 9994u);
        EXPECT_EQ(Big32(*pv, 24) * 2, pv->size());
        EXPECT_EQ(Little(*pv, 28), 1000u);
        EXPECT_EQ(Little(*pv, 32), 5u);
        EXPECT_EQ(CaixaEm(*pv, 36), CaixaEm(c.shp, 36));
    }
    c.stCaixa = CaixaEm(c.shp, 36);

    // dBASE III: header of 97 bytes with the fields ID and the value, both N 9.2; rows of 19 bytes.
    const Bytes& d = c.dbf;
    const std::uint32_t uiLinhas = Little(d, 4);
    EXPECT_EQ(d[0], 3);
    EXPECT_EQ(Little(d, 8, 2), 97u);
    EXPECT_EQ(Little(d, 10, 2), 19u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + 32), 11), std::string("ID\0\0\0\0\0\0\0\0\0", 11));
    c.szCampoValor = reinterpret_cast<const char*>(d.data() + 64);
    for (std::size_t f : {32u, 64u})
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data() + f + 11), 7), std::string("N\0\0\0\0\x09\x02", 7));
    EXPECT_EQ(d[96], 0x0D);
    EXPECT_EQ(d.size(), 97 + 19 * std::size_t{uiLinhas} + 1);
    EXPECT_EQ(d.back(), 0x1A);

    // Records against the index and the table: a single closed ring with its own box.
    EXPECT_EQ(c.shx.size(), 100 + 8 * std::size_t{uiLinhas});
    std::size_t p = 100;
    Caixa stUniao = kVazia;
    for (std::uint32_t i = 0; i < uiLinhas && p + 56 <= c.shp.size(); ++i)
    {
        SCOPED_TRACE("record " + std::to_string(i + 1));
        Registro r;
        const std::uint32_t uiPalavras = Big32(c.shp, p + 4);
        const std::uint32_t uiPontos = Little(c.shp, p + 48);
        EXPECT_EQ(Big32(c.shp, p), i + 1);
        EXPECT_EQ(Big32(c.shx, 100 + 8 * i), p / 2);
        EXPECT_EQ(Big32(c.shx, 104 + 8 * i), uiPalavras);
        EXPECT_EQ(Little(c.shp, p + 8), 5u);
        EXPECT_EQ(Little(c.shp, p + 44), 1u);
        EXPECT_EQ(Little(c.shp, p + 52), 0u);
        EXPECT_GE(uiPontos, 5u);
        EXPECT_EQ(uiPalavras, 8 * ((uiPontos - 1) + 4)); // 44 + 4 bytes, then 16 per point
        Caixa stPropria = kVazia;
        for (std::uint32_t k = 0; k < uiPontos; ++k)
        {
            const double x = Double(c.shp, p + 56 + 16 * k), y = Double(c.shp, p + 64 + 16 * k);
            r.vPontos.emplace_back(x, y);
            Estender(stPropria, {x, y, x, y});
        }
        EXPECT_EQ(r.vPontos.front(), r.vPontos.back());
        r.stCaixa = CaixaEm(c.shp, p + 12);
        EXPECT_EQ(r.stCaixa, stPropria);
        Estender(stUniao, stPropria);
        const char* pcLinha = reinterpret_cast<const char*>(d.data() + 97 + 19 * i);
        EXPECT_EQ(pcLinha[0], ' ');
        r.szId.assign(pcLinha + 1, 9);
        r.szValor.assign(pcLinha + 10, 9);
        p += 8 + 2 * std::size_t{uiPalavras};
        c.vRegistros.push_back(std::move(r));
    }
    EXPECT_EQ(p, c.shp.size());
    EXPECT_EQ(stUniao, c.stCaixa); // an empty set keeps the empty box
    return c;
}

// Writes the set of the builder's file beside dir/mapa.kml through the writer alone.
BOOL Gerar(const DiretorioTemporario& dir, const NvgBuilder& b, int iTipoMapa, std::string* pszErro = nullptr)
{
    const Layout stLayout = b.gravar(dir / "entrada.nvg");
    std::FILE* pf = std::fopen((dir / "entrada.nvg").c_str(), "rb");
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

std::vector<std::string> Valores(const Conjunto& c)
{
    std::vector<std::string> v;
    for (const Registro& r : c.vRegistros)
        v.push_back(r.szValor);
    return v;
}

} // namespace

TEST(ShpEscrita, TrechoConstanteCortadoACada40Metros)
{
    // 25 points 4.17 m apart: 100 m of track. A record is cut once 40 m are reached, i.e. after ten
    // steps (41.7 m; nine are 37.5 m), and the next one starts at the cutting point.
    DiretorioTemporario dir;
    const NvgBuilder b = Taxas(std::vector<int>(25, 150));
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    const Conjunto c = Ler(dir / "mapa.kml");
    ASSERT_EQ(c.vRegistros.size(), 3u);
    EXPECT_EQ(c.szCampoValor, "DOSES");
    const std::size_t vPontos[] = {11, 11, 5}; // track points per record: 0..10, 10..20, 20..24
    for (std::size_t i = 0; i < 3; ++i)
    {
        const Registro& r = c.vRegistros[i];
        EXPECT_EQ(r.vPontos.size(), 2 * vPontos[i] + 1);
        EXPECT_EQ(r.szId, std::string(5, ' ') + std::to_string(i + 1) + ".00");
        EXPECT_EQ(r.szValor, "   150.00");
    }
    // Consecutive records share the cutting point: no gap between the strips.
    // The ring runs along one edge of points 0..N-1 and back along the other, so the cutting point's
    // two vertices sit at N-1 and N in the record it ends and at 0 and 2N-1 in the one it starts.
    for (std::size_t i = 0; i < 2; ++i)
    {
        const Registro& r = c.vRegistros[i];
        const Registro& s = c.vRegistros[i + 1];
        const std::size_t n = vPontos[i], m = vPontos[i + 1];
        EXPECT_EQ(r.vPontos[n - 1], s.vPontos[0]);
        EXPECT_EQ(r.vPontos[n], s.vPontos[2 * m - 1]);
    }
}

TEST(ShpEscrita, MediaECortesPelaTaxa)
{
    struct Caso
    {
        std::vector<int> vTaxas;
        std::vector<std::string> vEsperado;
        std::vector<std::size_t> vVertices; // per record; empty: not looked at
    };
    // Jumps above 5 % or 50 units cut. Before a cut the closing point does not enter the mean; after
    // it, the new record opens on the new value (points 0..3, the closing point included, and 3..5).
    // Without a cut the mean is truncated at every step: 100, 100, 100, 101, 101, 101.
    // A zero rate closes points 0..3; the zero-valued records 3..4 are not written; the rate coming
    // back cuts 4..5, which takes the new rate as its mean, and 5..7 ends the pass.
    const Caso vCasos[] = {
        {{100, 100, 100, 104, 104, 104}, {"   101.00"}, {}},
        {{100, 100, 100, 106, 106, 106}, {"   100.00", "   106.00"}, {9, 7}},
        {{2000, 2000, 2000, 2040, 2040, 2040}, {"  2020.00"}, {}}, // 2000, 2000, 2000, 2010, 2016, 2020
        {{2000, 2000, 2000, 2060, 2060, 2060}, {"  2000.00", "  2060.00"}, {9, 7}},
        {{100, 100, 100, 94, 94, 94}, {"   100.00", "    94.00"}, {9, 7}},
        {{150, 150, 150, 0, 0, 150, 150, 150}, {"   150.00", "   150.00", "   150.00"}, {9, 5, 7}},
    };
    for (const Caso& caso : vCasos)
    {
        SCOPED_TRACE(caso.vEsperado.back());
        DiretorioTemporario dir;
        ASSERT_TRUE(Gerar(dir, Taxas(caso.vTaxas), D_CONVERSOR_TIPO_MAPA_COBERTURA));
        const Conjunto c = Ler(dir / "mapa.kml");
        EXPECT_EQ(Valores(c), caso.vEsperado);
        for (std::size_t i = 0; i < caso.vVertices.size() && i < c.vRegistros.size(); ++i)
            EXPECT_EQ(c.vRegistros[i].vPontos.size(), caso.vVertices[i]) << i;
    }

    // No section ever on: the headers alone, with the empty box.
    DiretorioTemporario dir;
    NvgBuilder b = Taxas(std::vector<int>(10, 150));
    for (ST_PontoNVG_v2& st : b.etapas[0].pontos)
        st.usSecoes = 0;
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_TRUE(Ler(dir / "mapa.kml").vRegistros.empty());
}

TEST(ShpEscrita, OperacoesSemTaxaEIrrigacao)
{
    DiretorioTemporario dir;
    NvgBuilder b = Taxas(std::vector<int>(25, 150));
    Etapa stPulverizacao = b.etapas[0];
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_COLHEITA);
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_EQ(Valores(Ler(dir / "mapa.kml")), std::vector<std::string>(3, "     0.00"));
    // The speed map gives harvest its speeds, in a field of its own name.
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_VELOCIDADE));
    const Conjunto c = Ler(dir / "mapa.kml");
    EXPECT_EQ(c.szCampoValor, "VELOCIDADE");
    EXPECT_EQ(Valores(c), std::vector<std::string>(3, "    15.00"));

    // A spraying pass of 100 m alone gives three records; after an irrigation stage the limit runs to
    // the end of the file, so it gives one, and so does the irrigation stage itself.
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_IRRIGACAO);
    b.etapas.push_back(stPulverizacao);
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    EXPECT_EQ(Valores(Ler(dir / "mapa.kml")), (std::vector<std::string>{"     0.00", "   150.00"}));
}

TEST(ShpEscrita, SecoesSeparadasDaoUmRegistroPorFaixa)
{
    // Sections 1 and 3 of three on: two strips per polygon, each a record with the polygon's mean,
    // and the set's box spans both.
    DiretorioTemporario dir;
    NvgBuilder b = Taxas(std::vector<int>(5, 150));
    b.etapas[0].campo("ucNumeroSecoes", 3);
    for (ST_PontoNVG_v2& st : b.etapas[0].pontos)
        st.usSecoes = 0b101;
    ASSERT_TRUE(Gerar(dir, b, D_CONVERSOR_TIPO_MAPA_COBERTURA));
    const Conjunto c = Ler(dir / "mapa.kml");
    ASSERT_EQ(c.vRegistros.size(), 2u);
    EXPECT_EQ(Valores(c), (std::vector<std::string>{"   150.00", "   150.00"}));
    const Caixa& a = c.vRegistros[0].stCaixa;
    const Caixa& d = c.vRegistros[1].stCaixa;
    // The strips lie side by side across the track (north-south), 3 m apart.
    EXPECT_TRUE(a[3] < d[1] || d[3] < a[1]);
    EXPECT_EQ(c.stCaixa[1], std::min(a[1], d[1]));
    EXPECT_EQ(c.stCaixa[3], std::max(a[3], d[3]));
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

TEST(ShpEscrita, OMapaFalhaComOConjunto)
{
    // A folder where the table should go: neither the KML nor any file of the set is written.
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 30).gravar(dir / "a.nvg");
    std::filesystem::create_directory(dir / "a_Cobertura.dbf");
    const ST_ParametrosMapa stParametros;
    std::string szErro;
    ST_ArquivosShp stArquivos;
    EXPECT_FALSE(conversor_CriarMapaNavegacao((dir / "a.nvg").c_str(), (dir / "a_Cobertura.kml").c_str(),
                                              D_CONVERSOR_TIPO_MAPA_COBERTURA, &stParametros, nullptr, &szErro,
                                              &stArquivos));
    EXPECT_FALSE(szErro.empty());
    EXPECT_TRUE(stArquivos.szShp.empty());
    EXPECT_EQ(Pasta(dir), (std::map<std::string, Bytes>{{"a_Cobertura.dbf", {}}}));
}
