// The real window, headless: widgets as the user sees them, clicks and typing routed to the logic,
// real conversions through the workers, the painted pictures, the map viewer and its enlarged windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include "principal/janelaQt.h"
#include "support/DiretorioTemporario.h"
#include "support/ServicosFalsos.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
class JanelaQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pJanela = std::make_unique<JanelaConversorZavoro>();
        m_pServicos = std::make_unique<ServicosFalsos>(&m_pJanela->Estado(), false);
        m_pJanela->Estado().unidadePausa = std::chrono::nanoseconds(0);
        m_pJanela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pJanela.get()));
    }
    void TearDown() override
    {
        for (QWidget* p : QApplication::topLevelWidgets())
            if (p->objectName() == "frmVisualizacaoMapa")
                delete p;
        m_pJanela.reset();
    }

    template <typename T = QWidget> T* W(int iId) { return qobject_cast<T*>(m_pJanela->Controle(iId)); }
    ST_Janela& E() { return m_pJanela->Estado(); }
    void Clicar(int iId) { QTest::mouseClick(W(iId), Qt::LeftButton); }
    static bool Esperar(const std::function<bool()>& fnPronto, int iLimiteMs = 30000)
    {
        for (int i = 0; i < iLimiteMs / 5 && !fnPronto(); i++)
            QTest::qWait(5);
        return fnPronto();
    }
    std::string Copiar(const char* pcNome, const char* pcDestino = nullptr)
    {
        const fs::path destino = m_pasta / (pcDestino != nullptr ? pcDestino : pcNome);
        fs::copy_file(fs::path(ZAVORO_SOURCE_DIR) / "samples" / pcNome, destino, fs::copy_options::overwrite_existing);
        return destino.string();
    }
    void Selecionar(std::vector<std::string> vArquivos)
    {
        m_pServicos->filaArquivos.push_back(std::move(vArquivos));
        Clicar(btnSelecioneArquivos);
        ASSERT_TRUE(Esperar([this] { return !W(pgBarConvertendo)->isVisible(); }));
    }
    bool EsperarFimConversao()
    {
        return Esperar([this] { return W(btnSelecioneArquivos)->isEnabled() && W(etStatus)->isVisible(); });
    }
    // Pixel of the client area as painted now.
    QRgb Pixel(int iX, int iY) { return m_pJanela->AreaCliente()->grab().toImage().pixel(iX, iY) & 0xFFFFFF; }
    // Replaces an edit's text by typing, as the user would.
    void Digitar(int iId, const QString& szTexto)
    {
        QLineEdit* pEdit = W<QLineEdit>(iId);
        pEdit->setFocus();
        pEdit->selectAll();
        QTest::keyClick(pEdit, Qt::Key_Backspace);
        QTest::keyClicks(pEdit, szTexto);
    }
    int JanelasAmpliadas()
    {
        int n = 0;
        for (QWidget* p : QApplication::topLevelWidgets())
            n += p->objectName() == "frmVisualizacaoMapa" && p->isVisible();
        return n;
    }

    DiretorioTemporario m_dir;
    fs::path m_pasta = m_dir.caminho();
    std::unique_ptr<JanelaConversorZavoro> m_pJanela;
    std::unique_ptr<ServicosFalsos> m_pServicos;
};
} // namespace

