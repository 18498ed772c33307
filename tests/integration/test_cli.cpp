// The zavoro command as scripts use it: output lines, exit status, messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"
#include "zavoro/versao.h"

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

    Resultado r =
        Executar("validar " + Aspas(bom) + " " + Aspas(ruim) + " " + Aspas((dir / "falta.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_TRUE(Contem(r.szSaida, bom.string() + ": válido\n"));
    EXPECT_TRUE(Contem(r.szSaida, ruim.string() + ": inválido: evento (byte "));
    EXPECT_TRUE(Contem(r.szSaida, "soma de verificação da seção incorreta"));
    EXPECT_TRUE(Contem(r.szSaida, "falta.nvg: inválido: arquivo (byte 0): não foi possível abrir o arquivo"));
}

TEST(ComandoValidar, AjudaEVersao)
{
    Resultado r = Executar("--version");
    EXPECT_EQ(r.iSaida, 0);
    // The package's version, as the man page and the package show it.
    EXPECT_EQ(r.szSaida, std::string("zavoro ") + D_ZAVORO_VERSAO + "\n");
    r = Executar("--help");
    EXPECT_EQ(r.iSaida, 0);
    for (const char* pcComando : {"validar", "relatorio", "mapa", "recomendacao", "desenhar", "procurar", "isoxml"})
        EXPECT_TRUE(Contem(r.szSaida, std::string("\n  ") + pcComando + " "));
    EXPECT_TRUE(Contem(r.szSaida, "COMANDO --help")); // each subcommand's own help is named
    for (const char* pcAjuda : {"-h", "ajuda", "help"})
        EXPECT_EQ(Executar(pcAjuda).szSaida, r.szSaida) << pcAjuda;
}

// Every subcommand reads its options through one parser: a wrong line exits 2 with its message only.
TEST(ComandoOpcoes, LinhaErradaSai2SoComAMensagem)
{
    const std::pair<const char*, const char*> casos[] = {
        {"", "falta o comando"},
        {"--verbose", "opção desconhecida: --verbose"},
        {"converter x.nvg", "comando desconhecido: converter"},
        {"help converter", "comando desconhecido: converter"},
        {"validar", "validar: informe ao menos um arquivo ou pasta"},
        {"procurar a b", "procurar: informe uma pasta"},
        {"relatorio", "relatorio: informe ao menos um arquivo ou pasta"},
        {"relatorio x.nvg -j", "a opção -j exige um número"},
        {"relatorio -j= x.nvg", "a opção -j exige um número"},
        {"relatorio -j 0 x.nvg", "número de conversões simultâneas inválido: 0"},
        {"relatorio -j257 x.nvg", "número de conversões simultâneas inválido: 257"},
        {"relatorio -jx x.nvg", "número de conversões simultâneas inválido: x"},
        {"mapa", "mapa: informe ao menos um arquivo ou pasta"},
        {"mapa --alvos", "a opção --alvos exige cinco valores separados por vírgula"},
        {"mapa --alvos=1,2,3 x.nvg",
         "--alvos exige cinco valores separados por vírgula (vazios permitidos): 1,2,3"},
        {"mapa --alvos=1.5,,,, x.nvg", "--alvos aceita só números inteiros sem sinal: 1.5"},
        {"mapa --alvos=,-5,,, x.nvg", "--alvos aceita só números inteiros sem sinal: -5"},
        {"mapa --alvos=99999999999,,,, x.nvg", "--alvos: valor grande demais (no máximo 4 dígitos): 99999999999"},
        {"mapa --cobertura --velocidade x.nvg", "mapa: use --cobertura ou --velocidade, não as duas"},
        {"mapa --velocidade=1 x.nvg", "opção desconhecida: --velocidade=1"},
        {"mapa --alvosx 1,2,3,4,5 x.nvg", "opção desconhecida: --alvosx"},
        {"desenhar a.shp b.shp --png a.png", "desenhar: informe um arquivo .shp de recomendação"},
        {"desenhar r.shp", "desenhar: informe a imagem de saída com --png SAIDA.png"},
        {"desenhar r.shp --png", "a opção --png exige um valor"},
        {"desenhar r.shp --campo= --png a.png", "a opção --campo exige um valor"},
        {"desenhar --mapa r.shp --png a.png", "opção desconhecida: --mapa"},
        {"recomendacao a.nvg", "recomendacao: informe o mapa de recomendação com --mapa REC.shp"},
        {"recomendacao --mapa=r.shp a.nvg b.nvg", "recomendacao: informe um arquivo de navegação (.nvg)"},
        {"recomendacao --mapa r.shp a.nvg --campo", "a opção --campo exige um valor"},
        {"recomendacao --mapa r.shp -j 2 a.nvg", "opção desconhecida: -j"},
        {"isoxml", "isoxml: informe ao menos um arquivo ou pasta"},
        {"isoxml --versao 5 x.nvg", "versão desconhecida (use 3 ou 4): 5"},
    };
    const std::string szDica = "\nUse \"zavoro --help\" para ver o uso.\n";
    for (const auto& [pcArgs, pcMensagem] : casos)
    {
        SCOPED_TRACE(pcArgs);
        Resultado r = Executar(pcArgs);
        EXPECT_EQ(r.iSaida, 2);
        EXPECT_EQ(r.szSaida, "zavoro: " + std::string(pcMensagem) + szDica);
    }
}

TEST(ComandoOpcoes, ValorJuntoOuSeparadoEOperandosDepoisDeDoisTracos)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 5).gravar(dir / "a.nvg");
    const std::string szA = Aspas((dir / "a.nvg").string());
    for (const char* pcTrabalhos : {"-j 2", "-j2", "-j=2"})
    {
        Resultado r = Executar("relatorio " + szA + " " + pcTrabalhos); // options may follow operands
        EXPECT_EQ(r.iSaida, 0) << pcTrabalhos << "\n" << r.szSaida;
        EXPECT_TRUE(Contem(r.szSaida, "Relatório 1 de 1: OK"));
    }

    // After "--" even a known option is a file name; "-" alone is one anywhere.
    Resultado r = Executar("relatorio -j 1 -- -j " + szA);
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "Relatório 1 de 2: ERRO"));
    EXPECT_TRUE(Contem(r.szSaida, "Arquivo de Navegação: -j\n"));
    EXPECT_TRUE(Contem(r.szSaida, "Relatório 2 de 2: OK"));
    r = Executar("validar -");
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_EQ(r.szSaida, "-: inválido: arquivo (byte 0): não foi possível abrir o arquivo: arquivo ou pasta inexistente\n");
}

