// The window logic without a toolkit, its map panes drawn on plain pictures. The test thread plays the
// window thread and drains the workers' notices; these tests also run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/ServicosFalsos.h"
#include "support/ShpBuilder.h"
#include "support/SuperficieRaster.h"
#include "zavoro/funcoesAuxiliares.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;
using Ids = std::vector<int>;
using Textos = std::vector<std::string>;

namespace
{
// The expected screens are the full build's; a build without the comparison (Windows) shows the same
// screens without its button.
::testing::AssertionResult CompararTela(const std::string& szArquivo, const std::string& szTela)
{
    if (analise_Disponivel())
        return CompararComDados(szArquivo, szTela);
    std::ifstream entrada(fs::path(ZAVORO_SOURCE_DIR) / "tests" / "dados" / szArquivo, std::ios::binary);
    std::string szEsperado, szLinha;
    while (std::getline(entrada, szLinha))
        if (!szLinha.starts_with("btnCompararMapas "))
            szEsperado += szLinha + "\n";
    if (szEsperado == szTela)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << szArquivo << " sem o botão da comparação:\n" << szEsperado << "obtido:\n"
                                         << szTela;
}

// A window started as the program starts it: fake services, plain pictures for the map panes, no pauses.
struct JanelaTeste
{
    static constexpr int kL = D_SHPFILE_LARGURA_MAPA, kA = D_SHPFILE_ALTURA_MAPA, kMax = D_SHPFILE_LADO_MAPA_MAX;
    SuperficieRaster paineis[2]{{kL, kA}, {kL, kA}}, ampliadas[2]{{kMax, kMax}, {kMax, kMax}};
    ST_Janela stJanela;
    ServicosFalsos servicos{&stJanela, true};
    DiretorioTemporario pasta;

    explicit JanelaTeste(std::vector<ST_FormatoExportacao> vFormatos = {})
    {
        stJanela.vFormatosExportacao = std::move(vFormatos);
        for (int i = 0; i < 2; i++)
        {
            stJanela.gstVisualizador.stMapa[i] = paineis[i].superficie();
            stJanela.gstVisualizador.stMapaMax[i] = ampliadas[i].superficie();
        }
        stJanela.unidadePausa = std::chrono::nanoseconds(0);
        principal_InitDialogHandler(&stJanela);
    }
    // The workers post to the fake services: they end before the services go.
    ~JanelaTeste() { principal_EncerrarTrabalhos(&stJanela); }
    ST_Controle& C(int iId) { return principal_Controle(&stJanela, iId); }
    const std::string& Texto(int iId) { return C(iId).szTexto; }
    // Which of these controls are enabled, shown on screen.
    int Nivel() const { return stJanela.gucNivelMenuConversaoOpcoesMapa; }
    void Comando(int iId, unsigned int uiNotif = 0) { principal_CommandHandler(&stJanela, iId | (uiNotif << 16)); }
    void Digitar(int iId, const char* pcTexto)
    {
        C(iId).szTexto = pcTexto;
        Comando(iId, D_PRINCIPAL_EN_CHANGE);
    }
    // Every control on screen as a line (name, enabled/checked/animated, place and size, text with the
    // test folder as <pasta>), so a screen is compared whole rather than a few of its controls.
    std::string Tela()
    {
        std::string sz;
        const std::string szPasta = pasta.caminho().string();
        for (const ST_Controle& st : stJanela.vControles)
        {
            if (!principal_ControleVisivel(&stJanela, st.pstDefinicao->iId))
                continue;
            std::string szTexto = st.szTexto;
            for (std::size_t pos; (pos = szTexto.find(szPasta)) != std::string::npos;)
                szTexto.replace(pos, szPasta.size(), "<pasta>");
#if defined(_WIN32)
            // Windows shows paths with its own separator; the expected screens are written with '/'.
            std::replace(szTexto.begin(), szTexto.end(), '\\', '/');
#endif
            for (std::size_t pos; (pos = szTexto.find("\r\n")) != std::string::npos;)
                szTexto.replace(pos, 2, "|");
            sz += std::string(st.pstDefinicao->szNome) + " " + (st.bHabilitado ? "h" : "-") + (st.bMarcado ? "m" : "-") +
                  (st.bMarquee ? "a" : "-") + " " + std::to_string(st.iX) + "," + std::to_string(st.iY) + " " +
                  std::to_string(st.iLargura) + "x" + std::to_string(st.iAltura) + " " + szTexto;
            for (const std::string& szItem : st.vItens)
                sz += (&szItem == &st.vItens[0] ? " [" + std::to_string(st.iSelecao) + "] " : ",") + szItem;
            sz += "\n";
        }
        return sz;
    }
    // What the panel paints now, a line per box, tick and text.
    std::string Pintura()
    {
        const ST_PinturaPainel st = principal_PaintHandler(&stJanela);
        std::string sz;
        char ac[96];
        for (const auto* pv : {&st.vCaixas, &st.vTracos})
            for (const ST_CaixaPintura& c : *pv)
                sz += (std::snprintf(ac, sizeof ac, "%s %d,%d-%d,%d %06X\n", pv == &st.vCaixas ? "caixa" : "traço", c.iX0,
                                     c.iY0, c.iX1, c.iY1, static_cast<unsigned>(c.ulCor)), ac);
        for (const ST_TextoPintura& t : st.vTextos)
            sz += (std::snprintf(ac, sizeof ac, "texto %d,%d %dpx%s%s ", t.iX, t.iY, t.iPixels,
                                 t.bSublinhado ? " sublinhado" : "", t.bCentralizado ? " centrado" : ""), ac) +
                  t.szTexto + "\n";
        return sz + "--\n";
    }
    // Copies a sample into the test's folder (conversions write beside their input).
    std::string Copiar(const std::string& szNome, const std::string& szDestino = "")
    {
        const fs::path destino = pasta / (szDestino.empty() ? szNome : szDestino);
        fs::copy_file(amostra(szNome), destino, fs::copy_options::overwrite_existing);
        return destino.string();
    }
    // The recommendation set under other names; the .shp path.
    std::string CopiarRec(const char* pcShp, const char* pcShx, const char* pcDbf)
    {
        Copiar("recomendacao_pulverizacao.shx", pcShx);
        Copiar("recomendacao_pulverizacao.dbf", pcDbf);
        return Copiar("recomendacao_pulverizacao.shp", pcShp);
    }
    // Presses a button whose dialog answers with these files (or this folder).
    void Pedir(int iBotao, std::vector<std::string> vArquivos)
    {
        if (iBotao == btnSelecioneDiretorio)
            servicos.filaDiretorios.push_back(vArquivos[0]);
        else
            servicos.filaArquivos.push_back(std::move(vArquivos));
        Comando(iBotao);
    }
    // ... and waits for the search or the classification.
    bool Selecionar(std::vector<std::string> vArquivos, int iBotao = btnSelecioneArquivos)
    {
        Pedir(iBotao, std::move(vArquivos));
        return EsperarSelecao();
    }
    bool EsperarSelecao()
    {
        return servicos.EsperarAte([this] { return !C(pgBarConvertendo).bVisivel; });
    }
    bool EsperarFimConversao()
    {
        return servicos.EsperarAte([this] { return C(btnSelecioneArquivos).bHabilitado && C(etStatus).bVisivel; });
    }
    int DuploClique(int iMapa, int iDx, int iDy)
    {
        const ST_PontoTela st = principal_ImprimirMapas(&stJanela).stCanto[iMapa];
        return principal_MapaDuploClique(&stJanela, st.iX + iDx, st.iY + iDy);
    }
};

// Pixels of the shapefile rows' colours in a pane's map box (above its legend strip).
int PixelsDeLinha(const SuperficieRaster& imagem)
{
    int n = 0;
    for (std::uint32_t ulCor : gulVetorCoresShp)
        n += imagem.contar(ulCor, 0, 0, imagem.largura(), 270);
    return n;
}

bool TemTextoDeErro(const SuperficieRaster& imagem)
{
    return std::any_of(imagem.textos().begin(), imagem.textos().end(),
                       [](const TextoDesenhado& st) { return st.ulCor == D_SHPFILE_RGB_COR_TEXTO_ERRO; });
}
} // namespace