TEST_F(JanelaQt, InicioControlesMenuETamanhoFixo)
{
    EXPECT_EQ(m_pJanela->windowTitle(), "Quibar Zavoro - v03.02");
    EXPECT_EQ(m_pJanela->objectName(), "frmConversorZavoro");
    for (int iId : {rdConversorArquivos, rdVisualizacaoMapas, btnSelecioneArquivos, etArquivos, lblOU,
                    btnSelecioneDiretorio, etDiretorio, btnBotaoEsquerda, btnBotaoDireita, lblStatusConversao})
        EXPECT_TRUE(W(iId)->isVisible()) << W(iId)->objectName().toStdString();
    for (int iId : {etStatus, rdbtnOpcao1, etValorAlvo3, pgBarConvertendo, btnCancelarConversao, btnMapa1Shp,
                    etMapa1Shp, cBoxVisualizacaoMapaParam1, grpBoxVisualizacaoMapa2, btnDesenharMapaShapefile2})
        EXPECT_FALSE(W(iId)->isVisible()) << W(iId)->objectName().toStdString();
    EXPECT_FALSE(W(btnBotaoEsquerda)->isEnabled());
    EXPECT_FALSE(W(btnBotaoDireita)->isEnabled());
    EXPECT_TRUE(W<QRadioButton>(rdConversorArquivos)->isChecked());
    EXPECT_EQ(W<QPushButton>(btnBotaoEsquerda)->text(), "Gerar Relatório(s)");
    EXPECT_EQ(W<QLabel>(lblStatusConversao)->text(), "\n\n\n\nSelecione os arquivos de navegação e gere seus relatórios e mapas.");
    EXPECT_EQ(W(btnSelecioneDiretorio)->geometry(), QRect(77, 167, 126, 24));
    EXPECT_EQ(m_pJanela->findChild<QGroupBox*>("grpStatus"), W(grpStatus));
    // Not resizable.
    EXPECT_EQ(m_pJanela->minimumSize(), m_pJanela->maximumSize());
    EXPECT_EQ(m_pJanela->AreaCliente()->width(), 765);

    QMenuBar* pMenu = m_pJanela->menuBar();
    ASSERT_EQ(pMenu->actions().size(), 2);
    EXPECT_EQ(pMenu->actions()[0]->text(), "&Arquivo");
    EXPECT_EQ(pMenu->actions()[1]->text(), "A&juda");
    QAction* pSobre = m_pJanela->findChild<QAction*>("mnSobre");
    ASSERT_NE(pSobre, nullptr);
    EXPECT_EQ(pSobre->text(), "&Sobre Quibar - Zavoro");
    pSobre->trigger();
    EXPECT_EQ(m_pServicos->iSobre, 1);
    m_pJanela->findChild<QAction*>("mnSair")->trigger();
    EXPECT_TRUE(Esperar([this] { return !m_pJanela->isVisible(); }));
}

TEST_F(JanelaQt, SelecaoPeloDialogoEFechar)
{
    Selecionar({Copiar("colheita.nvg")});
    EXPECT_EQ(W<QLineEdit>(etArquivos)->text(), "\"colheita.nvg\" ");
    EXPECT_EQ(W<QLabel>(lblStatusConversao)->text(),
              "\n\n\n\n1 arquivo selecionado. Gere seu relatório e mapa pressionando os botões acima.");
    EXPECT_EQ(W<QPushButton>(btnSelecioneArquivos)->text(), "Fechar");
    EXPECT_FALSE(W(btnSelecioneDiretorio)->isEnabled());
    EXPECT_TRUE(W(btnBotaoEsquerda)->isEnabled() && W(btnBotaoDireita)->isEnabled());
    Clicar(btnSelecioneArquivos);
    EXPECT_EQ(W<QPushButton>(btnSelecioneArquivos)->text(), "Selecione Arquivo(s)...");
    EXPECT_TRUE(W(btnSelecioneDiretorio)->isEnabled());
    EXPECT_EQ(W<QLineEdit>(etArquivos)->text(), "");
    EXPECT_FALSE(W(btnBotaoEsquerda)->isEnabled());
}

TEST_F(JanelaQt, RelatorioRealNaLista)
{
    const std::string szArquivo = Copiar("pulverizacao_soja.nvg");
    Selecionar({szArquivo});
    Clicar(btnBotaoEsquerda);
    ASSERT_TRUE(EsperarFimConversao());
    const QString szLista = W<QPlainTextEdit>(etStatus)->toPlainText();
    EXPECT_TRUE(szLista.startsWith("Relatório 1 de 1: OK\nArquivo de Navegação: ")) << szLista.toStdString();
    EXPECT_TRUE(szLista.endsWith(QString(177, '-') + "\n")) << szLista.toStdString();
    EXPECT_TRUE(fs::exists(m_pasta / "pulverizacao_soja.txt"));
    EXPECT_FALSE(W(lblStatusConversao)->isVisible());
    EXPECT_TRUE(W(btnSelecioneDiretorio)->isEnabled());
}

