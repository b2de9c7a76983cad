#include "map/CameraHeading.h"

#include "engine/scene/GxCamera.h"

#include <cmath>
#include <numbers>

float NorthHeadingFromOffset(float offsetX, float offsetY)
{
    // The camera looks along f = -offset; north (0, 1) lies f.y ahead and
    // -f.x to the right of it.
    const double fx = -double(offsetX), fy = -double(offsetY);
    if (std::hypot(fx, fy) < 1e-6)
        return 0.0f;
    const double degrees = std::atan2(-fx, fy) * 180.0 / std::numbers::pi;
    return degrees <= -180.0 ? 180.0f : float(degrees);
}

float NorthHeading(const TGxCamera& camera)
{
    const TGxCameraLookAt view = camera.LookAt();
    return NorthHeadingFromOffset(view.Eye.X - view.Centre.X, view.Eye.Y - view.Centre.Y);
}

float TargetDistance(const TGxCamera& camera)
{
    const TGxCameraLookAt view = camera.LookAt();
    return VectorLength(VectorSubtract(view.Eye, view.Centre));
}