TEST(JanelaEstados, PassosDeMapaPorTipoDeArquivo)
{
    constexpr int kPulv = D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO;
    constexpr int kOutras = D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;
    const std::tuple<bool, int, Ids> casos[] = {
        {true, kPulv, {0, 1, 3, 4}},   {true, kOutras, {0, 1, 3, 4}}, {false, kOutras, {0, 1, 5}},
        {false, kPulv | kOutras, {0, 1, 3, 4, 5}}, {false, kPulv, {0, 1, 3, 4}},
        {false, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO, {0, 1, 3, 4}}};
    for (const auto& [bVelocidade, iTipos, vEsperadas] : casos)
    {
        JanelaTeste j;
        j.stJanela.giTipoArquivosCarregados = iTipos;
        // Forward, choosing the map kind by its radio button; the step after the last screen starts the job.
        Ids vTelas{j.Nivel()};
        for (int i = 0; i < 8 && (j.Comando(btnBotaoDireita), j.Nivel() != 0); i++)
        {
            if (j.Nivel() == 1)
            {
                EXPECT_EQ((Textos{j.Texto(grpConversaoOpcoesMapa), j.Texto(btnBotaoEsquerda), j.Texto(btnBotaoDireita)}),
                          (Textos{"Opções de Mapa", "<< Voltar", "Avançar >>"}));
                if (bVelocidade)
                    j.Comando(rdbtnOpcao2);
            }
            vTelas.push_back(j.Nivel());
        }
        EXPECT_EQ(vTelas, vEsperadas) << iTipos << " velocidade " << bVelocidade;
        EXPECT_EQ(j.stJanela.stConversao.gstConversaoArquivos.iTipoConversao,
                  bVelocidade ? D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE : D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA);
        ASSERT_TRUE(j.EsperarFimConversao());
        // Back from the last screen walks the same screens in reverse.
        for (std::size_t i = 1; i < vTelas.size(); i++)
            j.Comando(btnBotaoDireita);
        Ids vTras{j.Nivel()};
        while (j.Nivel() != 0 && vTras.size() < 8)
            vTras.push_back((j.Comando(btnBotaoEsquerda), j.Nivel()));
        EXPECT_EQ(vTras, Ids(vEsperadas.rbegin(), vEsperadas.rend())) << iTipos;
    }
}

