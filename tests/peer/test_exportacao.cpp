// GDAL and SQLite judge `zavoro exportar`: every dataset opens without a warning with the layers and
// counts written (the track as many points as the file holds), the GeoPackage's applied value
// weighted by area agrees with the work report's mean rate, KMZ carries the values as fields, and a
// file or folder that cannot be used leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/zavoro.h"
#include "funcoesAuxiliares/leituraArquivo.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
const char* const kCamadas[] = {"cobertura", "rastro", "etapas", "eventos", "guias", "limites"};

// Track points of a navigation file, counted with the core's readers.
long PontosRastro(const fs::path& caminho)
{
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(caminho.string().c_str());
    ST_EstruturaNavegacao st;
    if (!pf || !zavoro_PercorrerEstrutura(pf.get(), &st))
        return -1;
    long lPontos = 0;
    for (std::uint32_t i = 0; i < st.stCabecalho.ulNumConfiguracoes; i++)
    {
        ST_EventoConfig_v9 stConfig;
        if (!zavoro_LerConfiguracaoEvento(pf.get(), st.usVersaoArquivoEvento, &stConfig))
            return -1;
        lPontos += stConfig.ulNumeroPontosRastro;
        std::fseek(pf.get(), long(stConfig.ulNumeroPontosRastro) * zavoro_TamanhoPontoNVG(st.usVersaoArquivoEvento), SEEK_CUR);
    }
    return lPontos;
}

// ogrinfo's summary, which must come without warnings or errors; the feature count of each layer.
std::map<std::string, long> Camadas(const fs::path& caminho, std::string* pszInfo = nullptr)
{
    const Resultado o = Shell("ogrinfo -ro -al -so " + Aspas(caminho.string()) + " 2>&1");
    EXPECT_EQ(o.iSaida, 0) << o.szSaida;
    EXPECT_EQ(o.szSaida.find("Warning"), std::string::npos) << o.szSaida.substr(0, 2000);
    EXPECT_EQ(o.szSaida.find("ERROR"), std::string::npos) << o.szSaida.substr(0, 2000);
    std::map<std::string, long> m;
    const std::regex re("Layer name: (\\w+)\\n(?:.*\\n)*?Feature Count: (\\d+)");
    for (std::sregex_iterator it(o.szSaida.begin(), o.szSaida.end(), re), fim; it != fim; ++it)
        m[(*it)[1]] = std::stol((*it)[2]);
    if (pszInfo != nullptr)
        *pszInfo = o.szSaida;
    return m;
}

std::vector<std::string> Arquivos(const fs::path& pasta)
{
    std::vector<std::string> v;
    for (const fs::directory_entry& e : fs::directory_iterator(pasta))
        v.push_back(e.path().filename().string());
    return v;
}
} // namespace

