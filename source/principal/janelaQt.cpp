// Qt adapter of the main dialog, the enlarged map window and the About box.
#include "principal/janelaQt.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTextOption>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
QString Q(const std::string& sz)
{
    return QString::fromUtf8(sz.data(), static_cast<qsizetype>(sz.size()));
}

std::string U(const QString& sz)
{
    return sz.toUtf8().toStdString();
}

// Texts keep the "\r\n" line ends they are written with; the widgets want "\n".
QString TextoTela(const std::string& sz)
{
    QString szTexto = Q(sz);
    szTexto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return szTexto;
}

QColor Cor(std::uint32_t ulCor)
{
    return QColor::fromRgb(QRgb(0xFF000000u | (ulCor & 0x00FFFFFFu)));
}

// Every window of the program is white behind its controls.
void FundoBranco(QWidget* pWidget)
{
    QPalette paleta = pWidget->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    pWidget->setPalette(paleta);
    pWidget->setAutoFillBackground(true);
}

JanelaConversorZavoro* Adaptador(void* pContexto)
{
    return static_cast<JanelaConversorZavoro*>(pContexto);
}
} // namespace

QFont principal_FonteDialogo()
{
    // The dialog's face where it exists; otherwise a narrow sans face whose 11-pixel texts fit the
    // controls laid out for it.
    QFont fonte(desenhoQt_FaceSemSerifa());
    fonte.setPixelSize(11);
    fonte.setStyleHint(QFont::SansSerif);
    return fonte;
}

QFont principal_FontePixels(int iPixels, bool bNegrito, bool bSublinhado)
{
    QFont fonte = principal_FonteDialogo();
    fonte.setPixelSize(iPixels);
    fonte.setWeight(bNegrito ? QFont::Bold : QFont::Normal);
    fonte.setUnderline(bSublinhado);
    return fonte;
}

QIcon principal_IconeQuibar()
{
    QIcon icone;
    for (int iTamanho : {16, 32, 48, 64})
        icone.addFile(QStringLiteral(":/rc/icoQuibar_%1.png").arg(iTamanho), QSize(iTamanho, iTamanho));
    return icone;
}

// The client area: white, with the panel's pictures painted under the controls (the group boxes are
// transparent, as the pictures lie inside them).
class AreaClienteQt : public QWidget
{
public:
    AreaClienteQt(JanelaConversorZavoro* pJanela) : QWidget(pJanela), m_pJanela(pJanela)
    {
        setObjectName(QStringLiteral("areaCliente"));
        FundoBranco(this);
    }

protected:
    void paintEvent(QPaintEvent*) override { m_pJanela->Pintar(this); }
    void mouseDoubleClickEvent(QMouseEvent* pEvento) override
    {
        const QPoint ponto = pEvento->position().toPoint();
        m_pJanela->DuploClique(ponto.x(), ponto.y());
    }

private:
    JanelaConversorZavoro* m_pJanela;
};

// ---------------------------------------------------------------------------------------------------
// Platform services over Qt
// ---------------------------------------------------------------------------------------------------

