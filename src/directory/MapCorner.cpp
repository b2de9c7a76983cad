#include "directory/MapCorner.h"

#include "directory/NorthArrow.h"
#include "directory/ScaleBar.h"
#include "map/CameraHeading.h"
#include "map/MapState.h"

#include <QImage>
#include <QPainter>

namespace MapCorner {

namespace {
constexpr int kScreenDpi = 96;
} // namespace

void Draw(QPainter& painter, QSize view, const MapState& state, const TGxCamera& camera)
{
    if (state.ShowScaleBar)
        if (const auto plan = ScaleBar::Choose(ScaleBar::PixelsPerMetre(camera, kScreenDpi)))
            ScaleBar::Draw(painter, view, *plan);
    if (state.ShowNorthArrow)
        NorthArrow::Draw(painter, view, NorthHeading(camera));
}

void DrawOnPicture(QImage& picture, float scale, QSize view, const MapState& state, const TGxCamera& camera)
{
    QPainter painter(&picture);
    painter.scale(scale, scale);
    Draw(painter, view, state, camera);
}

QRect Area(QSize view)
{
    return NorthArrow::Area(view).united(ScaleBar::Area(view));
}

bool NorthArrowHit(QSize view, const MapState& state, QPoint at)
{
    return state.ShowNorthArrow && NorthArrow::Hit(view, at);
}

} // namespace MapCorner