TEST(Exportacao, GeoPackageDeCadaAmostraComORastroInteiroETaxaDoRelatorio)
{
    for (const char* pcAmostra : {"pulverizacao_soja", "adubacao_taxa_variavel", "antigo_v1", "colheita",
                                  "plantio", "irrigacao"})
    {
        SCOPED_TRACE(pcAmostra);
        DiretorioTemporario dir;
        const fs::path nvg = dir / (std::string(pcAmostra) + ".nvg");
        fs::copy_file(amostra(std::string(pcAmostra) + ".nvg"), nvg);
        const Resultado r = Executar("exportar " + Aspas(nvg.string()));
        ASSERT_EQ(r.iSaida, 0) << r.szSaida;
        const fs::path gpkg = dir / (std::string(pcAmostra) + "_Exportacao.gpkg");
        std::string szInfo;
        std::map<std::string, long> m = Camadas(gpkg, &szInfo);
        EXPECT_EQ(m.size(), std::size(kCamadas));
        EXPECT_EQ(m["rastro"], PontosRastro(nvg));
        EXPECT_GT(m["cobertura"], 0);
        EXPECT_NE(szInfo.find("TALHAO="), std::string::npos);
        EXPECT_NE(szInfo.find("ID[\"EPSG\",4326]"), std::string::npos);

        // Every coverage polygon says when it was worked, how fast and with which sections.
        const Resultado sPoligonos =
            Shell("sqlite3 " + Aspas(gpkg.string()) +
                  " 'SELECT COUNT(*) FROM cobertura WHERE inicio IS NULL OR fim < inicio OR vel_kmh <= 0 OR"
                  " secoes_lig < 1 OR secoes_lig > 16'");
        EXPECT_EQ(sPoligonos.szSaida, "0\n");

        // The applied value weighted by area, against the report's mean rate (rate operations only).
        if (std::string(pcAmostra) != "pulverizacao_soja" && std::string(pcAmostra) != "adubacao_taxa_variavel" &&
            std::string(pcAmostra) != "antigo_v1")
            continue;
        ASSERT_EQ(Executar("relatorio " + Aspas(nvg.string())).iSaida, 0);
        const std::string szRelatorio = lerTexto(dir / (std::string(pcAmostra) + ".txt"));
        std::smatch mTaxa;
        ASSERT_TRUE(std::regex_search(szRelatorio, mTaxa, std::regex("Aplicada \\(C.lculo\\):\\t([0-9]+),([0-9])")));
        const double dRelatorio = std::stod(mTaxa[1].str() + "." + mTaxa[2].str());
        const Resultado s = Shell("sqlite3 " + Aspas(gpkg.string()) +
                                  " 'SELECT SUM(valor * area_ha) / SUM(area_ha) FROM cobertura WHERE valor > 0'");
        ASSERT_EQ(s.iSaida, 0) << s.szSaida;
        EXPECT_NEAR(std::stod(s.szSaida), dRelatorio, dRelatorio * 0.02);
    }
}

TEST(Exportacao, FormatosDeUmaCamadaPorArquivoEKmzComOsValoresComoCampos)
{
    DiretorioTemporario dir;
    const fs::path nvg = amostra("pulverizacao_soja.nvg");
    const long lPontos = PontosRastro(nvg);
    for (const char* pcFormato : {"geojson", "csv", "fgb"})
    {
        SCOPED_TRACE(pcFormato);
        ASSERT_EQ(Executar(std::string("exportar --formato ") + pcFormato + " --saida " + Aspas(dir.caminho().string()) +
                           " " + Aspas(nvg.string()))
                      .iSaida,
                  0);
        for (const char* pcCamada : kCamadas)
        {
            const fs::path arquivo = dir / (std::string("pulverizacao_soja_") + pcCamada + "." + pcFormato);
            std::map<std::string, long> m = Camadas(arquivo);
            EXPECT_EQ(m.size(), 1u) << arquivo;
            if (std::string(pcCamada) == "rastro" && !m.empty())
            {
                EXPECT_EQ(m.begin()->second, lPontos);
            }
        }
    }
    ASSERT_EQ(Executar("exportar --formato kmz --saida " + Aspas(dir.caminho().string()) + " " + Aspas(nvg.string())).iSaida, 0);
    const fs::path kmz = dir / "pulverizacao_soja_Exportacao.kmz";
    std::string szInfo;
    std::map<std::string, long> m = Camadas(kmz, &szInfo);
    EXPECT_NE(szInfo.find("using driver `LIBKML'"), std::string::npos);
    EXPECT_EQ(m["rastro"], lPontos);
    const Resultado o = Shell("ogrinfo -ro -q -where \"etapa = '1'\" " + Aspas(kmz.string()) + " cobertura | head -40");
    EXPECT_TRUE(std::regex_search(o.szSaida, std::regex("valor \\(Real\\) = [1-9]"))) << o.szSaida; // typed, not text
    EXPECT_NE(o.szSaida.find("unidade (String) = L/ha"), std::string::npos) << o.szSaida;
    // Nothing but the published files is left in the folder.
    for (const std::string& sz : Arquivos(dir.caminho()))
        EXPECT_FALSE(sz.starts_with(".zvr")) << sz;
}

