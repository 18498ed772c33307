// The open isoxml library judges `zavoro isoxml`: every zip we write parses with no error and no
// warning but one (the library looks time logs up as ".bin"/".xml" and says so when the files carry the
// format's upper-case names), the time log holds every track point with its first and last time and
// position, and its totals agree with the work report's figures (area, applied quantity) within 1 %.
// xmllint finds the XML well-formed; each binary time log is records × record size long.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "funcoesAuxiliares/leituraArquivo.h"
#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
const fs::path kModulos = fs::path(ZAVORO_SOURCE_DIR) / "tools/isoxml/node_modules";

// What the library read, as JSON text.
std::string LerComIsoxml(const fs::path& zip)
{
    const Resultado o = Shell("node " + Aspas(ZAVORO_SOURCE_DIR "/tests/peer/isoxml_ler.js") + " " +
                              Aspas(kModulos.string()) + " " + Aspas(zip.string()) + " 2>&1");
    EXPECT_EQ(o.iSaida, 0) << o.szSaida;
    return o.szSaida;
}

double Numero(const std::string& szJson, const std::string& szChave, std::size_t nDepois = 0)
{
    std::smatch m;
    const std::string sz = szJson.substr(nDepois);
    if (!std::regex_search(sz, m, std::regex("\"" + szChave + "\": \"?(-?[0-9.e+-]+)")))
        return std::nan("");
    return std::stod(m[1]);
}

std::string Texto(const std::string& szJson, const std::string& szChave, std::size_t nDepois = 0)
{
    std::smatch m;
    const std::string sz = szJson.substr(nDepois);
    return std::regex_search(sz, m, std::regex("\"" + szChave + "\": \"([^\"]*)\"")) ? std::string(m[1]) : "";
}

// The library's warnings other than the letter case of the time log's extensions.
std::vector<std::string> Avisos(const std::string& szJson)
{
    std::vector<std::string> v;
    const std::size_t i = szJson.find("\"avisos\": [");
    const std::size_t f = szJson.find(']', i);
    const std::string szBloco = szJson.substr(i + 11, f - i - 11);
    const std::regex reAviso("\"([^\"]*)\"");
    const std::regex reCaixa("Letter case of filename TLG[0-9]{5}\\.(bin|xml) doesn't match \\(real file: "
                             "TLG[0-9]{5}\\.(BIN|XML)\\)");
    for (std::sregex_iterator it(szBloco.begin(), szBloco.end(), reAviso), fim; it != fim; ++it)
        if (!std::regex_match(std::string((*it)[1]), reCaixa))
            v.push_back((*it)[1]);
    return v;
}

struct ST_Esperado
{
    std::uint32_t ulPontos = 0, ulPrimeiro = 0, ulUltimo = 0;
    ST_EventoCabecalho stCabecalho{};
    std::uint8_t ucOperacao = 0;
};

// What the core's readers find in the file.
ST_Esperado Esperado(const fs::path& nvg)
{
    ST_Esperado st;
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(nvg.string().c_str());
    ST_EstruturaNavegacao stEstrutura;
    EXPECT_TRUE(pf && zavoro_PercorrerEstrutura(pf.get(), &stEstrutura));
    st.stCabecalho = stEstrutura.stCabecalho;
    st.ucOperacao = zavoro_TraduzirOperacao(st.stCabecalho.ucUltOperacao, stEstrutura.usVersaoArquivoEvento);
    for (std::uint32_t e = 0; e < stEstrutura.stCabecalho.ulNumConfiguracoes; e++)
    {
        ST_EventoConfig_v9 stConfig;
        EXPECT_TRUE(zavoro_LerConfiguracaoEvento(pf.get(), stEstrutura.usVersaoArquivoEvento, &stConfig));
        for (std::uint32_t i = 0; i < stConfig.ulNumeroPontosRastro; i++)
        {
            ST_PontoNVG_v2 stPonto{};
            int n = 0;
            EXPECT_TRUE(zavoro_LerEstruturaLog(pf.get(), &stPonto, stEstrutura.usVersaoArquivoEvento, &n));
            if (st.ulPontos++ == 0)
                st.ulPrimeiro = stPonto.ulSegundosDataHora;
            st.ulUltimo = stPonto.ulSegundosDataHora;
        }
    }
    return st;
}