TEST(JanelaEstados, RadiosPorGrupoETrocaDeModoMantemOsPaineis)
{
    JanelaTeste j;
    j.stJanela.giTipoArquivosCarregados = D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO;
    j.Comando(btnBotaoDireita);
    EXPECT_TRUE(j.C(rdbtnOpcao1).bMarcado && !j.C(rdbtnOpcao2).bMarcado);
    j.Comando(rdbtnOpcao2);
    // The clicked button is checked, the other of its group unchecked, the other group left alone.
    EXPECT_TRUE(j.C(rdbtnOpcao2).bMarcado && !j.C(rdbtnOpcao1).bMarcado && j.C(rdConversorArquivos).bMarcado);
    j.Comando(btnBotaoDireita);
    j.Digitar(etValorAlvo1, "3");
    j.C(etValorAlvo2).szTexto = "4";
    j.Comando(etValorAlvo2); // only a change of the text counts
    EXPECT_EQ((Ids{j.stJanela.iVelocidadeAlvoMapa[0], j.stJanela.iVelocidadeAlvoMapa[1]}), (Ids{3, 10}));
    const std::string szAlvos = j.Tela();

    j.stJanela.bRepintar = false;
    j.Comando(rdVisualizacaoMapas);
    EXPECT_TRUE(j.stJanela.bRepintar);
    EXPECT_TRUE(j.C(rdVisualizacaoMapas).bMarcado && !j.C(rdConversorArquivos).bMarcado && j.C(rdbtnOpcao2).bMarcado);
    // Map mode at start: only the map 1 button and path are usable.
    EXPECT_TRUE(CompararTela("janela/modo_mapas.txt", j.Tela()));
    EXPECT_TRUE(principal_PaintHandler(&j.stJanela).vCaixas.empty());

    j.Comando(rdConversorArquivos);
    EXPECT_EQ(j.Tela(), szAlvos);
    EXPECT_EQ(principal_PaintHandler(&j.stJanela).vCaixas.size(), 6u);
}

TEST(JanelaSelecao, ArquivosFecharERelatoriosNaLista)
{
    JanelaTeste j;
    // Dialog units at 6 x 13; only the selection buttons and texts are shown, and only the file button works.
    const std::string szInicial = j.Tela();
    EXPECT_TRUE(CompararTela("janela/inicial.txt", szInicial));
    const std::string szPulv = j.Copiar("pulverizacao_soja.nvg");
    ASSERT_TRUE(j.Selecionar({szPulv}));
    EXPECT_EQ(j.servicos.vDialogos.back(), "Arquivos NVG (*.nvg)");
    EXPECT_TRUE(CompararTela("janela/um_arquivo.txt", j.Tela()));
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO);
    j.Comando(btnSelecioneArquivos); // "Fechar"
    EXPECT_EQ(j.Tela(), szInicial);
    // A cancelled dialog starts nothing.
    j.Comando(btnSelecioneArquivos);
    EXPECT_EQ(j.servicos.ExecutarPendentes() + j.C(pgBarConvertendo).bVisivel, 0);

    // Several files: the folder item first, then each name; the reports list a block per file.
    std::ofstream(j.pasta / "ruim.nvg") << "lixo";
    ASSERT_TRUE(j.Selecionar({szPulv, j.Copiar("colheita.nvg"), (j.pasta / "ruim.nvg").string()}));
    EXPECT_TRUE(CompararTela("janela/tres_arquivos.txt", j.Tela()));
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO);
    j.Comando(btnBotaoEsquerda);
    EXPECT_TRUE(CompararTela("janela/gerando_relatorios.txt", j.Tela())); // only Cancel usable
    ASSERT_TRUE(j.EsperarFimConversao());
    EXPECT_TRUE(fs::exists(j.pasta / "pulverizacao_soja.txt"));
    // The finish restores the selection screen and keeps the list.
    EXPECT_TRUE(CompararTela("janela/relatorios.txt", j.Tela()));
    EXPECT_EQ(j.stJanela.gstSelecaoArquivos->szPathsArqNaveg[0], '\0');
    // The next job starts a new list.
    ASSERT_TRUE(j.Selecionar({szPulv}));
    j.Comando(btnBotaoEsquerda);
    ASSERT_TRUE(j.EsperarFimConversao());
    EXPECT_EQ(j.Texto(etStatus).find("Relatório 1 de 1: OK\r\n"), 0u) << j.Texto(etStatus);
}

TEST(JanelaSelecao, DiretoriosVazioCheioENaoClassificado)
{
    JanelaTeste j;
    fs::create_directories(j.pasta / "vazia" / "sub");
    fs::create_directories(j.pasta / "cheia"); // more paths than the buffer holds
    for (int i = 0; i < 330; i++)
        std::ofstream(j.pasta / "cheia" / (std::string(200, 'a') + std::to_string(i) + ".nvg")) << "x";
    fs::create_directories(j.pasta / "lixo"); // found, but of no known operation: it can be converted
    std::ofstream(j.pasta / "lixo" / "a.nvg") << "não é um arquivo de navegação";
    for (const std::string szPasta : {"vazia", "cheia", "lixo"})
    {
        j.Pedir(btnSelecioneDiretorio, {(j.pasta / szPasta).string()});
        EXPECT_EQ(j.Texto(lblStatusConversao), "\r\n\r\n\r\nProcurando arquivos de navegação...AGUARDE!!");
        EXPECT_TRUE(j.C(pgBarConvertendo).bVisivel && j.C(pgBarConvertendo).bMarquee);
        ASSERT_TRUE(j.EsperarSelecao());
        EXPECT_TRUE(CompararTela("janela/diretorio_" + szPasta + ".txt", j.Tela()));
        j.Comando(btnSelecioneDiretorio);
    }
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES);
    j.Comando(btnSelecioneDiretorio); // a cancelled browser starts nothing
    EXPECT_EQ(j.servicos.vDialogos.back(), "Selecione um diretório que contenha arquivos de navegação (.nvg)");
    EXPECT_EQ(j.Texto(btnSelecioneDiretorio) + j.Texto(etDiretorio), "Selecione Diretório...");
    EXPECT_FALSE(j.C(pgBarConvertendo).bVisivel);
}

