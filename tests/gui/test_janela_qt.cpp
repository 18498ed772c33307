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

    // Forward again to the end: 0, 1, 5, 6 and the coverage map is written.
    for (int i = 0; i < 3; i++)
        Clicar(btnBotaoDireita);
    EXPECT_EQ(E().gucNivelMenuConversaoOpcoesMapa, 0);
    ASSERT_TRUE(EsperarFimConversao());
    EXPECT_TRUE(W<QPlainTextEdit>(etStatus)->toPlainText().startsWith("Mapa de Cobertura 1 de 1: OK"));
    EXPECT_TRUE(fs::exists(m_pasta / "colheita_Cobertura.kml"));
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

// ---------------------------------------------------------------------------------------------------
// Map viewer
// ---------------------------------------------------------------------------------------------------

namespace
{
bool CorDeLinha(QRgb cor)
{
    for (std::uint32_t ulCor : gulVetorCoresShp)
        if ((cor & 0xFFFFFF) == ulCor)
            return true;
    return false;
}

// Pixels of the row colours inside a map picture's map box (above the legend strip).
int PixelsDeLinha(const QImage& imagem)
{
    int n = 0;
    for (int y = 0; y < 270; y += 3)
        for (int x = 0; x < imagem.width(); x += 3)
            n += CorDeLinha(imagem.pixel(x, y));
    return n;
}

bool TemVermelho(const QImage& imagem)
{
    for (int y = 0; y < imagem.height(); y++)
        for (int x = 0; x < imagem.width(); x++)
        {
            const QColor cor(imagem.pixel(x, y));
            if (cor.red() > 200 && cor.green() < 90 && cor.blue() < 90)
                return true;
        }
    return false;
}
} // namespace

class JanelaMapas : public JanelaQt
{
protected:
    void SetUp() override
    {
        JanelaQt::SetUp();
        Clicar(rdVisualizacaoMapas);
        for (const char* pcExt : {".shx", ".dbf", ".prj"})
            Copiar((std::string("recomendacao_pulverizacao") + pcExt).c_str());
        m_szRec = Copiar("recomendacao_pulverizacao.shp");
    }
    void DesenharMapa1()
    {
        m_pServicos->filaArquivos.push_back({m_szRec});
        Clicar(btnMapa1Shp);
        Clicar(btnDesenharMapaShapefile1);
        ASSERT_EQ(E().gucNivelMenuVisualizacaoMapa1, 4);
    }
    const QImage& Imagem(int iMapa) { return m_pJanela->Imagens().stMapa[iMapa].imagem; }
    QPoint Canto(int iMapa)
    {
        const ST_PontoTela st = principal_PosicaoImagemMapa(&E(), iMapa);
        return {st.iX, st.iY};
    }
    std::string m_szRec;
};

TEST_F(JanelaMapas, EscolherDesenharEFecharOMapa1)
{
    m_pServicos->filaArquivos.push_back({m_szRec});
    Clicar(btnMapa1Shp);
    EXPECT_EQ(m_pServicos->vFiltrosPedidos.back(), "Arquivos SHP (*.shp)");
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 2);
    auto* pLista = W<QComboBox>(cBoxVisualizacaoMapaParam1);
    ASSERT_EQ(pLista->count(), 2);
    EXPECT_EQ(pLista->itemText(0), "DOSE");
    EXPECT_EQ(pLista->itemText(1), "ZONA");
    EXPECT_TRUE(pLista->isEnabled() && W(btnDesenharMapaShapefile1)->isEnabled());
    EXPECT_EQ(W<QPushButton>(btnMapa1Shp)->text(), "Fechar");
    EXPECT_EQ(W<QLineEdit>(etMapa1Shp)->text().toStdString(), m_szRec);
    EXPECT_FALSE(W(btnMapa2Shp)->isEnabled());

    // A text field cannot be drawn: the pane shows the error and stays as it was.
    pLista->setFocus();
    QTest::keyClick(pLista, Qt::Key_Down);
    EXPECT_EQ(E().gstVisualizador.gstMapa1.uiParamSelecionado, 1u);
    Clicar(btnDesenharMapaShapefile1);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 3);
    EXPECT_TRUE(TemVermelho(Imagem(0)));
    EXPECT_TRUE(W(btnDesenharMapaShapefile1)->isEnabled() && pLista->isEnabled());
    EXPECT_FALSE(W(btnMapa2Shp)->isEnabled());

    // The numeric field draws in the rows' colours, painted where the pane's picture goes.
    QTest::keyClick(pLista, Qt::Key_Up);
    EXPECT_EQ(E().gstVisualizador.gstMapa1.uiParamSelecionado, 0u);
    Clicar(btnDesenharMapaShapefile1);
    ASSERT_EQ(E().gucNivelMenuVisualizacaoMapa1, 4);
    EXPECT_GT(PixelsDeLinha(Imagem(0)), 1000);
    const QImage tela = m_pJanela->AreaCliente()->grab().toImage();
    for (QPoint p : {QPoint(100, 100), QPoint(180, 150), QPoint(250, 200), QPoint(60, 300)})
        EXPECT_EQ(tela.pixel(Canto(0) + p) & 0xFFFFFF, Imagem(0).pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_TRUE(CorDeLinha(tela.pixel(Canto(0) + QPoint(180, 150))));
    EXPECT_TRUE(W(btnMapa2Shp)->isEnabled() && W(etMapa2Shp)->isEnabled());
    EXPECT_FALSE(W(btnDesenharMapaShapefile2)->isEnabled());

    // Closing map 1 empties the list and takes map 2 away again.
    Clicar(btnMapa1Shp);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 0);
    EXPECT_EQ(pLista->count(), 0);
    EXPECT_FALSE(pLista->isEnabled() || W(btnDesenharMapaShapefile1)->isEnabled() || W(btnMapa2Shp)->isEnabled());
    EXPECT_EQ(W<QPushButton>(btnMapa1Shp)->text(), "Mapa 1 - SHP..");
    EXPECT_EQ(PixelsDeLinha(Imagem(0)), 0);
}