TEST_F(JanelaQt, MapaDeVelocidadeComAlvosDigitadosEBarraPintada)
{
    Selecionar({Copiar("colheita.nvg")});
    Clicar(btnBotaoDireita);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 1);
    EXPECT_EQ(W<QGroupBox>(grpConversaoOpcoesMapa)->title(), "Opções de Mapa");
    EXPECT_TRUE(W(rdbtnOpcao1)->isVisible() && !W(btnSelecioneArquivos)->isVisible());
    Clicar(rdbtnOpcao2);
    EXPECT_EQ(E().giTipoMapa, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
    Clicar(btnBotaoDireita);
    ASSERT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 3);
    EXPECT_EQ(W<QLineEdit>(etValorAlvo1)->text(), "5");
    EXPECT_EQ(W<QLineEdit>(etValorAlvo5)->text(), "30");
    // The edits stand above the borders of the boxes.
    EXPECT_EQ(W(etValorAlvo2)->pos(), QPoint(146 + 160 - 20, 130));

    // Only digits get in; 5, 10, 12, 7, 30 is refused.
    Digitar(etValorAlvo4, "7a");
    EXPECT_EQ(W<QLineEdit>(etValorAlvo4)->text(), "7");
    EXPECT_EQ(E().iVelocidadeAlvoMapa[3], 7);
    Digitar(etValorAlvo3, "12");
    EXPECT_EQ(E().iVelocidadeAlvoMapa[2], 12);
    Clicar(btnBotaoDireita);
    ASSERT_EQ(m_pServicos->vMensagens.size(), 1u);
    EXPECT_EQ(m_pServicos->vMensagens[0].szTexto, "Ajuste os valores em ordem crescente.");
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 3);

    // The bar repaints at once: with 5, 10, 12, 17, 30 each box has its own colour.
    Digitar(etValorAlvo4, "17");
    const int iCentroY = 180;
    const QRgb cores[6] = {0x1E1EFF, 0x1EFFFF, 0x1EFF05, 0xFFFF1E, 0xFF9E1E, 0xFF1E1E};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(Pixel(146 + 80 * i + 40, iCentroY), cores[i]) << "caixa " << i;
    // Emptying a boundary merges two boxes into one colour.
    Digitar(etValorAlvo2, "");
    EXPECT_EQ(E().iVelocidadeAlvoMapa[1], 9999);
    EXPECT_EQ(Pixel(146 + 80 + 40, iCentroY), Pixel(146 + 160 + 40, iCentroY));
    EXPECT_NE(Pixel(146 + 40, iCentroY), Pixel(146 + 80 + 40, iCentroY));
    Digitar(etValorAlvo2, "10");

    Clicar(btnBotaoDireita);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 4);
    EXPECT_FALSE(W(etValorAlvo1)->isVisible());
    // Preview, two columns: the first box (blue) at (261, 120).
    EXPECT_EQ(Pixel(261 + 10, 120 + 7), 0x1E1EFFu);
    Clicar(btnBotaoDireita);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 0);
    ASSERT_TRUE(EsperarFimConversao());
    EXPECT_TRUE(W<QPlainTextEdit>(etStatus)->toPlainText().startsWith("Mapa de Velocidade 1 de 1: OK"));
    EXPECT_TRUE(fs::exists(m_pasta / "colheita_Velocidade.kml"));
}

