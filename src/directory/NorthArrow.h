#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

// The north arrow above the scale bar in the map's bottom-right corner: a
// needle on a light disc, red towards north, with the letter "С" beyond its
// tip. It turns with the camera; a click on it turns the map north up.
namespace NorthArrow {

// Sizes in view pixels at 96 dots per inch.
constexpr int kDiscRadius = 18;
constexpr int kNeedleRadius = 14;
constexpr int kLetterRadius = 24; // the letter's centre from the disc's
constexpr int kReach = 30;        // disc and letter in any direction
constexpr int kGap = 4;           // between the letter's reach and the scale bar

// The disc's centre in a view of that size, in the bottom-right corner above
// the scale bar (the same place whether the bar shows or not).
QPoint Centre(QSize view);
// The square the arrow, turned any way, stays within.
QRect Area(QSize view);
// A press at `at` (view pixels) lands on the arrow: on the disc or the letter's ring.
bool Hit(QSize view, QPoint at);

// The arrow turned to a heading: degrees clockwise from up, as NorthHeading gives it.
void Draw(QPainter& painter, QSize view, float headingDegrees);

} // namespace NorthArrow
