// The zavoro command as scripts use it: output lines, exit status, messages.
#include <gtest/gtest.h>

#include <string>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

TEST(ComandoValidar, UmaLinhaPorArquivoESaidaPeloPiorResultado)
{
    DiretorioTemporario dir;
    auto bom = dir / "bom.nvg";
    NvgBuilder::tipico(9, 20).gravar(bom);
    NvgBuilder estragado = NvgBuilder::tipico(9, 20);
    estragado.corrupcao.checksumErrado.push_back({Secao::Evento});
    auto ruim = dir / "ruim.nvg";
    estragado.gravar(ruim);

    Resultado r = Executar("validar " + Aspas(bom));
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, bom.string() + ": válido\n");

    r = Executar("validar " + Aspas(bom) + " " + Aspas(ruim) + " " + Aspas((dir / "falta.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find(bom.string() + ": válido\n"), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find(ruim.string() + ": inválido: evento (byte "), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("soma de verificação da seção incorreta"), std::string::npos);
    EXPECT_NE(r.szSaida.find("falta.nvg: inválido: arquivo (byte 0): não foi possível abrir o arquivo"),
              std::string::npos)
        << r.szSaida;
}

TEST(ComandoValidar, LinhaDeComandoErradaSai2)
{
    for (const char* pcArgs : {"", "validar", "validar --rapido x.nvg", "converter x.nvg", "--verbose"})
    {
        SCOPED_TRACE(pcArgs);
        Resultado r = Executar(pcArgs);
        EXPECT_EQ(r.iSaida, 2);
        EXPECT_NE(r.szSaida.find("zavoro --help"), std::string::npos) << r.szSaida;
    }
    EXPECT_NE(Executar("converter").szSaida.find("comando desconhecido: converter"), std::string::npos);

    // "--" lets a file name start with a dash.
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 2).gravar(dir / "-x.nvg");
    Resultado r = Executar("validar -- " + Aspas((dir / "-x.nvg").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
}

TEST(ComandoValidar, AjudaEVersao)
{
    Resultado r = Executar("--version");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, "zavoro 03.02\n");
    r = Executar("--help");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_NE(r.szSaida.find("validar ARQ..."), std::string::npos);
}

TEST(ComandoValidar, AmostrasDoProjetoSaoValidas)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    ASSERT_NE(pcAmostras, nullptr);
    std::string szArquivos;
    int n = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(pcAmostras))
        if (entrada.path().extension() == ".nvg")
        {
            szArquivos += " " + Aspas(entrada.path().string());
            n++;
        }
    ASSERT_GE(n, 6);
    Resultado r = Executar("validar" + szArquivos);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
}

TEST(ComandoRelatorio, BlocosNaOrdemDosArquivosComVariasConversoesAoMesmoTempo)
{
    DiretorioTemporario dir;
    std::filesystem::create_directories(dir / "sub/mais");
    std::string szArgs;
    for (int i = 0; i < 5; i++)
    {
        auto p = dir / ("f" + std::to_string(i) + ".nvg");
        NvgBuilder b = NvgBuilder::tipico(9, 50 * (5 - i)); // the first files are the slowest
        texto(b.stTalhao.szNomeTalhao, "Talhão " + std::to_string(i));
        b.gravar(p);
        szArgs += " " + Aspas(p.string());
    }
    NvgBuilder estragado = NvgBuilder::tipico(9, 3);
    estragado.corrupcao.checksumErrado.push_back({Secao::Guia, 0});
    estragado.guias.push_back(Guia{});
    estragado.gravar(dir / "f2.nvg"); // the middle one fails

    Resultado r = Executar("relatorio -j 3" + szArgs);
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    std::size_t pos = 0;
    for (int i = 0; i < 5; i++)
    {
        std::string szCabeca = "Relatório " + std::to_string(i + 1) + " de 5: " + (i == 2 ? "ERRO" : "OK");
        std::size_t achado = r.szSaida.find(szCabeca, pos);
        ASSERT_NE(achado, std::string::npos) << szCabeca << "\n" << r.szSaida;
        pos = achado + 1;
        if (i != 2)
        {
            EXPECT_NE(r.szSaida.find("Talhão: Talhão " + std::to_string(i)), std::string::npos);
            EXPECT_TRUE(std::filesystem::exists(dir / ("f" + std::to_string(i) + ".txt")));
        }
    }
    EXPECT_NE(r.szSaida.find("f2.nvg: arquivo inválido: guia 1"), std::string::npos) << r.szSaida;
    EXPECT_FALSE(std::filesystem::exists(dir / "f2.txt"));
}

TEST(ComandoRelatorio, PastaBuscadaComoNoBotaoDePasta)
{
    DiretorioTemporario dir;
    std::filesystem::create_directories(dir / "sub/mais");
    NvgBuilder::tipico(9, 3).gravar(dir / "sub/a.nvg");
    NvgBuilder::tipico(9, 3).gravar(dir / "sub/mais/b.NVG");
    NvgBuilder::tipico(9, 3).gravar(dir / "sub/mais/c.Nvg"); // not a navigation file name

    Resultado r = Executar("relatorio -j1 " + Aspas(dir.caminho().string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_NE(r.szSaida.find("de 2: OK"), std::string::npos) << r.szSaida;
    EXPECT_TRUE(std::filesystem::exists(dir / "sub/a.txt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "sub/mais/b.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "sub/mais/c.txt"));

    r = Executar("procurar " + Aspas(dir.caminho().string()));
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_NE(r.szSaida.find((dir / "sub/mais/b.NVG").string() + "\n"), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("2 arquivo(s) encontrado(s); código 0"), std::string::npos) << r.szSaida;

    DiretorioTemporario vazio;
    r = Executar("relatorio " + Aspas(vazio.caminho().string()));
    EXPECT_NE(r.szSaida.find("Não há arquivos de navegação."), std::string::npos) << r.szSaida;

    for (const char* pcArgs : {"relatorio -j 0 x.nvg", "relatorio -j", "relatorio -jx x.nvg", "relatorio", "procurar",
                               "procurar a b"})
        EXPECT_EQ(Executar(pcArgs).iSaida, 2) << pcArgs;
}

TEST(ComandoMapa, AlvosComoNasCincoCaixasDaJanela)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 30).gravar(dir / "pulv.nvg");
    NvgBuilder colheita = NvgBuilder::tipico(9, 30);
    colheita.etapas[0].operacao(D_ZAVORO_OPERACAO_COLHEITA);
    colheita.gravar(dir / "colh.nvg");
    const std::string szPulv = Aspas((dir / "pulv.nvg").string());
    const std::string szColh = Aspas((dir / "colh.nvg").string());

    // Empty slots are allowed; the legend shows only the filled bands.
    Resultado r = Executar("mapa --alvos 100,,,200, " + szPulv);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    const std::vector<std::uint8_t> vKml = lerArquivo(dir / "pulv_Cobertura.kml");
    const std::string szKml(vKml.begin(), vKml.end());
    EXPECT_NE(szKml.find("Abaixo de 101 L/ha"), std::string::npos);
    EXPECT_NE(szKml.find("Acima de 200 L/ha"), std::string::npos);
    EXPECT_EQ(szKml.find("Abaixo de 76 L/ha"), std::string::npos);

    // Targets out of order, or none at all, are refused with the window's message.
    for (const char* pcAlvos : {"100,50,,,", ",,,,", "5,10,15,20,120"})
    {
        r = Executar(std::string("mapa --velocidade --alvos ") + pcAlvos + " " + szPulv);
        EXPECT_EQ(r.iSaida, 2) << pcAlvos;
        EXPECT_NE(r.szSaida.find("Ajuste os valores em ordem crescente."), std::string::npos) << r.szSaida;
    }
    // ... except for a coverage map of files with no rate to class.
    r = Executar("mapa --alvos ,,,, " + szColh);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(std::filesystem::exists(dir / "colh_Cobertura.kml"));
    r = Executar("mapa --alvos ,,,, " + szColh + " " + szPulv);
    EXPECT_EQ(r.iSaida, 2);

    for (const char* pcArgs : {"mapa --alvos 1,2,3 x.nvg", "mapa --alvos", "mapa --escala x.nvg", "mapa"})
        EXPECT_EQ(Executar(pcArgs).iSaida, 2) << pcArgs;

    r = Executar("mapa --velocidade -j 2 " + szPulv + " " + szColh);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_NE(r.szSaida.find("Mapa de Velocidade 2 de 2: OK"), std::string::npos) << r.szSaida;
    EXPECT_TRUE(std::filesystem::exists(dir / "colh_Velocidade.kml"));
}
