// zavoro desenhar and zavoro recomendacao: the pictures they write, read back as pixels.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/Comando.h"
#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"
#include "zavoro/conversor.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
// Border, background, zero value and no row, as Retrato prints them.
const std::map<std::uint32_t, char> kSimbolos = {{0x646464, '#'}, {0xF5F5F5, '.'}, {0xEBEBEB, '0'}, {0xE1E1E1, '-'}};

// The sample prescription and the sample spraying job, copied so outputs land in the scratch folder.
void CopiarAmostras(const DiretorioTemporario& dir)
{
    for (const char* pcNome : {"recomendacao_pulverizacao.shp", "recomendacao_pulverizacao.shx",
                               "recomendacao_pulverizacao.dbf", "pulverizacao_soja.nvg"})
        fs::copy_file(amostra(pcNome), dir / pcNome);
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

// One character per sampled pixel of the map and of the legend boxes' row, leaving out the labels,
// whose anti-aliasing depends on the fonts: '#' border, '.' background, '0' zero value, '-' no row,
// 'a'.. the rows.
std::string Retrato(const QImage& imagem, int iPasso, std::set<int>* psFaixas = nullptr)
{
    const bool bAmpliada = imagem.width() > 400;
    const int iFimMapa = bAmpliada ? 500 : 280; // the separator above the legend
    std::vector<int> vLinhas;
    for (int y = iPasso / 2; y < iFimMapa; y += iPasso)
        vLinhas.push_back(y);
    vLinhas.push_back(bAmpliada ? 525 : 307);
    std::string sz = std::to_string(imagem.width()) + "x" + std::to_string(imagem.height()) + "\n";
    for (int y : vLinhas)
    {
        for (int x = iPasso / 2; x < imagem.width(); x += iPasso)
        {
            const std::uint32_t ulCor = Cor(imagem, x, y);
            const int iFaixa = FaixaDaCor(ulCor);
            if (iFaixa >= 0 && psFaixas != nullptr && y < iFimMapa)
                psFaixas->insert(iFaixa);
            const auto itSimbolo = kSimbolos.find(ulCor);
            sz += iFaixa >= 0 ? static_cast<char>('a' + iFaixa) : itSimbolo != kSimbolos.end() ? itSimbolo->second : '?';
        }
        sz += '\n';
    }
    return sz;
}

QImage Carregar(const fs::path& caminho)
{
    QImage imagem(QString::fromStdString(caminho.string()));
    EXPECT_FALSE(imagem.isNull()) << caminho;
    return imagem;
}
} // namespace

TEST(ComandoRecomendacao, AmostraMostraACoberturaNasCoresDasFaixas)
{
    DiretorioTemporario dir;
    CopiarAmostras(dir);
    const std::string szRec = Aspas((dir / "recomendacao_pulverizacao.shp").string());
    const std::string szNvg = Aspas((dir / "pulverizacao_soja.nvg").string());
    const std::string szArgs = "recomendacao --mapa " + szRec + " " + szNvg;

    // Without --png only the conversion's outputs are written.
    Resultado r = Executar(szArgs);
    ASSERT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_NE(r.szSaida.find("Mapa de Cobertura 1 de 1: OK"), std::string::npos) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "pulverizacao_soja_Cobertura.dbf"));
    for (const auto& entrada : fs::directory_iterator(dir.caminho()))
        EXPECT_NE(entrada.path().extension(), ".png") << entrada.path();

    const std::string szPrefixo = (dir / "pulv").string();
    ASSERT_EQ(Executar(szArgs + " --png " + Aspas(szPrefixo)).iSaida, 0);
    ASSERT_EQ(Executar("desenhar " + szRec + " --png " + Aspas((dir / "rec.png").string())).iSaida, 0);
    // Map 1 is the prescription as desenhar draws it.
    const QImage mapa1 = Carregar(szPrefixo + "_mapa1.png");
    const QImage mapa2 = Carregar(szPrefixo + "_mapa2.png");
    EXPECT_EQ(mapa1, Carregar(dir / "rec.png"));
    EXPECT_EQ(Carregar(szPrefixo + "_mapa1_ampliado.png"), Carregar(dir / "rec_ampliado.png"));
    // Map 2 shows the work classed by map 1's rows, drawn at map 1's scale; both with frame and legend.
    std::set<int> sFaixas;
    EXPECT_TRUE(CompararComDados("desenho/amostra_recomendacao.txt",
                                 Retrato(mapa1, 4) + Retrato(mapa2, 4, &sFaixas) +
                                     Retrato(Carregar(dir / "rec_ampliado.png"), 6) +
                                     Retrato(Carregar(szPrefixo + "_mapa2_ampliado.png"), 6)));
    EXPECT_GE(sFaixas.size(), 2u);

    // The job was classed by the same rows: the KML's coverage carries the styles of the rows seen.
    const std::string szKml = lerTexto(dir / "pulverizacao_soja_Cobertura.kml");
    for (int iFaixa : sFaixas)
        EXPECT_NE(szKml.find(std::string("<styleUrl>") + gulVetorNomesCoresShp[iFaixa] + "</styleUrl>"),
                  std::string::npos)
            << gulVetorNomesCoresShp[iFaixa];
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

    const std::string szShp = Aspas((dir / "rec.shp").string());
    ASSERT_EQ(Executar("desenhar " + szShp + " --png " + Aspas((dir / "a.png").string())).iSaida, 0);
    ASSERT_EQ(Executar("desenhar " + szShp + " --campo=DOSE --png=" + Aspas((dir / "b.png").string())).iSaida,
              0);
    QImage a = Carregar(dir / "a.png");
    EXPECT_EQ(a, Carregar(dir / "b.png"));
    // Wider than tall: the map fills the box across, left half low and right half high.
    EXPECT_LT(FaixaDaCor(Cor(a, 60, 140)), FaixaDaCor(Cor(a, 290, 140)));
    EXPECT_GE(FaixaDaCor(Cor(a, 60, 140)), 0);
}