namespace
{
int MensagemQt(void* pContexto, const char* pcTexto, const char* pcTitulo, int iBotoes)
{
    QMessageBox caixa(Adaptador(pContexto));
    caixa.setWindowTitle(QString::fromUtf8(pcTitulo));
    caixa.setText(TextoTela(pcTexto));
    caixa.setStandardButtons(iBotoes == D_PRINCIPAL_MB_OKCANCEL ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    return caixa.exec() == QMessageBox::Ok ? D_PRINCIPAL_IDOK : D_PRINCIPAL_IDCANCEL;
}

bool AbrirArquivosQt(void* pContexto, const char* pcFiltroTexto, const char*, const char* pcExtensao, bool bVarios,
                     std::vector<std::string>* pvArquivos)
{
    QFileDialog dialogo(Adaptador(pContexto));
    dialogo.setFileMode(bVarios ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setNameFilter(QString::fromUtf8(pcFiltroTexto));
    dialogo.setDefaultSuffix(QString::fromUtf8(pcExtensao));
    dialogo.setDirectory(QDir::homePath());
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    for (const QString& szArquivo : dialogo.selectedFiles())
        pvArquivos->push_back(U(QDir::toNativeSeparators(szArquivo)));
    return !pvArquivos->empty();
}

bool EscolherDiretorioQt(void* pContexto, const char* pcTitulo, std::string* pszDiretorio)
{
    const QString szPasta =
        QFileDialog::getExistingDirectory(Adaptador(pContexto), QString::fromUtf8(pcTitulo), QDir::homePath());
    if (szPasta.isEmpty())
        return false;
    *pszDiretorio = U(QDir::toNativeSeparators(szPasta));
    return true;
}

bool EscolherItemQt(void* pContexto, const char* pcTitulo, const char* pcRotulo, const std::vector<std::string>& vItens,
                    int* piEscolha)
{
    QStringList lista;
    for (const std::string& szItem : vItens)
        lista << Q(szItem);
    bool bOk = false;
    const QString szEscolhido =
        QInputDialog::getItem(Adaptador(pContexto), QString::fromUtf8(pcTitulo), QString::fromUtf8(pcRotulo), lista, 0,
                              false, &bOk);
    *piEscolha = bOk ? static_cast<int>(lista.indexOf(szEscolhido)) : -1;
    return *piEscolha >= 0;
}

void AbrirDocumentoQt(void*, const std::string& szCaminho)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(szCaminho)));
}

void MostrarSobreQt(void* pContexto)
{
    DialogoSobre sobre(Adaptador(pContexto));
    sobre.exec();
}

void PostarQt(void* pContexto, std::function<void()> fn)
{
    JanelaConversorZavoro* pJanela = Adaptador(pContexto);
    // Queued on the window's thread; dropped if the window is gone by then.
    QMetaObject::invokeMethod(
        pJanela, [pJanela, fn = std::move(fn)] { pJanela->Executar(fn); }, Qt::QueuedConnection);
}
// ---------------------------------------------------------------------------------------------------
// Comparison window
// ---------------------------------------------------------------------------------------------------

