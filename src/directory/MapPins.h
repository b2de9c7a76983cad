#pragma once

#include "directory/OrgLocations.h"
#include "engine/scene/VectorGeometry.h"

#include <QImage>
#include <QPointF>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

// The red pins over the map at the points of the listed organisations
// placed at no house, painted over each shown frame.
namespace MapPins {

// Where a point of the map lands in the view (top-left pixels), or none
// when it lies behind the camera or outside the depth range.
std::optional<QPointF> ViewPosition(const OrgLocations::Point& point,
                                    const std::function<TGxVector(const TGxVector&)>& projectToWindow,
                                    int viewHeight);

// Each pin's tip on its point, its red head above it.
void Draw(QPainter& painter, const std::vector<OrgLocations::Point>& pins,
          const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight);

// The same pins on a snapshot of the view rendered `scale` times its size
// (a printed picture), where the view now shows them.
void DrawOnSnapshot(QImage& snapshot, float scale, const std::vector<OrgLocations::Point>& pins,
                    const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight);

} // namespace MapPins
