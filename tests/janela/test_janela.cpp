// The window logic without a toolkit: panel states, selection, the real workers and their notices,
// the result list, cancel, and the failures of worker start. Notices are drained by the test thread,
// which plays the window thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "support/ServicosFalsos.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
std::string Amostra(const char* pcNome)
{
    return (fs::path(ZAVORO_SOURCE_DIR) / "samples" / pcNome).string();
}

// A window started as the program starts it, with fake services and no pauses.
struct JanelaTeste
{
    ST_Janela stJanela;
    ServicosFalsos servicos{&stJanela, true};
    DiretorioTemporario pasta;

    JanelaTeste()
    {
        stJanela.unidadePausa = std::chrono::nanoseconds(0);
        principal_InitDialogHandler(&stJanela);
    }
    // The workers post to the fake services: they end before the services go.
    ~JanelaTeste() { principal_EncerrarTrabalhos(&stJanela); }
    ST_Controle& C(int iId) { return principal_Controle(&stJanela, iId); }
    void Comando(int iId, unsigned int uiNotificacao = 0) { principal_CommandHandler(&stJanela, iId | (uiNotificacao << 16)); }
    // Copies samples into the test's folder (conversions write beside their input).
    std::string Copiar(const char* pcNome)
    {
        fs::path destino = fs::path(pasta.caminho()) / pcNome;
        fs::copy_file(Amostra(pcNome), destino, fs::copy_options::overwrite_existing);
        return destino.string();
    }
    // Chooses files through the dialog and waits for their classification.
    void Selecionar(std::vector<std::string> vArquivos)
    {
        servicos.filaArquivos.push_back(std::move(vArquivos));
        Comando(btnSelecioneArquivos);
        ASSERT_TRUE(servicos.EsperarAte([this] { return !C(pgBarConvertendo).bVisivel; }));
    }
    bool EsperarFimConversao()
    {
        return servicos.EsperarAte([this] { return C(btnSelecioneArquivos).bHabilitado && C(etStatus).bVisivel; });
    }
};

std::string Separador()
{
    return std::string(177, '-') + "\r\n";
}
} // namespace

TEST(JanelaEstados, SequenciasDosPassosDeMapa)
{
    struct Caso
    {
        int iTipoMapa;
        int iTipos;
        std::vector<int> vEsperada;
    };
    const Caso casos[] = {
        {D_CONVERSOR_TIPO_MAPA_VELOCIDADE, 1, {0, 1, 3, 4, 6}},
        {D_CONVERSOR_TIPO_MAPA_VELOCIDADE, 4, {0, 1, 3, 4, 6}},
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, 4, {0, 1, 5, 6}},
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, 5, {0, 1, 3, 4, 5, 6}},
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, 1, {0, 1, 3, 4, 6}},
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, 2, {0, 1, 3, 4, 6}},
    };
    for (const Caso& caso : casos)
    {
        std::vector<int> vFrente{0};
        unsigned char uc = 0;
        while (uc != 6)
            vFrente.push_back(uc = principal_ProximoNivelMenu(uc, 1, caso.iTipoMapa, caso.iTipos));
        EXPECT_EQ(vFrente, caso.vEsperada) << "mapa " << caso.iTipoMapa << " tipos " << caso.iTipos;
        // Back walks the same screens in reverse (6 is never shown; the last screen is the one before it).
        std::vector<int> vTras{vFrente[vFrente.size() - 2]};
        uc = static_cast<unsigned char>(vTras.back());
        while (uc != 0)
            vTras.push_back(uc = principal_ProximoNivelMenu(uc, 0, caso.iTipoMapa, caso.iTipos));
        std::vector<int> vEsperadaTras(caso.vEsperada.rbegin() + 1, caso.vEsperada.rend());
        EXPECT_EQ(vTras, vEsperadaTras) << "mapa " << caso.iTipoMapa << " tipos " << caso.iTipos;
    }
    EXPECT_EQ(principal_ProximoNivelMenu(0, 0, 1, 5), 0);
}