TEST(JanelaConversao, CancelarEFecharDuranteTresArquivos)
{
    JanelaTeste j;
    // Pauses long enough between files that the cancel lands in the middle of the batch.
    j.stJanela.unidadePausa = std::chrono::milliseconds(40);
    const std::vector<std::string> vArquivos{j.Copiar("pulverizacao_soja.nvg"), j.Copiar("colheita.nvg"),
                                             j.Copiar("plantio.nvg")};
    ASSERT_TRUE(j.Selecionar(vArquivos));
    j.Comando(btnBotaoEsquerda);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return j.Texto(lblStatusConversao).find("Gerando relatório ") == 0; }));
    EXPECT_NE(j.Texto(lblStatusConversao).find("\r\n\r\nTalhão: "), std::string::npos);
    j.Comando(btnCancelarConversao);
    EXPECT_FALSE(j.C(btnCancelarConversao).bVisivel);
    EXPECT_EQ(j.Texto(lblStatusConversao), "\r\n\r\nCancelando...");
    ASSERT_TRUE(j.EsperarFimConversao());
    EXPECT_EQ(j.Texto(etStatus).find("Relatório 1 de 3: OK"), 0u);
    EXPECT_EQ(j.Texto(etStatus).find("Relatório 3 de 3"), std::string::npos) << j.Texto(etStatus);
    EXPECT_FALSE(fs::exists(j.pasta / "plantio.txt"));

    // The window goes away during a batch and nobody handles its notices: the teardown releases the
    // hand-shake and joins the worker, which stops after the file it is on.
    fs::remove(j.pasta / "pulverizacao_soja.txt");
    ASSERT_TRUE(j.Selecionar(vArquivos));
    j.Comando(btnBotaoEsquerda);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    principal_CloseHandler(&j.stJanela);
    principal_EncerrarTrabalhos(&j.stJanela);
    EXPECT_TRUE(fs::exists(j.pasta / "pulverizacao_soja.txt"));
    EXPECT_FALSE(fs::exists(j.pasta / "plantio.txt"));
}

TEST(JanelaConversao, ExportarNoFormatoEscolhido)
{
    // A writer of the modules' shape: one output per file, a failure with its reason for the harvest.
    auto Escrever = [](const std::string& szArquivo, const std::string& szBase, std::vector<std::string>* pvSaidas,
                       std::string* pszErro) -> BOOL {
        if (szBase.ends_with("colheita"))
            return (*pszErro = "não há espaço no disco", FALSE);
        std::ofstream(szBase + "_teste.dat") << szArquivo;
        pvSaidas->push_back(szBase + "_teste.dat");
        return TRUE;
    };
    JanelaTeste j({{"Primeiro (.a)", "A", nullptr}, {"Teste (.dat)", "Teste", Escrever}});
    std::ofstream(j.pasta / "ruim.nvg") << "lixo";
    ASSERT_TRUE(j.Selecionar({j.Copiar("pulverizacao_soja.nvg"), j.Copiar("colheita.nvg"), (j.pasta / "ruim.nvg").string()}));
    ASSERT_TRUE(j.C(btnExportar).bVisivel && j.C(btnExportar).bHabilitado);

    // Asked once; a cancelled choice starts nothing.
    j.Comando(btnExportar);
    EXPECT_EQ(j.servicos.vDialogos.back(), "Exportar|Primeiro (.a)|Teste (.dat)");
    EXPECT_EQ(j.servicos.ExecutarPendentes() + j.C(pgBarConvertendo).bVisivel, 0);
    j.servicos.filaItens.push_back(1);
    j.Comando(btnExportar);
    EXPECT_FALSE(j.C(btnExportar).bHabilitado);
    EXPECT_TRUE(j.C(btnCancelarConversao).bVisivel);
    ASSERT_TRUE(j.EsperarFimConversao());

    const std::string& szLista = j.Texto(etStatus);
    const std::string szSaida = (j.pasta / "pulverizacao_soja_teste.dat").string();
    EXPECT_TRUE(fs::exists(szSaida));
    EXPECT_EQ(szLista.find("Exportação Teste 1 de 3: OK\r\n"), 0u) << szLista;
    EXPECT_NE(szLista.find("Gravado: " + szSaida + "\r\n"), std::string::npos);
    EXPECT_NE(szLista.find("Exportação Teste 2 de 3: ERRO - não há espaço no disco\r\n"), std::string::npos);
    EXPECT_NE(szLista.find("Exportação Teste 3 de 3: ERRO - arquivo inválido: "), std::string::npos);
    EXPECT_FALSE(fs::exists(j.pasta / "colheita_teste.dat"));
    // Back on the selection screen, the button waits for the next selection.
    EXPECT_TRUE(j.C(btnExportar).bVisivel);
    EXPECT_FALSE(j.C(btnExportar).bHabilitado);
    // In the map option steps it is not offered.
    ASSERT_TRUE(j.Selecionar({j.Copiar("plantio.nvg")}));
    j.Comando(btnBotaoDireita);
    EXPECT_FALSE(principal_ControleVisivel(&j.stJanela, btnExportar));
}