// The comparison as it stood when opened: the tables, the difference map (panel or enlarged picture)
// and a button that saves the CSV. Not modal, like the enlarged map.
void AbrirComparacao(QWidget* pai, ST_Janela* pstJanela)
{
    auto* pDialogo = new QDialog(pai);
    pDialogo->setObjectName(QStringLiteral("frmComparacao"));
    pDialogo->setAttribute(Qt::WA_DeleteOnClose);
    pDialogo->setWindowTitle(QStringLiteral("Comparação - Recomendação x Trabalho Realizado"));
    pDialogo->setWindowIcon(principal_IconeQuibar());
    FundoBranco(pDialogo);

    auto* pTexto = new QPlainTextEdit(pDialogo);
    pTexto->setObjectName(QStringLiteral("etComparacao"));
    pTexto->setReadOnly(true);
    pTexto->setLineWrapMode(QPlainTextEdit::NoWrap);
    pTexto->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pTexto->setPlainText(Q(principal_TextoComparacao(pstJanela)));
    pTexto->setMinimumSize(560, 300);

    // The difference map on the viewer's extent, in both sizes.
    ST_ImagensMapasQt stImagens;
    ST_VisualizadorMapas stSuperficies;
    desenhoQt_CriarImagensMapas(&stImagens, &stSuperficies);
    principal_DesenharMapaDiferenca(pstJanela, &stImagens.stMapa[0].stSuperficie, &stImagens.stMapaMax[0].stSuperficie);
    const QPixmap painel = QPixmap::fromImage(stImagens.stMapa[0].imagem);
    const QPixmap ampliado = QPixmap::fromImage(stImagens.stMapaMax[0].imagem);
    auto* pMapa = new QLabel(pDialogo);
    pMapa->setObjectName(QStringLiteral("imgMapaDiferenca"));
    pMapa->setPixmap(painel);
    pMapa->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    pMapa->setMinimumSize(D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX);
    auto* pRotulo = new QLabel(QStringLiteral("Mapa de diferença: aplicado − prescrito (por ha)"), pDialogo);
    auto* pAmpliar = new QCheckBox(QStringLiteral("Ampliado"), pDialogo);
    pAmpliar->setObjectName(QStringLiteral("ckbMapaDiferencaAmpliado"));
    QObject::connect(pAmpliar, &QCheckBox::toggled, pMapa,
                     [pMapa, painel, ampliado](bool bAmpliado) { pMapa->setPixmap(bAmpliado ? ampliado : painel); });

    auto* pSalvar = new QPushButton(QStringLiteral("Salvar CSV..."), pDialogo);
    pSalvar->setObjectName(QStringLiteral("btnSalvarCsvComparacao"));
    const QString szSugerido = [&] {
        const std::filesystem::path nvg(principal_Texto(pstJanela, etMapa2Shp));
        return Q((nvg.parent_path() / (nvg.stem().string() + "_Comparacao.csv")).string());
    }();
    QObject::connect(pSalvar, &QPushButton::clicked, pDialogo, [pDialogo, pstJanela, szSugerido] {
        const QString szArquivo = QFileDialog::getSaveFileName(pDialogo, QStringLiteral("Salvar a comparação"), szSugerido,
                                                               QStringLiteral("Arquivos CSV (*.csv)"));
        if (szArquivo.isEmpty())
            return;
        std::string szErro;
        if (!principal_SalvarCsvComparacao(pstJanela, U(QDir::toNativeSeparators(szArquivo)), &szErro))
            QMessageBox::warning(pDialogo, Q(D_PRINCIPAL_TITULO_ERRO),
                                 QStringLiteral("Não foi possível gravar %1:\n%2").arg(szArquivo, Q(szErro)));
    });
    auto* pFechar = new QPushButton(Q(D_PRINCIPAL_TEXTO_FECHAR), pDialogo);
    QObject::connect(pFechar, &QPushButton::clicked, pDialogo, &QDialog::close);

    auto* pBotoes = new QHBoxLayout;
    pBotoes->addWidget(pAmpliar);
    pBotoes->addStretch();
    pBotoes->addWidget(pSalvar);
    pBotoes->addWidget(pFechar);
    auto* pDireita = new QVBoxLayout;
    pDireita->addWidget(pRotulo);
    pDireita->addWidget(pMapa, 1);
    auto* pCorpo = new QHBoxLayout;
    pCorpo->addWidget(pTexto, 1);
    pCorpo->addLayout(pDireita);
    auto* pLayout = new QVBoxLayout(pDialogo);
    pLayout->addLayout(pCorpo, 1);
    pLayout->addLayout(pBotoes);
    pDialogo->show();
    pDialogo->activateWindow();
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// Main dialog
// ---------------------------------------------------------------------------------------------------

JanelaConversorZavoro::JanelaConversorZavoro(QWidget* pai, std::vector<ST_FormatoExportacao> vFormatosExportacao)
    : QMainWindow(pai), m_pstJanela(std::make_unique<ST_Janela>()), m_pstImagens(std::make_unique<ST_ImagensMapasQt>())
{
    m_pstJanela->vFormatosExportacao = std::move(vFormatosExportacao);
    setObjectName(QStringLiteral("frmConversorZavoro"));
    setWindowTitle(QStringLiteral("Quibar Zavoro"));
    setWindowIcon(principal_IconeQuibar());
    setFont(principal_FonteDialogo());
    // White window and controls; group boxes (below) are a thin frame with the title on its top line.
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);

    m_pArea = new AreaClienteQt(this);
    m_pArea->setFixedSize(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_DIALOGO),
                          principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_CLIENTE));
    setCentralWidget(m_pArea);
    CriarMenu();
    CriarControles();
    PreencherServicos();
    desenhoQt_CriarImagensMapas(m_pstImagens.get(), &m_pstJanela->gstVisualizador);
    // Not resizable: the controls sit at fixed positions.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Executar([this] { principal_InitDialogHandler(m_pstJanela.get()); });
}

JanelaConversorZavoro::~JanelaConversorZavoro()
{
    // Workers first: they may still be converting and posting to this window.
    principal_EncerrarTrabalhos(m_pstJanela.get());
}