TEST(Exportacao, CadaVersaoEOperacaoEmCadaFormato)
{
    // Every event version (old ones carry no rates: positions, time and sections only) spraying, and
    // every operation in the latest version, in every format: GDAL opens each output without a word,
    // with the whole track.
    DiretorioTemporario dir;
    std::vector<std::string> vArquivos;
    for (std::uint16_t v = 1; v <= D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO; v++)
        for (std::uint8_t op = D_ZAVORO_OPERACAO_PULVERIZACAO; op <= D_ZAVORO_OPERACAO_OUTROS; op++)
        {
            if (op != D_ZAVORO_OPERACAO_PULVERIZACAO && v != D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO)
                continue;
            NvgBuilder b = NvgBuilder::tipico(v, 25);
            b.operacao(op);
            b.etapas[0].operacao(op);
            vArquivos.push_back((dir / ("v" + std::to_string(v) + "_op" + std::to_string(op) + ".nvg")).string());
            b.gravar(vArquivos.back());
        }
    std::string szAlvos;
    for (const std::string& sz : vArquivos)
        szAlvos += " " + Aspas(sz);
    for (const char* pcFormato : {"gpkg", "kmz", "geojson", "csv", "fgb"})
    {
        SCOPED_TRACE(pcFormato);
        const fs::path saida = dir / pcFormato;
        fs::create_directory(saida);
        const Resultado r = Executar(std::string("exportar --formato ") + pcFormato + " --saida " +
                                     Aspas(saida.string()) + szAlvos);
        ASSERT_EQ(r.iSaida, 0) << r.szSaida;
        for (const std::string& szArquivo : vArquivos)
        {
            const std::string szNome = fs::path(szArquivo).stem().string();
            const bool bUnico = std::string(pcFormato) == "gpkg" || std::string(pcFormato) == "kmz";
            const fs::path rastro = saida / (szNome + (bUnico ? std::string("_Exportacao.") : "_rastro.") + pcFormato);
            const std::map<std::string, long> m = Camadas(rastro); // a CSV layer takes its file's name
            EXPECT_EQ(bUnico ? m.at("rastro") : m.begin()->second, 25) << rastro;
        }
    }
}

TEST(Exportacao, ArquivoInvalidoOuPastaInutilizavelNaoDeixamNada)
{
    DiretorioTemporario dir;
    const fs::path nvg = dir.gravar("lixo.nvg", std::vector<std::uint8_t>(200, 0x5A));
    const std::vector<std::uint8_t> vAnterior = {'a', 'n', 't', 'e', 's'};
    dir.gravar("lixo_Exportacao.gpkg", vAnterior);
    const Resultado r = Executar("exportar " + Aspas(nvg.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("arquivo inválido"), std::string::npos) << r.szSaida;
    std::vector<std::string> vArquivos = Arquivos(dir.caminho());
    std::sort(vArquivos.begin(), vArquivos.end());
    EXPECT_EQ(vArquivos, (std::vector<std::string>{"lixo.nvg", "lixo_Exportacao.gpkg"}));
    EXPECT_EQ(lerArquivo(dir / "lixo_Exportacao.gpkg"), vAnterior);

    // A folder nobody may create files in (not even root): the message names it and says why.
    const Resultado p = Executar("exportar --saida /proc/self " + Aspas(amostra("antigo_v1.nvg").string()));
    EXPECT_EQ(p.iSaida, 1);
    EXPECT_NE(p.szSaida.find("/proc/self/antigo_v1"), std::string::npos) << p.szSaida;
    EXPECT_NE(p.szSaida.find(" ("), std::string::npos) << p.szSaida;
    const Resultado n = Executar("exportar --saida " + Aspas((dir / "nao_existe").string()) + " " +
                                 Aspas(amostra("antigo_v1.nvg").string()));
    EXPECT_EQ(n.iSaida, 1);
    EXPECT_NE(n.szSaida.find("nao_existe"), std::string::npos) << n.szSaida;
}
