// Which way the map camera looks, as the north arrow shows it.
#include "map/CameraHeading.h"

#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "map/MainScene.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(NorthHeading, IsTheAngleClockwiseFromUpToNorthForEachSideTheCameraStandsOn)
{
    const struct {
        float x, y; // the camera's offset from the point it looks at
        float heading;
    } cases[] = {
        {0, -4, 0},      // south of it, looking north: north up
        {4, 0, 90},      // east, looking west: north on the right
        {0, 4, 180},     // north, looking south: north down
        {-0.0f, 4, 180}, // never -180
        {-4, 0, -90},    // west, looking east: north on the left
        {3, -3, 45},     // south-east, looking north-west
        {-3, -3, -45},
        {3, 3, 135},
        {-3, 3, -135},
        {0.5f, -0.5f * std::sqrt(3.0f), 30},
        {0, 0, 0},       // straight above: no direction, north up
        {1e-9f, -1e-9f, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(NorthHeadingFromOffset(c.x, c.y), c.heading, 1e-3) << c.x << ", " << c.y;
}

TEST(NorthHeading, FollowsTheMapCameraAsItOrbitsItsTargetAnywhereOnTheMap)
{
    MainScene scene;
    scene.DCTarget->Position().AssignPoint(120, -75, 0.1f);
    // Turning the camera by a turn angle (what the right button does) turns
    // the heading by as much, whatever the height.
    const struct {
        float height, turn, heading;
    } cases[] = {
        {3, 30, 30}, {3, -45, -45}, {3, 90, 90}, {3, 170, 170}, {3, 190, -170}, {40, 60, 60}, {0.2f, -120, -120},
    };
    for (const auto& c : cases) {
        scene.GxFreeCamera->Position().AssignPoint(0, -4, c.height);
        EXPECT_NEAR(NorthHeading(*scene.GxFreeCamera), 0, 1e-3);
        scene.GxFreeCamera->OrbitTarget(0, c.turn);
        EXPECT_NEAR(NorthHeading(*scene.GxFreeCamera), c.heading, 0.01) << c.turn << " at " << c.height;
        EXPECT_NEAR(TargetDistance(*scene.GxFreeCamera), std::hypot(4.0f, c.height), 1e-3);
    }
}
