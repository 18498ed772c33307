// The Windows build of the command, run under Wine, against this build's command: the same inputs give
// the same output files, byte for byte, and Windows-only names are refused with a reason. Skipped, with
// the reason, where Wine or the Windows build is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
// "" when the Windows command can run here; otherwise why not.
std::string MotivoAusencia()
{
    if (Shell("command -v wine").iSaida != 0)
        return "Wine não instalado (scripts/setup.sh --windows)";
    if (!fs::exists(ZAVORO_BIN_WINDOWS))
        return "zavoro.exe não construído (make windows)";
    return {};
}

// The command line that runs zavoro.exe under Wine from folder pasta, in the Windows build's prefix.
std::string ComandoWindows(const fs::path& pasta, const std::string& szArgumentos)
{
    return "cd " + Aspas(pasta.string()) + " && WINEDEBUG=-all WINEPREFIX=" + Aspas(ZAVORO_WINEPREFIX) + " wine " +
           Aspas(ZAVORO_BIN_WINDOWS) + " " + szArgumentos;
}

std::string ComandoLinux(const fs::path& pasta, const std::string& szArgumentos)
{
    return "cd " + Aspas(pasta.string()) + " && " + Aspas(std::getenv("ZAVORO_BIN") ? std::getenv("ZAVORO_BIN") : "zavoro") + " " + szArgumentos;
}

// Every test here needs the Windows command; without it each is skipped with the reason.
class WindowsComando : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::string szMotivo = MotivoAusencia(); !szMotivo.empty())
            GTEST_SKIP() << szMotivo;
    }
};

// The navigation files both commands convert: the samples and the builder's files of every event
// version in both containers, some with turn-heavy driving (many coverage polygons).
std::vector<std::string> GravarEntradas(const fs::path& pasta)
{
    std::vector<std::string> vNomes;
    for (const fs::directory_entry& entrada : fs::directory_iterator(fs::path(ZAVORO_SOURCE_DIR) / "samples"))
        if (entrada.path().extension() == ".nvg")
        {
            fs::copy_file(entrada.path(), pasta / entrada.path().filename());
            vNomes.push_back(entrada.path().filename().string());
        }
    for (std::uint16_t usEvento = 1; usEvento <= D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO; usEvento++)
        for (std::uint32_t uiContainer : {1u, 2u})
        {
            NvgBuilder b = NvgBuilder::tipico(usEvento, 40);
            b.uiVersaoArquivo = uiContainer;
            if (usEvento % 2 == 1)
                b.etapas.push_back(etapaManobras(600));
            const std::string szNome = "evento_v" + std::to_string(usEvento) + "_c" + std::to_string(uiContainer) + ".nvg";
            b.gravar(pasta / szNome);
            vNomes.push_back(szNome);
        }
    return vNomes;
}
} // namespace

TEST_F(WindowsComando, SaidasIdenticasAsDoLinux)
{
    DiretorioTemporario dirLinux, dirWindows;
    const std::vector<std::string> vNomes = GravarEntradas(dirLinux.caminho());
    GravarEntradas(dirWindows.caminho());
    std::string szArquivos;
    for (const std::string& szNome : vNomes)
        szArquivos += " " + Aspas(szNome);

    for (const std::string szComando : {"relatorio -j2", "mapa --cobertura -j2", "mapa --velocidade --alvos 3,,9,12,"})
    {
        const Resultado rLinux = Shell(ComandoLinux(dirLinux.caminho(), szComando + szArquivos));
        const Resultado rWindows = Shell(ComandoWindows(dirWindows.caminho(), szComando + szArquivos));
        EXPECT_EQ(rWindows.iSaida, rLinux.iSaida) << szComando << "\n" << rWindows.szSaida;
    }

    const auto linux = lerPasta(dirLinux.caminho());
    const auto windows = lerPasta(dirWindows.caminho());
    ASSERT_GT(linux.size(), 4 * vNomes.size()) << "the commands wrote too little to compare";
    for (const auto& [szNome, vBytes] : linux)
    {
        const auto it = windows.find(szNome);
        ASSERT_NE(it, windows.end()) << szNome << " not written by zavoro.exe";
        EXPECT_TRUE(it->second == vBytes) << szNome << " differs (" << it->second.size() << " bytes against "
                                          << vBytes.size() << ")";
    }
    EXPECT_EQ(windows.size(), linux.size());
}

TEST_F(WindowsComando, NomesQueSoOWindowsRecusa)
{
    DiretorioTemporario dir;
    // Linux takes all three names; Windows takes the first, and refuses the others with the reason.
    for (const char* pcNome : {"ação .nvg", "ação.nvg ", "com1.nvg"})
        NvgBuilder::tipico(9, 20).gravar(dir / pcNome);
    const Resultado r =
        Shell(ComandoWindows(dir.caminho(), "relatorio " + Aspas("ação .nvg") + " " + Aspas("ação.nvg ") + " com1.nvg"));
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "ação .txt")) << r.szSaida;
    EXPECT_NE(r.szSaida.find("o Windows não aceita o nome \"ação.nvg \" (termina em ponto ou espaço)"), std::string::npos)
        << r.szSaida;
    EXPECT_NE(r.szSaida.find("o Windows não aceita o nome \"com1.nvg\" (COM1 é reservado para um dispositivo)"),
              std::string::npos)
        << r.szSaida;
}

TEST_F(WindowsComando, CaminhosComAcentosEEspacosELongos)
{
    DiretorioTemporario dir;
    // A folder path past the classic 260-character limit, with accents and spaces on the way.
    fs::path pasta = dir.caminho();
    std::string szRelativo;
    for (int i = 0; i < 6; i++)
    {
        const std::string szParte = "Safra Ção 2026 talhão número " + std::to_string(i) + " da fazenda São João";
        pasta /= szParte;
        szRelativo += (i ? "/" : "") + szParte;
    }
    fs::create_directories(pasta);
    NvgBuilder::tipico(9, 20).gravar(pasta / "Pulverização.nvg");
    Resultado r = Shell(ComandoWindows(dir.caminho(), "mapa " + Aspas(szRelativo + "/Pulverização.nvg")));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    for (const char* pcSufixo : {".kml", ".shp", ".shx", ".dbf", ".prj"})
        EXPECT_TRUE(fs::exists(pasta / (std::string("Pulverização_Cobertura") + pcSufixo))) << pcSufixo << "\n"
                                                                                         << r.szSaida;
    // An output folder with accents (--saida): found, and the report written into it.
    fs::create_directory(dir / "Relatórios São João");
    r = Shell(ComandoWindows(dir.caminho(), "relatorio --saida " + Aspas("Relatórios São João") + " " +
                                                Aspas(szRelativo + "/Pulverização.nvg")));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "Relatórios São João" / "Pulverização.txt")) << r.szSaida;
}

TEST_F(WindowsComando, SubcomandosAusentesDitos)
{
    DiretorioTemporario dir;
    // The drawing helper is not built for Windows: the help says so, and the subcommand tells why it fails.
    Resultado r = Shell(ComandoWindows(dir.caminho(), "--help"));
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_NE(r.szSaida.find("Nesta versão para Windows não há desenhar nem recomendacao"), std::string::npos) << r.szSaida;
    r = Shell(ComandoWindows(dir.caminho(), "desenhar mapa.shp --png mapa.png"));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("zavoro: desenhar: não disponível nesta instalação (falta "), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "mapa.png"));
}