void JanelaConversorZavoro::PreencherServicos()
{
    ST_ServicosPlataforma& stServicos = m_pstJanela->stServicos;
    stServicos.pContexto = this;
    stServicos.pfMensagem = MensagemQt;
    stServicos.pfAbrirArquivos = AbrirArquivosQt;
    stServicos.pfEscolherDiretorio = EscolherDiretorioQt;
    stServicos.pfEscolherItem = EscolherItemQt;
    stServicos.pfAbrirDocumento = AbrirDocumentoQt;
    stServicos.pfMostrarSobre = MostrarSobreQt;
    stServicos.pfMostrarComparacao = [](void* pContexto) {
        JanelaConversorZavoro* pJanela = Adaptador(pContexto);
        AbrirComparacao(pJanela, pJanela->m_pstJanela.get());
    };
    stServicos.pfPostar = PostarQt;
    stServicos.pfEncerrarProcesso = [](void* pContexto, int iCodigo) {
        JanelaConversorZavoro* pJanela = Adaptador(pContexto);
        pJanela->m_iCodigoSaida = iCodigo;
        QCoreApplication::exit(iCodigo);
    };
    const QString szPasta = QCoreApplication::applicationDirPath();
    stServicos.vPastasAjuda = {U(szPasta), U(QDir(szPasta).filePath(QStringLiteral("../share/quibar-zavoro")))};
}

void JanelaConversorZavoro::CriarMenu()
{
    QMenuBar* pMenu = menuBar();
    pMenu->setObjectName(QStringLiteral("mnZavoro"));
    auto Acao = [this](QMenu* pPopup, const char* pcTexto, int iId, const char* pcNome) {
        QAction* pAcao = pPopup->addAction(QString::fromUtf8(pcTexto));
        pAcao->setObjectName(QString::fromUtf8(pcNome));
        connect(pAcao, &QAction::triggered, this,
                [this, iId] { Executar([this, iId] { principal_CommandHandler(m_pstJanela.get(), iId); }); });
    };
    QMenu* pArquivo = pMenu->addMenu(QStringLiteral("&Arquivo"));
    Acao(pArquivo, "&Sair", mnSair, "mnSair");
    QMenu* pAjuda = pMenu->addMenu(QStringLiteral("A&juda"));
    Acao(pAjuda, "&Como &utilizar", mnComoUtilizar, "mnComoUtilizar");
    Acao(pAjuda, "&Sobre Quibar - Zavoro", mnSobre, "mnSobre");
}

