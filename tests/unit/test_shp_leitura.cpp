// Reading recommendation sets for the viewer: numeric texts, field list, the check before drawing,
// polygon count, legend rows and the value of each polygon, over sound and damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/DiretorioTemporario.h"
#include "support/ShpBuilder.h"
#include "zavoro/shapeFile.h"

using namespace zavoro_teste;

namespace
{

// Three squares with a dose and a zone name.
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

class ShpLeitura : public ::testing::Test
{
protected:
    DiretorioTemporario dir;

    ST_ShpMapa Gravar(const ShpBuilder& b, std::uint32_t uiParam = 1, const std::string& szNome = "rec")
    {
        b.gravar(dir / szNome);
        ST_ShpMapa st;
        st.szNomeArqMapaShp = (dir / (szNome + ".shp")).string();
        st.szNomeArqMapaDbf = (dir / (szNome + ".dbf")).string();
        st.uiParamSelecionado = uiParam;
        return st;
    }

    BOOL Analisar(const ShpBuilder& b, std::uint32_t uiParam = 1)
    {
        const ST_ShpMapa st = Gravar(b, uiParam);
        return shpFile_AnalisarParametroMapaEntrada(&st);
    }

    long Contar(const ShpBuilder& b)
    {
        const ST_ShpMapa st = Gravar(b);
        return shpFile_RetornarNumPoligonosShp(&st);
    }

    ST_ShpLegenda Legenda(const ST_ShpMapa& st)
    {
        ST_ShpLegenda stLegenda;
        EXPECT_TRUE(shpFile_LegendaMapaEntrada(st.szNomeArqMapaDbf.c_str(), &stLegenda, st.uiParamSelecionado));
        EXPECT_EQ(stLegenda.ucNumLinhasLegenda, 13);
        EXPECT_EQ(stLegenda.ucTipoLegenda, 0);
        return stLegenda;
    }

    // Every value of the chosen field, as the drawing reads them, and whether each read succeeded.
    std::vector<std::pair<BOOL, unsigned>> Valores(const ST_ShpMapa& st, std::size_t n)
    {
        ST_ShpDadosDbf stDados;
        std::vector<ST_ShpSubrecords> vCampos;
        ShpArquivoDbf pf;
        EXPECT_TRUE(shpFile_AbrirDbf(&st, &stDados, &vCampos, &pf, st.uiParamSelecionado, nullptr));
        std::vector<std::pair<BOOL, unsigned>> v;
        for (std::size_t i = 0; i < n && pf; i++)
        {
            unsigned ulValor = 99;
            BOOL bOk = shpFile_LerProxValorDbf(&stDados, vCampos, pf.get(), st.uiParamSelecionado, &ulValor);
            v.emplace_back(bOk, ulValor);
        }
        return v;
    }
};

std::uint64_t Decimos(const std::string& s, BOOL bValido = TRUE)
{
    std::uint64_t ul = 12345;
    EXPECT_EQ(shpFile_LerNumeroTexto(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), &ul), bValido) << s;
    return ul;
}

} // namespace

TEST(ShpNumeroTexto, UmaCasaDecimalEspacosESeparadores)
{
    EXPECT_EQ(Decimos("   150.75"), 1507u);
    EXPECT_EQ(Decimos("150"), 1500u);
    EXPECT_EQ(Decimos("1 5"), 150u);
    EXPECT_EQ(Decimos("1.234,5"), 12u);
    EXPECT_EQ(Decimos("12,"), 120u);
    EXPECT_EQ(Decimos("        "), 0u);
    EXPECT_EQ(Decimos("1.2abc"), 12u); // the scan stopped before the letters
}

TEST(ShpNumeroTexto, SinalLetrasEZeroBinarioInvalidam)
{
    Decimos("-150", FALSE);
    Decimos("+1", FALSE);
    Decimos("1e5", FALSE);
    Decimos("*********", FALSE);
    Decimos(std::string("15\0", 3), FALSE);
}

TEST(ShpNumeroTexto, CampoLongoNaoTransborda)
{
    // 255 digits would wrap any integer; the value must stay huge so it is refused as too large.
    EXPECT_GT(Decimos(std::string(255, '9')), 100000000u);
}