TEST_F(JanelaMapas, TabelaDeExtensaoMaiuscula)
{
    // A set copied off a card in capitals: its table is found whatever the extension's case.
    const std::string szShp = Copiar("recomendacao_pulverizacao.shp", "REC.SHP");
    Copiar("recomendacao_pulverizacao.dbf", "REC.DBF");
    Copiar("recomendacao_pulverizacao.shx", "REC.SHX");
    m_pServicos->filaArquivos.push_back({szShp});
    Clicar(btnMapa1Shp);
    EXPECT_EQ(E().gstVisualizador.gstMapa1.szNomeArqMapaDbf, (m_pasta / "REC.DBF").string());
    EXPECT_EQ(W<QComboBox>(cBoxVisualizacaoMapaParam1)->count(), 2);
    Clicar(btnDesenharMapaShapefile1);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 4);

    // Without a table: the message box says so and the pane shows the error.
    Clicar(btnMapa1Shp);
    fs::remove(m_pasta / "REC.DBF");
    m_pServicos->filaArquivos.push_back({szShp});
    Clicar(btnMapa1Shp);
    EXPECT_EQ(E().gstVisualizador.gstMapa1.szNomeArqMapaDbf, (m_pasta / "REC.dbf").string());
    Clicar(btnDesenharMapaShapefile1);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 3);
    ASSERT_FALSE(m_pServicos->vMensagens.empty());
    EXPECT_NE(m_pServicos->vMensagens.back().szTexto.find("REC.dbf"), std::string::npos)
        << m_pServicos->vMensagens.back().szTexto;
}

