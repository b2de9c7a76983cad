#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QImage;
class QPainter;
class TGxCamera;
struct MapState;

// The map's bottom-right corner: the north arrow over the scale bar, each
// shown as MapState's ShowNorthArrow and ShowScaleBar say. Far from the
// legend (top left), the address line (bottom left) and the window's hidden
// tool buttons (above the search panel).
namespace MapCorner {

// Paints what is switched on for a view of `view` pixels at 96 dots per inch,
// looking through `camera`. A printed picture passes its own painter scaled
// by its resolution / 96 and the view's size.
void Draw(QPainter& painter, QSize view, const MapState& state, const TGxCamera& camera);

// The same over a picture of the view rendered `scale` times its size (a
// printed one), in proportion.
void DrawOnPicture(QImage& picture, float scale, QSize view, const MapState& state, const TGxCamera& camera);

// What the corner may cover; labels drawn on the map keep out of it.
QRect Area(QSize view);

// A press at `at` (view pixels) lands on the north arrow, and it shows.
bool NorthArrowHit(QSize view, const MapState& state, QPoint at);

} // namespace MapCorner