TEST(ShpCaminhoDbf, TrocaSoAExtensaoDoNomeDoArquivo)
{
    EXPECT_EQ(shpFile_CaminhoDbf("/dados/mapa.shp"), "/dados/mapa.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("/dados/MAPA.SHP"), "/dados/MAPA.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("/dados/mapa.Shp"), "/dados/mapa.dbf");
    EXPECT_EQ(shpFile_CaminhoDbf("/dados.shp/mapa.shp"), "/dados.shp/mapa.dbf");
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

    st.szNomeArqMapaDbf = (dir / "nao_existe.dbf").string();
    v = {"antigo"};
    EXPECT_TRUE(shpFile_ListarParametrosMapaEntrada(&st, &v));
    EXPECT_EQ(v, std::vector<std::string>{"antigo"});
}

TEST_F(ShpLeitura, ListaSemTerminadorFalha)
{
    ShpBuilder b = Recomendacao({});
    b.corrupcao.bSemTerminadorDescritores = true;
    b.bMarcadorFimDbf = false;
    ST_ShpMapa st = Gravar(b);
    std::vector<std::string> v;
    EXPECT_FALSE(shpFile_ListarParametrosMapaEntrada(&st, &v));
    EXPECT_FALSE(shpFile_AnalisarParametroMapaEntrada(&st));
}

TEST_F(ShpLeitura, ConjuntoValidoPassa)
{
    // One record of 20 bytes: less than a descriptor's worth follows the terminator.
    EXPECT_TRUE(Analisar(Recomendacao({"150.75"})));
    ST_ShpMapa st = Gravar(Recomendacao({"150.75", "120", "10000000"}));
    EXPECT_TRUE(shpFile_AnalisarParametroMapaEntrada(&st));
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 3);
}

TEST_F(ShpLeitura, CampoEscolhidoPrecisaSerNumericoEExistir)
{
    ShpBuilder b = Recomendacao({"150", "120"});
    EXPECT_TRUE(Analisar(b, 1));
    EXPECT_FALSE(Analisar(b, 0));
    EXPECT_FALSE(Analisar(b, 2));
}

TEST_F(ShpLeitura, ValoresForaDaRegraReprovam)
{
    EXPECT_FALSE(Analisar(Recomendacao({"150", "-120"})));
    EXPECT_FALSE(Analisar(Recomendacao({"150", "10000001"})));
    // A deleted record is not parsed.
    ShpBuilder b = Recomendacao({"150", "120"});
    b.linhas[1] = {{"Z1", "-abc"}, true};
    EXPECT_TRUE(Analisar(b));
}

TEST_F(ShpLeitura, ContagemDaTabelaContraPoligonos)
{
    ShpBuilder b = Recomendacao({"150", "120", "130"});
    b.corrupcao.numRegistrosDbf = 4;
    b.linhas.push_back({{"Z3", "140"}, false}); // one row more than the .shp has polygons
    EXPECT_FALSE(Analisar(b));

    // A count far beyond the file ends with the bytes, not after four billion turns.
    ShpBuilder c = Recomendacao({"150", "120", "130"});
    c.corrupcao.numRegistrosDbf = 0xFFFFFFFF;
    EXPECT_FALSE(Analisar(c));
}

TEST_F(ShpLeitura, FimDaTabela)
{
    ShpBuilder b = Recomendacao({"150", "120", "130"});
    b.bMarcadorFimDbf = true;
    EXPECT_TRUE(Analisar(b));
    b.bMarcadorFimDbf = false;
    EXPECT_TRUE(Analisar(b));

    // Last two records missing: the header count still matches the .shp.
    b.corrupcao.truncarDbf = 2 * 20;
    EXPECT_TRUE(Analisar(b));
    // Half a record is not an end of file marker.
    b.corrupcao.truncarDbf = 10;
    EXPECT_FALSE(Analisar(b));
    // Nor is any single byte other than 0x1A.
    b.corrupcao.truncarDbf = 19;
    EXPECT_FALSE(Analisar(b));
}

TEST_F(ShpLeitura, TamanhosHostisDoRegistro)
{
    ShpBuilder b = Recomendacao({"150", "120"});
    b.corrupcao.tamanhoRegistroDbf = 15; // DOSE at 11..19 no longer fits
    ST_ShpMapa st = Gravar(b);
    EXPECT_FALSE(shpFile_AnalisarParametroMapaEntrada(&st));
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    ShpArquivoDbf pf;
    EXPECT_FALSE(shpFile_AbrirDbf(&st, &stDados, &vCampos, &pf, 1, nullptr));
    EXPECT_FALSE(pf);

    b.corrupcao.tamanhoRegistroDbf = 0;
    st = Gravar(b);
    EXPECT_FALSE(shpFile_AnalisarParametroMapaEntrada(&st));
    EXPECT_EQ(Legenda(st).ulValorLegenda[1][0], 0u);

    // Descriptors handed in by the caller are checked again before a record is read.
    b.corrupcao.tamanhoRegistroDbf.reset();
    st = Gravar(b);
    ASSERT_TRUE(shpFile_AbrirDbf(&st, &stDados, &vCampos, &pf, 1, nullptr));
    vCampos[1].usPosicaoCampo = 15;
    unsigned ulValor = 7;
    EXPECT_FALSE(shpFile_LerProxValorDbf(&stDados, vCampos, pf.get(), 1, &ulValor));
    EXPECT_EQ(ulValor, 0u);
}