TEST_F(JanelaMapas, ConverterEDesenharOMapa2EAmpliar)
{
    // Nothing drawn: double clicks open nothing.
    QTest::mouseDClick(m_pJanela->AreaCliente(), Qt::LeftButton, Qt::NoModifier, Canto(0) + QPoint(100, 100));
    EXPECT_EQ(JanelasAmpliadas(), 0);
    DesenharMapa1();

    m_pServicos->filaArquivos.push_back({Copiar("pulverizacao_soja.nvg")});
    Clicar(btnMapa2Shp);
    EXPECT_EQ(m_pServicos->vFiltrosPedidos.back(), "Arquivos NVG (*.nvg)");
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa2, 2);
    EXPECT_EQ(W<QPushButton>(btnMapa2Shp)->text(), "Fechar");
    ASSERT_TRUE(W(btnDesenharMapaShapefile2)->isEnabled());
    Clicar(btnDesenharMapaShapefile2);
    // While the worker converts, the panes wait behind the busy bar.
    EXPECT_TRUE(W(pgBarConvertendoMapaTxVar)->isVisible());
    for (int iId : {btnMapa1Shp, btnDesenharMapaShapefile1, btnMapa2Shp, btnDesenharMapaShapefile2, cBoxVisualizacaoMapaParam1})
        EXPECT_FALSE(W(iId)->isEnabled()) << iId;
    ASSERT_TRUE(Esperar([this] { return E().gucNivelMenuVisualizacaoMapa2 >= 3 && !E().bMapa2EmConversao; }));
    ASSERT_EQ(E().gucNivelMenuVisualizacaoMapa2, 4);
    EXPECT_FALSE(W(pgBarConvertendoMapaTxVar)->isVisible());
    for (int iId : {btnMapa1Shp, btnDesenharMapaShapefile1, btnMapa2Shp, btnDesenharMapaShapefile2})
        EXPECT_TRUE(W(iId)->isEnabled()) << iId;
    EXPECT_TRUE(fs::exists(m_pasta / "pulverizacao_soja_Cobertura.kml"));
    EXPECT_GT(PixelsDeLinha(Imagem(1)), 1000);
    // The conversion panel's selection was not touched by the viewer's job.
    EXPECT_EQ(E().gstSelecaoArquivos->szPathsArqNaveg[0], '\0');

    // Double clicks on drawn panes: a window per click, each with its own map and caption.
    QTest::mouseDClick(m_pJanela->AreaCliente(), Qt::LeftButton, Qt::NoModifier, Canto(1) + QPoint(150, 120));
    QTest::mouseDClick(m_pJanela->AreaCliente(), Qt::LeftButton, Qt::NoModifier, Canto(0) + QPoint(5, 5));
    QTest::mouseDClick(m_pJanela->AreaCliente(), Qt::LeftButton, Qt::NoModifier, QPoint(385, 300)); // between panes
    ASSERT_EQ(JanelasAmpliadas(), 2);
    std::vector<JanelaVisualizacaoMapa*> vJanelas;
    for (QWidget* p : QApplication::topLevelWidgets())
        if (auto* pMapa = qobject_cast<JanelaVisualizacaoMapa*>(p))
            vJanelas.push_back(pMapa);
    ASSERT_EQ(vJanelas.size(), 2u);
    std::sort(vJanelas.begin(), vJanelas.end(),
              [](auto* a, auto* b) { return a->windowTitle() < b->windowTitle(); });
    EXPECT_EQ(vJanelas[0]->windowTitle(), "Visualização de Mapa 1 - Shapefile");
    EXPECT_EQ(vJanelas[1]->windowTitle(), "Visualização de Mapa 2 - Shapefile");
    EXPECT_EQ(vJanelas[1]->Imagem(), m_pJanela->Imagens().stMapaMax[1].imagem);
    EXPECT_EQ(vJanelas[1]->Imagem().size(), QSize(550, 550));
    EXPECT_FALSE(vJanelas[1]->isModal());
    // Map 1 redrawn blank (closed): the open window keeps the map it was opened for.
    const QImage antes = vJanelas[0]->Imagem();
    Clicar(btnMapa1Shp);
    EXPECT_EQ(vJanelas[0]->Imagem(), antes);

    // Switching modes keeps the map panel as it was.
    Clicar(rdConversorArquivos);
    Clicar(rdVisualizacaoMapas);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa1, 0);
    EXPECT_EQ(W<QPushButton>(btnMapa1Shp)->text(), "Mapa 1 - SHP..");
}

TEST_F(JanelaMapas, Mapa2QueFalhaDeixaOPainelUsavel)
{
    DesenharMapa1();
    const std::string szRuim = (m_pasta / "ruim.nvg").string();
    std::ofstream(szRuim) << "isto não é um arquivo de navegação";
    m_pServicos->filaArquivos.push_back({szRuim});
    Clicar(btnMapa2Shp);
    Clicar(btnDesenharMapaShapefile2);
    ASSERT_TRUE(Esperar([this] { return !E().bMapa2EmConversao; }));
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa2, 3);
    EXPECT_FALSE(W(pgBarConvertendoMapaTxVar)->isVisible());
    EXPECT_TRUE(TemVermelho(Imagem(1)));
    for (int iId : {btnMapa1Shp, btnMapa2Shp, btnDesenharMapaShapefile2})
        EXPECT_TRUE(W(iId)->isEnabled()) << iId;
    // A failed pane does not open enlarged.
    QTest::mouseDClick(m_pJanela->AreaCliente(), Qt::LeftButton, Qt::NoModifier, Canto(1) + QPoint(150, 120));
    EXPECT_EQ(JanelasAmpliadas(), 0);

    // Another file: close, choose, convert.
    Clicar(btnMapa2Shp);
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa2, 1);
    EXPECT_EQ(W<QLineEdit>(etMapa2Shp)->text(), "");
    m_pServicos->filaArquivos.push_back({Copiar("pulverizacao_soja.nvg")});
    Clicar(btnMapa2Shp);
    Clicar(btnDesenharMapaShapefile2);
    ASSERT_TRUE(Esperar([this] { return !E().bMapa2EmConversao; }));
    EXPECT_EQ(E().gucNivelMenuVisualizacaoMapa2, 4);
}
