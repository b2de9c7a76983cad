// Turning the map north up: the camera orbits its target, frame by frame.
#include "navigation/NorthUp.h"

#include "engine/scene/GxCamera.h"
#include "map/CameraHeading.h"
#include "map/MainScene.h"
#include "map/MapState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class NorthUp : public ::testing::Test {
protected:
    MainScene scene;
    MapState state;
    TGxCamera& camera() { return *scene.GxFreeCamera; }
};

TEST_F(NorthUp, StartingEndsTheClimbAndTheOrbitButNotAFlight)
{
    state.IntroClimb = true;
    state.AutoOrbit = true;
    state.FlyActive = true;
    StartNorthUp(state);
    EXPECT_TRUE(state.NorthUpTurn);
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_FALSE(state.AutoOrbit);
    EXPECT_TRUE(state.FlyActive);
}

TEST_F(NorthUp, EachFrameTurnsTheShortWayCloserUntilNorthIsExactlyUpAtTheSameDistanceAndHeight)
{
    const struct {
        float heading;
        int mostFrames;
    } cases[] = {{170, 16}, {-170, 16}, {180, 16}, {-90, 14}, {45, 11}, {10, 5}, {-2.5f, 2}, {1, 1}, {0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        // The camera 30 units out and 12 up, turned to the heading.
        const double a = c.heading * M_PI / 180.0;
        camera().Position().AssignPoint(float(30 * std::sin(a)), float(-30 * std::cos(a)), 12);
        ASSERT_NEAR(NorthHeading(camera()), c.heading, 1e-3);
        StartNorthUp(state);
        float last = std::abs(c.heading);
        int frames = 0;
        while (state.NorthUpTurn && frames < 100) {
            NorthUpStep(state, camera());
            ++frames;
            const float now = std::abs(NorthHeading(camera()));
            EXPECT_LT(now, std::max(last, 1e-6f)) << "frame " << frames;
            // The heading keeps its sign: the turn never swings past north.
            if (now > 0.01f) {
                EXPECT_EQ(std::signbit(NorthHeading(camera())), std::signbit(c.heading)) << "frame " << frames;
            }
            last = now;
            EXPECT_NEAR(std::hypot(camera().Position().X(), camera().Position().Y()), 30, 1e-3);
            EXPECT_EQ(camera().Position().Z(), 12);
        }
        EXPECT_FALSE(state.NorthUpTurn);
        EXPECT_LE(frames, c.mostFrames);
        EXPECT_EQ(camera().Position().X(), 0);
        EXPECT_NEAR(camera().Position().Y(), -30, 1e-3);
        EXPECT_EQ(NorthHeading(camera()), 0);
    }
}

} // namespace
