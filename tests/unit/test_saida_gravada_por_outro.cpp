// Outputs whose temporary is filled by another writer by name (a library that creates its own files):
// released, they are published and discarded like any other output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/DiretorioTemporario.h"
#include "zavoro/funcoesAuxiliares.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
void GravarPorNome(const std::string& szCaminho, const std::string& szTexto)
{
    std::ofstream(szCaminho, std::ios::binary | std::ios::trunc) << szTexto;
}
} // namespace

TEST(SaidaGravadaPorOutro, PublicadaComOQueOutroEscritorDeixouJuntoAUmaSaidaComum)
{
    DiretorioTemporario dir;
    ST_ArquivoSaida stExterna, stComum;
    ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "campo.gpkg").string(), &stExterna));
    ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "campo.txt").string(), &stComum));
    ASSERT_TRUE(funcAux_LiberarArquivoSaida(&stExterna));
    EXPECT_EQ(stExterna.pfArquivo, nullptr);
    // An output that was never opened has no temporary to hand over.
    ST_ArquivoSaida stNuncaAberta;
    EXPECT_FALSE(funcAux_LiberarArquivoSaida(&stNuncaAberta));

    GravarPorNome(stExterna.szTemporario, "dados da biblioteca");
    std::fputs("texto", stComum.pfArquivo);
    ST_ArquivoSaida* const vSaidas[] = {&stExterna, &stComum};
    ASSERT_TRUE(funcAux_PublicarArquivosSaida(vSaidas));
    EXPECT_EQ(lerTexto(dir / "campo.gpkg"), "dados da biblioteca");
    EXPECT_EQ(lerTexto(dir / "campo.txt"), "texto");
    for (const fs::directory_entry& e : fs::directory_iterator(dir.caminho()))
        EXPECT_FALSE(e.path().filename().string().starts_with(".zvr")) << e.path();
}

TEST(SaidaGravadaPorOutro, EscritorQueNadaDeixouFalhaSemTocarOAnterior)
{
    DiretorioTemporario dir;
    GravarPorNome((dir / "campo.gpkg").string(), "anterior");
    ST_ArquivoSaida stSaida;
    ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "campo.gpkg").string(), &stSaida));
    ASSERT_TRUE(funcAux_LiberarArquivoSaida(&stSaida));
    fs::remove(stSaida.szTemporario);
    std::string szErro;
    EXPECT_FALSE(funcAux_ConcluirArquivoSaida(&stSaida, &szErro));
    EXPECT_NE(szErro.find("campo.gpkg"), std::string::npos) << szErro;
    EXPECT_EQ(lerTexto(dir / "campo.gpkg"), "anterior");

    // Discarded after release: the temporary the writer left goes, the target stays.
    ST_ArquivoSaida stDescartada;
    ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "campo.gpkg").string(), &stDescartada));
    ASSERT_TRUE(funcAux_LiberarArquivoSaida(&stDescartada));
    const std::string szTemporario = stDescartada.szTemporario;
    GravarPorNome(szTemporario, "parcial");
    funcAux_DescartarArquivoSaida(&stDescartada);
    EXPECT_FALSE(fs::exists(szTemporario));
    EXPECT_EQ(lerTexto(dir / "campo.gpkg"), "anterior");

    // A writer that made the temporary into a folder of its own files: the folder goes whole.
    ST_ArquivoSaida stPasta;
    ASSERT_TRUE(funcAux_AbrirArquivoSaida((dir / "campo").string(), &stPasta));
    ASSERT_TRUE(funcAux_LiberarArquivoSaida(&stPasta));
    fs::remove(stPasta.szTemporario);
    fs::create_directories(fs::path(stPasta.szTemporario) / "sub");
    GravarPorNome((fs::path(stPasta.szTemporario) / "sub" / "campo.gpkg").string(), "parcial");
    const std::string szPasta = stPasta.szTemporario;
    funcAux_DescartarArquivoSaida(&stPasta);
    EXPECT_FALSE(fs::exists(szPasta));
}