TEST_F(ShpLeitura, LegendaDeMaximo150)
{
    ShpBuilder b = Recomendacao({"150", "0", "150.75", "90"});
    b.linhas[3].bApagada = true;
    b.linhas[3].valores[1] = "9000"; // deleted: not the maximum
    const ST_ShpLegenda st = Legenda(Gravar(b));
    const std::uint32_t esperado[13][2] = {{0, 14},    {15, 30},   {31, 46},   {47, 62},   {63, 77},
                                           {78, 93},   {94, 109},  {110, 125}, {126, 141}, {142, 156},
                                           {157, 172}, {173, 188}, {189, 50000000}};
    const ST_ShpLegenda st150 = Legenda(Gravar(Recomendacao({"150", "150", "150"}), 1, "exato"));
    for (int i = 0; i < 13; i++)
    {
        EXPECT_EQ(st150.ulValorLegenda[i][0], esperado[i][0]) << i;
        EXPECT_EQ(st150.ulValorLegenda[i][1], esperado[i][1]) << i;
    }
    EXPECT_EQ(st150.ucFlagPoligonoValorZero, 0);
    EXPECT_EQ(st.ucFlagPoligonoValorZero, 1);
    EXPECT_EQ(st.ulValorLegenda[12][0], 190u); // 12 * 150.7 / 9.5
    EXPECT_LE(st.ulValorLegenda[9][0], 150u);
    EXPECT_GE(st.ulValorLegenda[9][1], 150u);
    EXPECT_EQ(st.ulValorLegenda[13][1], 0u);
}

TEST_F(ShpLeitura, LegendaParaNoPrimeiroValorRuimOuTabelaAusente)
{
    // 95 then an invalid field: 190 after it is never seen, so the rows step by 10.
    const ST_ShpLegenda st = Legenda(Gravar(Recomendacao({"95", "9x", "190"})));
    EXPECT_EQ(st.ulValorLegenda[1][0], 10u);
    EXPECT_EQ(st.ulValorLegenda[12][0], 120u);

    ST_ShpMapa stAusente;
    stAusente.szNomeArqMapaDbf = (dir / "nao_existe.dbf").string();
    const ST_ShpLegenda stVazia = Legenda(stAusente);
    // Maximum 0: every row starts at 0, and none may wrap round to hold every value.
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(stVazia.ulValorLegenda[i][1], 0u) << i;
    EXPECT_EQ(stVazia.ulValorLegenda[12][1], 50000000u);
}

TEST_F(ShpLeitura, ValoresLidosNoDesenho)
{
    ShpBuilder b = Recomendacao({"150.75", "  1 5", "99", "abc"});
    b.linhas[2].bApagada = true;
    b.bMarcadorFimDbf = false;
    ST_ShpMapa st = Gravar(b);
    const std::vector<std::pair<BOOL, unsigned>> esperado = {
        {TRUE, 150}, {TRUE, 15}, {TRUE, 0}, {FALSE, 0}, {FALSE, 0}};
    EXPECT_EQ(Valores(st, 5), esperado);
}

TEST_F(ShpLeitura, TabelaAusenteAvisaComONomeDoArquivo)
{
    ST_ShpMapa st;
    st.szNomeArqMapaDbf = (dir / "Talhão 3.dbf").string();
    std::vector<std::pair<std::string, std::string>> vMensagens;
    ST_ShpPlataforma stPlataforma;
    stPlataforma.pContexto = &vMensagens;
    stPlataforma.pfMostrarMensagem = [](void* p, const char* pcTexto, const char* pcTitulo) {
        static_cast<std::vector<std::pair<std::string, std::string>>*>(p)->emplace_back(pcTexto, pcTitulo);
    };
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    ShpArquivoDbf pf;
    EXPECT_FALSE(shpFile_AbrirDbf(&st, &stDados, &vCampos, &pf, 0, &stPlataforma));
    ASSERT_EQ(vMensagens.size(), 1u);
    EXPECT_EQ(vMensagens[0].first, "Arquivo \"Talhão 3.dbf\" não encontrado.          \n"
                                   "O arquivo deve estar na mesma pasta do arquivo escolhido acima");
    EXPECT_EQ(vMensagens[0].second, "ERRO");
    EXPECT_TRUE(shpFile_AnalisarParametroMapaEntrada(&st)); // reported by the drawing, not here
}

