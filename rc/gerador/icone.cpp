// Application icon: a green field with light swath stripes, a white guide line and an orange vehicle
// arrow following it. Drawn on a 64-unit grid whose stripe edges fall on whole pixels at 16, 32 and 64.
#include "artes.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

void rc_PintarIcone(QPainter& pintor, bool bPequeno)
{
    pintor.save();
    pintor.setRenderHint(QPainter::Antialiasing, true);

    QPainterPath campo;
    campo.addRoundedRect(QRectF(1, 1, 62, 62), 12, 12);

    QLinearGradient verde(0, 0, 0, 64);
    verde.setColorAt(0.0, QColor(0x3F, 0xA8, 0x4C));
    verde.setColorAt(1.0, QColor(0x1C, 0x6B, 0x2A));
    pintor.fillPath(campo, verde);

    // Swaths already covered: lighter stripes, 8 units wide on an 8-unit grid.
    pintor.save();
    pintor.setClipPath(campo);
    const QColor faixa(0xB8, 0xE6, 0x9A, bPequeno ? 90 : 120);
    for (int x = 8; x < 64; x += 16)
        pintor.fillRect(QRectF(x, 0, 8, 64), faixa);
    pintor.restore();

    // Guide line ahead of the vehicle; dashed only where there are pixels enough to show dashes.
    QPen guia(Qt::white, bPequeno ? 4 : 3, Qt::SolidLine, Qt::FlatCap);
    if (!bPequeno)
        guia.setDashPattern({1.6, 1.0});
    pintor.setPen(guia);
    pintor.drawLine(QPointF(32, bPequeno ? 6 : 5), QPointF(32, 22));

    // The vehicle: a navigation arrow pointing along the guide.
    const QPolygonF seta({QPointF(32, 17), QPointF(51, 58), QPointF(32, 48), QPointF(13, 58)});
    QPen contorno(Qt::white, bPequeno ? 4 : 3);
    contorno.setJoinStyle(Qt::RoundJoin);
    pintor.setPen(contorno);
    pintor.setBrush(QColor(0xFF, 0x8A, 0x1E));
    pintor.drawPolygon(seta);

    // A thin darker rim keeps the edge readable on light backgrounds; at 16 pixels it would only blur.
    if (!bPequeno)
    {
        pintor.setBrush(Qt::NoBrush);
        pintor.setPen(QPen(QColor(0x12, 0x4D, 0x1D, 200), 1.5));
        pintor.drawPath(campo);
    }
    pintor.restore();
}

QImage rc_DesenharIcone(int iTamanho)
{
    QImage imagem(iTamanho, iTamanho, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.scale(iTamanho / 64.0, iTamanho / 64.0);
    rc_PintarIcone(pintor, iTamanho < 32);
    pintor.end();
    return imagem.convertToFormat(QImage::Format_ARGB32);
}