TEST(JanelaConversao, WorkerQueNaoIniciaEncerraComErro)
{
    const std::pair<const char*, std::function<void(JanelaTeste&)>> casos[] = {
        {"Erro inesperado ao analisar arquivos.", [](JanelaTeste& j) { j.Pedir(btnSelecioneArquivos, {"/a.nvg"}); }},
        {"Erro inesperado ao procurar\r\narquivos em diretório.",
         [](JanelaTeste& j) { j.Pedir(btnSelecioneDiretorio, {j.pasta.caminho().string()}); }},
        {"Erro inesperado ao criar relatório.", [](JanelaTeste& j) { j.Comando(btnBotaoEsquerda); }},
        {"Erro inesperado ao criar mapa.",
         [](JanelaTeste& j) {
             j.Comando(rdVisualizacaoMapas);
             j.C(etMapa2Shp).szTexto = j.Copiar("colheita.nvg");
             j.Comando(btnDesenharMapaShapefile2);
             EXPECT_FALSE(j.stJanela.bMapa2EmConversao);
         }},
    };
    for (const auto& [pcErro, fnIniciar] : casos)
    {
        JanelaTeste j;
        j.servicos.bFalharThread = true;
        fnIniciar(j);
        ASSERT_EQ(j.servicos.vMensagens.size(), 1u) << pcErro;
        const MensagemMostrada& st = j.servicos.vMensagens[0];
        EXPECT_EQ((std::tuple{st.szTexto, st.szTitulo, st.iBotoes, j.servicos.iCodigoEncerramento, +j.stJanela.gucFormulario}),
                  (std::tuple{std::string(pcErro), std::string("Erro"), D_PRINCIPAL_MB_OKCANCEL, D_PRINCIPAL_SAIDA_ERRO_THREAD, 0}));
    }
}

TEST(JanelaAlvos, EdicaoDosAlvosEBarra)
{
    JanelaTeste j;
    j.stJanela.gucNivelMenuConversaoOpcoesMapa = 3;
    j.stJanela.giTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
    principal_MontarGroupboxConversaoArquivos(&j.stJanela);
    EXPECT_EQ(j.Texto(etValorAlvo2), "10");
    const std::pair<const char*, int> kEdicoes[] = {{"", 9999}, {".", 9999}, {"0012", 12}, {"x", 9999},
                                                    {"1234567890123", 123456789}};
    for (const auto& [pcTexto, iValor] : kEdicoes)
    {
        j.Digitar(etValorAlvo2, pcTexto);
        EXPECT_EQ(j.stJanela.iVelocidadeAlvoMapa[1], iValor) << pcTexto;
    }
    EXPECT_EQ(j.stJanela.iTaxaAlvoMapaCobertura[1], 125); // speed edits never touch the rate targets

    // Bar: six boxes of 80 x 20 centred in the 773-pixel outer width; edits above the box borders.
    // Without the middle boundary two boxes share a band and the bar loses one colour.
    j.Digitar(etValorAlvo2, "10");
    std::string szObtido = j.Pintura() + j.Tela();
    j.Digitar(etValorAlvo3, "");
    EXPECT_TRUE(CompararTela("janela/barra_velocidade.txt", szObtido + j.Pintura()));

    // Targets out of order are refused with the message and the screen stays; in order, the job
    // classes with them as edited.
    j.Digitar(etValorAlvo4, "7");
    j.Comando(btnBotaoDireita);
    ASSERT_EQ(j.servicos.vMensagens.size(), 1u);
    EXPECT_EQ(j.servicos.vMensagens[0].szTexto + "|" + j.servicos.vMensagens[0].szTitulo,
              "Ajuste os valores em ordem crescente.|Erro");
    EXPECT_EQ(j.Nivel(), 3);
    j.Digitar(etValorAlvo4, "20");
    j.Comando(btnBotaoDireita);
    j.Comando(btnBotaoDireita);
    const ST_ConversaoArquivos& stJob = j.stJanela.stConversao.gstConversaoArquivos;
    EXPECT_EQ(stJob.iTipoConversao, D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE);
    for (int i = 0; i < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; i++)
        EXPECT_EQ(stJob.stParametrosMapa.gstLegendaMapa[i].iValorSup, j.stJanela.gstLegendaMapa[i].iValorSup) << i;
}

TEST(JanelaAlvos, PreviaDaLegenda)
{
    // Two columns of three from y0 = 120, 22 pixels apart, labels 10 pixels right of their box; with
    // three classes one column at the centre, a band of one value named by it; state 5, the
    // whole-coverage entry, one orange box.
    JanelaTeste j;
    j.stJanela.gucNivelMenuConversaoOpcoesMapa = 4;
    std::string szObtido = j.Pintura();
    const int iAlvos[5] = {100, 101, 9999, 9999, 9999};
    conversor_SetarLegenda(iAlvos, D_CONVERSOR_TIPO_MAPA_COBERTURA, j.stJanela.gstLegendaMapa);
    szObtido += j.Pintura();
    j.stJanela.gucNivelMenuConversaoOpcoesMapa = 5;
    EXPECT_TRUE(CompararTela("janela/previa_legenda.txt", szObtido + j.Pintura()));
}