TEST(JanelaEstados, TelaInicialDoModoConversao)
{
    JanelaTeste j;
    EXPECT_EQ(j.stJanela.szTitulo, "Quibar Zavoro - v03.02");
    for (int iId : {grpBoxModoUtilizacao, rdConversorArquivos, rdVisualizacaoMapas, btnSelecioneArquivos, etArquivos,
                    lblOU, btnSelecioneDiretorio, etDiretorio, btnBotaoEsquerda, btnBotaoDireita, lblStatusConversao,
                    grpConversaoOpcoesMapa, grpStatus})
        EXPECT_TRUE(j.C(iId).bVisivel && !principal_ControleDeOutroModo(&j.stJanela, iId)) << iId;
    for (int iId : {etStatus, rdbtnOpcao1, rdbtnOpcao2, etValorAlvo1, etValorAlvo5, pgBarConvertendo,
                    btnCancelarConversao})
        EXPECT_FALSE(j.C(iId).bVisivel) << iId;
    for (int iId : {btnMapa1Shp, etMapa1Shp, cBoxVisualizacaoMapaParam1, btnDesenharMapaShapefile2, grpBoxVisualizacaoMapa1})
        EXPECT_TRUE(principal_ControleDeOutroModo(&j.stJanela, iId)) << iId;
    EXPECT_FALSE(j.C(btnBotaoEsquerda).bHabilitado);
    EXPECT_FALSE(j.C(btnBotaoDireita).bHabilitado);
    EXPECT_TRUE(j.C(rdConversorArquivos).bMarcado);
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, D_PRINCIPAL_TEXTO_INICIAL);
    // Dialog units at 6 x 13: the selection button at 51,69 84x15 units.
    const ST_Controle& stBotao = j.C(btnSelecioneArquivos);
    EXPECT_EQ((std::vector<int>{stBotao.iX, stBotao.iY, stBotao.iLargura, stBotao.iAltura}),
              (std::vector<int>{77, 112, 126, 24}));
}

TEST(JanelaSelecao, ArquivosClassificadosEFechar)
{
    JanelaTeste j;
    const std::string szPulv = j.Copiar("pulverizacao_soja.nvg");
    j.Selecionar({szPulv});
    EXPECT_EQ(j.servicos.vFiltrosPedidos.back(), "Arquivos NVG (*.nvg)");
    EXPECT_EQ(j.C(etArquivos).szTexto, "\"pulverizacao_soja.nvg\" ");
    EXPECT_EQ(j.C(lblStatusConversao).szTexto,
              "\r\n\r\n\r\n\r\n1 arquivo selecionado. Gere seu relatório e mapa pressionando os botões acima.");
    EXPECT_EQ(j.C(btnSelecioneArquivos).szTexto, "Fechar");
    EXPECT_TRUE(j.C(btnSelecioneArquivos).bHabilitado);
    EXPECT_FALSE(j.C(btnSelecioneDiretorio).bHabilitado);
    EXPECT_TRUE(j.C(btnBotaoEsquerda).bHabilitado && j.C(btnBotaoDireita).bHabilitado);
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO);

    j.Comando(btnSelecioneArquivos); // "Fechar"
    EXPECT_EQ(j.C(btnSelecioneArquivos).szTexto, "Selecione Arquivo(s)...");
    EXPECT_TRUE(j.C(btnSelecioneDiretorio).bHabilitado);
    EXPECT_FALSE(j.C(btnBotaoEsquerda).bHabilitado || j.C(btnBotaoDireita).bHabilitado);
    EXPECT_EQ(j.C(etArquivos).szTexto, "");
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, D_PRINCIPAL_TEXTO_INICIAL);
    EXPECT_EQ(j.stJanela.gstSelecaoArquivos->szPathsArqNavegTxtBox[0], '\0');

    // Several files: the folder item first, then each name.
    j.Selecionar({szPulv, j.Copiar("colheita.nvg"), j.Copiar("plantio.nvg")});
    EXPECT_EQ(j.C(etArquivos).szTexto, "\"pulverizacao_soja.nvg\" \"colheita.nvg\" \"plantio.nvg\" ");
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, "\r\n\r\n\r\n\r\n3 arquivos selecionados. Gere seus relatórios e mapas "
                                               "pressionando os botões acima.");
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO);

    // A cancelled dialog starts nothing.
    j.Comando(btnSelecioneArquivos);
    j.Comando(btnSelecioneArquivos);
    EXPECT_EQ(j.servicos.ExecutarPendentes(), 0);
    EXPECT_FALSE(j.C(pgBarConvertendo).bVisivel);
    EXPECT_EQ(j.C(btnSelecioneArquivos).szTexto, "Selecione Arquivo(s)...");
}

