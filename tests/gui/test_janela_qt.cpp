// What the Qt adapter adds to the window logic, on the real window, headless: widgets, input routing,
// notices on the window thread, painted pictures, the enlarged map window and the dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QDialog>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <map>

#include "principal/janelaQt.h"
#include "support/DiretorioTemporario.h"
#include "support/ServicosFalsos.h"

using namespace zavoro_teste;

namespace
{
class AdaptadorQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_stQt = E().stServicos; // the adapter's own services, before the fakes take their place
        m_pServicos = std::make_unique<ServicosFalsos>(&E(), false);
        E().unidadePausa = std::chrono::nanoseconds(0);
        m_janela.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_janela));
    }
    template <typename T = QWidget> T* W(int iId) { return qobject_cast<T*>(m_janela.Controle(iId)); }
    ST_Janela& E() { return m_janela.Estado(); }
    void Clicar(int iId) { QTest::mouseClick(W(iId), Qt::LeftButton); }
    static bool Esperar(const std::function<bool()>& fnPronto) { return QTest::qWaitFor(fnPronto, 30000); }
    std::string Copiar(const std::string& szNome)
    {
        std::filesystem::copy_file(amostra(szNome), m_dir / szNome);
        return (m_dir / szNome).string();
    }
    QRgb Pixel(const QImage& imagem, int iX, int iY) { return imagem.pixel(iX, iY) & 0xFFFFFF; }
    // Boxes of the logic's panel picture not painted as laid out (the fill at the centre, the black
    // outline at the left); one more when there is nothing to paint.
    int CaixasMalPintadas()
    {
        const QImage tela = m_janela.AreaCliente()->grab().toImage();
        const ST_PinturaPainel stPintura = principal_PaintHandler(&E());
        int n = stPintura.vCaixas.empty();
        for (const ST_CaixaPintura& st : stPintura.vCaixas)
            n += Pixel(tela, (st.iX0 + st.iX1) / 2, (st.iY0 + st.iY1) / 2) != st.ulCor ||
                 Pixel(tela, st.iX0, (st.iY0 + st.iY1) / 2) != 0;
        return n;
    }
    // Runs fn on the next modal dialog as soon as it is open.
    static void NoProximoDialogo(std::function<void(QWidget*)> fn)
    {
        auto* pTimer = new QTimer;
        QObject::connect(pTimer, &QTimer::timeout, [pTimer, fn] {
            if (QWidget* pDialogo = QApplication::activeModalWidget())
            {
                pTimer->stop();
                pTimer->deleteLater();
                fn(pDialogo);
            }
        });
        pTimer->start(10);
    }

    DiretorioTemporario m_dir;
    std::unique_ptr<ServicosFalsos> m_pServicos;
    ST_ServicosPlataforma m_stQt;
    JanelaConversorZavoro m_janela; // goes first, with its enlarged windows
};
} // namespace