TEST(JanelaShell, MenuAjudaSobreESair)
{
    JanelaTeste j;
    // Help: the current folder first, then the given folders; nothing when there is none.
    j.stJanela.stServicos.vPastasAjuda = {(j.pasta / "ajuda").string()};
    const fs::path atual = fs::current_path();
    fs::current_path(j.pasta.caminho());
    j.Comando(mnComoUtilizar);
    EXPECT_TRUE(j.servicos.vDocumentos.empty());
    fs::create_directories(j.pasta / "ajuda");
    for (const fs::path& pasta : {j.pasta / "ajuda", j.pasta.caminho()})
    {
        std::ofstream(pasta / D_PRINCIPAL_NOME_AJUDA) << "%PDF";
        j.Comando(mnComoUtilizar);
        ASSERT_FALSE(j.servicos.vDocumentos.empty());
        EXPECT_TRUE(fs::equivalent(fs::path(j.servicos.vDocumentos.back()).parent_path(), pasta));
    }
    fs::current_path(atual);

    j.Comando(mnSobre);
    EXPECT_EQ(j.servicos.iSobre, 1);
    const ST_Sobre stSobre = principal_InitDialogSobreHandler();
    std::string szSobre = stSobre.szTitulo; // highlighted lines marked with '*'
    for (const ST_LinhaSobre& st : stSobre.vLinhas)
        szSobre += (st.bDestaque ? "|*" : "|") + st.szTexto;
    EXPECT_EQ(szSobre, "Sobre|*Quibar Zavoro|Versão:\t03.02|Data:\t25/04/2018|Morvel|*www.morvel.com.br");

    j.Comando(mnSair);
    EXPECT_EQ(j.stJanela.gucFormulario, 0);
}

TEST(JanelaMapas, EscolherDesenharEFecharOMapa1)
{
    JanelaTeste j;
    j.Comando(rdVisualizacaoMapas);
    const std::string szSemMapa = j.Tela();
    j.Pedir(btnMapa1Shp, {j.CopiarRec("rec.shp", "rec.shx", "rec.dbf")});
    EXPECT_EQ(j.servicos.vDialogos.back(), "Arquivos SHP (*.shp)");
    EXPECT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa1, 2);
    EXPECT_TRUE(CompararTela("janela/mapa1_escolhido.txt", j.Tela()));

    // A text field cannot be drawn: the pane shows the error and the choice stays open; the numeric
    // field draws in the rows' colours, and then map 2 can be chosen.
    for (const auto& [iCampo, iNivel] : {std::pair{1, 3}, std::pair{0, 4}})
    {
        j.C(cBoxVisualizacaoMapaParam1).iSelecao = iCampo;
        j.Comando(cBoxVisualizacaoMapaParam1);
        EXPECT_EQ(j.stJanela.gstVisualizador.gstMapa1.uiParamSelecionado, unsigned(iCampo));
        j.Comando(btnDesenharMapaShapefile1);
        EXPECT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa1, iNivel);
        EXPECT_EQ(TemTextoDeErro(j.paineis[0]), iNivel == 3);
        EXPECT_EQ(PixelsDeLinha(j.paineis[0]) > 1000, iNivel == 4);
        EXPECT_TRUE(CompararTela("janela/mapa1_nivel" + std::to_string(iNivel) + ".txt", j.Tela()));
    }
    // Closing map 1 empties the list, blanks the pane and takes map 2 away again.
    j.Comando(btnMapa1Shp);
    EXPECT_EQ(j.Tela(), szSemMapa);
    EXPECT_EQ(PixelsDeLinha(j.paineis[0]), 0);

    // A set copied off a card in capitals: its table is found whatever the extension's case.
    j.Pedir(btnMapa1Shp, {j.CopiarRec("REC.SHP", "REC.SHX", "REC.DBF")});
#if defined(_WIN32)
    // Windows finds it under the lower-case extension too, as its names have no case.
    EXPECT_EQ(funcAux_Caminho(j.stJanela.gstVisualizador.gstMapa1.szNomeArqMapaDbf).parent_path(), j.pasta.caminho());
#else
    EXPECT_EQ(j.stJanela.gstVisualizador.gstMapa1.szNomeArqMapaDbf, (j.pasta / "REC.DBF").string());
#endif
    j.Comando(btnDesenharMapaShapefile1);
    EXPECT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa1, 4);
}

