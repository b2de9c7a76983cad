#pragma once

#include "directory/ScaleBar.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;
class TGxCamera;
struct MapState;

// The map's bottom-right corner: the north arrow over the scale bar, each
// shown as MapState's ShowNorthArrow and ShowScaleBar say. Far from the
// legend (top left), the address line (bottom left) and the window's hidden
// tool buttons (above the search panel).
namespace MapCorner {

// What the corner may cover; labels drawn on the map keep out of it.
QRect Area(QSize view);

// A press at `at` (view pixels) lands on the north arrow, and it shows.
bool NorthArrowHit(QSize view, const MapState& state, QPoint at);

// Paints the corner over the frames of one view. The corner is drawn into a
// picture of its own and painted as one small image, made again only when
// what it shows changes: its shapes and letters drawn over every frame cost
// the software renderer more than the rest of the frame's painting.
class Painter {
public:
    // What is switched on, for a view of `view` pixels at 96 dots per inch
    // looking through `camera`; a painter scaled by a printer's resolution / 96
    // gets a picture made at that resolution.
    void Draw(QPainter& painter, QSize view, const MapState& state, const TGxCamera& camera);

private:
    struct Look {
        QSize view;
        double scale = 0;
        std::optional<float> heading;
        std::optional<ScaleBar::Plan> bar;
        bool operator==(const Look& o) const;
    };
    std::optional<Look> m_made;
    QImage m_picture;
};

// The corner over a picture of the view rendered `scale` times its size (a
// printed one), in proportion.
void DrawOnPicture(QImage& picture, float scale, QSize view, const MapState& state, const TGxCamera& camera);

} // namespace MapCorner
