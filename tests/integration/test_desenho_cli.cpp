// zavoro desenhar and zavoro recomendacao: the pictures they write, read back as pixels.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/Comando.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"
#include "zavoro/conversor.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
constexpr std::uint32_t kFundo = 0xF5F5F5;
constexpr std::uint32_t kBorda = 0x646464;
constexpr std::uint32_t kValorZero = 0xEBEBEB;
constexpr std::uint32_t kSemFaixa = 0xE1E1E1;

fs::path Amostra(const std::string& szNome)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    return fs::path(pcAmostras != nullptr ? pcAmostras : "samples") / szNome;
}

// The sample prescription and the sample spraying job, copied so outputs land in the scratch folder.
void CopiarAmostras(const DiretorioTemporario& dir)
{
    for (const char* pcNome : {"recomendacao_pulverizacao.shp", "recomendacao_pulverizacao.shx",
                               "recomendacao_pulverizacao.dbf", "pulverizacao_soja.nvg"})
        fs::copy_file(Amostra(pcNome), dir / pcNome);
}

std::uint32_t Cor(const QImage& imagem, int iX, int iY)
{
    return imagem.pixel(iX, iY) & 0x00FFFFFFu;
}

int FaixaDaCor(std::uint32_t ulCor)
{
    for (int i = 0; i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
        if (gulVetorCoresShp[i] == ulCor)
            return i;
    return -1;
}

// Frame, separator and the thirteen legend boxes (sampled at their centres) of a drawn map.
void VerificarMoldura(const QImage& imagem, bool bAmpliada)
{
    const int iLado = bAmpliada ? 550 : 355;
    const int iSeparador = bAmpliada ? 500 : 280;
    EXPECT_EQ(imagem.width(), iLado);
    EXPECT_EQ(imagem.height(), bAmpliada ? 550 : 335);
    EXPECT_EQ(Cor(imagem, 0, 0), kBorda);
    EXPECT_EQ(Cor(imagem, iLado - 1, imagem.height() - 1), kBorda);
    EXPECT_EQ(Cor(imagem, iLado / 2, iSeparador), kBorda);
    for (int i = 0; i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
    {
        SCOPED_TRACE("caixa " + std::to_string(i));
        const int iEsquerda = bAmpliada ? 20 + 39 * i : 8 + 26 * i;
        const int iTopo = bAmpliada ? 518 : 300;
        const int iLargura = bAmpliada ? 40 : 27;
        EXPECT_EQ(Cor(imagem, iEsquerda + iLargura / 2, iTopo + 7), gulVetorCoresShp[i]);
        EXPECT_EQ(Cor(imagem, iEsquerda, iTopo + 7), kBorda); // outlined
    }
}

QImage Carregar(const fs::path& caminho)
{
    QImage imagem(QString::fromStdString(caminho.string()));
    EXPECT_FALSE(imagem.isNull()) << caminho;
    return imagem;
}
} // namespace

TEST(ComandoDesenhar, AmostraGravaPainelEAmpliadaComALegenda)
{
    DiretorioTemporario dir;
    const fs::path png = dir / "rec.png";
    Resultado r = Executar("desenhar " + Aspas(Amostra("recomendacao_pulverizacao.shp").string()) + " --png " +
                           Aspas(png.string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    QImage painel = Carregar(png);
    QImage ampliada = Carregar(dir / "rec_ampliado.png");
    ASSERT_FALSE(painel.isNull() || ampliada.isNull());
    VerificarMoldura(painel, false);
    VerificarMoldura(ampliada, true);

    // Every zone of the prescription is in some row: inside the map box nothing is left unclassed.
    int iPintados = 0;
    for (int y = 8; y < 275; y += 6)
        for (int x = 45; x < 310; x += 6)
        {
            const std::uint32_t ulCor = Cor(painel, x, y);
            EXPECT_NE(ulCor, kSemFaixa) << x << "," << y;
            iPintados += FaixaDaCor(ulCor) >= 0;
        }
    EXPECT_GT(iPintados, 500);
}

TEST(ComandoDesenhar, PrimeiroCampoNumericoQuandoNaoHaCampo)
{
    // The text field comes first: the default must skip it and draw DOSE.
    DiretorioTemporario dir;
    ShpBuilder b;
    b.campos = {{"ZONA", 'C', 10, 0}, {"DOSE", 'N', 9, 2}};
    b.adicionar(ShpBuilder::retangulo(-51.94, -24.05, -51.92, -24.04), {"A1", "100.00"});
    b.adicionar(ShpBuilder::retangulo(-51.92, -24.05, -51.90, -24.04), {"A2", "200.00"});
    b.gravar(dir / "rec");

    Resultado r = Executar("desenhar " + Aspas((dir / "rec.shp").string()) + " --png " + Aspas((dir / "a.png").string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    r = Executar("desenhar " + Aspas((dir / "rec.shp").string()) + " --campo DOSE --png " +
                 Aspas((dir / "b.png").string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    QImage a = Carregar(dir / "a.png");
    EXPECT_EQ(a, Carregar(dir / "b.png"));
    // Wider than tall: the map fills the box across, left half low and right half high.
    EXPECT_LT(FaixaDaCor(Cor(a, 60, 140)), FaixaDaCor(Cor(a, 290, 140)));
    EXPECT_GE(FaixaDaCor(Cor(a, 60, 140)), 0);
}

TEST(ComandoDesenhar, CampoOuConjuntoRuimSai1ComOErro)
{
    DiretorioTemporario dir;
    const std::string szRec = Aspas(Amostra("recomendacao_pulverizacao.shp").string());
    const fs::path png = dir / "z.png";

    Resultado r = Executar("desenhar " + szRec + " --campo ZONA --png " + Aspas(png.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("Erro em desenho de mapa."), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(fs::exists(dir / "z_ampliado.png"));

    r = Executar("desenhar " + szRec + " --campo TAXA --png " + Aspas(png.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("\"TAXA\" não existe"), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("DOSE, ZONA"), std::string::npos) << r.szSaida;

    // A set without its table: the reader's message, then the drawing's error.
    fs::copy_file(Amostra("recomendacao_pulverizacao.shp"), dir / "sozinho.shp");
    r = Executar("desenhar " + Aspas((dir / "sozinho.shp").string()) + " --png " + Aspas(png.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("Arquivo \"sozinho.dbf\" não encontrado."), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(png));
}

TEST(ComandoRecomendacao, AmostraMostraACoberturaNasCoresDasFaixas)
{
    DiretorioTemporario dir;
    CopiarAmostras(dir);
    const std::string szPrefixo = (dir / "pulv").string();
    Resultado r = Executar("recomendacao --mapa " + Aspas((dir / "recomendacao_pulverizacao.shp").string()) +
                           " --png " + Aspas(szPrefixo) + " " + Aspas((dir / "pulverizacao_soja.nvg").string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_NE(r.szSaida.find("Mapa de Cobertura 1 de 1: OK"), std::string::npos) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "pulverizacao_soja_Cobertura.kml"));
    EXPECT_TRUE(fs::exists(dir / "pulverizacao_soja_Cobertura.dbf"));

    QImage mapa1 = Carregar(szPrefixo + "_mapa1.png");
    QImage mapa2 = Carregar(szPrefixo + "_mapa2.png");
    ASSERT_FALSE(mapa1.isNull() || mapa2.isNull());
    VerificarMoldura(mapa1, false);
    VerificarMoldura(mapa2, false);
    VerificarMoldura(Carregar(szPrefixo + "_mapa1_ampliado.png"), true);
    VerificarMoldura(Carregar(szPrefixo + "_mapa2_ampliado.png"), true);

    // Wherever map 2 shows work, it is classed by map 1's rows (never the unclassed grey) and lies on
    // the prescription's ground, drawn at map 1's scale.
    int iTrabalhados = 0, iSobreRecomendacao = 0;
    std::set<int> sFaixas;
    for (int y = 8; y < 275; y += 5)
        for (int x = 45; x < 310; x += 5)
        {
            const std::uint32_t ulCor = Cor(mapa2, x, y);
            if (ulCor == kFundo)
                continue;
            EXPECT_TRUE(FaixaDaCor(ulCor) >= 0 || ulCor == kValorZero)
                << "pixel " << x << "," << y << " #" << std::hex << ulCor;
            if (FaixaDaCor(ulCor) < 0)
                continue;
            iTrabalhados++;
            sFaixas.insert(FaixaDaCor(ulCor));
            iSobreRecomendacao += FaixaDaCor(Cor(mapa1, x, y)) >= 0;
        }
    EXPECT_GT(iTrabalhados, 500);
    EXPECT_GE(iSobreRecomendacao * 100, iTrabalhados * 95);

    // The job was classed by the same rows: the KML's coverage carries the styles of the rows seen.
    const std::vector<std::uint8_t> vKml = lerArquivo(dir / "pulverizacao_soja_Cobertura.kml");
    const std::string szKml(vKml.begin(), vKml.end());
    for (int iFaixa : sFaixas)
        EXPECT_NE(szKml.find(std::string("<styleUrl>") + gulVetorNomesCoresShp[iFaixa] + "</styleUrl>"),
                  std::string::npos)
            << gulVetorNomesCoresShp[iFaixa];
}

TEST(ComandoRecomendacao, SemPngGravaSoAsSaidasDaConversao)
{
    DiretorioTemporario dir;
    CopiarAmostras(dir);
    Resultado r = Executar("recomendacao --mapa " + Aspas((dir / "recomendacao_pulverizacao.shp").string()) +
                           " --campo DOSE " + Aspas((dir / "pulverizacao_soja.nvg").string()));
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "pulverizacao_soja_Cobertura.kml"));
    EXPECT_TRUE(fs::exists(dir / "pulverizacao_soja_Cobertura.shp"));
    for (const auto& entrada : fs::directory_iterator(dir.caminho()))
        EXPECT_NE(entrada.path().extension(), ".png") << entrada.path();
}

TEST(ComandoRecomendacao, FalhaDoMapa1OuDaConversaoSai1SemImagens)
{
    DiretorioTemporario dir;
    CopiarAmostras(dir);
    const std::string szRec = Aspas((dir / "recomendacao_pulverizacao.shp").string());

    // Map 1 cannot be drawn: nothing is converted.
    Resultado r = Executar("recomendacao --mapa " + szRec + " --campo ZONA --png " + Aspas((dir / "p").string()) +
                           " " + Aspas((dir / "pulverizacao_soja.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("Erro em desenho de mapa."), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "pulverizacao_soja_Cobertura.kml"));

    NvgBuilder estragado = NvgBuilder::tipico(9, 20);
    estragado.corrupcao.checksumErrado.push_back({Secao::Evento});
    estragado.gravar(dir / "ruim.nvg");
    r = Executar("recomendacao --mapa " + szRec + " --png " + Aspas((dir / "p").string()) + " " +
                 Aspas((dir / "ruim.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("ERRO - Tente Converter Novamente"), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "p_mapa1.png"));
    EXPECT_FALSE(fs::exists(dir / "p_mapa2.png"));
}

TEST(ComandoDesenhar, LinhaDeComandoErradaSai2)
{
    for (const char* pcArgs :
         {"desenhar", "desenhar r.shp", "desenhar r.shp --png", "desenhar r.shp --campo= --png a.png",
          "desenhar --cor azul r.shp --png a.png", "desenhar a.shp b.shp --png a.png", "desenhar --mapa r.shp --png a.png",
          "recomendacao a.nvg", "recomendacao --mapa r.shp", "recomendacao --mapa r.shp a.nvg b.nvg",
          "recomendacao --mapa r.shp a.nvg --campo", "recomendacao --mapa r.shp -j 2 a.nvg"})
    {
        SCOPED_TRACE(pcArgs);
        Resultado r = Executar(pcArgs);
        EXPECT_EQ(r.iSaida, 2);
        EXPECT_NE(r.szSaida.find("zavoro --help"), std::string::npos) << r.szSaida;
    }
    Resultado r = Executar("--help");
    EXPECT_NE(r.szSaida.find("desenhar REC.shp [--campo NOME] --png SAIDA.png"), std::string::npos);
    EXPECT_NE(r.szSaida.find("recomendacao --mapa REC.shp"), std::string::npos);
}
