// Output sets: published whole or not at all, interrupted publications finished by the next run,
// leftovers of ended runs removed, batch names that never fall on each other.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
const char* const kExtensoes[] = {".kml", ".shp", ".shx", ".dbf", ".prj"};

std::string Texto(const fs::path& caminho)
{
    const std::vector<std::uint8_t> v = lerArquivo(caminho);
    return std::string(v.begin(), v.end());
}

void GravarTexto(const DiretorioTemporario& dir, const std::string& szNome, const std::string& szTexto)
{
    dir.gravar(szNome, std::vector<std::uint8_t>(szTexto.begin(), szTexto.end()));
}

// What this system leaves in a folder only while it runs.
std::vector<std::string> Restos(const fs::path& pasta)
{
    std::vector<std::string> v;
    for (const fs::directory_entry& e : fs::directory_iterator(pasta))
        if (e.path().filename().string().starts_with(".zvr"))
            v.push_back(e.path().filename().string());
    return v;
}

// A name of this system's pattern owned by a process id no system gives out.
std::string NomeMorto(int iContador, const char* pcSufixo)
{
    char sz[32];
    std::snprintf(sz, sizeof sz, ".zvr3fffffff%06x%s", iContador, pcSufixo);
    return sz;
}
} // namespace

// The map's five files are one unit: when any target cannot be replaced (here a folder stands at the
// .prj, renamed fourth, or at the .kml, renamed last), every earlier file stays as it was.
TEST(ConjuntoSaida, FalhaAoPublicarQualquerArquivoMantemOConjuntoAnterior)
{
    for (const char* pcBloqueado : {".prj", ".kml"})
    {
        DiretorioTemporario dir;
        NvgBuilder::tipico(9, 40).gravar(dir / "job.nvg");
        for (const char* pcExtensao : kExtensoes)
        {
            if (std::string(pcExtensao) == pcBloqueado)
                fs::create_directories(dir / ("job_Cobertura" + std::string(pcExtensao)) / "dentro");
            else
                GravarTexto(dir, "job_Cobertura" + std::string(pcExtensao), "velho");
        }
        const ST_ParametrosMapa stParametros;
        std::string szErro;
        const std::string szKml = (dir / "job_Cobertura.kml").string();
        EXPECT_FALSE(conversor_CriarMapaNavegacao((dir / "job.nvg").string().c_str(), szKml.c_str(),
                                                  D_CONVERSOR_TIPO_MAPA_COBERTURA, &stParametros, nullptr, &szErro));
        EXPECT_NE(szErro.find("job_Cobertura" + std::string(pcBloqueado) + " ("), std::string::npos) << szErro;
        for (const char* pcExtensao : kExtensoes)
            EXPECT_TRUE(std::string(pcExtensao) == pcBloqueado ||
                        Texto(dir / ("job_Cobertura" + std::string(pcExtensao))) == "velho")
                << pcBloqueado << pcExtensao;
        EXPECT_TRUE(Restos(dir.caminho()).empty()) << pcBloqueado;
    }
}

// A run killed during the renames leaves a journal; the next output into that folder finishes the
// publication (the new set, whole). A journal cut short means the renames never began: the old set
// stays and the new files go. Leftovers of ended runs go; a newer one (another run's) stays.
TEST(ConjuntoSaida, PublicacaoInterrompidaEConcluidaOuDesfeitaNaProximaExecucao)
{
    for (const bool bDiarioCompleto : {true, false})
    {
        DiretorioTemporario dir;
        GravarTexto(dir, "a.kml", bDiarioCompleto ? "novo" : "velho"); // the first rename happened
        GravarTexto(dir, "a.shp", "velho");
        GravarTexto(dir, NomeMorto(2, ".tmp"), "novo");
        GravarTexto(dir, NomeMorto(3, ".bak"), "velho");
        GravarTexto(dir, NomeMorto(9, ".tmp"), "resto");
        std::string szDiario = "ZVR-PUBLICACAO 1\n" + NomeMorto(1, ".tmp") + '\0' + "a.kml" + '\0' + '\0' +
                               NomeMorto(2, ".tmp") + '\0' + "a.shp" + '\0' + NomeMorto(3, ".bak") + '\0';
        if (bDiarioCompleto)
            szDiario += "FIM";
        GravarTexto(dir, NomeMorto(4, ".pub"), szDiario);
        const auto antes = fs::file_time_type::clock::now() - std::chrono::hours(1);
        for (const std::string& szNome : Restos(dir.caminho()))
            fs::last_write_time(dir / szNome, antes);
        GravarTexto(dir, NomeMorto(10, ".tmp"), "de uma execução mais nova");

        ST_ArquivoSaida stSaida;
        ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "outro.txt").string(), &stSaida));
        funcAux_DescartarArquivoSaida(&stSaida);
        const char* pcEsperado = bDiarioCompleto ? "novo" : "velho";
        EXPECT_EQ(Texto(dir / "a.kml"), bDiarioCompleto ? "novo" : "velho");
        EXPECT_EQ(Texto(dir / "a.shp"), pcEsperado);
        EXPECT_EQ(Restos(dir.caminho()), std::vector<std::string>{NomeMorto(10, ".tmp")});
    }
}

TEST(ConjuntoSaida, NomesDoLoteNuncaCaemUnsSobreOsOutros)
{
    using V = std::vector<std::string>;
    const std::tuple<int, V, V> casos[] = {
        {D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, {"d/campo.nvg", "d/campo.NVG", "d/Campo.dat", "d/outro.nvg"},
         {"d/campo.txt", "d/campo_NVG.txt", "d/Campo_dat.txt", "d/outro.txt"}},
        // A report would fall on an input: on another file's, or on the file itself.
        {D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, {"x.nvg", "x.txt"}, {"x_nvg.txt", "x_txt.txt"}},
        // The same file twice, and a name without extension, still get distinct outputs.
        {D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE, {"j", "j", "./j"},
         {"j_Velocidade.kml", "j_2_Velocidade.kml", "./j_3_Velocidade.kml"}},
        // A map's shapefile set counts too.
        {D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA, {"m.nvg", "m_Cobertura.dbf"},
         {"m_nvg_Cobertura.kml", "m_Cobertura_Cobertura.kml"}},
    };
    for (const auto& [iTipo, vArquivos, vEsperado] : casos)
        EXPECT_EQ(conversor_NomesSaidaLote(vArquivos, iTipo), vEsperado) << vArquivos.front();
}

// The temporary name is short and fixed, so any name the system allows can be an output.
TEST(ConjuntoSaida, NomeDeSaidaDe250Bytes)
{
    DiretorioTemporario dir;
    const fs::path entrada = dir / (std::string(246, 'r') + ".nvg");
    NvgBuilder::tipico(9, 10).gravar(entrada);
    const std::string szSaida = conversor_NomeArquivoSaida(entrada.string(), D_CONVERSOR_TIPO_CONVERSAO_RELATORIO);
    std::string szErro;
    EXPECT_TRUE(conversor_CriarRelatoriosNavegacao(entrada.string().c_str(), szSaida.c_str(), &szErro)) << szErro;
    EXPECT_EQ(fs::path(szSaida).filename().string().size(), 250u);
    EXPECT_TRUE(fs::exists(szSaida));
}
