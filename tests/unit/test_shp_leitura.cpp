// Reading recommendation sets for the viewer: numeric texts, field list, the check before drawing,
// polygon count, legend rows and the value of each polygon, over sound and damaged files.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/ShpBuilder.h"
#include "zavoro/shapeFile.h"

using namespace zavoro_teste;

namespace
{
// Squares with a zone name and a dose (field 1), one a row.
ShpBuilder Recomendacao(const std::vector<std::string>& vDoses)
{
    ShpBuilder b;
    b.campos = {{"ZONA", 'C', 10, 0}, {"DOSE", 'N', 9, 2}};
    for (std::size_t i = 0; i < vDoses.size(); i++)
    {
        const double x = -51.93 + 0.001 * static_cast<double>(i);
        b.adicionar(ShpBuilder::retangulo(x, -24.05, x + 0.001, -24.049), {"Z" + std::to_string(i), vDoses[i]});
    }
    return b;
}

void SemFim(ShpBuilder& b, std::size_t bytesCortados)
{
    b.bMarcadorFimDbf = false;
    b.corrupcao.truncarDbf = bytesCortados;
}

class ShpLeitura : public ::testing::Test
{
protected:
    DiretorioTemporario dir;

    ST_ShpMapa Gravar(const ShpBuilder& b, std::uint32_t uiParam = 1)
    {
        b.gravar(dir / "rec");
        ST_ShpMapa st;
        st.szNomeArqMapaShp = (dir / "rec.shp").string();
        st.szNomeArqMapaDbf = (dir / "rec.dbf").string();
        st.uiParamSelecionado = uiParam;
        return st;
    }
};
} // namespace

TEST(ShpNumeroTexto, UmaCasaDecimalEspacosESeparadores)
{
    const std::pair<std::string, std::uint64_t> validos[] = {
        {"   150.75", 1507}, {"150", 1500}, {"1 5", 150}, {"1.234,5", 12}, {"12,", 120}, {"        ", 0},
        {"1.2abc", 12}, // the scan stopped before the letters
    };
    for (const auto& [sz, ulEsperado] : validos)
    {
        std::uint64_t ul = 12345;
        EXPECT_TRUE(shpFile_LerNumeroTexto(reinterpret_cast<const std::uint8_t*>(sz.data()), sz.size(), &ul)) << sz;
        EXPECT_EQ(ul, ulEsperado) << sz;
    }
    for (const std::string& sz : std::vector<std::string>{"-150", "+1", "1e5", "*********", std::string("15\0", 3)})
    {
        std::uint64_t ul = 12345;
        EXPECT_FALSE(shpFile_LerNumeroTexto(reinterpret_cast<const std::uint8_t*>(sz.data()), sz.size(), &ul)) << sz;
    }
    // 255 digits would wrap any integer; the value must stay huge so it is refused as too large.
    const std::string szLongo(255, '9');
    std::uint64_t ul = 0;
    shpFile_LerNumeroTexto(reinterpret_cast<const std::uint8_t*>(szLongo.data()), szLongo.size(), &ul);
    EXPECT_GT(ul, 100000000u);
}

