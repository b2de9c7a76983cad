#include "directory/NorthArrow.h"

#include "directory/ScaleBar.h"
#include "platform/Fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace NorthArrow {

namespace {
// A point at `radius` from the centre towards `degrees` clockwise from up.
QPointF along(QPointF centre, double degrees, double radius)
{
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)};
}
// The letter on its white halo, made once for the painter's scale: its
// outline stroked anew would cost more than the rest of the arrow.
const QImage& letterPicture(double scale)
{
    static double madeFor = 0;
    static QImage picture;
    if (scale == madeFor)
        return picture;
    const QFont font = pixelFont(QStringLiteral("Verdana"), 11, true);
    const QFontMetricsF metrics(font);
    const QString letter = QStringLiteral("С");
    // The ink's box, centred, with room for the halo.
    const QRectF box = metrics.tightBoundingRect(letter).adjusted(-2, -2, 2, 2);
    picture = QImage((box.size() * scale).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(scale, scale);
    QPainterPath glyph;
    glyph.addText(-box.topLeft(), font, letter);
    // A white halo keeps it readable over any ground.
    painter.strokePath(glyph, QPen(QColor(255, 255, 255, 220), 3));
    painter.fillPath(glyph, QColor(210, 0, 0));
    madeFor = scale;
    return picture;
}

} // namespace

QPoint Centre(QSize view)
{
    const QRect bar = ScaleBar::Area(view);
    return {view.width() - ScaleBar::kMargin - kReach, bar.top() - kGap - kReach};
}

QRect Area(QSize view)
{
    const QPoint c = Centre(view);
    return QRect(c.x() - kReach, c.y() - kReach, 2 * kReach + 1, 2 * kReach + 1);
}

bool Hit(QSize view, QPoint at)
{
    const QPoint d = at - Centre(view);
    return d.x() * d.x() + d.y() * d.y() <= kReach * kReach;
}

void Draw(QPainter& painter, QSize view, float headingDegrees)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = Centre(view);

    painter.setPen(QPen(QColor(128, 128, 128), 1));
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawEllipse(c, kDiscRadius, kDiscRadius);

    const double h = headingDegrees;
    const QPointF left = along(c, h - 90.0, 5.0);
    const QPointF right = along(c, h + 90.0, 5.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 0, 0));
    painter.drawPolygon(QPolygonF({along(c, h, kNeedleRadius), right, left}));
    painter.setBrush(QColor(90, 90, 90));
    painter.drawPolygon(QPolygonF({along(c, h + 180.0, kNeedleRadius), left, right}));

    // "С" for north, upright, beyond the needle's tip.
    const double scale = painter.transform().m11();
    const QImage& letter = letterPicture(scale);
    const QSizeF size(letter.width() / scale, letter.height() / scale);
    const QPointF at = along(c, h, kLetterRadius);
    painter.drawImage(QRectF(at - QPointF(size.width() / 2, size.height() / 2), size), letter);
    painter.restore();
}

} // namespace NorthArrow
