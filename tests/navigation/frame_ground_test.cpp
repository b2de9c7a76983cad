#include "navigation/FrameGround.h"

#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "map/MainScene.h"
#include "map/MapState.h"
#include "navigation/FrameLoop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FrameGroundTest : public ::testing::Test {
protected:
    FrameGroundTest()
    {
        state.FlyActive = true;
        state.AutoOrbit = true;
        state.IntroClimb = true;
        scene.GxFreeCamera->Position().AssignPoint(20, 0, 20); // looking from the east
    }

    float cameraDistance() const
    {
        const auto& p = scene.GxFreeCamera->Position();
        return std::sqrt(p.X() * p.X() + p.Y() * p.Y() + p.Z() * p.Z());
    }

    MapState state;
    MainScene scene;
    const QSize view{593, 440};
};

TEST_F(FrameGroundTest, LooksAtTheBoxsMiddleFromItsHeadingAndStopsWhatMoved)
{
    FrameGround(state, scene, {10, 20, 50, 40}, view);
    const auto& target = scene.DCTarget->Position();
    EXPECT_FLOAT_EQ(target.X(), 30);
    EXPECT_FLOAT_EQ(target.Y(), 30);
    const auto& camera = scene.GxFreeCamera->Position();
    EXPECT_GT(camera.X(), 0);
    EXPECT_NEAR(camera.Y(), 0, 1e-4) << "the heading stays";
    EXPECT_NEAR(std::atan2(camera.Z(), camera.X()) * 180 / M_PI, 60, 0.01);
    EXPECT_NEAR(cameraDistance(), FramingDistance(scene, {10, 20, 50, 40}, view), 1e-3);
    EXPECT_FALSE(state.FlyActive);
    EXPECT_FALSE(state.AutoOrbit);
    EXPECT_FALSE(state.IntroClimb);
}

TEST_F(FrameGroundTest, TheDistanceGrowsWithTheBoxWithinTheCamerasReach)
{
    const struct {
        const char* what;
        GroundBox box;
    } cases[] = {
        {"one point", {5, 5, 5, 5}},
        {"a street", {0, 0, 30, 0}},
        {"a quarter", {0, 0, 60, 40}},
        {"a district", {0, 0, 100, 80}},
        {"the whole map", {-470, -470, 470, 470}},
    };
    float previous = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameGround(state, scene, c.box, view);
        const float distance = cameraDistance();
        EXPECT_GE(distance, previous);
        EXPECT_GE(distance, 30 - 1e-3) << "not closer than a short route needs";
        EXPECT_LE(scene.GxFreeCamera->Position().Z(), frame::kHighestCamera + 1e-3) << "no higher than the frame loop lets it";
        previous = distance;
    }
    // Between the bounds, the box's half diagonal (with room around it) fits the narrower half-angle of the view.
    const float distance = FramingDistance(scene, {0, 0, 60, 40}, view);
    EXPECT_GT(distance, 30);
    EXPECT_LT(distance, frame::kHighestCamera / std::sin(M_PI / 3));
    const TGxCameraFrustum f = scene.GxFreeCamera->Frustum({0, 0, 593, 440}, 593, 440, 96);
    const double halfAngle = std::atan(std::min(f.Top, f.Right) / f.NearPlane);
    EXPECT_GT(distance * std::sin(halfAngle), std::hypot(60.0, 40.0) / 2);
}

} // namespace
