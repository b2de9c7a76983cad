#pragma once

#include <QSize>

class MainScene;
struct MapState;

// A rectangle of the ground, map units.
struct GroundBox {
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Shows the whole box in a view of `viewSize` pixels at once: DCTarget goes
// to the box's middle and the camera, keeping its heading, looks down on it
// from 60 degrees above the ground, as far away as the box needs but no
// higher than the frame loop lets it rise (a box wider than that shows its
// middle). Ends a running flight, the climb and the orbit.
void FrameGround(MapState& state, MainScene& scene, const GroundBox& box, QSize viewSize);

// The camera's distance from DCTarget that FrameGround chooses.
float FramingDistance(const MainScene& scene, const GroundBox& box, QSize viewSize);