void JanelaConversorZavoro::CriarControles()
{
    // One exclusive group per radio group of the logic, for the arrow keys within a group.
    std::map<int, QButtonGroup*> grupos;
    for (int i = 0; i < giNumControlesConversorZavoro; i++)
    {
        const ST_DefinicaoControle& stDef = gstControlesConversorZavoro[i];
        const int iId = stDef.iId;
        const unsigned int uiProp = stDef.uiPropriedades;
        const auto Comando = [this, iId](unsigned int uiNotificacao = 0) {
            Executar([this, iId, uiNotificacao] {
                principal_CommandHandler(m_pstJanela.get(), static_cast<unsigned int>(iId) | (uiNotificacao << 16));
            });
        };
        QWidget* pWidget = nullptr;
        switch (stDef.eClasse)
        {
        case E_ClasseControle::GrupoBox:
            pWidget = new QGroupBox(m_pArea);
            pWidget->setStyleSheet(QStringLiteral(
                "QGroupBox { border: 1px solid #b4b4b4; border-radius: 3px; margin-top: 6px; }"
                "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px;"
                " padding: 0 2px; background-color: white; }"));
            break;
        case E_ClasseControle::Radio: {
            auto* pRadio = new QRadioButton(m_pArea);
            const std::span<const int> vGrupo = principal_GrupoRadio(iId);
            if (!vGrupo.empty())
            {
                QButtonGroup*& pGrupo = grupos[vGrupo.front()];
                if (pGrupo == nullptr)
                    pGrupo = new QButtonGroup(this);
                pGrupo->addButton(pRadio);
            }
            connect(pRadio, &QRadioButton::clicked, this, [Comando] { Comando(); });
            pWidget = pRadio;
            break;
        }
        case E_ClasseControle::Botao: {
            auto* pBotao = new QPushButton(m_pArea);
            pBotao->setAutoDefault(false);
            connect(pBotao, &QPushButton::clicked, this, [Comando] { Comando(); });
            pWidget = pBotao;
            break;
        }
        case E_ClasseControle::Edicao:
            if (uiProp & D_PRINCIPAL_CONTROLE_MULTILINHA)
            {
                auto* pTexto = new QPlainTextEdit(m_pArea);
                pTexto->setReadOnly(true);
                pTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                pTexto->setLineWrapMode(QPlainTextEdit::WidgetWidth);
                pWidget = pTexto;
            }
            else
            {
                auto* pEdit = new QLineEdit(m_pArea);
                pEdit->setReadOnly((uiProp & D_PRINCIPAL_CONTROLE_SOMENTE_LEITURA) != 0);
                if (uiProp & D_PRINCIPAL_CONTROLE_CENTRALIZADO)
                    pEdit->setAlignment(Qt::AlignCenter);
                if (uiProp & D_PRINCIPAL_CONTROLE_SO_DIGITOS)
                    pEdit->setValidator(
                        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pEdit));
                connect(pEdit, &QLineEdit::textEdited, this, [this, iId, Comando](const QString& szTexto) {
                    principal_SetarTexto(m_pstJanela.get(), iId, U(szTexto));
                    Comando(D_PRINCIPAL_EN_CHANGE);
                });
                pWidget = pEdit;
            }
            break;
        case E_ClasseControle::Rotulo: {
            auto* pRotulo = new QLabel(m_pArea);
            pRotulo->setWordWrap(true);
            pRotulo->setAlignment((uiProp & D_PRINCIPAL_CONTROLE_CENTRALIZADO) ? Qt::AlignHCenter | Qt::AlignTop
                                                                               : Qt::AlignLeft | Qt::AlignTop);
            pWidget = pRotulo;
            break;
        }
        case E_ClasseControle::BarraProgresso: {
            auto* pBarra = new QProgressBar(m_pArea);
            pBarra->setTextVisible(false);
            pWidget = pBarra;
            break;
        }
        case E_ClasseControle::ListaSuspensa: {
            auto* pLista = new QComboBox(m_pArea);
            connect(pLista, &QComboBox::activated, this, [this, iId, Comando](int iIndice) {
                principal_Controle(m_pstJanela.get(), iId).iSelecao = iIndice;
                Comando();
            });
            pWidget = pLista;
            break;
        }
        case E_ClasseControle::Retangulo: {
            auto* pRetangulo = new QFrame(m_pArea);
            pRetangulo->setAutoFillBackground(true);
            pWidget = pRetangulo;
            break;
        }
        }
        pWidget->setFont(principal_FonteDialogo());
        pWidget->setObjectName(QString::fromUtf8(stDef.szNome));
        pWidget->setProperty("idControle", iId);
        m_controles[iId] = pWidget;
    }
}

QWidget* JanelaConversorZavoro::Controle(int iId) const
{
    auto it = m_controles.find(iId);
    return it == m_controles.end() ? nullptr : it->second;
}

QWidget* JanelaConversorZavoro::AreaCliente() const
{
    return m_pArea;
}

void JanelaConversorZavoro::Executar(const std::function<void()>& fn)
{
    fn();
    Sincronizar();
    if (m_pstJanela->gucFormulario == 0 && !m_bFechando)
    {
        m_bFechando = true;
        close();
    }
}

