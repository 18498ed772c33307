// Maker's logo: a leaf rising over curved crop rows, the name underneath.
#include "artes.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

void rc_PintarLogo(QPainter& pintor)
{
    pintor.save();
    pintor.setRenderHint(QPainter::Antialiasing, true);
    pintor.setRenderHint(QPainter::TextAntialiasing, true);

    const QColor verdeEscuro(0x1C, 0x6B, 0x2A);
    const QColor verde(0x3F, 0xA8, 0x4C);
    const QColor laranja(0xFF, 0x8A, 0x1E);

    // Crop rows: arcs converging on the horizon.
    pintor.setPen(QPen(verdeEscuro, 3, Qt::SolidLine, Qt::RoundCap));
    pintor.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i)
    {
        const double dY = 58 + i * 8;
        QPainterPath linha;
        linha.moveTo(8 + i * 2, dY + 6);
        linha.quadTo(36, dY - 6, 64 - i * 2, dY + 6);
        pintor.drawPath(linha);
    }

    // Sun on the horizon, the guidance colour.
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(laranja);
    pintor.drawEllipse(QPointF(17, 22), 6, 6);

    // Leaf: two curves meeting at tip and stem, with a white vein.
    QPainterPath folha;
    folha.moveTo(36, 54);
    folha.cubicTo(14, 44, 16, 16, 44, 8);
    folha.cubicTo(56, 30, 50, 48, 36, 54);
    pintor.setBrush(verde);
    pintor.drawPath(folha);
    QPainterPath nervura;
    nervura.moveTo(36, 52);
    nervura.quadTo(38, 32, 43, 13);
    pintor.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    pintor.setBrush(Qt::NoBrush);
    pintor.drawPath(nervura);

    // Pixel size, not points: the logo is the same on any device resolution.
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPixelSize(15);
    fonte.setBold(true);
    pintor.setFont(fonte);
    pintor.setPen(verdeEscuro);
    pintor.drawText(QRectF(0, 84, D_RC_LARGURA_LOGO, 20), Qt::AlignHCenter | Qt::AlignVCenter,
                    QStringLiteral("Morvel"));
    pintor.fillRect(QRectF(14, 104, 44, 2), laranja);
    pintor.restore();
}

QImage rc_DesenharLogo()
{
    QImage imagem(D_RC_LARGURA_LOGO, D_RC_ALTURA_LOGO, QImage::Format_RGB888);
    imagem.fill(Qt::white);
    QPainter pintor(&imagem);
    rc_PintarLogo(pintor);
    pintor.end();
    return imagem;
}
