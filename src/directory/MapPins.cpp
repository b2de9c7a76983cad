#include "directory/MapPins.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace MapPins {

namespace {
constexpr double kHeadRadius = 6;
constexpr double kStemHeight = 14;
} // namespace

std::optional<QPointF> ViewPosition(const OrgLocations::Point& point,
                                    const std::function<TGxVector(const TGxVector&)>& projectToWindow,
                                    int viewHeight)
{
    const TGxVector p = projectToWindow(PointMake(point.x, point.y, 0));
    if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !(p.Z >= 0 && p.Z <= 1))
        return std::nullopt;
    return QPointF(p.X, double(viewHeight) - p.Y);
}

void Draw(QPainter& painter, const std::vector<OrgLocations::Point>& pins,
          const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight)
{
    if (pins.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const OrgLocations::Point& pin : pins) {
        const std::optional<QPointF> tip = ViewPosition(pin, projectToWindow, viewHeight);
        if (!tip)
            continue;
        const QPointF head = *tip - QPointF(0, kStemHeight);
        painter.setPen(QPen(QColor(120, 0, 0), 2));
        painter.drawLine(*tip, head);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(QColor(230, 0, 0));
        painter.drawEllipse(head, kHeadRadius, kHeadRadius);
    }
    painter.restore();
}

void DrawOnSnapshot(QImage& snapshot, float scale, const std::vector<OrgLocations::Point>& pins,
                    const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight)
{
    if (pins.empty())
        return;
    QPainter painter(&snapshot);
    painter.scale(scale, scale);
    Draw(painter, pins, projectToWindow, viewHeight);
}

} // namespace MapPins
