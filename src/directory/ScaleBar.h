#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;
class TGxCamera;

// The scale bar in the map's bottom-right corner: a round length of the town
// (1, 2 or 5 times a power of ten metres) drawn as long as it looks at the
// point the camera looks at, with its length written above it.
namespace ScaleBar {

// Sizes in view pixels at 96 dots per inch.
constexpr double kMaxPixels = 120.0; // the longest bar; the chosen one is at least 2/5 of it
constexpr int kMargin = 10;          // from the view's right and bottom edges
constexpr int kFontPixels = 11;
constexpr int kHeight = 24;          // text, bar and its end ticks, with the backing's padding

struct Plan {
    double metres = 0;
    double pixels = 0;
    QString text; // "50 см", "200 м", "1 км"
};

// How many pixels a metre of the town spans at the distance (map units) of
// the point looked at, through a camera of that focal length and scene scale
// rendering at `dpi`: the projection maps a unit at distance d to
// 2 x focal x dpi x scale / (25.4 x d) pixels, whatever the view's size.
double PixelsPerMetre(double distance, double focalLength, double sceneScale, int dpi);
double PixelsPerMetre(const TGxCamera& camera, int dpi);

// "50 см" below a metre, "200 м" below a kilometre, "1 км" from there.
QString LengthText(double metres);

// The longest round length from 10 cm up to 5,000 km whose bar is at most
// maxPixels long; none when even the shortest is longer, or the scale is
// not a positive finite number.
std::optional<Plan> Choose(double pixelsPerMetre, double maxPixels = kMaxPixels);

// Where the bar with its text and backing lies in a view of that size (the
// longest bar's place, whatever length is shown).
QRect Area(QSize view);

// Draws the bar in the bottom-right corner of a view of that size.
void Draw(QPainter& painter, QSize view, const Plan& plan);

} // namespace ScaleBar