TEST(JanelaSelecao, DiretoriosVazioCheioENaoClassificado)
{
    JanelaTeste j;
    // A folder without navigation files.
    fs::create_directories(fs::path(j.pasta.caminho()) / "vazia" / "sub");
    j.servicos.filaDiretorios.push_back((fs::path(j.pasta.caminho()) / "vazia").string());
    j.Comando(btnSelecioneDiretorio);
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, "\r\n\r\n\r\nProcurando arquivos de navegação...AGUARDE!!");
    EXPECT_TRUE(j.C(pgBarConvertendo).bVisivel && j.C(pgBarConvertendo).bMarquee);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.C(pgBarConvertendo).bVisivel; }));
    EXPECT_EQ(j.servicos.vTitulosDiretorio.back(), "Selecione um diretório que contenha arquivos de navegação (.nvg)");
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, "\r\n\r\n\r\n\r\nNão há arquivos de navegação. Selecione outro diretório.");
    EXPECT_EQ(j.C(btnSelecioneDiretorio).szTexto, "Fechar");
    EXPECT_FALSE(j.C(btnBotaoEsquerda).bHabilitado);
    j.Comando(btnSelecioneDiretorio);

    // Too many paths for the buffer: the search stops, nothing can be generated.
    const fs::path cheia = fs::path(j.pasta.caminho()) / "cheia";
    fs::create_directories(cheia);
    for (int i = 0; i < 330; i++)
        std::ofstream(cheia / (std::string(200, 'a') + std::to_string(i) + ".nvg")) << "x";
    j.servicos.filaDiretorios.push_back(cheia.string());
    j.Comando(btnSelecioneDiretorio);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.C(pgBarConvertendo).bVisivel; }));
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, "\r\n\r\n\r\nMuitos arquivos de navegação foram encontrados.\r\n Selecione "
                                               "outro diretório com menos arquivos.");
    EXPECT_FALSE(j.C(btnBotaoEsquerda).bHabilitado || j.C(btnBotaoDireita).bHabilitado);
    EXPECT_EQ(j.C(btnSelecioneDiretorio).szTexto, "Fechar");
    EXPECT_FALSE(j.C(btnSelecioneArquivos).bHabilitado);
    j.Comando(btnSelecioneDiretorio);

    // Files found whose operations are unknown count as other operations.
    const fs::path lixo = fs::path(j.pasta.caminho()) / "lixo";
    fs::create_directories(lixo);
    std::ofstream(lixo / "a.nvg") << "não é um arquivo de navegação";
    j.servicos.filaDiretorios.push_back(lixo.string());
    j.stJanela.giTipoArquivosCarregados = 1;
    j.Comando(btnSelecioneDiretorio);
    ASSERT_TRUE(j.servicos.EsperarAte([&] { return !j.C(pgBarConvertendo).bVisivel; }));
    EXPECT_EQ(j.stJanela.giTipoArquivosCarregados, D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES);
    EXPECT_TRUE(j.C(btnBotaoEsquerda).bHabilitado);
    EXPECT_EQ(j.C(etDiretorio).szTexto, lixo.string());
}