TEST(ComandoDesenhar, CampoOuConjuntoRuimSai1ComOErro)
{
    DiretorioTemporario dir;
    const fs::path png = dir / "z.png";
    Resultado r = Executar("desenhar " + Aspas(amostra("recomendacao_pulverizacao.shp").string()) +
                           " --campo TAXA --png " + Aspas(png.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("\"TAXA\" não existe"), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("DOSE, ZONA"), std::string::npos) << r.szSaida;

    // A set without its table: the reader's message, then the drawing's error, and no picture.
    fs::copy_file(amostra("recomendacao_pulverizacao.shp"), dir / "sozinho.shp");
    r = Executar("desenhar " + Aspas((dir / "sozinho.shp").string()) + " --png " + Aspas(png.string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("Arquivo \"sozinho.dbf\" não encontrado."), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("Erro em desenho de mapa."), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(fs::exists(dir / "z_ampliado.png"));
}

TEST(ComandoRecomendacao, FalhaDoMapa1OuDaConversaoSai1SemImagens)
{
    DiretorioTemporario dir;
    CopiarAmostras(dir);
    const std::string szRec = Aspas((dir / "recomendacao_pulverizacao.shp").string());
    const std::string szArgs = "recomendacao --mapa " + szRec + " --png " + Aspas((dir / "p").string()) + " ";

    // Map 1 cannot be drawn from a text field: nothing is converted.
    Resultado r = Executar(szArgs + "--campo ZONA " + Aspas((dir / "pulverizacao_soja.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("Erro em desenho de mapa."), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "pulverizacao_soja_Cobertura.kml"));

    NvgBuilder estragado = NvgBuilder::tipico(9, 20);
    estragado.corrupcao.checksumErrado.push_back({Secao::Evento});
    estragado.gravar(dir / "ruim.nvg");
    r = Executar(szArgs + Aspas((dir / "ruim.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find("ERRO - Tente Converter Novamente"), std::string::npos) << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "p_mapa1.png"));
    EXPECT_FALSE(fs::exists(dir / "p_mapa2.png"));
}

// The drawing runs in zavoro-desenho, looked up beside the zavoro that was started (not in PATH, not
// in the current folder); without it the drawing subcommands say so and the text ones still work.
TEST(ComandoDesenhar, ProgramaDeDesenhoAoLadoDoComando)
{
    DiretorioTemporario dir;
    const fs::path zavoro = std::getenv("ZAVORO_BIN");
    fs::create_directory(dir / "bin");
    fs::copy_file(zavoro, dir / "bin" / "zavoro");
    fs::copy_file(zavoro.parent_path() / "zavoro-desenho", dir / "bin" / "zavoro-desenho");
    const std::string szComando = Aspas((dir / "bin" / "zavoro").string());
    const std::string szDesenhar = " desenhar " + Aspas(amostra("recomendacao_pulverizacao.shp").string()) +
                                   " --png " + Aspas((dir / "d.png").string());

    Resultado r = Shell("cd " + Aspas(dir.caminho().string()) + " && " + szComando + szDesenhar);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
    EXPECT_TRUE(fs::exists(dir / "d_ampliado.png"));

    fs::remove(dir / "d.png");
    fs::rename(dir / "bin" / "zavoro-desenho", dir / "zavoro-desenho");
    r = Shell("cd " + Aspas(dir.caminho().string()) + " && PATH=" + Aspas(dir.caminho().string()) + " " + szComando + szDesenhar);
    EXPECT_EQ(r.iSaida, 1);
    const fs::path esperado = fs::canonical(dir / "bin") / "zavoro-desenho";
    EXPECT_NE(r.szSaida.find("zavoro: desenhar: não foi possível executar " + esperado.string()), std::string::npos)
        << r.szSaida;
    EXPECT_FALSE(fs::exists(dir / "d.png"));

    r = Shell(szComando + " validar " + Aspas(amostra("pulverizacao_soja.nvg").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
}
