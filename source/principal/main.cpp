// quibar-zavoro: the desktop application.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include "principal/janelaQt.h"
#include "rc/recursos.h"
#include "zavoro/versao.h"

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quibar Zavoro"));
    QApplication::setApplicationVersion(QString::fromLatin1(D_ZAVORO_VERSAO));
    QGuiApplication::setDesktopFileName(QStringLiteral("quibar-zavoro"));
    principal_IniciarRecursos();
    QApplication::setWindowIcon(principal_IconeQuibar());

    JanelaConversorZavoro janela(nullptr, principal_FormatosExportacao());
    janela.adjustSize();
    // Centred on the screen, as the dialog was designed to open.
    if (QScreen* pTela = QGuiApplication::primaryScreen())
        janela.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, janela.size(), pTela->availableGeometry()));
    janela.show();
    const int iSaida = aplicacao.exec();
    return janela.CodigoSaida() != 0 ? janela.CodigoSaida() : iSaida;
}