TEST(JanelaConversao, RelatorioRealListaBlocoABloco)
{
    JanelaTeste j;
    // A folder deep enough that the listed path is cut to its last 65 characters.
    const fs::path funda = fs::path(j.pasta.caminho()) / "uma pasta com nome comprido" / "safra 2026";
    fs::create_directories(funda);
    const std::string szArquivo = (funda / "pulverizacao_soja.nvg").string();
    fs::copy_file(Amostra("pulverizacao_soja.nvg"), szArquivo);
    ASSERT_GT(szArquivo.size(), 65u);
    j.Selecionar({szArquivo});

    j.Comando(btnBotaoEsquerda);
    EXPECT_FALSE(j.C(btnSelecioneArquivos).bHabilitado || j.C(btnBotaoEsquerda).bHabilitado);
    EXPECT_TRUE(j.C(btnCancelarConversao).bVisivel && j.C(btnCancelarConversao).bHabilitado);
    EXPECT_TRUE(j.C(pgBarConvertendo).bMarquee);
    ASSERT_TRUE(j.EsperarFimConversao());

    ST_DetalhesConversao stNomes;
    conversor_RetornarDetalhesConversao(szArquivo.c_str(), &stNomes);
    ASSERT_FALSE(stNomes.cNomeTalhao.empty());
    const std::string szEsperado = "Relatório 1 de 1: OK\r\nArquivo de Navegação: ..." +
                                   szArquivo.substr(szArquivo.size() - 65) + "\r\nTalhão: " + stNomes.cNomeTalhao +
                                   "\r\nEvento: " + stNomes.cNomeEvento + "\r\n" + Separador();
    EXPECT_EQ(j.C(etStatus).szTexto, szEsperado);
    EXPECT_TRUE(fs::exists(funda / "pulverizacao_soja.txt"));

    // The finish restores the selection screen and keeps the list.
    EXPECT_TRUE(j.C(etStatus).bVisivel);
    EXPECT_FALSE(j.C(lblStatusConversao).bVisivel || j.C(pgBarConvertendo).bVisivel || j.C(btnCancelarConversao).bVisivel);
    EXPECT_EQ(j.C(btnSelecioneArquivos).szTexto, "Selecione Arquivo(s)...");
    EXPECT_TRUE(j.C(btnSelecioneDiretorio).bHabilitado);
    EXPECT_FALSE(j.C(btnBotaoEsquerda).bHabilitado || j.C(btnBotaoDireita).bHabilitado);
    EXPECT_EQ(j.C(etArquivos).szTexto, "");
    EXPECT_EQ(j.stJanela.gstSelecaoArquivos->szPathsArqNaveg[0], '\0');

    // A short path is listed whole; a failed file says so and lists no field or event.
    const std::string szCurto = j.Copiar("colheita.nvg");
    const std::string szRuim = (fs::path(j.pasta.caminho()) / "ruim.nvg").string();
    std::ofstream(szRuim) << "lixo";
    j.Selecionar({szCurto, szRuim});
    j.Comando(btnBotaoEsquerda);
    ASSERT_TRUE(j.EsperarFimConversao());
    const std::string& szLista = j.C(etStatus).szTexto;
    EXPECT_EQ(szLista.find("Relatório 1 de 2: OK\r\n"), 0u) << szLista;
    const std::string szBloco2 = "Relatório 2 de 2: ERRO - Tente Converter Novamente\r\nArquivo de Navegação: " +
                                 (szRuim.size() > 65 ? "..." + szRuim.substr(szRuim.size() - 65) : szRuim) + "\r\n" +
                                 Separador();
    ASSERT_GE(szLista.size(), szBloco2.size());
    EXPECT_EQ(szLista.substr(szLista.size() - szBloco2.size()), szBloco2);
}

