#include "navigation/FlyTo.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "support/VectorAsserts.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TGxVector at(const TGxBaseSceneObject* object)
{
    return object->Position().Vector4();
}

class FlyTo : public ::testing::Test {
protected:
    MainScene scene;
    MapState state;
};

TEST_F(FlyTo, TheTargetWalksOneUnitPerAxisUntilEveryAxisRoundsToTheGoal)
{
    scene.DCTarget->Position().AssignPoint(0.3f, 0, 0.1f);
    SmoothMoveTo(state, 5.6f, -2.2f, 0);
    // X: round(5.3) = 5 is not yet 6; Y arrives after 2 calls; Z rounds to 0 from the start.
    const TGxVector expected[] = {
        VectorMake(1.3f, -1, 0.1f, 1), VectorMake(2.3f, -2, 0.1f, 1), VectorMake(3.3f, -2, 0.1f, 1),
        VectorMake(4.3f, -2, 0.1f, 1), VectorMake(5.3f, -2, 0.1f, 1), VectorMake(6.3f, -2, 0.1f, 1),
    };
    for (const TGxVector& e : expected) {
        MoveCam(state, scene);
        EXPECT_TRUE(VectorNear(at(scene.DCTarget), e));
        EXPECT_TRUE(state.FlyActive);
        EXPECT_FALSE(state.AutoOrbit);
    }
    // The camera settles toward (20, 20, 20) above the target meanwhile.
    EXPECT_TRUE(VectorNear(at(scene.GxFreeCamera), VectorMake(6, 2, 9, 1)));

    // The 7th call finds every axis of the target arrived: it stays, the
    // flight ends and the orbit takes over. The camera took its 7th step and
    // stays there, short of its offset.
    MoveCam(state, scene);
    EXPECT_TRUE(VectorNear(at(scene.DCTarget), expected[5]));
    EXPECT_TRUE(VectorNear(at(scene.GxFreeCamera), VectorMake(7, 3, 10, 1)));
    EXPECT_FALSE(state.FlyActive);
    EXPECT_TRUE(state.AutoOrbit);
}

TEST_F(FlyTo, TheCameraReachesItsOffsetAxisByAxis)
{
    // From (0, -4, 3): X needs 20 steps, Y 24, Z 17, then it stays.
    scene.DCTarget->Position().AssignPoint(0, 0, 0.1f);
    SmoothMoveTo(state, 100, 0, 0);
    for (int i = 0; i < 17; ++i)
        MoveCam(state, scene);
    EXPECT_TRUE(VectorNear(at(scene.GxFreeCamera), VectorMake(17, 13, 20, 1)));
    for (int i = 17; i < 24; ++i)
        MoveCam(state, scene);
    EXPECT_TRUE(VectorNear(at(scene.GxFreeCamera), VectorMake(20, 20, 20, 1)));
    MoveCam(state, scene);
    EXPECT_TRUE(VectorNear(at(scene.GxFreeCamera), VectorMake(20, 20, 20, 1)));
    EXPECT_TRUE(state.FlyActive);
}

