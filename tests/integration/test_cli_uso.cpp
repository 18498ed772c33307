// The command in everyday use: help per subcommand, the output folder, results for scripts (--json),
// quiet runs, the written paths and the progress line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"

using namespace zavoro_teste;

namespace
{

std::string Zavoro()
{
    return Aspas(std::getenv("ZAVORO_BIN"));
}

// stdout alone; stderr goes to szErros.
Resultado SoSaidaPadrao(const std::string& szArgumentos, const std::filesystem::path& erros)
{
    return Shell("{ " + Zavoro() + " " + szArgumentos + " 2>" + Aspas(erros.string()) + "; }");
}

// Every line of szLinhas checked against the schema in docs/ by a real JSON Schema validator.
::testing::AssertionResult ValidoNoEsquema(const std::string& szLinhas, const DiretorioTemporario& dir)
{
    const auto linhas = dir.gravar("linhas.jsonl", std::vector<std::uint8_t>(szLinhas.begin(), szLinhas.end()));
    const Resultado r = Shell("python3 -c 'import json, sys, jsonschema\n"
                              "esquema = json.load(open(sys.argv[1]))\n"
                              "for linha in open(sys.argv[2], encoding=\"utf-8\"):\n"
                              "    jsonschema.validate(json.loads(linha), esquema)\n"
                              "print(\"ok\")' " +
                              Aspas(ZAVORO_SOURCE_DIR "/docs/zavoro-resultado.schema.json") + " " +
                              Aspas(linhas.string()));
    if (r.iSaida == 0 && r.szSaida == "ok\n")
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.szSaida << "\nlinhas:\n" << szLinhas;
}
} // namespace

// Each subcommand explains itself, by "SUB --help", "SUB -h" and "help SUB" alike, even with operands
// on the line (which are then not converted).
TEST(ComandoAjuda, CadaSubcomandoTemSuaAjuda)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 5).gravar(dir / "a.nvg");
    const std::string szA = Aspas((dir / "a.nvg").string());
    const std::pair<const char*, std::vector<const char*>> casos[] = {
        {"validar", {"--json", "-q"}},
        {"relatorio", {"-j N", "--saida PASTA", "--json", "-q"}},
        {"mapa", {"--cobertura", "--velocidade", "--alvos", "--saida PASTA", "--json"}},
        {"exportar", {"--formato", "-j N", "--saida PASTA", "--json"}},
        {"procurar", {"--help"}},
        {"desenhar", {"--campo", "--png", "--saida PASTA"}},
        {"recomendacao", {"--mapa", "--png PREFIXO", "--saida PASTA"}},
    };
    for (const auto& [pcComando, vOpcoes] : casos)
    {
        SCOPED_TRACE(pcComando);
        const std::string szComando = pcComando;
        const Resultado r = Executar(szComando + " " + szA + " --help");
        EXPECT_EQ(r.iSaida, 0);
        EXPECT_TRUE(r.szSaida.starts_with("Uso: zavoro " + szComando + " ")) << r.szSaida;
        EXPECT_TRUE(r.szSaida.ends_with("\n"));
        for (const char* pcOpcao : vOpcoes)
            EXPECT_TRUE(Contem(r.szSaida, pcOpcao));
        EXPECT_EQ(Executar("help " + szComando).szSaida, r.szSaida);
        EXPECT_EQ(Executar(szComando + " -h").szSaida, r.szSaida);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "a.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "a_Cobertura.kml"));
}