TEST(JanelaConversao, MapaPeloCaminhoMistoEAlvos)
{
    JanelaTeste j;
    j.Selecionar({j.Copiar("pulverizacao_soja.nvg"), j.Copiar("colheita.nvg")});
    std::vector<int> vEstados{j.stJanela.gucNivelMenuConversaoOpcoesMapa};
    j.Comando(btnBotaoDireita);
    vEstados.push_back(j.stJanela.gucNivelMenuConversaoOpcoesMapa);
    EXPECT_EQ(j.C(grpConversaoOpcoesMapa).szTexto, "Opções de Mapa");
    EXPECT_EQ(j.C(btnBotaoEsquerda).szTexto, "<< Voltar");
    EXPECT_EQ(j.C(btnBotaoDireita).szTexto, "Avançar >>");
    EXPECT_TRUE(j.C(rdbtnOpcao1).bVisivel && j.C(rdbtnOpcao1).bMarcado && !j.C(btnSelecioneArquivos).bVisivel);

    j.Comando(btnBotaoDireita);
    vEstados.push_back(j.stJanela.gucNivelMenuConversaoOpcoesMapa);
    EXPECT_EQ(j.C(etValorAlvo1).szTexto, "75");
    EXPECT_EQ(j.C(etValorAlvo5).szTexto, "300");

    // 75, 125, 100, ...: refused with the message, the state stays.
    j.C(etValorAlvo3).szTexto = "100";
    j.Comando(etValorAlvo3, D_PRINCIPAL_EN_CHANGE);
    EXPECT_EQ(j.stJanela.iTaxaAlvoMapaCobertura[2], 100);
    j.Comando(btnBotaoDireita);
    ASSERT_EQ(j.servicos.vMensagens.size(), 1u);
    EXPECT_EQ(j.servicos.vMensagens[0].szTexto, "Ajuste os valores em ordem crescente.");
    EXPECT_EQ(j.servicos.vMensagens[0].szTitulo, "Erro");
    EXPECT_EQ(j.stJanela.gucNivelMenuConversaoOpcoesMapa, 3);

    // An emptied edit removes its boundary; the targets are then ascending.
    j.C(etValorAlvo3).szTexto = "";
    j.Comando(etValorAlvo3, D_PRINCIPAL_EN_CHANGE);
    EXPECT_EQ(j.stJanela.iTaxaAlvoMapaCobertura[2], D_CONVERSOR_VALOR_ALVO_VAZIO);
    j.Comando(btnBotaoDireita);
    vEstados.push_back(j.stJanela.gucNivelMenuConversaoOpcoesMapa);
    j.Comando(btnBotaoDireita);
    vEstados.push_back(j.stJanela.gucNivelMenuConversaoOpcoesMapa);
    EXPECT_EQ(vEstados, (std::vector<int>{0, 1, 3, 4, 5}));
    // The last step starts the job and the panel is back at 0.
    j.Comando(btnBotaoDireita);
    EXPECT_EQ(j.stJanela.gucNivelMenuConversaoOpcoesMapa, 0);
    EXPECT_EQ(j.stJanela.stConversao.gstConversaoArquivos.iTipoConversao, D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA);
    // The job classes with the targets as edited (the third one empty).
    EXPECT_EQ(j.stJanela.stConversao.gstConversaoArquivos.stParametrosMapa.gstLegendaMapa[2].iValorInf,
              j.stJanela.gstLegendaMapa[2].iValorInf);
    ASSERT_TRUE(j.EsperarFimConversao());
    EXPECT_EQ(j.C(etStatus).szTexto.find("Mapa de Cobertura 1 de 2: OK\r\n"), 0u) << j.C(etStatus).szTexto;
    EXPECT_NE(j.C(etStatus).szTexto.find("Mapa de Cobertura 2 de 2: OK\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(fs::path(j.pasta.caminho()) / "colheita_Cobertura.kml"));
}

TEST(JanelaConversao, CancelarDuranteTresArquivos)
{
    JanelaTeste j;
    // Pauses long enough between files that the cancel lands in the middle of the batch.
    j.stJanela.unidadePausa = std::chrono::milliseconds(40);
    j.Selecionar({j.Copiar("pulverizacao_soja.nvg"), j.Copiar("colheita.nvg"), j.Copiar("plantio.nvg")});
    j.Comando(btnBotaoEsquerda);
    ASSERT_TRUE(j.servicos.EsperarAte(
        [&] { return j.C(lblStatusConversao).szTexto.find("Gerando relatório ") != std::string::npos; }));
    EXPECT_NE(j.C(lblStatusConversao).szTexto.find("\r\n\r\nTalhão: "), std::string::npos);
    j.Comando(btnCancelarConversao);
    EXPECT_FALSE(j.C(btnCancelarConversao).bVisivel);
    EXPECT_EQ(j.C(lblStatusConversao).szTexto, "\r\n\r\nCancelando...");
    ASSERT_TRUE(j.EsperarFimConversao());
    const std::string& szLista = j.C(etStatus).szTexto;
    EXPECT_EQ(szLista.find("Relatório 1 de 3: OK"), 0u);
    EXPECT_EQ(szLista.find("Relatório 3 de 3"), std::string::npos) << szLista;
    EXPECT_FALSE(fs::exists(fs::path(j.pasta.caminho()) / "plantio.txt"));
    EXPECT_EQ(j.C(btnSelecioneArquivos).szTexto, "Selecione Arquivo(s)...");
}

TEST(JanelaConversao, WorkerQueNaoIniciaEncerraComErro)
{
    struct Caso
    {
        const char* pcErro;
        std::function<void(JanelaTeste&)> fnIniciar;
    };
    const Caso casos[] = {
        {"Erro inesperado ao analisar arquivos.",
         [](JanelaTeste& j) {
             j.servicos.filaArquivos.push_back({j.Copiar("colheita.nvg")});
             j.Comando(btnSelecioneArquivos);
         }},
        {"Erro inesperado ao procurar\r\narquivos em diretório.",
         [](JanelaTeste& j) {
             j.servicos.filaDiretorios.push_back(j.pasta.caminho().string());
             j.Comando(btnSelecioneDiretorio);
         }},
        {"Erro inesperado ao criar relatório.",
         [](JanelaTeste& j) {
             j.Selecionar({j.Copiar("colheita.nvg")});
             j.servicos.bFalharThread = true;
             j.Comando(btnBotaoEsquerda);
         }},
    };
    for (const Caso& caso : casos)
    {
        JanelaTeste j;
        j.servicos.bFalharThread = std::string(caso.pcErro).find("criar") == std::string::npos;
        caso.fnIniciar(j);
        ASSERT_EQ(j.servicos.vMensagens.size(), 1u) << caso.pcErro;
        EXPECT_EQ(j.servicos.vMensagens[0].szTexto, caso.pcErro);
        EXPECT_EQ(j.servicos.vMensagens[0].szTitulo, "Erro");
        EXPECT_EQ(j.servicos.vMensagens[0].iBotoes, D_PRINCIPAL_MB_OKCANCEL);
        EXPECT_NE(j.servicos.iCodigoEncerramento, 0) << "a failure must not end the program as a success";
        EXPECT_NE(j.servicos.iCodigoEncerramento, -1);
        EXPECT_EQ(j.stJanela.gucFormulario, 0);
    }
}

TEST(JanelaConversao, FecharComTrabalhoEmAndamentoTerminaOWorker)
{
    // The window goes away while a slow batch runs and nobody drains its notices: the teardown must
    // release the hand-shake and join the worker instead of hanging.
    auto pstJ = std::make_unique<JanelaTeste>();
    pstJ->stJanela.unidadePausa = std::chrono::milliseconds(30);
    pstJ->Selecionar({pstJ->Copiar("pulverizacao_soja.nvg"), pstJ->Copiar("colheita.nvg"), pstJ->Copiar("plantio.nvg")});
    pstJ->Comando(btnBotaoEsquerda);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    principal_CloseHandler(&pstJ->stJanela);
    const fs::path pasta = pstJ->pasta.caminho();
    principal_EncerrarTrabalhos(&pstJ->stJanela);
    // The batch stopped after the file it was on: the last one was never written.
    EXPECT_TRUE(fs::exists(pasta / "pulverizacao_soja.txt"));
    EXPECT_FALSE(fs::exists(pasta / "plantio.txt"));
    pstJ.reset();
}

TEST(JanelaAlvos, EdicaoDosAlvosEBarra)
{
    JanelaTeste j;
    j.stJanela.gucNivelMenuConversaoOpcoesMapa = 3;
    j.stJanela.giTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
    principal_MontarGroupboxConversaoArquivos(&j.stJanela);
    EXPECT_EQ(j.C(etValorAlvo2).szTexto, "10");

    struct Caso
    {
        const char* pcTexto;
        int iValor;
    };
    for (const Caso& caso : {Caso{"", 9999}, Caso{".", 9999}, Caso{"0012", 12}, Caso{"1234567890123", 123456789},
                             Caso{"x", 9999}})
    {
        j.C(etValorAlvo2).szTexto = caso.pcTexto;
        principal_OnUpdateEditorTextoValorAlvo(&j.stJanela, etValorAlvo2, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
        EXPECT_EQ(j.stJanela.iVelocidadeAlvoMapa[1], caso.iValor) << caso.pcTexto;
    }
    // Speed edits never touch the rate targets.
    EXPECT_EQ(j.stJanela.iTaxaAlvoMapaCobertura[1], 125);

    // Bar: six boxes of 80 x 20 centred in the 773-pixel outer width; edits above the box borders.
    j.stJanela.iVelocidadeAlvoMapa[1] = 10;
    principal_MontarGroupboxConversaoArquivos(&j.stJanela);
    const ST_PinturaPainel stBarra = principal_PaintHandler(&j.stJanela);
    ASSERT_EQ(stBarra.vCaixas.size(), 6u);
    EXPECT_EQ(stBarra.vCaixas[0].iX0, 146);
    EXPECT_EQ(stBarra.vCaixas[0].iY0, 170);
    EXPECT_EQ(stBarra.vCaixas[5].iX1, 146 + 480);
    const std::vector<std::uint32_t> vCores{0x1E1EFF, 0x1EFFFF, 0x1EFF05, 0xFFFF1E, 0xFF9E1E, 0xFF1E1E};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(stBarra.vCaixas[i].ulCor, vCores[i]) << i;
    EXPECT_EQ(stBarra.vTracos.size(), 7u);
    EXPECT_EQ(j.C(etValorAlvo1).iX, 146 + 80 - 20);
    EXPECT_EQ(j.C(etValorAlvo1).iY, 130);
    ASSERT_EQ(stBarra.vTextos.size(), 3u);
    EXPECT_EQ(stBarra.vTextos[0].szTexto,
              "Mapa de Velocidade - Arquivo KML (Google Earth) - Ajuste as Faixas da Legenda (km/h)");
    EXPECT_EQ(stBarra.vTextos[2].szTexto, "110");

    // Without the middle boundary the bar loses one colour band.
    j.stJanela.iVelocidadeAlvoMapa[2] = 9999;
    principal_OnUpdateEditorTextoValorAlvo(&j.stJanela, etValorAlvo3, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
    j.C(etValorAlvo3).szTexto = "";
    principal_OnUpdateEditorTextoValorAlvo(&j.stJanela, etValorAlvo3, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
    const ST_PinturaPainel stSemMeio = principal_PaintHandler(&j.stJanela);
    std::vector<std::uint32_t> vDistintas;
    for (const ST_CaixaPintura& st : stSemMeio.vCaixas)
        if (std::find(vDistintas.begin(), vDistintas.end(), st.ulCor) == vDistintas.end())
            vDistintas.push_back(st.ulCor);
    EXPECT_EQ(vDistintas.size(), 5u);
}

TEST(JanelaAlvos, PreviaDaLegenda)
{
    JanelaTeste j;
    j.stJanela.giTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
    ST_PinturaPainel st = principal_MostrarLegenda(&j.stJanela, D_CONVERSOR_TIPO_MAPA_COBERTURA, true);
    std::vector<std::string> vRotulos;
    for (std::size_t i = 1; i < st.vTextos.size(); i++)
        vRotulos.push_back(st.vTextos[i].szTexto);
    EXPECT_EQ(st.vTextos[0].szTexto, "Legenda Mapa de Cobertura - Arquivo KML (Google Earth)");
    ASSERT_EQ(vRotulos.size(), 6u);
    EXPECT_EQ(vRotulos.front(), "Abaixo de " + std::to_string(j.stJanela.gstLegendaMapa[1].iValorInf));
    EXPECT_EQ(vRotulos.back(), "Acima de " + std::to_string(j.stJanela.gstLegendaMapa[4].iValorSup));
    // Two columns of three from y0 = 120, 22 pixels apart.
    EXPECT_EQ(st.vCaixas[0].iX0, 346 - 85);
    EXPECT_EQ(st.vCaixas[3].iX0, 346 + 75);
    EXPECT_EQ(st.vCaixas[2].iY0, 120 + 44);
    EXPECT_EQ(st.vCaixas[3].iY0, 120);
    EXPECT_EQ(st.vTextos[1].iX, st.vCaixas[0].iX1 + 10);

    // Three classes: one column at the centre.
    const int iAlvos[5] = {100, 200, 9999, 9999, 9999};
    conversor_SetarLegenda(iAlvos, D_CONVERSOR_TIPO_MAPA_COBERTURA, j.stJanela.gstLegendaMapa);
    st = principal_MostrarLegenda(&j.stJanela, D_CONVERSOR_TIPO_MAPA_COBERTURA, true);
    ASSERT_EQ(st.vCaixas.size(), 3u);
    for (const ST_CaixaPintura& stCaixa : st.vCaixas)
        EXPECT_EQ(stCaixa.iX0, 346);
    EXPECT_EQ(st.vTextos[2].szTexto, "101 a 200"); // a band starts one above the boundary below it

    // The whole-coverage entry: one orange box at (290, y0 + 22).
    st = principal_MostrarLegenda(&j.stJanela, D_CONVERSOR_TIPO_MAPA_COBERTURA, false);
    ASSERT_EQ(st.vCaixas.size(), 1u);
    EXPECT_EQ(st.vCaixas[0].iX0, 290);
    EXPECT_EQ(st.vCaixas[0].iY0, 142);
    EXPECT_EQ(st.vCaixas[0].ulCor, 0xFF8000u);
    EXPECT_EQ(st.vTextos[1].szTexto, "Cobertura inteira (sem controlador Zavoro)");
}

TEST(JanelaShell, MenuAjudaSobreESair)
{
    JanelaTeste j;
    // Help: the current folder first, then the given folders; nothing when there is none.
    j.stJanela.stServicos.vPastasAjuda = {j.pasta.caminho().string()};
    const fs::path atual = fs::current_path();
    fs::current_path(j.pasta.caminho());
    j.Comando(mnComoUtilizar);
    EXPECT_TRUE(j.servicos.vDocumentos.empty());
    std::ofstream(fs::path(j.pasta.caminho()) / D_PRINCIPAL_NOME_AJUDA) << "%PDF";
    j.Comando(mnComoUtilizar);
    fs::current_path(atual);
    ASSERT_EQ(j.servicos.vDocumentos.size(), 1u);
    EXPECT_EQ(fs::path(j.servicos.vDocumentos[0]).filename(), D_PRINCIPAL_NOME_AJUDA);

    j.Comando(mnSobre);
    EXPECT_EQ(j.servicos.iSobre, 1);
    j.Comando(mnSair);
    EXPECT_EQ(j.stJanela.gucFormulario, 0);
}
