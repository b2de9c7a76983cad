#include "directory/MapCorner.h"

#include "directory/NorthArrow.h"
#include "directory/ScaleBar.h"
#include "map/CameraHeading.h"
#include "map/MapState.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <optional>

namespace MapCorner {

namespace {
constexpr int kScreenDpi = 96;
} // namespace

namespace {

// What the corner shows; the same twice in a row is painted from the same picture.
struct Look {
    QSize view;
    double scale = 0;
    std::optional<float> heading;
    std::optional<ScaleBar::Plan> bar;
    bool operator==(const Look& o) const
    {
        return view == o.view && scale == o.scale && heading == o.heading && bar.has_value() == o.bar.has_value()
               && (!bar || (bar->pixels == o.bar->pixels && bar->text == o.bar->text));
    }
};

// The corner drawn once into a picture of its own at the painter's scale:
// painted over the frame it is one small texture, where its shapes and
// letters drawn each frame would cost the software renderer far more.
const QImage& cornerPicture(const Look& look)
{
    static Look made;
    static QImage picture;
    if (look == made && !picture.isNull())
        return picture;
    const QRect area = Area(look.view);
    picture = QImage((QSizeF(area.size()) * look.scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.scale(look.scale, look.scale);
    painter.translate(-area.topLeft());
    if (look.bar)
        ScaleBar::Draw(painter, look.view, *look.bar);
    if (look.heading)
        NorthArrow::Draw(painter, look.view, *look.heading);
    made = look;
    return picture;
}

} // namespace

void Draw(QPainter& painter, QSize view, const MapState& state, const TGxCamera& camera)
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
    painter.drawImage(QRectF(Area(view)), cornerPicture(look));
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