// Outputs go to the folder named as beside their input; two inputs of one name from different folders
// do not overwrite each other there; a folder that is missing or is a file stops the run before any
// conversion.
TEST(ComandoSaida, PastaDeSaida)
{
    DiretorioTemporario dir, saida;
    std::filesystem::create_directories(dir / "um");
    std::filesystem::create_directories(dir / "dois");
    NvgBuilder::tipico(9, 10).gravar(dir / "um/campo.nvg");
    NvgBuilder::tipico(9, 30).gravar(dir / "dois/campo.nvg");
    const std::string szPasta = Aspas(saida.caminho().string());

    Resultado r = Executar("mapa -j 2 --saida " + szPasta + " " + Aspas((dir / "um/campo.nvg").string()) + " " +
                           Aspas((dir / "dois/campo.nvg").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    for (const char* pcExtensao : {".kml", ".shp", ".shx", ".dbf", ".prj"})
    {
        EXPECT_TRUE(std::filesystem::exists(saida / (std::string("campo_Cobertura") + pcExtensao))) << pcExtensao;
        EXPECT_TRUE(std::filesystem::exists(saida / (std::string("campo_nvg_Cobertura") + pcExtensao))) << pcExtensao;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "um/campo_Cobertura.kml"));
    EXPECT_TRUE(Contem(r.szSaida, "Saída gravada como campo_nvg_Cobertura.kml: outro arquivo do lote usa campo_Cobertura.kml\n"));
    // The first file keeps its own name, so it is not told it was renamed.
    EXPECT_EQ(r.szSaida.find("Saída gravada como campo_Cobertura.kml"), std::string::npos);

    // The same report as one written beside its input.
    r = Executar("relatorio --saida=" + szPasta + " " + Aspas((dir / "um/campo.nvg").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    ASSERT_EQ(Executar("relatorio " + Aspas((dir / "um/campo.nvg").string())).iSaida, 0);
    EXPECT_EQ(lerArquivo(saida / "campo.txt"), lerArquivo(dir / "um/campo.txt"));

    r = Executar("relatorio --saida " + Aspas((dir / "falta").string()) + " " + Aspas((dir / "um/campo.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_TRUE(Contem(r.szSaida, "pasta de saída inexistente: " + (dir / "falta").string()));
    EXPECT_EQ(r.szSaida.find("Relatório"), std::string::npos);
    r = Executar("mapa --saida " + Aspas((dir / "um/campo.nvg").string()) + " " + Aspas((dir / "um/campo.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_TRUE(Contem(r.szSaida, "a saída não é uma pasta"));
    // validar writes nothing, so it has no output folder.
    EXPECT_EQ(Executar("validar --saida " + szPasta + " x.nvg").iSaida, 2);
}

// Plain runs name every file written; --json prints one object per file and nothing else on stdout;
// -q prints nothing there; the reason of a failure reaches stderr in every mode.
TEST(ComandoSaida, CaminhosJsonESilencio)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 10).gravar(dir / "bom.nvg");
    // A name with a control character and a byte that is not UTF-8.
    const std::string szEstranho = "b\x01\xff.nvg";
    NvgBuilder::tipico(9, 10).gravar(dir / szEstranho);
    NvgBuilder ruim = NvgBuilder::tipico(9, 10);
    ruim.corrupcao.checksumErrado.push_back({Secao::Evento});
    ruim.gravar(dir / "ruim.nvg");
    const std::string szPasta = Aspas(dir.caminho().string());

    Resultado r = Executar("mapa -j 1 " + Aspas((dir / "bom.nvg").string()));
    for (const char* pcNome : {"bom_Cobertura.kml", "bom_Cobertura.shp", "bom_Cobertura.shx", "bom_Cobertura.dbf",
                               "bom_Cobertura.prj"})
    {
        EXPECT_TRUE(Contem(r.szSaida, "Arquivo gravado: " + (dir / pcNome).string() + "\n"));
        EXPECT_TRUE(std::filesystem::exists(dir / pcNome));
    }

    for (const char* pcComando : {"relatorio --json -j1 ", "mapa --velocidade --json -j1 ", "validar --json "})
    {
        SCOPED_TRACE(pcComando);
        r = SoSaidaPadrao(pcComando + szPasta, dir / "erros.txt");
        EXPECT_EQ(r.iSaida, 1);
        EXPECT_TRUE(ValidoNoEsquema(r.szSaida, dir));
        std::istringstream linhas(r.szSaida);
        std::vector<std::string> vLinhas;
        for (std::string sz; std::getline(linhas, sz);)
            vLinhas.push_back(sz);
        ASSERT_EQ(vLinhas.size(), 3u) << r.szSaida;
        // Path order: "b\x01..." < "bom" < "ruim".
        EXPECT_TRUE(Contem(vLinhas[0], "\"entrada\":\"" + dir.caminho().string() + "/b\\u0001\xef\xbf\xbd.nvg\""));
        EXPECT_TRUE(Contem(vLinhas[1], "\"status\":\"ok\""));
        EXPECT_TRUE(Contem(vLinhas[2], "\"status\":\"erro\""));
        EXPECT_TRUE(Contem(vLinhas[2], "soma de verificação"));
        EXPECT_TRUE(Contem(lerTexto(dir / "erros.txt"), "ruim.nvg: "));
    }

    r = SoSaidaPadrao("relatorio -q " + szPasta, dir / "erros.txt");
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_EQ(r.szSaida, "");
    const std::string szErros = lerTexto(dir / "erros.txt");
    EXPECT_TRUE(Contem(szErros, "ruim.nvg: arquivo inválido: evento"));
    EXPECT_EQ(szErros.find("bom.nvg"), std::string::npos);
    r = SoSaidaPadrao("validar --quiet " + szPasta, dir / "erros.txt");
    EXPECT_EQ(r.szSaida, "");
    EXPECT_TRUE(Contem(lerTexto(dir / "erros.txt"), "ruim.nvg: evento (byte"));

    r = Executar("relatorio --json -q " + szPasta);
    EXPECT_EQ(r.iSaida, 2);
    EXPECT_TRUE(Contem(r.szSaida, "use --json ou -q, não os dois"));
}

// The drawing subcommands take the same output options: pictures into the output folder, and their
// paths as one JSON line.
TEST(ComandoSaida, ImagensNaPastaDeSaidaEEmJson)
{
    DiretorioTemporario dir, saida;
    ShpBuilder rec;
    rec.campos = {{"DOSE", 'N', 9, 2}};
    rec.adicionar(ShpBuilder::retangulo(-51.93, -24.05, -51.92, -24.04), {"150.00"});
    rec.gravar(dir / "rec");
    const Resultado r = SoSaidaPadrao("desenhar " + Aspas((dir / "rec.shp").string()) + " --png figura --json --saida " +
                                          Aspas(saida.caminho().string()),
                                      dir / "erros.txt");
    EXPECT_EQ(r.iSaida, 0) << lerTexto(dir / "erros.txt");
    EXPECT_TRUE(ValidoNoEsquema(r.szSaida, dir));
    EXPECT_TRUE(Contem(r.szSaida, "\"saidas\":[\"" + (saida / "figura.png").string() + "\",\"" +
                                      (saida / "figura_ampliado.png").string() + "\"]"));
    EXPECT_TRUE(std::filesystem::exists(saida / "figura_ampliado.png"));
}

// The progress line is drawn on a terminal only, rewritten in place, and erased before each result
// and at the end; stdout is left alone.
TEST(ComandoSaida, ProgressoSoNumTerminal)
{
    if (Shell("command -v script").iSaida != 0)
        GTEST_SKIP() << "script (util-linux) não instalado";
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 400000).gravar(dir / "grande.nvg");
    NvgBuilder::tipico(9, 10).gravar(dir / "pequeno.nvg");
    const std::string szLinha = Zavoro() + " relatorio -j 1 " + Aspas(dir.caminho().string()) + " >" +
                                Aspas((dir / "saida.txt").string());

    // Under a pseudo-terminal: only stderr reaches it, stdout goes to the file.
    Resultado r = Shell("script -qec " + Aspas(szLinha) + " /dev/null");
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "\r[1/2] 0% grande.nvg - calculando o tempo restante"));
    EXPECT_TRUE(Contem(r.szSaida, "% pequeno.nvg - faltam cerca de "));
    EXPECT_TRUE(r.szSaida.ends_with("\r")) << "a linha não foi apagada no fim";
    EXPECT_EQ(lerTexto(dir / "saida.txt").find('\r'), std::string::npos);

    r = Shell(szLinha);
    EXPECT_EQ(r.szSaida, "");
    r = Shell("script -qec " + Aspas(szLinha + " -q") + " /dev/null");
    EXPECT_EQ(r.szSaida, "");
}

// The line fits its terminal row whatever the name, and the estimate follows the share done.
TEST(ComandoSaida, LinhaDeProgresso)
{
    ST_SaidaCli stSaida;
    stSaida.bProgresso = true;
    ST_ProgressoCli st;
    cli_IniciarProgresso(&st, stSaida, {"/falta/um_nome_de_arquivo_bem_comprido_que_nao_cabe_na_linha_çççç.nvg", "b.nvg"});
    st.vTamanhos = {300, 100};
    st.ulTotal = 400;
    using std::chrono::seconds;
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(5), 200),
              "[1/2] 0% um_nome_de_arquivo_bem_comprido_que_nao_cabe_na_linha_çççç.nvg - calculando o tempo restante");
    const std::string szCurta = cli_LinhaProgresso(st, seconds(5), 60);
    std::size_t iCaracteres = 0;
    for (const char c : szCurta)
        iCaracteres += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    EXPECT_LT(iCaracteres, 60u) << szCurta;
    EXPECT_TRUE(Contem(szCurta, "...")) << szCurta;

    // Three quarters in 90 s: 30 s more at that pace, less what the next file has taken since.
    st.ulFeito = 300;
    st.iConcluidos = 1;
    st.decorridoUltimoConcluido = seconds(90);
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(90), 80), "[2/2] 75% b.nvg - faltam cerca de 30 s");
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(110), 80), "[2/2] 75% b.nvg - faltam cerca de 10 s");
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(200), 80), "[2/2] 75% b.nvg - faltam cerca de 1 s");
    st.decorridoUltimoConcluido = seconds(3 * 3600);
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(3 * 3600), 80), "[2/2] 75% b.nvg - faltam cerca de 1 h 0 min");
    // Files of no size count by number.
    st.vTamanhos = {0, 0};
    st.ulTotal = 0;
    st.ulFeito = 0;
    st.decorridoUltimoConcluido = seconds(100);
    EXPECT_EQ(cli_LinhaProgresso(st, seconds(100), 80), "[2/2] 50% b.nvg - faltam cerca de 1 min 40 s");
}