TEST(JanelaMapas, ConverterDesenharOMapa2EAmpliar)
{
    JanelaTeste j;
    j.Comando(rdVisualizacaoMapas);
    j.Pedir(btnMapa1Shp, {j.CopiarRec("rec.shp", "rec.shx", "rec.dbf")});
    EXPECT_EQ(j.DuploClique(0, 100, 100), -1); // nothing drawn yet
    j.Comando(btnDesenharMapaShapefile1);
    const std::string szSemMapa2 = j.Tela();

    // A file that does not convert: the pane says so in red and the panes stay usable.
    std::ofstream(j.pasta / "ruim.nvg") << "isto não é um arquivo de navegação";
    j.Pedir(btnMapa2Shp, {(j.pasta / "ruim.nvg").string()});
    j.Comando(btnDesenharMapaShapefile2);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.stJanela.bMapa2EmConversao; }));
    EXPECT_EQ(j.servicos.vDialogos.back(), "Arquivos NVG (*.nvg)");
    EXPECT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa2, 3);
    const TextoDesenhado* pstErro = j.paineis[1].procurarTexto("Erro na conversão ou no desenho do mapa 2.");
    EXPECT_TRUE(pstErro != nullptr && pstErro->ulCor == D_SHPFILE_RGB_COR_TEXTO_ERRO);
    EXPECT_TRUE(CompararTela("janela/mapa2_erro.txt", j.Tela()));
    EXPECT_EQ(j.DuploClique(1, 150, 120), -1); // a failed pane does not open enlarged
    j.Comando(btnMapa2Shp);                    // "Fechar"
    EXPECT_EQ(j.Tela(), szSemMapa2);

    // While the worker converts, the panes wait behind the busy bar.
    j.Pedir(btnMapa2Shp, {j.Copiar("pulverizacao_soja.nvg")});
    j.Comando(btnDesenharMapaShapefile2);
    EXPECT_TRUE(CompararTela("janela/mapa2_convertendo.txt", j.Tela()));
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.stJanela.bMapa2EmConversao; }));
    ASSERT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa2, 4);
    EXPECT_TRUE(CompararTela("janela/mapa2_desenhado.txt", j.Tela()));
    EXPECT_TRUE(fs::exists(j.pasta / "pulverizacao_soja_Cobertura.kml"));
    EXPECT_GT(PixelsDeLinha(j.paineis[1]), 1000);
    EXPECT_FALSE(TemTextoDeErro(j.paineis[1]));
    // The conversion panel's selection and list were not touched by the viewer's job.
    EXPECT_TRUE(j.stJanela.gstSelecaoArquivos->szPathsArqNaveg[0] == '\0' && j.Texto(etStatus).empty());

    // A double click inside a drawn pane opens that map enlarged, with its caption.
    const int kX = D_SHPFILE_LARGURA_MAPA, kY = D_SHPFILE_ALTURA_MAPA;
    const int kCliques[][4] = {{1, 150, 120, 1}, {0, 0, 0, 0}, {0, kX - 1, kY - 1, 0}, {0, kX, 100, -1},
                               {1, -1, 100, -1}, {1, 10, kY, -1}};
    for (const auto& c : kCliques)
    {
        j.stJanela.guiNumTelaMapaMaximizar = 7;
        EXPECT_EQ(j.DuploClique(c[0], c[1], c[2]), c[3]) << c[0] << ": " << c[1] << "," << c[2];
        const std::string szTitulo = "Visualização de Mapa " + std::to_string(c[3] + 1) + " - Shapefile";
        EXPECT_TRUE(c[3] < 0 || principal_InitDialogVisualizacaoMapa(&j.stJanela) == szTitulo) << szTitulo;
    }
    // Only in map mode; switching modes keeps the viewer as it was.
    j.Comando(rdConversorArquivos);
    EXPECT_EQ(j.DuploClique(1, 150, 120), -1);
    j.Comando(rdVisualizacaoMapas);
    EXPECT_EQ(j.DuploClique(1, 150, 120), 1);
}

// Paths from the command line give the same screens as the dialogs would, without opening one; a .shp
// opens the map mode; files of two folders are refused; relative paths are made full.
TEST(JanelaShell, AbrirComArquivosDaLinhaDeComando)
{
    JanelaTeste pelaJanela, pelaLinha;
    ASSERT_TRUE(pelaJanela.Selecionar({pelaJanela.Copiar("pulverizacao_soja.nvg"), pelaJanela.Copiar("colheita.nvg")}));
    pelaLinha.Copiar("pulverizacao_soja.nvg");
    pelaLinha.Copiar("colheita.nvg");
    const fs::path anterior = fs::current_path();
    fs::current_path(pelaLinha.pasta.caminho());
    principal_AbrirComArquivos(&pelaLinha.stJanela, {"pulverizacao_soja.nvg", "./colheita.nvg"});
    fs::current_path(anterior);
    ASSERT_TRUE(pelaLinha.EsperarSelecao());
    EXPECT_EQ(pelaLinha.Tela(), pelaJanela.Tela());
    EXPECT_TRUE(pelaLinha.servicos.vDialogos.empty());
    // The answer served once: the next click opens the real dialog.
    pelaLinha.Comando(btnSelecioneArquivos); // "Fechar"
    pelaLinha.Comando(btnSelecioneArquivos);
    EXPECT_EQ(pelaLinha.servicos.vDialogos.size(), 1u);

    JanelaTeste pasta;
    fs::create_directories(pasta.pasta / "sub");
    pasta.Copiar("colheita.nvg", "sub/colheita.nvg");
    principal_AbrirComArquivos(&pasta.stJanela, {(pasta.pasta / "sub").string()});
    ASSERT_TRUE(pasta.EsperarSelecao());
    EXPECT_EQ(pasta.Texto(etDiretorio), (pasta.pasta / "sub").string());
    EXPECT_EQ(pasta.stJanela.gstSelecaoArquivos->iNumArquivos, 1);

    JanelaTeste mapa;
    const std::string szRec = mapa.CopiarRec("rec.shp", "rec.shx", "rec.dbf");
    principal_AbrirComArquivos(&mapa.stJanela, {szRec});
    EXPECT_EQ(mapa.stJanela.giModoUtilizacao, D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS);
    EXPECT_TRUE(CompararTela("janela/mapa1_escolhido.txt", mapa.Tela()));

    JanelaTeste misturados;
    fs::create_directories(misturados.pasta / "b");
    const std::string szA = misturados.Copiar("colheita.nvg");
    const std::string szB = misturados.Copiar("plantio.nvg", "b/plantio.nvg");
    principal_AbrirComArquivos(&misturados.stJanela, {szA, szB});
    ASSERT_EQ(misturados.servicos.vMensagens.size(), 1u);
    EXPECT_TRUE(misturados.servicos.vMensagens[0].szTexto.starts_with("Os arquivos de navegação abertos juntos"));
    EXPECT_EQ(misturados.Texto(etArquivos), "");
    EXPECT_FALSE(misturados.C(pgBarConvertendo).bVisivel);
}

