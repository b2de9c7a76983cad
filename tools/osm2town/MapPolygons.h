#pragma once

#include "Geometry.h"

#include <cstdint>
#include <optional>
#include <vector>

// Polygons as the map draws them. A polygon's normal comes from its first
// three nodes and it is lit at its nodes only, by a light at the camera; so
// every outline written starts at a convex corner of a counter-clockwise
// ring, roads are chains of short pieces and large areas are cut into tiles.

// A clean outline: no repeated or collinear nodes, counter-clockwise, first
// three nodes turning left. None when fewer than three corners remain.
std::optional<Polygon> mapOutline(Polygon ring);

// The part of a polygon inside an axis-aligned box (Sutherland–Hodgman).
Polygon clipToBox(const Polygon& p, const Box& box);

// An area cut along a grid of `tile` units anchored at the map square's
// corner, each piece a clean outline inside the square.
std::vector<Polygon> tileArea(const Polygon& area, float tile);
// The same with holes left out: a cell with a hole in it is cut into slices
// that go around the hole, since a polygon of the map has one outline only.
std::vector<Polygon> tileArea(const Polygon& area, const std::vector<Polygon>& holes, float tile);

// A line as a band of `halfWidth` in pieces no longer than `maxPiece`,
// split also at sharp turns, where a round joint fills the gap. Pieces of
// the line outside the map square are left out (counted in `outside`).
std::vector<Polygon> bandPieces(const std::vector<Vec2>& line, float halfWidth, float maxPiece,
                                std::size_t* outside = nullptr);