// The desktop program answers --help and --version without a display, and without one says so in
// Portuguese and exits 1 instead of aborting inside Qt (a display that does not answer included).
TEST(AplicativoArgumentos, AjudaVersaoESemTela)
{
    const std::string szApp =
        Aspas((std::filesystem::path(std::getenv("ZAVORO_BIN")).parent_path() / "quibar-zavoro").string());
    const std::string szSemTela = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + szApp;

    Resultado r = Shell(szSemTela + " --help");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_TRUE(r.szSaida.starts_with("Uso: quibar-zavoro [OPÇÕES] [ARQUIVO...]\n")) << r.szSaida;
    EXPECT_TRUE(Contem(r.szSaida, "QT_QPA_PLATFORM=offscreen"));
    r = Shell(szSemTela + " --version");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, Executar("--version").szSaida.replace(0, 6, "quibar-zavoro"));
    r = Shell(szSemTela + " --nada");
    EXPECT_EQ(r.iSaida, 2);
    EXPECT_TRUE(Contem(r.szSaida, "opção desconhecida: --nada"));

    for (const std::string szTela : {"", "DISPLAY=:97 "})
    {
        SCOPED_TRACE(szTela);
        r = Shell(szSemTela.substr(0, szSemTela.find(szApp)) + szTela + szApp + " arquivo.nvg");
        EXPECT_EQ(r.iSaida, 1) << r.szSaida;
        EXPECT_TRUE(Contem(r.szSaida, "quibar-zavoro: não há tela disponível para abrir a janela"));
        EXPECT_TRUE(Contem(r.szSaida, "use o comando zavoro"));
    }
}