TEST_F(AdaptadorQt, ControlesDaTabelaEMenu)
{
    EXPECT_EQ(m_janela.objectName().toStdString() + "|" + m_janela.windowTitle().toStdString(),
              "frmConversorZavoro|" + E().szTitulo);
    using K = E_ClasseControle;
    const std::map<K, const char*> kClasses = {{K::GrupoBox, "QGroupBox"}, {K::Radio, "QRadioButton"},
                                               {K::Botao, "QPushButton"},  {K::Edicao, "QLineEdit"},
                                               {K::Rotulo, "QLabel"},      {K::BarraProgresso, "QProgressBar"},
                                               {K::Retangulo, "QFrame"},   {K::ListaSuspensa, "QComboBox"}};
    for (const ST_Controle& st : E().vControles)
    {
        const ST_DefinicaoControle& stDef = *st.pstDefinicao;
        QWidget* p = W(stDef.iId);
        ASSERT_NE(p, nullptr) << stDef.szNome;
        const bool bLista = (stDef.uiPropriedades & D_PRINCIPAL_CONTROLE_MULTILINHA) != 0;
        EXPECT_STREQ(p->metaObject()->className(), bLista ? "QPlainTextEdit" : kClasses.at(stDef.eClasse)) << stDef.szNome;
        EXPECT_EQ(p->objectName().toStdString(), stDef.szNome);
        EXPECT_EQ(p->isVisible(), principal_ControleVisivel(&E(), stDef.iId)) << stDef.szNome;
        EXPECT_EQ(p->isEnabled(), st.bHabilitado) << stDef.szNome;
        EXPECT_EQ(p->pos(), QPoint(st.iX, st.iY)) << stDef.szNome;
    }
    EXPECT_EQ(W(btnSelecioneDiretorio)->size(), QSize(126, 24));
    EXPECT_EQ(W(cBoxVisualizacaoMapaParam1)->height(), 21); // the closed list is one line high
    EXPECT_TRUE(W<QLineEdit>(etArquivos)->isReadOnly() && !W<QLineEdit>(etValorAlvo1)->isReadOnly());
    // Not resizable; the client area is the dialog's 510 units wide.
    EXPECT_EQ(m_janela.minimumSize(), m_janela.maximumSize());
    EXPECT_EQ(m_janela.AreaCliente()->width(), 765);

    QStringList vMenu;
    for (QAction* pAcao : m_janela.menuBar()->actions())
        vMenu << pAcao->text();
    for (const char* pcNome : {"mnSair", "mnComoUtilizar", "mnSobre"})
        vMenu << m_janela.findChild<QAction*>(pcNome)->text();
    EXPECT_EQ(vMenu, (QStringList{"&Arquivo", "A&juda", "&Sair", "&Como &utilizar", "&Sobre Quibar - Zavoro"}));
    m_janela.findChild<QAction*>("mnSobre")->trigger();
    EXPECT_EQ(m_pServicos->iSobre, 1);
    m_janela.findChild<QAction*>("mnSair")->trigger();
    EXPECT_TRUE(Esperar([this] { return !m_janela.isVisible(); }));
}

TEST_F(AdaptadorQt, CliquesTeclasEDigitacaoPintamEConvertem)
{
    // A click goes to the logic; the worker's notices come back through the window's event queue.
    m_pServicos->filaArquivos.push_back({Copiar("colheita.nvg")});
    Clicar(btnSelecioneArquivos);
    ASSERT_TRUE(Esperar([this] { return W(btnBotaoDireita)->isEnabled(); }));
    EXPECT_EQ(W<QLineEdit>(etArquivos)->text(), "\"colheita.nvg\" ");
    // Texts keep "\r\n" in the logic; the widgets show "\n".
    EXPECT_EQ(W<QLabel>(lblStatusConversao)->text(),
              "\n\n\n\n1 arquivo selecionado. Gere seu relatório e mapa pressionando os botões acima.");

    // A click checks its radio button; the arrow keys move through its group as clicks do.
    Clicar(btnBotaoDireita);
    Clicar(rdbtnOpcao2);
    EXPECT_TRUE(W<QRadioButton>(rdbtnOpcao2)->isChecked() && !W<QRadioButton>(rdbtnOpcao1)->isChecked());
    QTest::keyClick(W(rdbtnOpcao2), Qt::Key_Up);
    EXPECT_EQ(E().giTipoMapa, D_CONVERSOR_TIPO_MAPA_COBERTURA);
    EXPECT_TRUE(W<QRadioButton>(rdbtnOpcao1)->isChecked() && W<QRadioButton>(rdConversorArquivos)->isChecked());
    QTest::keyClick(W(rdbtnOpcao1), Qt::Key_Down);
    EXPECT_EQ(E().giTipoMapa, D_CONVERSOR_TIPO_MAPA_VELOCIDADE);
    Clicar(btnBotaoDireita);
    const ST_Controle& stAlvo2 = principal_Controle(&E(), etValorAlvo2);
    EXPECT_EQ(W(etValorAlvo2)->pos(), QPoint(stAlvo2.iX, stAlvo2.iY)); // placed by the bar's layout

    // Only digits get in; each keystroke reaches the logic and the picture is repainted at once.
    EXPECT_EQ(CaixasMalPintadas(), 0);
    W(etValorAlvo4)->setFocus();
    W<QLineEdit>(etValorAlvo4)->selectAll();
    QTest::keyClick(W(etValorAlvo4), Qt::Key_Backspace);
    EXPECT_EQ(E().iVelocidadeAlvoMapa[3], D_CONVERSOR_VALOR_ALVO_VAZIO); // emptied: its boundary goes
    EXPECT_EQ(CaixasMalPintadas(), 0);
    QTest::keyClicks(W(etValorAlvo4), "17a");
    EXPECT_EQ(W<QLineEdit>(etValorAlvo4)->text().toStdString() + "|" + std::to_string(E().iVelocidadeAlvoMapa[3]), "17|17");
    Clicar(btnBotaoDireita);
    EXPECT_EQ(CaixasMalPintadas(), 0);

    Clicar(btnBotaoDireita);
    ASSERT_TRUE(Esperar([this] { return W(btnSelecioneArquivos)->isEnabled() && W(etStatus)->isVisible(); }));
    const QString szLista = W<QPlainTextEdit>(etStatus)->toPlainText();
    EXPECT_TRUE(szLista.startsWith("Mapa de Velocidade 1 de 1: OK\nArquivo de Navegação: ")) << szLista.toStdString();
    EXPECT_FALSE(szLista.contains('\r'));
}