TEST_F(ShpLeitura, ContagemDePoligonosConfereOCabecalho)
{
    const ShpBuilder b = Recomendacao({"1", "2", "3"});
    EXPECT_EQ(Contar(b), 3);

    auto comCorrupcao = [&](auto fn) {
        ShpBuilder c = b;
        fn(c.corrupcao);
        return Contar(c);
    };
    EXPECT_EQ(comCorrupcao([](auto& x) { x.codigoShp = 9995; }), 0);
    EXPECT_EQ(comCorrupcao([](auto& x) { x.versaoShp = 1001; }), 0);
    EXPECT_EQ(comCorrupcao([](auto& x) { x.tipoShp = 3; }), 0);
    EXPECT_EQ(comCorrupcao([](auto& x) { x.tamanhoArquivoShpPalavras = 50 + 3 * 68 + 1; }), 0);
    // Last record cut short, header length mended: the walk stops before it.
    EXPECT_EQ(comCorrupcao([](auto& x) {
                  x.truncarShp = 8;
                  x.tamanhoArquivoShpPalavras = 50 + 3 * 68 - 4;
              }),
              2);
    ST_ShpMapa st;
    st.szNomeArqMapaShp = (dir / "nao_existe.shp").string();
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 0);
}

TEST_F(ShpLeitura, ContagemDePoligonosPorRegistro)
{
    ShpBuilder b;
    b.campos = {{"DOSE", 'N', 5, 0}};
    const AnelShp triangulo = {{0, 0}, {0, 1}, {1, 0}}; // 96 bytes: the smallest accepted
    const AnelShp segmento = {{0, 0}, {1, 1}};         // 80 bytes
    b.adicionar(triangulo, {"1"}).adicionar(ShpBuilder::retangulo(0, 0, 1, 1), {"2"});
    std::vector<std::uint8_t> v = b.construirShp();
    dir.gravar("a.shp", v);
    ST_ShpMapa st;
    st.szNomeArqMapaShp = (dir / "a.shp").string();
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 2);

    v[100 + 8] = 3; // first record a polyline: skipped, the walk goes on
    dir.gravar("a.shp", v);
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1);

    b.poligonos.insert(b.poligonos.begin() + 1, {segmento});
    dir.gravar("a.shp", b.construirShp());
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1); // a too short record ends the walk

    // A ring of 65530 points is just under 1 MiB, one more of 65535 just over.
    AnelShp grande(65530, PontoShp{0.5, 0.5});
    ShpBuilder g;
    g.poligonos = {{grande}};
    grande.resize(65535, PontoShp{0.5, 0.5});
    g.poligonos.push_back({grande});
    g.poligonos.push_back({triangulo});
    dir.gravar("a.shp", g.construirShp());
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 1);
}

TEST(ShpAmostra, RecomendacaoDePulverizacaoPodeSerDesenhada)
{
    ST_ShpMapa st;
    st.szNomeArqMapaShp = ZAVORO_SOURCE_DIR "/samples/recomendacao_pulverizacao.shp";
    st.szNomeArqMapaDbf = shpFile_CaminhoDbf(st.szNomeArqMapaShp);
    std::vector<std::string> vNomes;
    ASSERT_TRUE(shpFile_ListarParametrosMapaEntrada(&st, &vNomes));
    EXPECT_EQ(vNomes, (std::vector<std::string>{"DOSE", "ZONA"}));
    EXPECT_TRUE(shpFile_AnalisarParametroMapaEntrada(&st));
    EXPECT_EQ(shpFile_RetornarNumPoligonosShp(&st), 12);
    ST_ShpLegenda stLegenda;
    shpFile_LegendaMapaEntrada(st.szNomeArqMapaDbf.c_str(), &stLegenda, 0);
    EXPECT_EQ(stLegenda.ulValorLegenda[9][0], 170u); // maximum 180: 9 * 180 / 9.5
}