// The bash completion installed with the package, sourced in bash and asked as the shell asks it:
// subcommands and options come from the command's own help, operands are navigation files and folders.
TEST(ComandoCompletar, SubcomandosOpcoesEArquivos)
{
    DiretorioTemporario dir;
    std::filesystem::create_directory(dir / "pasta");
    for (const char* pcNome : {"campo.nvg", "CAMPO2.NVG", "campo.txt", "rec.shp"})
        dir.gravar(pcNome, {});
    const std::string szBin = std::filesystem::path(std::getenv("ZAVORO_BIN")).parent_path().string();
    auto Completar = [&](const std::string& szPalavras) {
        const std::string szScript = "cd " + Aspas(dir.caminho().string()) + " && PATH=" + Aspas(szBin) +
                                     ":$PATH && source " + Aspas(ZAVORO_SOURCE_DIR "/rc/zavoro.bash-completion") +
                                     " && COMP_WORDS=(" + szPalavras + ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1))" +
                                     "; _zavoro; printf '%s\\n' \"${COMPREPLY[@]}\" | sort | tr '\\n' ' '";
        return Shell("bash -c " + Aspas(szScript)).szSaida;
    };
    EXPECT_EQ(Completar("zavoro ma"), "mapa ");
    EXPECT_EQ(Completar("zavoro help re"), "recomendacao relatorio ");
    EXPECT_EQ(Completar("zavoro mapa --s"), "--saida ");
    EXPECT_EQ(Completar("zavoro validar --"), "--help --json --quiet ");
    EXPECT_EQ(Completar("zavoro relatorio ''"), "CAMPO2.NVG campo.nvg pasta ");
    EXPECT_EQ(Completar("zavoro mapa --saida ''"), "pasta ");
    EXPECT_EQ(Completar("zavoro desenhar ''"), "pasta rec.shp ");
    EXPECT_EQ(Completar("zavoro exportar --formato g"), "geojson gpkg ");
}