TEST(ComandoRelatorio, BlocosNaOrdemDosArquivosComVariasConversoesAoMesmoTempo)
{
    DiretorioTemporario dir;
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
            EXPECT_TRUE(Contem(r.szSaida, "Talhão: Talhão " + std::to_string(i)));
            EXPECT_TRUE(std::filesystem::exists(dir / ("f" + std::to_string(i) + ".txt")));
        }
    }
    EXPECT_TRUE(Contem(r.szSaida, "f2.nvg: arquivo inválido: guia 1"));
    EXPECT_FALSE(std::filesystem::exists(dir / "f2.txt"));
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
    Resultado r = Executar("mapa --alvos=100,,,200, " + szPulv);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    const std::string szKml = lerTexto(dir / "pulv_Cobertura.kml");
    EXPECT_TRUE(Contem(szKml, "Abaixo de 101 L/ha"));
    EXPECT_TRUE(Contem(szKml, "Acima de 200 L/ha"));
    EXPECT_EQ(szKml.find("Abaixo de 76 L/ha"), std::string::npos);

    // Targets out of order, or none at all, are refused with the window's message.
    for (const char* pcAlvos : {"100,50,,,", ",,,,", "5,10,15,20,120"})
    {
        r = Executar(std::string("mapa --velocidade --alvos ") + pcAlvos + " " + szPulv);
        EXPECT_EQ(r.iSaida, 2) << pcAlvos;
        EXPECT_TRUE(Contem(r.szSaida, "Ajuste os valores em ordem crescente."));
    }
    // ... except for a coverage map of files with no rate to class.
    r = Executar("mapa --alvos ,,,, " + szColh);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(std::filesystem::exists(dir / "colh_Cobertura.kml"));
    r = Executar("mapa --alvos ,,,, " + szColh + " " + szPulv);
    EXPECT_EQ(r.iSaida, 2);
}

// Two files whose outputs share a name are both converted, each into its own report, side by side
// with -j 2; the renamed one says so.
TEST(ComandoSaidas, ArquivosDeMesmoNomeNaoSobrepoemSaidas)
{
    DiretorioTemporario dir, sozinhos;
    const NvgBuilder curto = NvgBuilder::tipico(9, 12), longo = NvgBuilder::tipico(9, 30);
    curto.gravar(dir / "campo.nvg");
    longo.gravar(dir / "campo.NVG");
    curto.gravar(sozinhos / "a.nvg");
    longo.gravar(sozinhos / "b.nvg");
    ASSERT_EQ(Executar("relatorio " + Aspas(sozinhos.caminho().string())).iSaida, 0);

    const Resultado r = Executar("relatorio -j 2 " + Aspas((dir / "campo.nvg").string()) + " " +
                                 Aspas((dir / "campo.NVG").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "Saída gravada como campo_NVG.txt: outro arquivo do lote usa campo.txt\n"));
    EXPECT_EQ(lerArquivo(dir / "campo.txt"), lerArquivo(sozinhos / "a.txt"));
    EXPECT_EQ(lerArquivo(dir / "campo_NVG.txt"), lerArquivo(sozinhos / "b.txt"));
}

