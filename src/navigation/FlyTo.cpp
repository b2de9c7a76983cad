#include "navigation/FlyTo.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "map/House.h"

#include <cmath>

int FlightStep(float position, float goal)
{
    const double rounded = std::nearbyint(position);
    const double goalRounded = std::nearbyint(goal);
    if (rounded == goalRounded)
        return 0;
    const int step = position > goal ? -1 : 1;
    const double next = std::nearbyint(position + float(step));
    if ((step > 0 && next > goalRounded) || (step < 0 && next < goalRounded))
        return 0;
    return step;
}

void SmoothMoveTo(MapState& state, float x, float y, float z)
{
    state.IntroClimb = false;
    state.AutoOrbit = false;
    state.FlyTarget = VectorMake(x, y, z, 0.0f);
    state.FlyActive = true;
}

void MoveCam(MapState& state, MainScene& scene)
{
    const TGxVector target = scene.DCTarget->Position().Vector4();
    const TGxVector camera = scene.GxFreeCamera->Position().Vector4();
    const int sx = FlightStep(target.X, state.FlyTarget.X);
    const int sy = FlightStep(target.Y, state.FlyTarget.Y);
    const int sz = FlightStep(target.Z, state.FlyTarget.Z);
    scene.GxFreeCamera->Translate(float(FlightStep(camera.X, kFlightCameraOffset)),
                                    float(FlightStep(camera.Y, kFlightCameraOffset)),
                                    float(FlightStep(camera.Z, kFlightCameraOffset)));
    scene.DCTarget->Translate(float(sx), float(sy), float(sz));
    if (sx == 0 && sy == 0 && sz == 0) {
        state.FlyActive = false;
        state.AutoOrbit = true;
    }
}

void MoveToHouse(MapState& state, MainScene& scene, const Thouse& house, const ShowAddress& showAddress)
{
    const TGxNode& node = house.Nodes().Items(0);
    TGxCoordinates& cube = scene.GxDummyCube->Position();
    cube.AssignPoint(node.X(), node.Y(), cube.Z());
    if (showAddress)
        showAddress(house.params()[0], house.params()[1]);
    if (state.AutoMoveTo && !state.PanMode)
        SmoothMoveTo(state, node.X(), node.Y(), 0.0f);
}