// Once map 2 is drawn the worker compares it with map 1; the button opens the comparison, whose
// tables, CSV and difference map the window hands to its adapter. A comparison overtaken by a map
// closed or chosen again is dropped whenever it ends.
// A build without the comparison (Windows) draws both maps and offers no comparison button.
TEST(JanelaMapas, CompararOMapa1ComOTrabalhoNoWorker)
{
    JanelaTeste j;
    static int iJanelasComparacao = 0;
    iJanelasComparacao = 0;
    j.stJanela.stServicos.pfMostrarComparacao = [](void*) { ++iJanelasComparacao; };
    j.Comando(rdVisualizacaoMapas);
    j.Pedir(btnMapa1Shp, {j.CopiarRec("rec.shp", "rec.shx", "rec.dbf")});
    j.Comando(btnDesenharMapaShapefile1);
    EXPECT_FALSE(j.C(btnCompararMapas).bHabilitado);
    EXPECT_EQ(principal_TextoComparacao(&j.stJanela), "");

    j.Pedir(btnMapa2Shp, {j.Copiar("pulverizacao_soja.nvg")});
    j.Comando(btnDesenharMapaShapefile2);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.stJanela.bMapa2EmConversao; }));
    if (!analise_Disponivel())
    {
        EXPECT_EQ(j.stJanela.gucNivelMenuVisualizacaoMapa2, 4);
        EXPECT_FALSE(principal_ControleVisivel(&j.stJanela, btnCompararMapas));
        EXPECT_NE(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_EM_CURSO);
        return;
    }
    EXPECT_EQ(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_EM_CURSO);
    EXPECT_EQ(j.Texto(btnCompararMapas), "Comparando...");
    EXPECT_FALSE(j.C(btnCompararMapas).bHabilitado);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return j.stJanela.stComparacao.iEstado != D_PRINCIPAL_COMPARACAO_EM_CURSO; }));
    ASSERT_EQ(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_PRONTA) << j.stJanela.stComparacao.szErro;
    EXPECT_TRUE(j.C(btnCompararMapas).bHabilitado);
    EXPECT_EQ(j.Texto(btnCompararMapas), "Comparação...");
    EXPECT_EQ(j.stJanela.stComparacao.stResultado.vZonas.size(), 12u);
    EXPECT_NE(principal_TextoComparacao(&j.stJanela).find("Totais do talhão"), std::string::npos);

    j.Comando(btnCompararMapas);
    EXPECT_EQ(iJanelasComparacao, 1);
    std::string szErro;
    ASSERT_TRUE(principal_SalvarCsvComparacao(&j.stJanela, (j.pasta / "comparacao.csv").string(), &szErro)) << szErro;
    EXPECT_TRUE(lerTexto(j.pasta / "comparacao.csv").starts_with("tipo,"));
    EXPECT_FALSE(principal_SalvarCsvComparacao(&j.stJanela, (j.pasta / "nao/existe.csv").string(), &szErro));
    SuperficieRaster painel(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA), ampliado(D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX);
    const ST_SuperficieDesenho stPainel = painel.superficie(), stAmpliado = ampliado.superficie();
    ASSERT_TRUE(principal_DesenharMapaDiferenca(&j.stJanela, &stPainel, &stAmpliado));
    int iPixels = 0;
    for (std::uint32_t ulCor : D_ANALISE_CORES_DIFERENCA)
        iPixels += ampliado.contar(ulCor, 0, 0, D_SHPFILE_LADO_MAPA_MAX, 500);
    EXPECT_GT(iPixels, 10000);

    // Drawn again and closed before the worker ends: its result never shows.
    j.Comando(btnDesenharMapaShapefile2);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.stJanela.bMapa2EmConversao; }));
    j.Comando(btnMapa2Shp); // "Fechar"
    EXPECT_EQ(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_NENHUMA);
    principal_EncerrarComparacao(&j.stJanela);
    j.servicos.ExecutarPendentes();
    EXPECT_EQ(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_NENHUMA);
    EXPECT_FALSE(j.C(btnCompararMapas).bHabilitado);
    EXPECT_EQ(principal_TextoComparacao(&j.stJanela), "");

    // A recommendation of another field: the button says why there is no comparison.
    ShpBuilder longe;
    longe.campos = {{"DOSE", 'N', 9, 2}};
    longe.adicionar(ShpBuilder::retangulo(10.0, 10.0, 10.01, 10.01), {"100.00"});
    longe.gravar(j.pasta / "longe");
    j.Comando(btnMapa1Shp); // "Fechar"
    j.Pedir(btnMapa1Shp, {(j.pasta / "longe.shp").string()});
    j.Comando(btnDesenharMapaShapefile1);
    j.Pedir(btnMapa2Shp, {j.Copiar("pulverizacao_soja.nvg")});
    j.Comando(btnDesenharMapaShapefile2);
    ASSERT_TRUE(j.servicos.EsperarAte([&] {
        return !j.stJanela.bMapa2EmConversao && j.stJanela.stComparacao.iEstado != D_PRINCIPAL_COMPARACAO_EM_CURSO;
    }));
    ASSERT_EQ(j.stJanela.stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_FALHOU);
    const std::size_t nMensagens = j.servicos.vMensagens.size();
    j.Comando(btnCompararMapas);
    ASSERT_EQ(j.servicos.vMensagens.size(), nMensagens + 1);
    EXPECT_NE(j.servicos.vMensagens.back().szTexto.find("não passa por nenhuma zona"), std::string::npos)
        << j.servicos.vMensagens.back().szTexto;
    EXPECT_EQ(iJanelasComparacao, 1);
}