void JanelaConversorZavoro::Sincronizar()
{
    ST_Janela* pstJanela = m_pstJanela.get();
    if (windowTitle() != Q(pstJanela->szTitulo) && !pstJanela->szTitulo.empty())
        setWindowTitle(Q(pstJanela->szTitulo));
    // Painting may move the target edits, so it is laid out before the widgets are placed; it changes
    // only when the logic asked for a repaint.
    if (pstJanela->bRepintar)
        m_stPintura = principal_PaintHandler(pstJanela);

    for (const ST_Controle& stControle : pstJanela->vControles)
    {
        const ST_DefinicaoControle& stDef = *stControle.pstDefinicao;
        QWidget* pWidget = Controle(stDef.iId);
        const QSignalBlocker bloqueio(pWidget);
        const QRect geometria(stControle.iX, stControle.iY, stControle.iLargura, stControle.iAltura);
        switch (stDef.eClasse)
        {
        case E_ClasseControle::GrupoBox:
            static_cast<QGroupBox*>(pWidget)->setTitle(Q(stControle.szTexto));
            break;
        case E_ClasseControle::Radio: {
            auto* pRadio = static_cast<QRadioButton*>(pWidget);
            pRadio->setText(Q(stControle.szTexto));
            if (pRadio->isChecked() != stControle.bMarcado)
            {
                // An exclusive group refuses to uncheck its checked button directly.
                QButtonGroup* pGrupo = pRadio->group();
                if (pGrupo != nullptr)
                    pGrupo->setExclusive(false);
                pRadio->setChecked(stControle.bMarcado);
                if (pGrupo != nullptr)
                    pGrupo->setExclusive(true);
            }
            break;
        }
        case E_ClasseControle::Botao:
            static_cast<QPushButton*>(pWidget)->setText(Q(stControle.szTexto));
            break;
        case E_ClasseControle::Edicao:
            if (auto* pTexto = qobject_cast<QPlainTextEdit*>(pWidget))
            {
                // The result list grows with every file: compared with what was last shown, not with
                // the widget's text rebuilt on every notice.
                if (m_szListaMostrada != stControle.szTexto)
                {
                    m_szListaMostrada = stControle.szTexto;
                    pTexto->setPlainText(TextoTela(stControle.szTexto));
                    // The newest block is the one to read.
                    pTexto->verticalScrollBar()->setValue(pTexto->verticalScrollBar()->maximum());
                }
            }
            else
            {
                auto* pEdit = static_cast<QLineEdit*>(pWidget);
                if (pEdit->text() != Q(stControle.szTexto))
                {
                    pEdit->setText(Q(stControle.szTexto));
                    // Paths are read from their start, as the platform's edits show them.
                    if (pEdit->isReadOnly())
                        pEdit->setCursorPosition(0);
                }
            }
            break;
        case E_ClasseControle::Rotulo:
            static_cast<QLabel*>(pWidget)->setText(TextoTela(stControle.szTexto));
            break;
        case E_ClasseControle::BarraProgresso: {
            auto* pBarra = static_cast<QProgressBar*>(pWidget);
            // A range of 0..0 is Qt's endless (marquee) bar.
            pBarra->setRange(0, stControle.bMarquee ? 0 : 100);
            break;
        }
        case E_ClasseControle::ListaSuspensa: {
            auto* pLista = static_cast<QComboBox*>(pWidget);
            QStringList vItens;
            for (const std::string& szItem : stControle.vItens)
                vItens.push_back(Q(szItem));
            QStringList vAtuais;
            for (int i = 0; i < pLista->count(); i++)
                vAtuais.push_back(pLista->itemText(i));
            if (vItens != vAtuais)
            {
                pLista->clear();
                pLista->addItems(vItens);
            }
            pLista->setCurrentIndex(stControle.iSelecao);
            break;
        }
        case E_ClasseControle::Retangulo:
            break;
        }
        if (stDef.eClasse == E_ClasseControle::Radio || stDef.eClasse == E_ClasseControle::Rotulo)
        {
            // A substitute face may be wider than the dialog's own: a text runs on into the free space
            // on its right instead of being cut.
            const int iLargura = std::max(geometria.width(), pWidget->sizeHint().width());
            pWidget->setGeometry(geometria.x(), geometria.y(), stDef.eClasse == E_ClasseControle::Radio ? iLargura : geometria.width(),
                                 geometria.height());
        }
        else if (stDef.eClasse == E_ClasseControle::ListaSuspensa)
        {
            // The template's height is the dropped list's; the closed box is one line high.
            pWidget->setGeometry(geometria.x(), geometria.y(), geometria.width(), 21);
        }
        else
        {
            pWidget->setGeometry(geometria);
        }
        pWidget->setEnabled(stControle.bHabilitado);
        pWidget->setVisible(principal_ControleVisivel(pstJanela, stDef.iId));
    }
    if (pstJanela->bRepintar)
        m_pArea->update();
    pstJanela->bRepintar = false;
}

