#include "directory/ScaleBar.h"

#include "data/TownScale.h"
#include "engine/scene/GxCamera.h"
#include "map/CameraHeading.h"
#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <cmath>

namespace ScaleBar {

namespace {
constexpr double kMillimetresPerInch = 25.4;
constexpr int kTick = 5; // the end ticks rise this far above the bar
} // namespace

double PixelsPerMetre(double distance, double focalLength, double sceneScale, int dpi)
{
    if (!(distance > 0.0))
        return 0.0;
    return 2.0 * focalLength * dpi * sceneScale / (kMillimetresPerInch * distance) * kUnitsPerMetre;
}

double PixelsPerMetre(const TGxCamera& camera, int dpi)
{
    if (camera.CameraStyle() != csPerspective && camera.CameraStyle() != csInfinitePerspective)
        return 0.0;
    return PixelsPerMetre(TargetDistance(camera), camera.FocalLength(), camera.SceneScale(), dpi);
}

QString LengthText(double metres)
{
    if (metres < 1.0)
        return QStringLiteral("%1 см").arg(std::lround(metres * 100.0));
    if (metres < 1000.0)
        return QStringLiteral("%1 м").arg(std::lround(metres));
    return QStringLiteral("%1 км").arg(std::lround(metres / 1000.0));
}

std::optional<Plan> Choose(double pixelsPerMetre, double maxPixels)
{
    if (!std::isfinite(pixelsPerMetre) || pixelsPerMetre <= 0.0)
        return std::nullopt;
    std::optional<Plan> best;
    double power = 0.1;
    for (int decade = 0; decade < 8; ++decade, power *= 10.0)
        for (const double step : {1.0, 2.0, 5.0}) {
            // Round the decade's float error away: 0.1 x 10^3 must be exactly 100.
            const double metres = std::round(step * power * 10.0) / 10.0;
            const double pixels = metres * pixelsPerMetre;
            if (pixels > maxPixels)
                return best;
            best = Plan{metres, pixels, LengthText(metres)};
        }
    return best;
}

QRect Area(QSize view)
{
    const int width = int(kMaxPixels) + 2 * 4;
    return QRect(view.width() - kMargin - width, view.height() - kMargin - kHeight, width, kHeight);
}

void Draw(QPainter& painter, QSize view, const Plan& plan)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFont font = pixelFont(QStringLiteral("Verdana"), kFontPixels);
    painter.setFont(font);
    const QFontMetrics metrics(font);

    const double right = view.width() - kMargin - 4;
    const double left = right - plan.pixels;
    const double baseline = view.height() - kMargin - 4;
    const int textWidth = metrics.horizontalAdvance(plan.text);

    // A light backing keeps the bar readable over houses, roads and the grid.
    const double backLeft = std::min(left, (left + right - textWidth) / 2.0) - 4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawRoundedRect(QRectF(backLeft, view.height() - kMargin - kHeight, right + 4 - backLeft, kHeight), 3, 3);

    QPen pen(Qt::black, 2);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(left, baseline), QPointF(right, baseline));
    painter.drawLine(QPointF(left + 1, baseline), QPointF(left + 1, baseline - kTick));
    painter.drawLine(QPointF(right - 1, baseline), QPointF(right - 1, baseline - kTick));
    painter.drawText(QPointF((left + right - textWidth) / 2.0, baseline - 4 - metrics.descent()), plan.text);
    painter.restore();
}

} // namespace ScaleBar
