#pragma once

class TGxCamera;

// Which way the map camera looks, as a compass needle shows it: the angle in
// degrees, clockwise from the view's up to the map's north (+Y), in
// (-180, 180]. 0 with north up the view, 90 with north to the right. Only the
// horizontal part of the view direction counts, so tilting the camera does
// not swing it; looking straight down (no horizontal part) gives 0.
float NorthHeading(const TGxCamera& camera);

// The same for a camera at `offset` from the point it looks at (map units,
// Z up): the heading of the view direction -offset.
float NorthHeadingFromOffset(float offsetX, float offsetY);

// The distance from the camera to the point it looks at, map units.
float TargetDistance(const TGxCamera& camera);