void JanelaConversorZavoro::Pintar(QWidget* pArea)
{
    QPainter pintor(pArea);
    ST_Janela* pstJanela = m_pstJanela.get();
    if (pstJanela->giModoUtilizacao == D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS)
    {
        const ST_ImpressaoMapas stMapas = principal_ImprimirMapas(pstJanela);
        for (int iMapa = 0; iMapa < 2; iMapa++)
            pintor.drawImage(QPoint(stMapas.stCanto[iMapa].iX, stMapas.stCanto[iMapa].iY),
                             m_pstImagens->stMapa[iMapa].imagem);
        return;
    }
    pintor.setRenderHint(QPainter::Antialiasing, false);
    for (const ST_CaixaPintura& stCaixa : m_stPintura.vCaixas)
    {
        const QRect retangulo(stCaixa.iX0, stCaixa.iY0, stCaixa.iX1 - stCaixa.iX0, stCaixa.iY1 - stCaixa.iY0);
        pintor.fillRect(retangulo, Qt::black);
        pintor.fillRect(retangulo.adjusted(1, 1, -1, -1), Cor(stCaixa.ulCor));
    }
    for (const ST_CaixaPintura& stTraco : m_stPintura.vTracos)
        pintor.fillRect(QRect(stTraco.iX0, stTraco.iY0, stTraco.iX1 - stTraco.iX0, stTraco.iY1 - stTraco.iY0),
                        Cor(stTraco.ulCor));
    pintor.setPen(Qt::black);
    for (const ST_TextoPintura& stTexto : m_stPintura.vTextos)
    {
        const QFont fonte = principal_FontePixels(stTexto.iPixels, false, stTexto.bSublinhado);
        pintor.setFont(fonte);
        const QFontMetrics medidas(fonte);
        const QString szTexto = Q(stTexto.szTexto);
        const int iLargura = medidas.horizontalAdvance(szTexto);
        const int iX = stTexto.bCentralizado ? stTexto.iX - iLargura / 2 : stTexto.iX;
        pintor.drawText(QPoint(iX, stTexto.iY + medidas.ascent()), szTexto);
    }
}

void JanelaConversorZavoro::DuploClique(int iX, int iY)
{
    const int iMapa = principal_MapaDuploClique(m_pstJanela.get(), iX, iY);
    if (iMapa < 0)
        return;
    auto* pJanela = new JanelaVisualizacaoMapa(this, principal_InitDialogVisualizacaoMapa(m_pstJanela.get()),
                                               m_pstImagens->stMapaMax[iMapa].imagem);
    pJanela->show();
    pJanela->activateWindow();
}

void JanelaConversorZavoro::closeEvent(QCloseEvent* pEvento)
{
    principal_CloseHandler(m_pstJanela.get());
    // Running workers are asked to stop and waited for when the window is destroyed.
    pEvento->accept();
}

// ---------------------------------------------------------------------------------------------------
// Enlarged map and About box
// ---------------------------------------------------------------------------------------------------

JanelaVisualizacaoMapa::JanelaVisualizacaoMapa(QWidget* pai, const std::string& szTitulo, const QImage& imagem)
    : QDialog(pai), m_imagem(imagem.copy())
{
    setObjectName(QStringLiteral("frmVisualizacaoMapa"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(Q(szTitulo));
    setWindowIcon(principal_IconeQuibar());
    setFixedSize(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_MAPA_MAX),
                 principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_MAPA_MAX));
    FundoBranco(this);
}

void JanelaVisualizacaoMapa::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    pintor.drawImage(QPoint(6, 7), m_imagem);
}

DialogoSobre::DialogoSobre(QWidget* pai) : QDialog(pai), m_stSobre(principal_InitDialogSobreHandler())
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(Q(m_stSobre.szTitulo));
    setWindowIcon(principal_IconeQuibar());
    setFixedSize(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_SOBRE),
                 principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_SOBRE));
    FundoBranco(this);
}

void DialogoSobre::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    QTextOption opcao;
    opcao.setTabStopDistance(60);
    opcao.setWrapMode(QTextOption::NoWrap);
    for (const ST_LinhaSobre& stLinha : m_stSobre.vLinhas)
    {
        pintor.setFont(principal_FontePixels(stLinha.iPixels, stLinha.bDestaque, stLinha.bDestaque));
        pintor.setPen(Cor(stLinha.ulCor));
        pintor.drawText(QRectF(stLinha.iX, stLinha.iY, width() - stLinha.iX, 20), Q(stLinha.szTexto), opcao);
    }
    pintor.drawImage(QRect(10, 10, 72, 110), QImage(QStringLiteral(":/rc/logoMorvel.bmp")));
}
