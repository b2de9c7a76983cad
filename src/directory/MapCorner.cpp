#include "directory/MapCorner.h"

#include "directory/NorthArrow.h"
#include "map/CameraHeading.h"
#include "map/MapState.h"

#include <QPainter>

#include <cmath>

namespace MapCorner {

namespace {
constexpr int kScreenDpi = 96;
} // namespace

QRect Area(QSize view)
{
    return NorthArrow::Area(view).united(ScaleBar::Area(view));
}

bool NorthArrowHit(QSize view, const MapState& state, QPoint at)
{
    return state.ShowNorthArrow && NorthArrow::Hit(view, at);
}

bool Painter::Look::operator==(const Look& o) const
{
    return view == o.view && scale == o.scale && heading == o.heading && bar.has_value() == o.bar.has_value()
           && (!bar || (bar->pixels == o.bar->pixels && bar->text == o.bar->text));
}

void Painter::Draw(QPainter& painter, QSize view, const MapState& state, const TGxCamera& camera)
{
    Look look{view, painter.transform().m11(), std::nullopt, std::nullopt};
    // A whole degree is a quarter of a pixel at the needle's tip: the slow
    // orbit's half degree a frame remakes the picture every other frame only.
    if (state.ShowNorthArrow)
        look.heading = std::round(NorthHeading(camera));
    if (state.ShowScaleBar)
        look.bar = ScaleBar::Choose(ScaleBar::PixelsPerMetre(camera, kScreenDpi));
    if (!look.heading && !look.bar)
        return;
    const QRect area = Area(view);
    if (!m_made || !(*m_made == look)) {
        m_picture = QImage((QSizeF(area.size()) * look.scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        m_picture.fill(Qt::transparent);
        QPainter onPicture(&m_picture);
        onPicture.scale(look.scale, look.scale);
        onPicture.translate(-area.topLeft());
        if (look.bar)
            ScaleBar::Draw(onPicture, view, *look.bar);
        if (look.heading)
            NorthArrow::Draw(onPicture, view, *look.heading);
        m_made = look;
    }
    painter.drawImage(QRectF(area), m_picture);
}

void DrawOnPicture(QImage& picture, float scale, QSize view, const MapState& state, const TGxCamera& camera)
{
    QPainter painter(&picture);
    painter.scale(scale, scale);
    Painter().Draw(painter, view, state, camera);
}

} // namespace MapCorner
