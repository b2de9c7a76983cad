#include "directory/ResultsTreeIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace ResultsTreeIcons {
namespace {

void ball(QPainter& p, QPointF centre, qreal radius, QColor colour)
{
    QRadialGradient shade(centre + QPointF(-radius / 3, -radius / 3), radius * 1.4);
    shade.setColorAt(0, colour.lighter(190));
    shade.setColorAt(0.45, colour);
    shade.setColorAt(1, colour.darker(170));
    p.setPen(QPen(colour.darker(220), 0.6));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

void drawOrganisation(QPainter& p)
{
    ball(p, {4.6, 11.2}, 3.6, QColor(40, 170, 60));
    ball(p, {11.4, 11.2}, 3.6, QColor(40, 90, 210));
    ball(p, {8.0, 4.8}, 3.6, QColor(215, 40, 40));
}

void drawEmail(QPainter& p)
{
    const QColor paper(250, 245, 225);
    const QColor edge(120, 100, 60);
    p.setPen(QPen(edge, 1));
    // The flap stands open above the body.
    p.setBrush(paper.darker(112));
    p.drawPolygon(QPolygonF({{1.5, 7.5}, {8, 1.5}, {14.5, 7.5}}));
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 7.5, 13, 7));
    p.drawPolyline(QPolygonF(QList<QPointF>{{1.5, 14.5}, {6.5, 10.5}}));
    p.drawPolyline(QPolygonF(QList<QPointF>{{14.5, 14.5}, {9.5, 10.5}}));
    // The at sign: an inner ring with a tail winding round it.
    QPen at(QColor(30, 80, 200), 1.2);
    at.setCapStyle(Qt::RoundCap);
    p.setPen(at);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8.2), 1.4, 1.4);
    QPainterPath tail;
    tail.moveTo(9.4, 7.0);
    tail.lineTo(9.4, 9.0);
    tail.cubicTo(9.6, 10.2, 11.2, 10.0, 11.2, 8.2);
    tail.arcTo(QRectF(4.8, 5.0, 6.4, 6.4), 0, 300);
    p.drawPath(tail);
}

void drawWeb(QPainter& p)
{
    const QPointF c(8, 8);
    QRadialGradient sea(QPointF(6, 6), 8);
    sea.setColorAt(0, QColor(150, 200, 255));
    sea.setColorAt(1, QColor(20, 80, 190));
    p.setPen(QPen(QColor(10, 50, 130), 0.8));
    p.setBrush(sea);
    p.drawEllipse(c, 5.5, 5.5);
    // Land, meridian and equator.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 70));
    p.drawPolygon(QPolygonF({{5, 5}, {8, 4}, {9, 6.5}, {7, 8}, {7.5, 10.5}, {5.5, 10}, {4, 7.5}}));
    p.setPen(QPen(QColor(220, 235, 255), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 2.4, 5.5);
    p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
    // The ring, tilted across the globe.
    p.translate(c);
    p.rotate(-25);
    p.setPen(QPen(QColor(235, 170, 20), 1.3));
    p.drawEllipse(QPointF(0, 0), 7.6, 2.4);
}

void drawPhone(QPainter& p)
{
    QLinearGradient body(0, 0, 16, 0);
    body.setColorAt(0, QColor(200, 200, 205));
    body.setColorAt(1, QColor(120, 120, 130));
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 2, 2);
    p.setPen(QPen(QColor(20, 90, 20), 0.8));
    p.setBrush(QColor(90, 220, 80));
    p.drawRect(QRectF(4, 2, 8, 3.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(35, 35, 45));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(4 + col * 3, 7 + row * 2.8, 2, 1.8));
}

void drawAddress(QPainter& p)
{
    // Three panels folded like a leaflet, alternately lit and shaded.
    const QPolygonF panels[3] = {
        QPolygonF({{0.5, 3}, {5.5, 1}, {5.5, 13}, {0.5, 15}}),
        QPolygonF({{5.5, 1}, {10.5, 3}, {10.5, 15}, {5.5, 13}}),
        QPolygonF({{10.5, 3}, {15.5, 1}, {15.5, 13}, {10.5, 15}}),
    };
    const QColor fills[3] = {QColor(245, 235, 190), QColor(215, 200, 150), QColor(245, 235, 190)};
    p.setPen(QPen(QColor(120, 100, 60), 0.8));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(fills[i]);
        p.drawPolygon(panels[i]);
    }
    // A road and a red route across the folds.
    p.setPen(QPen(QColor(70, 150, 210), 1.2));
    p.drawPolyline(QPolygonF({{1, 10}, {5.5, 8}, {10.5, 10}, {15, 7}}));
    p.setPen(QPen(QColor(210, 30, 30), 1.4));
    p.drawPolyline(QPolygonF({{2.5, 5}, {5.5, 6}, {9, 12}, {13.5, 4.5}}));
}

} // namespace

QImage Image(int index)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case Organisation: drawOrganisation(p); break;
    case Email: drawEmail(p); break;
    case Web: drawWeb(p); break;
    case Phone: drawPhone(p); break;
    case Address: drawAddress(p); break;
    default: break;
    }
    return image;
}

} // namespace ResultsTreeIcons