// Special files are refused at once instead of blocking the command (a FIFO waits for a writer for
// ever); names cannot forge output lines; a folder without navigation files and a picture where a
// folder stands are failures, and the refused picture writes nothing.
TEST(ComandoSaidas, EntradasEspeciaisENomesEstranhos)
{
    DiretorioTemporario dir, vazia;
    ASSERT_EQ(Shell("mkfifo " + Aspas((dir / "fila.nvg").string()) + " " + Aspas((dir / "rec.dbf").string())).iSaida, 0);
    Resultado r = Shell("timeout 20 " + Aspas(std::getenv("ZAVORO_BIN")) + " validar " + Aspas((dir / "fila.nvg").string()));
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "não foi possível abrir o arquivo: não é um arquivo comum (FIFO, dispositivo ou socket)"));
    ShpBuilder rec;
    rec.campos = {{"DOSE", 'N', 9, 2}};
    rec.adicionar(ShpBuilder::retangulo(-51.93, -24.05, -51.92, -24.04), {"150.00"});
    dir.gravar("rec.shp", rec.construirShp());
    r = Shell("timeout 20 " + Aspas(std::getenv("ZAVORO_BIN")) + " desenhar " + Aspas((dir / "rec.shp").string()) +
              " --png " + Aspas((dir / "rec.png").string()));
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;

    // A special file at an output's name is refused, never replaced by a plain file.
    ASSERT_EQ(Shell("mkfifo " + Aspas((dir / "job.txt").string())).iSaida, 0);
    NvgBuilder::tipico(9, 10).gravar(dir / "job.nvg");
    r = Shell("timeout 20 " + Aspas(std::getenv("ZAVORO_BIN")) + " relatorio " + Aspas((dir / "job.nvg").string()));
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "job.txt (não é um arquivo comum)"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "job.txt"));

    NvgBuilder::tipico(9, 10).gravar(dir / "a\nb.nvg");
    r = Executar("validar " + Aspas((dir / "a\nb.nvg").string()));
    EXPECT_EQ(r.szSaida, (dir / "a\\nb.nvg: válido\n").string());

    r = Executar("relatorio " + Aspas(vazia.caminho().string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_TRUE(Contem(r.szSaida, "Não há arquivos de navegação."));

    rec.gravar(dir / "rec2");
    std::filesystem::create_directory(dir / "quadro.png");
    r = Executar("desenhar " + Aspas((dir / "rec2.shp").string()) + " --png " + Aspas((dir / "quadro.png").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_TRUE(Contem(r.szSaida, "quadro.png: é uma pasta"));
    EXPECT_FALSE(std::filesystem::exists(dir / "quadro_ampliado.png"));
}

// SIGTERM while a 1,000,000-point map is being written (its first temporary is there): exit 143, no temporary left, and the map set
// that was there before is whole.
TEST(ComandoSaidas, SigtermDuranteUmMapaGrande)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 20).gravar(dir / "job.nvg");
    ASSERT_EQ(Executar("mapa " + Aspas((dir / "job.nvg").string())).iSaida, 0);
    auto antes = lerPasta(dir.caminho());
    NvgBuilder::tipico(9, 1000000).gravar(dir / "job.nvg");
    antes["job.nvg"] = lerArquivo(dir / "job.nvg");

    const Resultado r = Shell(Aspas(std::getenv("ZAVORO_BIN")) + " mapa " + Aspas((dir / "job.nvg").string()) +
                              " & p=$!; for i in $(seq 500); do ls -A " + Aspas(dir.caminho().string()) +
                              " | grep -q '^[.]zvr' && break; sleep 0.01; done; kill -TERM $p; wait $p; echo saida=$?");
    EXPECT_TRUE(Contem(r.szSaida, "saida=143"));
    const auto depois = lerPasta(dir.caminho());
    EXPECT_TRUE(depois == antes) << depois.size() << " arquivos";
}

// Folders are searched as the window's folder button searches them (sub-folders, the extension in any
// case) by validar, procurar and relatorio alike, and every batch and listing goes in path order.
TEST(ComandoSaidas, PastasBuscadasEmOrdemDeCaminho)
{
    DiretorioTemporario dir;
    std::filesystem::create_directories(dir / "sub/mais");
    for (const char* pcNome : {"b.nvg", "sub/mais/c.NVG", "a.nvg"})
        NvgBuilder::tipico(9, 3).gravar(dir / pcNome);
    const std::string szPasta = dir.caminho().string();
    const std::string szArquivos[] = {szPasta + "/a.nvg", szPasta + "/b.nvg", szPasta + "/sub/mais/c.NVG"};
    Resultado r = Executar("validar " + Aspas(szPasta));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_EQ(r.szSaida, szArquivos[0] + ": válido\n" + szArquivos[1] + ": válido\n" + szArquivos[2] + ": válido\n");
    r = Executar("procurar " + Aspas(szPasta));
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, szArquivos[0] + "\n" + szArquivos[1] + "\n" + szArquivos[2] +
                             "\n3 arquivo(s) encontrado(s); código 0: busca concluída\n");
    r = Executar("relatorio -j1 " + Aspas(szPasta));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "Relatório 3 de 3: OK\nArquivo de Navegação: " + szArquivos[2]));
    EXPECT_TRUE(std::filesystem::exists(dir / "sub/mais/c.txt"));
}
