#pragma once

#include "engine/scene/VectorGeometry.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QPainter;
class TGxBaseSceneObject;
class Thouse;
struct MapState;

// The texts over the map: the control legend and the address line, painted
// over each shown frame, and the floating address label, a translucent
// yellow sign in the scene at the chosen house.
namespace MapOverlays {

struct LegendLine {
    QPoint at; // top-left corner of the text, view pixels
    QColor colour;
    const char* text; // UTF-8
};
extern const std::array<LegendLine, 6> kLegend;

// Legend: Verdana 8 points; address line: Verdana 10 points (at 96 dots per inch).
constexpr int kLegendFontPixels = 11;
constexpr int kAddressFontPixels = 13;
constexpr int kAddressLineX = 3;
constexpr int kAddressLineFromBottom = 20;

constexpr int kHintWidth = 150;
constexpr int kHintHeight = 20;
constexpr int kHintFontCellPixels = 15; // Arial, ascent plus descent
constexpr QPoint kHintTextAt{3, 3};
constexpr float kHintAlpha = 0.5f;

// A house with no street, as many imported buildings are, reads so in both.
inline constexpr char kNoAddress[] = "дом без адреса";

// "ул. <street>, <number>": also for the number "0".
QString AddressLineText(const Thouse& house);
// "ул.<street>, <number>", or "ул.<street>" for a house without a number ("0").
QString HintText(const Thouse& house);
// The label's picture: yellow, a black line along its top row and left
// column, the text in black; what does not fit is cut at the right edge.
QImage HintBitmap(const QString& text);

// GxSceneViewerAfterRender: the legend, and the address line while the
// chosen object is a house, painted on a view of the given height.
void Draw(QPainter& painter, int viewHeight, const TGxBaseSceneObject* currentObject);

// Where the legend and the address line stand in a view of the given size:
// the names written on the map keep clear of them.
std::vector<QRect> ReservedAreas(QSize view);

// ViewHint: replaces the label (MapState::HintSprite) by one for the house, a
// HUD sprite appended to `root` and centred on where the house's footprint
// centre at ground level lands in the window (OpenGL window coordinates).
void ViewHint(MapState& state, TGxBaseSceneObject& root, const Thouse& house,
              const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight);
// Takes the label out of the scene and frees it.
void RemoveHint(MapState& state);

} // namespace MapOverlays