TEST(ShpCaminhoDbf, TrocaSoAExtensaoDoNomeDoArquivo)
{
    EXPECT_EQ(shpFile_CaminhoDbf("/dados/MAPA.SHP"), "/dados/MAPA.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("/dados.shp/mapa.Shp"), "/dados.shp/mapa.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("/safra.v2/mapa"), "/safra.v2/mapa.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("mapa.shp.shp"), "mapa.shp.dbf");
}

TEST_F(ShpLeitura, ListaOsCamposEmOrdem)
{
    ShpBuilder b = Recomendacao({"150.00"});
    b.campos.push_back({"NOMELONGO1", 'N', 5, 0});
    b.linhas[0].valores.push_back("7");
    ST_ShpMapa st = Gravar(b);
    std::vector<std::string> v{"antigo"};
    EXPECT_TRUE(shpFile_ListarParametrosMapaEntrada(&st, &v));
    EXPECT_EQ(v, (std::vector<std::string>{"ZONA", "DOSE", "NOMELONGO1"}));
    // A missing table is reported by the drawing; the list is left alone.
    st.szNomeArqMapaDbf = (dir / "nao_existe.dbf").string();
    EXPECT_TRUE(shpFile_ListarParametrosMapaEntrada(&st, &v));
    EXPECT_EQ(v.size(), 3u);

    b.corrupcao.bSemTerminadorDescritores = true;
    b.bMarcadorFimDbf = false;
    st = Gravar(b);
    EXPECT_FALSE(shpFile_ListarParametrosMapaEntrada(&st, &v));
}

// One set per row, judged by the check before drawing.
TEST_F(ShpLeitura, ChecagemAntesDoDesenho)
{
    const std::tuple<const char*, std::vector<std::string>, std::function<void(ShpBuilder&)>, std::uint32_t, BOOL>
        casos[] = {
        // One record of 20 bytes: less than a descriptor's worth follows the terminator.
        {"um registro", {"150.75"}, nullptr, 1, TRUE},
        {"três registros", {"150.75", "120", "10000000"}, nullptr, 1, TRUE},
        {"campo de texto", {"150"}, nullptr, 0, FALSE},
        {"campo que não existe", {"150"}, nullptr, 2, FALSE},
        {"valor negativo", {"150", "-120"}, nullptr, 1, FALSE},
        {"valor alto demais", {"150", "10000001"}, nullptr, 1, FALSE},
        {"apagado não é lido", {"150", "120"}, [](ShpBuilder& b) { b.linhas[1] = {{"Z1", "-abc"}, true}; }, 1, TRUE},
        {"sem terminador", {}, [](ShpBuilder& b) { b.corrupcao.bSemTerminadorDescritores = true; }, 1, FALSE},
        {"linha a mais que polígonos", {"1", "2"},
         [](ShpBuilder& b) { b.corrupcao.numRegistrosDbf = 3, b.linhas.push_back({{"Z3", "140"}, false}); }, 1, FALSE},
        // A count far beyond the file ends with the bytes, not after four billion turns.
        {"contagem enorme", {"1", "2"}, [](ShpBuilder& b) { b.corrupcao.numRegistrosDbf = 0xFFFFFFFF; }, 1, FALSE},
        // Without its end marker: the last two records missing still match the .shp's count (the
        // header's count is not the table's length), but half a record, or any single byte other than
        // 0x1A, is no end of file.
        {"sem marcador de fim", {"1", "2"}, [](ShpBuilder& b) { b.bMarcadorFimDbf = false; }, 1, TRUE},
        {"dois registros a menos", {"1", "2", "3"}, [](ShpBuilder& b) { SemFim(b, 40); }, 1, TRUE},
        {"meio registro", {"1", "2"}, [](ShpBuilder& b) { SemFim(b, 10); }, 1, FALSE},
        {"byte solto", {"1", "2"}, [](ShpBuilder& b) { SemFim(b, 19); }, 1, FALSE},
        {"registro curto demais para o campo", {"1"}, [](ShpBuilder& b) { b.corrupcao.tamanhoRegistroDbf = 15; }, 1,
         FALSE},
        {"registro vazio", {"1"}, [](ShpBuilder& b) { b.corrupcao.tamanhoRegistroDbf = 0; }, 1, FALSE},
    };
    for (const auto& [pcNome, vDoses, fn, uiParam, bEsperado] : casos)
    {
        ShpBuilder b = Recomendacao(vDoses);
        if (fn)
            fn(b);
        const ST_ShpMapa st = Gravar(b, uiParam);
        EXPECT_EQ(shpFile_AnalisarParametroMapaEntrada(&st), bEsperado) << pcNome;
    }
}

TEST_F(ShpLeitura, ValoresLidosNoDesenho)
{
    ShpBuilder b = Recomendacao({"150.75", "  1 5", "99", "abc"});
    b.linhas[2].bApagada = true;
    b.bMarcadorFimDbf = false;
    const ST_ShpMapa st = Gravar(b);
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    ShpArquivoDbf pf;
    ASSERT_TRUE(shpFile_AbrirDbf(&st, &stDados, &vCampos, &pf, 1, nullptr));
    std::vector<std::pair<BOOL, unsigned>> v;
    for (int i = 0; i < 5; i++)
    {
        unsigned ulValor = 99;
        const BOOL bOk = shpFile_LerProxValorDbf(&stDados, vCampos, pf.get(), 1, &ulValor);
        v.emplace_back(bOk, ulValor);
    }
    EXPECT_EQ(v, (std::vector<std::pair<BOOL, unsigned>>{{TRUE, 150}, {TRUE, 15}, {TRUE, 0}, {FALSE, 0}, {FALSE, 0}}));

    // Descriptors handed in by the caller are checked again before a record is read.
    vCampos[1].usPosicaoCampo = 15;
    unsigned ulValor = 7;
    EXPECT_FALSE(shpFile_LerProxValorDbf(&stDados, vCampos, pf.get(), 1, &ulValor));
    EXPECT_EQ(ulValor, 0u);
}

TEST_F(ShpLeitura, LinhasDaLegenda)
{
    // Maximum 150: rows of 150 / 9.5 each, row 9 holding the maximum, the last one open. A zero sets the
    // flag; a deleted row is no maximum; tenths count (12 * 150.7 / 9.5). 95 then an invalid field: 190
    // after it is never seen, so the rows step by 10. No table: maximum 0, every row starts at 0 and
    // none may wrap round to hold every value.
    ShpBuilder comZero = Recomendacao({"150", "0", "150.75", "9000"});
    comZero.linhas[3].bApagada = true;
    std::string szObtido;
    auto Descrever = [&](const ST_ShpMapa& st) {
        ST_ShpLegenda stLegenda;
        EXPECT_TRUE(
            shpFile_LegendaMapaEntrada(st.szNomeArqMapaDbf.c_str(), &stLegenda, st.uiParamSelecionado));
        szObtido += "zero " + std::to_string(stLegenda.ucFlagPoligonoValorZero) + ":";
        for (int i = 0; i < stLegenda.ucNumLinhasLegenda; i++)
            szObtido += " " + std::to_string(stLegenda.ulValorLegenda[i][0]) + "-" + std::to_string(stLegenda.ulValorLegenda[i][1]);
        szObtido += "\n";
    };
    for (const ShpBuilder& b : {Recomendacao({"150", "150", "150"}), comZero, Recomendacao({"95", "9x", "190"})})
        Descrever(Gravar(b));
    ST_ShpMapa stAusente;
    stAusente.szNomeArqMapaDbf = (dir / "nao_existe.dbf").string();
    Descrever(stAusente);
    EXPECT_TRUE(CompararComDados("shp/linhas_legenda.txt", szObtido));
}

TEST_F(ShpLeitura, ContagemDePoligonos)
{
    const ShpBuilder b = Recomendacao({"1", "2", "3"});
    const std::pair<std::function<void(ShpBuilder::Corrupcao&)>, long> casos[] = {
        {[](auto&) {}, 3},
        {[](auto& x) { x.codigoShp = 9995; }, 0},
        {[](auto& x) { x.versaoShp = 1001; }, 0},
        {[](auto& x) { x.tipoShp = 3; }, 0},
        {[](auto& x) { x.tamanhoArquivoShpPalavras = 50 + 3 * 68 + 1; }, 0},
        // Last record cut short, header length mended: the walk stops before it.
        {[](auto& x) { x.truncarShp = 8, x.tamanhoArquivoShpPalavras = 50 + 3 * 68 - 4; }, 2},
    };
    for (const auto& [fn, lEsperado] : casos)
    {
        ShpBuilder c = b;
        fn(c.corrupcao);
        const ST_ShpMapa st = Gravar(c);
        EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), lEsperado);
    }

    // Record by record: a polyline is skipped, a record too short ends the walk, and a ring just
    // over 1 MiB is refused while one just under it counts.
    ShpBuilder p;
    const AnelShp triangulo = {{0, 0}, {0, 1}, {1, 0}}; // 96 bytes: the smallest accepted
    p.adicionar(triangulo, {"1"}).adicionar(ShpBuilder::retangulo(0, 0, 1, 1), {"2"});
    std::vector<std::uint8_t> v = p.construirShp();
    v[100 + 8] = 3;
    ST_ShpMapa st;
    st.szNomeArqMapaShp = dir.gravar("a.shp", v).string();
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1);
    p.poligonos.insert(p.poligonos.begin() + 1, {AnelShp{{0, 0}, {1, 1}}}); // 80 bytes
    dir.gravar("a.shp", p.construirShp());
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1);
    ShpBuilder g;
    g.poligonos = {{AnelShp(65530, PontoShp{0.5, 0.5})}, {AnelShp(65535, PontoShp{0.5, 0.5})}, {triangulo}};
    dir.gravar("a.shp", g.construirShp());
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1);
    st.szNomeArqMapaShp = (dir / "nao_existe.shp").string();
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 0);
}
