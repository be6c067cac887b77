#include "AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zelvar {

namespace {

const QColor Frontier(0x00, 0xe5, 0xff);
const QColor Dark(0x17, 0x4b, 0x5c);

// Coordinates in the SVG's 256 x 256 box.
void paint(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 8, 0, 248);
    background.setColorAt(0, QColor(0x2a, 0x78, 0x90));
    background.setColorAt(1, Dark);
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    QPen axes(QColor(255, 255, 255, 217), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(axes);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(48, 36), QPointF(48, 212), QPointF(224, 212)}));

    p.setPen(QPen(Frontier, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(62, 196), QPointF(86, 118), QPointF(132, 80), QPointF(208, 64)}));

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF &unit : {QPointF(118, 158), QPointF(160, 124), QPointF(100, 184), QPointF(190, 104)})
        p.drawEllipse(unit, 10, 10);

    p.setPen(QPen(Dark, 4));
    p.setBrush(Frontier);
    for (const QPointF &unit : {QPointF(86, 118), QPointF(132, 80), QPointF(208, 64)})
        p.drawEllipse(unit, 13, 13);

    QPen projection(QColor(255, 255, 255, 204), 4);
    projection.setDashPattern({2.0, 1.75});
    p.setPen(projection);
    p.drawLine(QPointF(160, 124), QPointF(160, 80));
}

} // namespace

QPixmap AppIcon::pixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / 256.0, size / 256.0);
    paint(painter);
    return pixmap;
}

QIcon AppIcon::icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(pixmap(size));
    return icon;
}

} // namespace zelvar
