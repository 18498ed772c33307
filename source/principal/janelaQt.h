// Qt adapter of the main dialog: widgets built from the control table, user actions and worker
// notices routed to the window logic on the window thread, the model applied back to the widgets.
#pragma once

#include <QDialog>
#include <QImage>
#include <QMainWindow>

#include <map>
#include <memory>

#include "desenhoQt/superficieQt.h"
#include "principal/principal.h"

class QWidget;
class AreaClienteQt;

class JanelaConversorZavoro : public QMainWindow
{
    Q_OBJECT

public:
    // The export button offers vFormatosExportacao (none: no button).
    explicit JanelaConversorZavoro(QWidget* pai = nullptr, std::vector<ST_FormatoExportacao> vFormatosExportacao = {});
    ~JanelaConversorZavoro() override;

    // The window logic's state; tests replace its services with fakes.
    ST_Janela& Estado() { return *m_pstJanela; }
    // The widget of a control id.
    QWidget* Controle(int iId) const;
    // The area the panel pictures are painted on (the client area below the menu).
    QWidget* AreaCliente() const;
    // Exit code asked for by the logic (a worker that could not start).
    int CodigoSaida() const { return m_iCodigoSaida; }
    // The pictures of the map viewer.
    const ST_ImagensMapasQt& Imagens() const { return *m_pstImagens; }

    // Runs a handler of the logic and shows its outcome.
    void Executar(const std::function<void()>& fn);
    // Applies the model to the widgets.
    void Sincronizar();
    // What the client area paints: background, panel pictures or map panes.
    void Pintar(QWidget* pArea);
    // Double click at client coordinates: opens the enlarged map when a drawn pane was hit.
    void DuploClique(int iX, int iY);

protected:
    void closeEvent(QCloseEvent* pEvento) override;

private:
    void CriarControles();
    void CriarMenu();
    void PreencherServicos();

    std::unique_ptr<ST_Janela> m_pstJanela;
    std::unique_ptr<ST_ImagensMapasQt> m_pstImagens;
    AreaClienteQt* m_pArea = nullptr;
    std::map<int, QWidget*> m_controles;
    ST_PinturaPainel m_stPintura;
    std::string m_szListaMostrada; // text of etStatus as last applied
    int m_iCodigoSaida = 0;
    bool m_bFechando = false;
};

// The enlarged map (frmVisualizacaoMapa): keeps its own copy of the picture it was opened with.
class JanelaVisualizacaoMapa : public QDialog
{
    Q_OBJECT

public:
    JanelaVisualizacaoMapa(QWidget* pai, const std::string& szTitulo, const QImage& imagem);
    const QImage& Imagem() const { return m_imagem; }

protected:
    void paintEvent(QPaintEvent* pEvento) override;

private:
    QImage m_imagem;
};

// The About box (frmSobre): paints the lines the logic gives it beside the logo.
class DialogoSobre : public QDialog
{
    Q_OBJECT

public:
    explicit DialogoSobre(QWidget* pai);

protected:
    void paintEvent(QPaintEvent* pEvento) override;

private:
    ST_Sobre m_stSobre;
};

// The dialog font: "MS Sans Serif" 8 pt, or the nearest face the platform has, at the size whose
// texts fit the dialog's unit grid.
QFont principal_FonteDialogo();
// A font of iPixels pixels of the drawing face.
QFont principal_FontePixels(int iPixels, bool bNegrito = false, bool bSublinhado = false);
// The application icon at every size.
QIcon principal_IconeQuibar();