std::string Iso(std::uint32_t ul)
{
    long d, m, a, h, mi, s;
    zavoro_CalcularDataHoraSegundos(ul, &d, &m, &a, &h, &mi, &s);
    char c[64];
    std::snprintf(c, sizeof c, "%04ld-%02ld-%02ldT%02ld:%02ld:%02ld.000Z", a + 2000, m, d, h, mi, s);
    return c;
}

void ConferirDentroDe1PorCento(double dLido, double dRelatorio, const char* pcOque)
{
    if (dRelatorio <= 0.0)
        return;
    EXPECT_NEAR(dLido, dRelatorio, dRelatorio * 0.01) << pcOque;
}

// Exports nvg, lets the peers read it and checks every figure against the file.
void ConferirExportacao(const fs::path& nvg, const DiretorioTemporario& dir)
{
    const Resultado o =
        Executar("isoxml --saida " + Aspas(dir.caminho().string()) + " " + Aspas(nvg.string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    const fs::path zip = dir / (nvg.stem().string() + "_ISOXML.zip");
    ASSERT_TRUE(fs::exists(zip)) << o.szSaida;
    const fs::path pasta = dir / (nvg.stem().string() + "_dentro");
    ASSERT_EQ(Shell("unzip -q -o " + Aspas(zip.string()) + " -d " + Aspas(pasta.string())).iSaida, 0);
    const Resultado x = Shell("xmllint --noout " + Aspas((pasta / "TASKDATA/TASKDATA.XML").string()) + " " +
                              Aspas((pasta / "TASKDATA/TLG00001.XML").string()) + " 2>&1");
    EXPECT_EQ(x.iSaida, 0) << x.szSaida;

    const ST_Esperado stEsperado = Esperado(nvg);
    const std::string szJson = LerComIsoxml(zip);
    EXPECT_TRUE(Avisos(szJson).empty()) << szJson.substr(0, 2000);
    EXPECT_NE(szJson.find("\"erros\": []"), std::string::npos) << szJson.substr(0, 2000);
    EXPECT_EQ(Numero(szJson, "registros"), stEsperado.ulPontos);
    // The command reports the record size; the binary is exactly that many records long.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(o.szSaida, m, std::regex("([0-9]+) registros de ([0-9]+) bytes")));
    EXPECT_EQ(std::stoul(m[1]), stEsperado.ulPontos);
    EXPECT_EQ(fs::file_size(pasta / "TASKDATA/TLG00001.BIN"), std::stoul(m[1]) * std::stoul(m[2]));
    if (stEsperado.ulPontos == 0)
        return;
    const std::size_t nUltimo = szJson.find("\"ultimo\"");
    EXPECT_EQ(Texto(szJson, "tempo", szJson.find("\"primeiro\"")), Iso(stEsperado.ulPrimeiro));
    EXPECT_EQ(Texto(szJson, "tempo", nUltimo), Iso(stEsperado.ulUltimo));
    EXPECT_LE(std::abs(Numero(szJson, "lat", nUltimo)), 90.0);
    const std::size_t nTotais = szJson.find("\"ultimos\"");
    ConferirDentroDe1PorCento(Numero(szJson, "0074", nTotais),
                              stEsperado.stCabecalho.fAreaCobertura * 10000.0, "área");
    if (stEsperado.ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        ConferirDentroDe1PorCento(Numero(szJson, "0050", nTotais), stEsperado.stCabecalho.ulVolumeAplicado,
                                  "volume");
    if (stEsperado.ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        ConferirDentroDe1PorCento(Numero(szJson, "0051", nTotais), stEsperado.stCabecalho.ulVolumeAplicado,
                                  "massa");
}

bool SemNode()
{
    return Shell("command -v node >/dev/null").iSaida != 0 || !fs::exists(kModulos / "isoxml");
}
} // namespace

TEST(Isoxml, AmostrasLidasPelaBibliotecaIsoxmlComOsNumerosDoRelatorio)
{
    if (SemNode())
        GTEST_SKIP() << "node ou o pacote isoxml ausente (scripts/setup.sh o instala em tools/isoxml)";
    for (const char* pcAmostra :
         {"pulverizacao_soja", "adubacao_taxa_variavel", "antigo_v1", "colheita", "plantio", "irrigacao"})
    {
        SCOPED_TRACE(pcAmostra);
        DiretorioTemporario dir;
        ConferirExportacao(fs::path(std::getenv("ZAVORO_SAMPLES")) / (std::string(pcAmostra) + ".nvg"), dir);
    }
}

TEST(Isoxml, CadaVersaoDeEventoECadaOperacaoLidasPelaBibliotecaIsoxml)
{
    if (SemNode())
        GTEST_SKIP() << "node ou o pacote isoxml ausente (scripts/setup.sh o instala em tools/isoxml)";
    // Every version with spraying; every operation with the oldest and the newest version.
    std::vector<std::pair<std::uint16_t, std::uint8_t>> vCasos;
    for (std::uint16_t usVersao = 1; usVersao <= 9; usVersao++)
        vCasos.emplace_back(usVersao, D_ZAVORO_OPERACAO_PULVERIZACAO);
    for (std::uint8_t ucOperacao = 1; ucOperacao <= D_ZAVORO_OPERACAO_OUTROS; ucOperacao++)
        vCasos.insert(vCasos.end(), {{1, ucOperacao}, {9, ucOperacao}});
    for (const auto& [usVersao, ucOperacao] : vCasos)
    {
        SCOPED_TRACE("versão " + std::to_string(usVersao) + ", operação " + std::to_string(ucOperacao));
        NvgBuilder b = NvgBuilder::tipico(usVersao, 40);
        b.operacao(ucOperacao);
        b.etapas[0].operacao(ucOperacao);
        // A fertiliser point's high section byte is quantity: the typical points keep theirs clear.
        if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
            for (ST_PontoNVG_v2& p : b.etapas[0].pontos)
                p.usSecoes &= 0xFF;
        DiretorioTemporario dir;
        const fs::path nvg = dir / "campo.nvg";
        b.gravar(nvg);
        ConferirExportacao(nvg, dir);
    }
}

TEST(Isoxml, JuntarPoeUmaTarefaPorArquivoNumSoTaskData)
{
    if (SemNode())
        GTEST_SKIP() << "node ou o pacote isoxml ausente (scripts/setup.sh o instala em tools/isoxml)";
    DiretorioTemporario dir;
    const fs::path a = dir / "a.nvg", b = dir / "b.nvg";
    NvgBuilder::tipico(9, 30).gravar(a);
    NvgBuilder::tipico(9, 50).gravar(b);
    const Resultado o = Executar("isoxml --juntar " + Aspas(a.string()) + " " + Aspas(b.string()));
    ASSERT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_FALSE(fs::exists(dir / "b_ISOXML.zip"));
    const std::string szJson = LerComIsoxml(dir / "a_ISOXML.zip");
    EXPECT_TRUE(Avisos(szJson).empty()) << szJson.substr(0, 2000);
    EXPECT_EQ(Numero(szJson, "registros"), 30);
    EXPECT_EQ(Numero(szJson, "registros", szJson.find("\"arquivo\": \"TLG00002\"")), 50);
    const std::regex reTalhao("\"nome\": \"[^\"]*\",\n *\"area\"");
    EXPECT_EQ(
        std::distance(std::sregex_iterator(szJson.begin(), szJson.end(), reTalhao), std::sregex_iterator()),
        2);
}