TEST_F(AdaptadorQt, MapasPintadosEJanelaAmpliada)
{
    Clicar(rdVisualizacaoMapas);
    Copiar("recomendacao_pulverizacao.shx");
    Copiar("recomendacao_pulverizacao.dbf");
    m_pServicos->filaArquivos.push_back({Copiar("recomendacao_pulverizacao.shp")});
    Clicar(btnMapa1Shp);
    auto* pLista = W<QComboBox>(cBoxVisualizacaoMapaParam1);
    ASSERT_EQ(pLista->count(), 2);
    EXPECT_EQ(pLista->currentIndex(), 0);
    // Keys on the list reach the logic's choice.
    pLista->setFocus();
    QTest::keyClick(pLista, Qt::Key_Down);
    EXPECT_EQ(E().gstVisualizador.gstMapa1.uiParamSelecionado, 1u);
    QTest::keyClick(pLista, Qt::Key_Up);
    Clicar(btnDesenharMapaShapefile1);
    ASSERT_EQ(E().gucNivelMenuVisualizacaoMapa1, 4);

    // Both pane pictures are painted where the logic places them; a double click on the drawn one
    // opens its enlarged window (none for the empty map 2 pane).
    const QImage tela = m_janela.AreaCliente()->grab().toImage();
    const ST_ImpressaoMapas stMapas = principal_ImprimirMapas(&E());
    for (int iMapa = 0; iMapa < 2; iMapa++)
    {
        const ST_PontoTela& st = stMapas.stCanto[iMapa];
        for (QPoint p : {QPoint(0, 0), QPoint(100, 100), QPoint(180, 150), QPoint(354, 334)})
            EXPECT_EQ(Pixel(tela, st.iX + p.x(), st.iY + p.y()),
                      Pixel(m_janela.Imagens().stMapa[iMapa].imagem, p.x(), p.y()))
                << iMapa << ": " << p.x() << "," << p.y();
        QTest::mouseDClick(m_janela.AreaCliente(), Qt::LeftButton, Qt::NoModifier, QPoint(st.iX + 150, st.iY + 120));
    }
    const QList<JanelaVisualizacaoMapa*> vAmpliadas = m_janela.findChildren<JanelaVisualizacaoMapa*>();
    ASSERT_EQ(vAmpliadas.size(), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(vAmpliadas[0]));
    EXPECT_EQ(vAmpliadas[0]->windowTitle().toStdString(), principal_InitDialogVisualizacaoMapa(&E()));
    EXPECT_FALSE(vAmpliadas[0]->isModal());
    EXPECT_EQ(vAmpliadas[0]->Imagem(), m_janela.Imagens().stMapaMax[0].imagem);
    const QImage ampliada = vAmpliadas[0]->grab().toImage();
    for (int i : {0, 275, 549})
        EXPECT_EQ(Pixel(ampliada, i + 6, i + 7), Pixel(vAmpliadas[0]->Imagem(), i, i)) << i;
}

