#include "navigation/FrameGround.h"

#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "map/MainScene.h"
#include "map/MapState.h"
#include "navigation/FrameLoop.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kElevation = 60.0 * M_PI / 180.0;
// Room around the box, and the nearest the camera comes for a short one.
constexpr double kMargin = 1.15;
constexpr double kNearest = 30.0;
} // namespace

float FramingDistance(const MainScene& scene, const GroundBox& box, QSize viewSize)
{
    const int w = std::max(viewSize.width(), 1);
    const int h = std::max(viewSize.height(), 1);
    const TGxCameraFrustum f = scene.GxFreeCamera->Frustum({0, 0, w, h}, w, h, 96);
    // The narrower half-angle of the view.
    const double halfAngle = std::atan(std::min(f.Top, f.Right) / double(f.NearPlane));
    const double radius = std::hypot(double(box.maxX) - box.minX, double(box.maxY) - box.minY) / 2.0 * kMargin;
    const double highest = frame::kHighestCamera / std::sin(kElevation);
    return float(std::clamp(radius / std::sin(halfAngle), kNearest, highest));
}

void FrameGround(MapState& state, MainScene& scene, const GroundBox& box, QSize viewSize)
{
    const float distance = FramingDistance(scene, box, viewSize);
    TGxCamera& camera = *scene.GxFreeCamera;
    // The camera's heading around DCTarget stays: only its distance and height change.
    double hx = camera.Position().X();
    double hy = camera.Position().Y();
    const double across = std::hypot(hx, hy);
    if (across < 1e-6) {
        hx = 0;
        hy = -1;
    } else {
        hx /= across;
        hy /= across;
    }
    const double ground = distance * std::cos(kElevation);
    state.FlyActive = false;
    state.AutoOrbit = false;
    state.IntroClimb = false;
    scene.DCTarget->Position().AssignPoint((box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2, frame::kLowest);
    camera.Position().AssignPoint(float(hx * ground), float(hy * ground), float(distance * std::sin(kElevation)));
}
