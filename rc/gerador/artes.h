// Artwork and help document of the application, drawn from code so no binary files live in the tree.
#pragma once

#include <QImage>
#include <QString>

class QPainter;

// Application icon, square, with alpha. Sizes of 16 and above.
QImage rc_DesenharIcone(int iTamanho);
// The icon on a 64 x 64 unit square of pintor; bPequeno thickens lines for 16-pixel pictures.
void rc_PintarIcone(QPainter& pintor, bool bPequeno);

inline constexpr int D_RC_LARGURA_LOGO = 72;
inline constexpr int D_RC_ALTURA_LOGO = 110;
// Maker's logo: 72 x 110, RGB888 on white.
QImage rc_DesenharLogo();
// The logo on a 72 x 110 unit box of pintor (background not painted).
void rc_PintarLogo(QPainter& pintor);

// Renders the help HTML into an A4 PDF with a title page. Returns an empty text on success, the reason
// otherwise.
QString rc_GerarAjuda(const QString& szHtml, const QString& szCaminhoPdf, const QString& szVersao);