TEST_F(JanelaQt, CoberturaDeOutrasOperacoesPulaAsFaixas)
{
    Selecionar({Copiar("colheita.nvg")});
    Clicar(btnBotaoDireita);
    Clicar(btnBotaoDireita);
    ASSERT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 5);
    EXPECT_EQ(Pixel(290 + 10, 142 + 7), 0xFF8000u);
    Clicar(btnBotaoEsquerda);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 1);
    Clicar(btnBotaoEsquerda);
    // Back at the selection screen: the prompt returns, the selection and its buttons stay.
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 0);
    EXPECT_EQ(W<QLabel>(lblStatusConversao)->text(), "\n\n\n\nSelecione os arquivos de navegação e gere seus relatórios e mapas.");
    EXPECT_EQ(W<QPushButton>(btnSelecioneArquivos)->text(), "Fechar");
    EXPECT_TRUE(W(btnBotaoDireita)->isEnabled());
}

TEST_F(JanelaQt, CancelarTresArquivos)
{
    E().unidadePausa = std::chrono::milliseconds(40);
    Selecionar({Copiar("pulverizacao_soja.nvg"), Copiar("colheita.nvg"), Copiar("plantio.nvg")});
    Clicar(btnBotaoEsquerda);
    ASSERT_TRUE(Esperar([this] { return W<QLabel>(lblStatusConversao)->text().startsWith("Gerando relatório"); }));
    EXPECT_TRUE(W(btnCancelarConversao)->isVisible());
    EXPECT_TRUE(W(pgBarConvertendo)->isVisible());
    EXPECT_EQ(W<QProgressBar>(pgBarConvertendo)->maximum(), 0); // endless bar
    Clicar(btnCancelarConversao);
    EXPECT_FALSE(W(btnCancelarConversao)->isVisible());
    EXPECT_EQ(W<QLabel>(lblStatusConversao)->text(), "\n\nCancelando...");
    ASSERT_TRUE(EsperarFimConversao());
    EXPECT_FALSE(W<QPlainTextEdit>(etStatus)->toPlainText().contains("3 de 3"));
    EXPECT_EQ(W<QPushButton>(btnSelecioneArquivos)->text(), "Selecione Arquivo(s)...");
}

TEST_F(JanelaQt, TrocaDeModoMantemOsDoisPaineis)
{
    Selecionar({Copiar("pulverizacao_soja.nvg")});
    Clicar(btnBotaoDireita);
    Clicar(btnBotaoDireita);
    Digitar(etValorAlvo1, "60");
    Clicar(rdVisualizacaoMapas);
    EXPECT_EQ(E().giModoUtilizacao, D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS);
    for (int iId : {etValorAlvo1, btnBotaoDireita, grpConversaoOpcoesMapa, lblStatusConversao, grpStatus})
        EXPECT_FALSE(W(iId)->isVisible()) << iId;
    // Map mode at start: only the map 1 button and path are usable.
    EXPECT_TRUE(W(btnMapa1Shp)->isEnabled() && W(etMapa1Shp)->isEnabled());
    for (int iId : {btnMapa2Shp, etMapa2Shp, btnDesenharMapaShapefile1, btnDesenharMapaShapefile2,
                    cBoxVisualizacaoMapaParam1, lbRecomendacaoMapa1})
        EXPECT_FALSE(W(iId)->isEnabled()) << iId;
    m_pServicos->filaArquivos.push_back({Copiar("recomendacao_pulverizacao.shp")});
    Copiar("recomendacao_pulverizacao.dbf");
    Clicar(btnMapa1Shp);
    Clicar(rdConversorArquivos);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 3);
    EXPECT_TRUE(W(etValorAlvo1)->isVisible());
    EXPECT_EQ(W<QLineEdit>(etValorAlvo1)->text(), "60");
    EXPECT_FALSE(W(btnMapa1Shp)->isVisible());
    Clicar(rdVisualizacaoMapas);
    EXPECT_EQ(W<QPushButton>(btnMapa1Shp)->text(), "Fechar");
    EXPECT_EQ(W<QComboBox>(cBoxVisualizacaoMapaParam1)->count(), 2);
}
