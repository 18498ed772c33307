// zavoro isoxml as scripts use it: what a batch with a bad file writes, the exit status and messages,
// and where --saida and --juntar put the zips (its wrong lines are in test_cli's table).
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

TEST(ComandoIsoxml, ArquivoInvalidoDaSeuDiagnosticoSaida1ESemNadaGravado)
{
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 20).gravar(dir / "bom.nvg");
    NvgBuilder estragado = NvgBuilder::tipico(9, 20);
    estragado.corrupcao.checksumErrado.push_back({Secao::Evento});
    estragado.gravar(dir / "ruim.nvg");

    const Resultado r =
        Executar("isoxml " + Aspas(dir / "bom.nvg") + " " + Aspas(dir / "ruim.nvg") + " 2>&1");
    EXPECT_EQ(r.iSaida, 1) << r.szSaida;
    EXPECT_NE(r.szSaida.find("ruim.nvg: arquivo inválido: "), std::string::npos) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "bom_ISOXML.zip"));
    EXPECT_FALSE(fs::exists(dir / "ruim_ISOXML.zip"));
    // No temporary left beside the outputs.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.caminho()), fs::directory_iterator()), 3) << r.szSaida;

    // Joined, one bad file spoils the whole TaskData: nothing is written.
    const Resultado j =
        Executar("isoxml --juntar --saida " + Aspas(dir / "sub") + " " + Aspas(dir / "bom.nvg") + " 2>&1");
    EXPECT_EQ(j.iSaida, 1) << j.szSaida; // the folder does not exist
    fs::create_directory(dir / "sub");
    const Resultado k = Executar("isoxml --juntar --saida " + Aspas(dir / "sub") + " " +
                                 Aspas(dir / "bom.nvg") + " " + Aspas(dir / "ruim.nvg") + " 2>&1");
    EXPECT_EQ(k.iSaida, 1) << k.szSaida;
    EXPECT_TRUE(fs::is_empty(dir / "sub")) << k.szSaida;
}

TEST(ComandoIsoxml, MesmoNomeEmDuasPastasNumeradoNaPastaDeSaida)
{
    DiretorioTemporario dir;
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    fs::create_directories(dir / "saida");
    NvgBuilder::tipico(9, 10).gravar(dir / "a/campo.nvg");
    NvgBuilder::tipico(9, 12).gravar(dir / "b/campo.nvg");
    const Resultado r = Executar("isoxml --saida " + Aspas(dir / "saida") + " " + Aspas(dir / "a/campo.nvg") +
                                 " " + Aspas(dir / "b/campo.nvg") + " 2>&1");
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "saida/campo_ISOXML.zip")) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "saida/campo_2_ISOXML.zip")) << r.szSaida;
}
