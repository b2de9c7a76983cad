#include "navigation/NorthUp.h"

#include "engine/scene/GxCamera.h"
#include "map/CameraHeading.h"
#include "map/MapState.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void StartNorthUp(MapState& state)
{
    state.NorthUpTurn = true;
    state.IntroClimb = false;
    state.AutoOrbit = false;
}

void NorthUpStep(MapState& state, TGxCamera& camera)
{
    // The camera hangs under its target: its position is its offset from it.
    TGxCoordinates& position = camera.Position();
    const float x = position.X(), y = position.Y();
    const float heading = NorthHeadingFromOffset(x, y);
    const float size = std::abs(heading);
    float turn = std::max(size * kNorthUpShare, kNorthUpMinStep);
    if (turn >= size) {
        turn = size;
        state.NorthUpTurn = false;
    }
    // The heading grows as the offset turns counterclockwise (seen from
    // above), so turning it clockwise by the heading brings north up.
    const double a = -double(std::copysign(turn, heading)) * std::numbers::pi / 180.0;
    if (!state.NorthUpTurn) {
        position.AssignPoint(0.0f, -std::hypot(x, y), position.Z());
        return;
    }
    const double c = std::cos(a), s = std::sin(a);
    position.AssignPoint(float(x * c - y * s), float(x * s + y * c), position.Z());
}