TEST_F(AdaptadorQt, MensagensSobreECodigoDeSaida)
{
    // Message box: caption, text with the widget's line ends, the buttons asked for, the answer.
    for (const auto& [iBotoes, iResposta] : {std::pair{D_PRINCIPAL_MB_OKCANCEL, D_PRINCIPAL_IDCANCEL},
                                             std::pair{D_PRINCIPAL_MB_OK, D_PRINCIPAL_IDOK}})
    {
        NoProximoDialogo([iBotoes](QWidget* p) {
            auto* pCaixa = qobject_cast<QMessageBox*>(p);
            ASSERT_NE(pCaixa, nullptr);
            EXPECT_EQ(pCaixa->windowTitle() + "|" + pCaixa->text(), "Erro|a\nb");
            const bool bCancelar = iBotoes == D_PRINCIPAL_MB_OKCANCEL;
            EXPECT_EQ(pCaixa->standardButtons(), bCancelar ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
            pCaixa->button(bCancelar ? QMessageBox::Cancel : QMessageBox::Ok)->click();
        });
        EXPECT_EQ(m_stQt.pfMensagem(m_stQt.pContexto, "a\r\nb", "Erro", iBotoes), iResposta);
    }

    // About box: the logic's caption and lines, painted beside the logo.
    NoProximoDialogo([this](QWidget* p) {
        EXPECT_EQ(p->objectName() + "|" + p->windowTitle(), "frmSobre|Sobre");
        EXPECT_EQ(p->size(), QSize(324, 161));
        const QImage imagem = p->grab().toImage();
        auto Contar = [&](QRgb cor, int iX0, int iY0, int iX1, int iY1, int n = 0) {
            for (int i = 0; i < (iX1 - iX0) * (iY1 - iY0); i++)
                n += Pixel(imagem, iX0 + i % (iX1 - iX0), iY0 + i / (iX1 - iX0)) == cor;
            return n;
        };
        for (const ST_LinhaSobre& st : principal_InitDialogSobreHandler().vLinhas)
            EXPECT_GT(Contar(st.ulCor, st.iX, st.iY, imagem.width(), st.iY + st.iPixels + 4), 4) << st.szTexto;
        EXPECT_EQ(Contar(0x0000FF, 0, 0, imagem.width(), 108), 0); // blue is the web address's alone
        EXPECT_LT(Contar(0xFFFFFF, 10, 10, 82, 120), 72 * 110 - 500); // the logo
        static_cast<QDialog*>(p)->accept();
    });
    m_stQt.pfMostrarSobre(m_stQt.pContexto);

    // A worker that cannot start: the program's exit code.
    m_stQt.pfEncerrarProcesso(m_stQt.pContexto, D_PRINCIPAL_SAIDA_ERRO_THREAD);
    EXPECT_EQ(m_janela.CodigoSaida(), D_PRINCIPAL_SAIDA_ERRO_THREAD);
}

// Every menu entry the help document names ("Ajuda > Como utilizar") is in the window's menu bar, so
// a renamed or moved entry cannot leave the guide pointing at nothing.
TEST_F(AdaptadorQt, MenusCitadosNaAjudaExistem)
{
    QFile arquivo(QStringLiteral(ZAVORO_SOURCE_DIR "/rc/ajuda/ajuda.html"));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QString szHtml = QString::fromUtf8(arquivo.readAll());
    auto SemAtalho = [](QString sz) { return sz.remove(QLatin1Char('&')); };
    int iCitados = 0;
    QRegularExpression re(QStringLiteral("<span class=\"menu\">([^<]*)</span>"));
    for (auto it = re.globalMatch(szHtml); it.hasNext(); iCitados++)
    {
        const QString szCaminho = it.next().captured(1).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        const QStringList vPartes = szCaminho.split(QLatin1Char('>'));
        ASSERT_EQ(vPartes.size(), 2) << szCaminho.toStdString();
        bool bAchado = false;
        for (QAction* pMenu : m_janela.menuBar()->actions())
            if (SemAtalho(pMenu->text()) == vPartes[0].trimmed() && pMenu->menu() != nullptr)
                for (QAction* pAcao : pMenu->menu()->actions())
                    bAchado = bAchado || SemAtalho(pAcao->text()) == vPartes[1].trimmed();
        EXPECT_TRUE(bAchado) << "menu citado na ajuda e ausente da janela: " << szCaminho.toStdString();
    }
    EXPECT_GE(iCitados, 3);
}

// The comparison window the button opens: the logic's tables, the difference map in both sizes.
TEST_F(AdaptadorQt, JanelaDeComparacao)
{
    Clicar(rdVisualizacaoMapas);
    Copiar("recomendacao_pulverizacao.shx");
    Copiar("recomendacao_pulverizacao.dbf");
    m_pServicos->filaArquivos.push_back({Copiar("recomendacao_pulverizacao.shp")});
    Clicar(btnMapa1Shp);
    Clicar(btnDesenharMapaShapefile1);
    m_pServicos->filaArquivos.push_back({Copiar("pulverizacao_soja.nvg")});
    Clicar(btnMapa2Shp);
    Clicar(btnDesenharMapaShapefile2);
    ASSERT_TRUE(Esperar([this] { return W(btnCompararMapas)->isEnabled(); }));
    EXPECT_EQ(W<QPushButton>(btnCompararMapas)->text().toStdString(), "Comparação...");
    ASSERT_EQ(E().stComparacao.iEstado, D_PRINCIPAL_COMPARACAO_PRONTA);

    // The fakes stand in for the services: open the adapter's own window as its button would.
    ASSERT_NE(m_stQt.pfMostrarComparacao, nullptr);
    m_stQt.pfMostrarComparacao(m_stQt.pContexto);
    auto* pDialogo = m_janela.findChild<QDialog*>(QStringLiteral("frmComparacao"));
    ASSERT_NE(pDialogo, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pDialogo));
    EXPECT_FALSE(pDialogo->isModal());
    const std::string szTexto = pDialogo->findChild<QPlainTextEdit*>(QStringLiteral("etComparacao"))->toPlainText().toStdString();
    EXPECT_EQ(szTexto, principal_TextoComparacao(&E()));
    EXPECT_NE(szTexto.find("Totais do talhão"), std::string::npos);
    auto* pMapa = pDialogo->findChild<QLabel*>(QStringLiteral("imgMapaDiferenca"));
    ASSERT_NE(pMapa, nullptr);
    EXPECT_EQ(pMapa->pixmap().size(), QSize(D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA));
    pDialogo->findChild<QCheckBox*>(QStringLiteral("ckbMapaDiferencaAmpliado"))->setChecked(true);
    EXPECT_EQ(pMapa->pixmap().size(), QSize(D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX));
    // Zones drawn in the scale's colours.
    const QImage imagem = pMapa->pixmap().toImage();
    int iPixels = 0;
    for (int y = 0; y < 500; y += 5)
        for (int x = 0; x < 550; x += 5)
            for (std::uint32_t ulCor : D_ANALISE_CORES_DIFERENCA)
                iPixels += Pixel(imagem, x, y) == ulCor;
    EXPECT_GT(iPixels, 500);
    pDialogo->close();
}