TEST(FlightStep, ArrivesWithinAUnitWithoutSteppingBackAndForth)
{
    // Named cases first: exact halves round to even, so a unit step from
    // 0.5 (rounds to 0) lands on 1.5 (rounds to 2) and skips a goal that rounds to 1.
    struct Case {
        float position, goal;
        int step;
    };
    const Case cases[] = {
        {0.3f, 5.6f, 1}, {6.3f, 5.6f, 0}, {0.1f, 0, 0}, {-3, -2.2f, 1}, {5, 1, -1},
        {0.5f, 0.7f, 0},  // stays on its side: the next step would skip round(0.7) = 1
        {-0.5f, -0.7f, 0},
        {1.5f, 3.0f, 1},  // 1.5 -> 2.5 keeps the rounded value 2: still on the way
        {2.5f, 3.0f, 0},  // 3.5 would round to 4
        {2.5f, 2.4f, 0},  // both round to 2
        {19.5f, 20, 0}, {20.5f, 20, 0}, {18.5f, 20, 1}, {21.5f, 20, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FlightStep(c.position, c.goal), c.step) << c.position << " -> " << c.goal;

    // Every start and goal on a grid of quarters: the walk keeps one
    // direction, stops within one unit of the goal (exactly one between two
    // halves that round alike, as -0.5 and 0.5 do) and takes no more steps
    // than the distance allows.
    for (int p = -40; p <= 40; ++p)
        for (int g = -40; g <= 40; ++g) {
            float position = p * 0.25f;
            const float goal = g * 0.25f;
            int direction = 0;
            int steps = 0;
            for (int s = FlightStep(position, goal); s != 0; s = FlightStep(position, goal)) {
                ASSERT_TRUE(direction == 0 || s == direction) << p * 0.25f << " -> " << goal;
                direction = s;
                position += float(s);
                ASSERT_LE(++steps, 22) << p * 0.25f << " -> " << goal;
            }
            EXPECT_LE(std::fabs(position - goal), 1.0f) << p * 0.25f << " -> " << goal;
        }
}

class ChoosingAHouse : public FlyTo {
protected:
    ChoosingAHouse()
    {
        house = scene.GxScene.ObjectRoot()->SpawnChild<Thouse>();
        house->AppendNode(12.5f, -30, 0);
        house->AppendNode(20, -30, 0);
        house->AppendNode(20, -20, 0);
        house->SetParam(0, "\xcb\xe5\xf1\xed\xe0\xff"); // "Лесная"
        house->SetParam(1, "7");
        scene.GxDummyCube->Position().AssignPoint(0, 0, 2);
        state.IntroClimb = true;
        state.AutoOrbit = true;
    }

    void choose()
    {
        MoveToHouse(state, scene, *house, [this](const std::string& s, const std::string& n) {
            street = s;
            number = n;
        });
    }

    Thouse* house = nullptr;
    std::string street;
    std::string number;
};

TEST_F(ChoosingAHouse, FillsTheAddressMovesTheCubeAndFlies)
{
    choose();
    EXPECT_EQ(street, "\xcb\xe5\xf1\xed\xe0\xff");
    EXPECT_EQ(number, "7");
    EXPECT_TRUE(VectorNear(at(scene.GxDummyCube), VectorMake(12.5f, -30, 2, 1)));
    EXPECT_TRUE(state.FlyActive);
    EXPECT_TRUE(VectorNear(state.FlyTarget, VectorMake(12.5f, -30, 0, 0)));
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_FALSE(state.AutoOrbit);
}

TEST_F(ChoosingAHouse, NoFlightWhenSwitchedOffOrPanning)
{
    for (const bool autoMoveTo : {false, true}) {
        state.AutoMoveTo = autoMoveTo;
        state.PanMode = autoMoveTo; // the second round: on, but Shift is held
        state.FlyActive = false;
        street.clear();
        choose();
        EXPECT_EQ(number, "7");
        EXPECT_EQ(street, "\xcb\xe5\xf1\xed\xe0\xff");
        EXPECT_TRUE(VectorNear(at(scene.GxDummyCube), VectorMake(12.5f, -30, 2, 1)));
        EXPECT_FALSE(state.FlyActive);
        EXPECT_TRUE(state.IntroClimb);
    }
}

TEST_F(ChoosingAHouse, ASecondChoiceTurnsARunningFlight)
{
    scene.DCTarget->Position().AssignPoint(0, 0, 0.1f);
    choose();
    MoveCam(state, scene);
    MoveCam(state, scene);
    SmoothMoveTo(state, -10, 5, 0);
    EXPECT_TRUE(state.FlyActive);
    MoveCam(state, scene);
    EXPECT_TRUE(VectorNear(at(scene.DCTarget), VectorMake(1, -1, 0.1f, 1)));
}

} // namespace
