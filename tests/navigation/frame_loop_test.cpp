#include "navigation/FrameLoop.h"

#include "app/MainScene.h"
#include "app/MapState.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "navigation/MapInput.h"
#include "support/VectorAsserts.h"
#include "town/House.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

// Answers picks from functions the test sets; counts the object picks.
class ScriptedPicker : public MapPicker {
public:
    TGxBaseSceneObject* ObjectAtPixel(int x, int y) override
    {
        ++objectPicks;
        lastPick = {x, y};
        return object ? object(x, y) : nullptr;
    }
    bool PixelOnGroundPlane(const TGxVector& windowPoint, float height, TGxVector& point) override
    {
        return ground && ground(windowPoint, point);
    }
    std::function<TGxBaseSceneObject*(int x, int y)> object;
    std::function<bool(const TGxVector& windowPoint, TGxVector& point)> ground;
    int objectPicks = 0;
    QPoint lastPick;
};

class FrameLoopTest : public ::testing::Test {
protected:
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            loop.Tick();
    }
    TGxVector target() const { return scene.DCTarget->Position().Vector4(); }
    TGxVector camera() const { return scene.GxFreeCamera->Position().Vector4(); }
    // The camera's bearing around the target seen from above, degrees counter-clockwise from +X.
    float bearing() const
    {
        const TGxVector c = camera();
        return std::atan2(c.Y, c.X) * 180.0f / std::numbers::pi_v<float>;
    }
    float elevation() const
    {
        const TGxVector c = camera();
        return std::atan2(c.Z, std::hypot(c.X, c.Y)) * 180.0f / std::numbers::pi_v<float>;
    }

    MainScene scene;
    MapState state;
    ScriptedKeyState keys;
    ScriptedPointer pointer;
    ScriptedPicker picker;
    FrameLoop loop{state, scene, keys, pointer, picker};
};

TEST_F(FrameLoopTest, TheStartUpClimbTakes124TicksWithTheWandHidden)
{
    state.IntroClimb = true;
    tick(123);
    EXPECT_TRUE(state.IntroClimb);
    EXPECT_FALSE(scene.Wand->Visible());
    tick();
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_GT(camera().Z, 40.0f);
    EXPECT_TRUE(VectorNear(camera(), VectorMake(0.3f * 124, -4 - 0.3f * 124, 3 + 0.3f * 124, 1), 1e-3f));
    EXPECT_TRUE(scene.Wand->Visible());
    // The rod stands on the marker.
    EXPECT_FLOAT_EQ(scene.Wand->Position().Z(), 100.0f);
    tick();
    EXPECT_TRUE(VectorNear(camera(), VectorMake(0.3f * 124, -4 - 0.3f * 124, 3 + 0.3f * 124, 1), 1e-3f));
}

TEST_F(FrameLoopTest, TheTargetWrapsAroundTheTownSquareMirrored)
{
    struct Case {
        float x, y, wrappedX, wrappedY;
    };
    const Case cases[] = {
        {-471, 100, 470, -100},
        {500, 500, 470, 470}, // over X first to (-470, -500), then over Y
        {471, 10, -470, -10},
        {10, -480, -10, 470},
        {10, 480, -10, -470},
        {470, -470, 470, -470}, // the edges themselves are inside
    };
    for (const Case& c : cases) {
        scene.DCTarget->Position().AssignPoint(c.x, c.y, 5);
        tick();
        EXPECT_TRUE(VectorNear(target(), VectorMake(c.wrappedX, c.wrappedY, 5, 1))) << c.x << ", " << c.y;
    }
}

TEST_F(FrameLoopTest, CameraAndTargetHeightsAreClamped)
{
    struct Case {
        float cameraZ, targetZ, cameraAfter, targetAfter;
    };
    const Case cases[] = {{150, 3, 120, 3}, {0.05f, -2, 0.1f, 0.1f}, {-5, 0.1f, 0.1f, 0.1f}, {60, 50, 60, 50}};
    for (const Case& c : cases) {
        scene.GxFreeCamera->Position().SetZ(c.cameraZ);
        scene.DCTarget->Position().SetZ(c.targetZ);
        tick();
        EXPECT_FLOAT_EQ(camera().Z, c.cameraAfter);
        EXPECT_FLOAT_EQ(target().Z, c.targetAfter);
    }
}

TEST_F(FrameLoopTest, AutoOrbitTurnsHalfADegreePerTick)
{
    scene.GxFreeCamera->Position().AssignPoint(10, 0, 5);
    state.AutoOrbit = true;
    const float before = bearing();
    tick(10);
    EXPECT_NEAR(std::fabs(bearing() - before), 5.0f, 1e-3f);
    EXPECT_NEAR(elevation(), std::atan2(5.0f, 10.0f) * 180 / std::numbers::pi_v<float>, 1e-3f);
}

TEST_F(FrameLoopTest, AFlightMovesAfterTheWrap)
{
    scene.DCTarget->Position().AssignPoint(-471, 0, 0.1f);
    state.FlyActive = true;
    state.FlyTarget = VectorMake(400, 0, 0, 0);
    tick();
    EXPECT_TRUE(VectorNear(target(), VectorMake(469, 0, 0.1f, 1)));
}

TEST_F(FrameLoopTest, RightDragOrbitsAndCancelsClimbFlightAndOrbit)
{
    pointer.MoveTo(300, 200);
    tick(); // LastPointer := (300, 200)
    state.IntroClimb = state.FlyActive = state.AutoOrbit = true;
    state.FlyTarget = VectorMake(0, 0, 0, 0);
    keys.Press(vk::RightButton);
    tick();
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_FALSE(state.FlyActive);
    EXPECT_FALSE(state.AutoOrbit);
    EXPECT_FALSE(scene.Wand->Visible());

    scene.GxFreeCamera->Position().AssignPoint(10, 0, 5);
    const float turn = bearing();
    const float pitch = elevation();
    pointer.MoveTo(310, 200);
    tick();
    // 10 pixels to the right: 5 degrees clockwise seen from above.
    EXPECT_NEAR(bearing() - turn, -5.0f, 1e-3f);
    EXPECT_NEAR(elevation(), pitch, 1e-3f);
    // Moving the pointer up lowers the camera toward the horizon.
    pointer.MoveTo(310, 190);
    tick();
    EXPECT_NEAR(elevation(), pitch - 5.0f, 1e-3f);
    // Holding still does nothing more.
    const TGxVector held = camera();
    tick();
    EXPECT_TRUE(VectorNear(camera(), held));
}

TEST_F(FrameLoopTest, TheMarkerFollowsTheGroundPointUnderThePointer)
{
    QPoint askedAt;
    picker.ground = [&](const TGxVector& w, TGxVector& point) {
        askedAt = QPoint(int(w.X), int(w.Y));
        EXPECT_EQ(w.Z, 0.0f);
        point = VectorMake(w.X / 10, w.Y / 10, 0, 1);
        return true;
    };
    pointer.MoveTo(100, 40);
    tick();
    // The window point has y upward: view height - y.
    EXPECT_EQ(askedAt, QPoint(100, 400));
    EXPECT_TRUE(VectorNear(scene.DCSelection->Position().Vector4(), VectorMake(10, 40, 0, 1)));
    EXPECT_TRUE(scene.DCSelection->Visible());
    EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);

    // A ray that misses the ground leaves the marker where it was.
    picker.ground = [](const TGxVector&, TGxVector&) { return false; };
    pointer.MoveTo(200, 40);
    tick();
    EXPECT_TRUE(VectorNear(scene.DCSelection->Position().Vector4(), VectorMake(10, 40, 0, 1)));
    EXPECT_EQ(state.LastPointer.x, 200);

    // Outside the view nothing follows, and the hover pick stays at the last point inside.
    for (const QPoint outside : {QPoint(593, 10), QPoint(10, 440), QPoint(-1, 10), QPoint(10, -1)}) {
        pointer.MoveTo(outside.x(), outside.y());
        tick();
        EXPECT_EQ(picker.lastPick, QPoint(200, 40));
    }
}

// A camera that hangs under the target: the ground under a pixel moves with the target.
class PanTest : public FrameLoopTest {
protected:
    PanTest()
    {
        picker.ground = [this](const TGxVector& w, TGxVector& point) {
            ++groundAsks;
            if (groundMissing)
                return false;
            const TGxVector t = target();
            point = VectorMake(t.X + w.X * 0.05f, t.Y + w.Y * 0.05f, 0, 1);
            return true;
        };
        pointer.MoveTo(100, 100);
    }
    TGxVector groundUnder(int x, int y)
    {
        TGxVector p;
        picker.ground(VectorMake(float(x), float(440 - y), 0, 0), p);
        return p;
    }
    int groundAsks = 0;
    bool groundMissing = false;
};

TEST_F(PanTest, ShiftAloneHidesTheMarkerShowsTheHandAndStopsTheGlow)
{
    state.AutoOrbit = true;
    keys.Press(vk::RightShift);
    tick();
    EXPECT_TRUE(state.PanMode);
    EXPECT_FALSE(scene.DCSelection->Visible());
    EXPECT_EQ(pointer.Cursor(), MapCursor::Hand);
    EXPECT_EQ(picker.objectPicks, 0);
    EXPECT_FALSE(state.PanAnchorSet);
    EXPECT_FALSE(state.AutoOrbit);
    keys.Release(vk::RightShift);
    tick();
    EXPECT_FALSE(state.PanMode);
    EXPECT_TRUE(scene.DCSelection->Visible());
    EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);
    EXPECT_EQ(picker.objectPicks, 1);
}

TEST_F(PanTest, DraggingKeepsTheGrabbedGroundPointUnderThePointer)
{
    keys.Press(vk::LeftShift);
    keys.Press(vk::LeftButton);
    tick();
    ASSERT_TRUE(state.PanAnchorSet);
    const TGxVector grabbed = state.PanAnchor;
    EXPECT_TRUE(VectorNear(grabbed, groundUnder(100, 100)));
    const QPoint path[] = {{130, 100}, {160, 90}, {160, 150}, {20, 300}};
    for (const QPoint p : path) {
        pointer.MoveTo(p.x(), p.y());
        tick();
        EXPECT_TRUE(VectorNear(groundUnder(p.x(), p.y()), grabbed, 1e-3f)) << p.x() << ", " << p.y();
    }

    // A ray above the horizon: the target does not move that tick.
    const TGxVector before = target();
    groundMissing = true;
    pointer.MoveTo(50, 50);
    tick();
    EXPECT_TRUE(VectorNear(target(), before));
    groundMissing = false;

    // Releasing Shift ends the pan; pressing it again grabs a new point.
    keys.Release(vk::LeftShift);
    tick();
    EXPECT_FALSE(state.PanAnchorSet);
    keys.Press(vk::LeftShift);
    pointer.MoveTo(300, 300);
    tick();
    EXPECT_TRUE(state.PanAnchorSet);
    EXPECT_TRUE(VectorNear(state.PanAnchor, groundUnder(300, 300), 1e-3f));
    EXPECT_FALSE(VectorNear(state.PanAnchor, grabbed, 1e-3f));
    // Letting go of the button clears the anchor as well.
    keys.Release(vk::LeftButton);
    tick();
    EXPECT_FALSE(state.PanAnchorSet);
}

class HoverTest : public FrameLoopTest {
protected:
    HoverTest()
    {
        for (Thouse*& h : houses) {
            h = scene.GxScene.ObjectRoot()->SpawnChild<Thouse>();
            h->AppendNode(0, 0, 0);
            h->AppendNode(4, 0, 0);
            h->AppendNode(4, 4, 0);
            h->BuildWalls();
            h->SetNormalColors();
        }
        picker.object = [this](int, int) { return under; };
        pointer.MoveTo(50, 50);
    }
    static float emission(Thouse* h, int wall = -1)
    {
        TGxCustomSceneObject* o = wall < 0 ? h : static_cast<TGxCustomSceneObject*>(h->Children(wall));
        return o->Material().FrontProperties().Emission().Vector()[0];
    }
    Thouse* houses[2] = {};
    TGxBaseSceneObject* under = nullptr;
};

TEST_F(HoverTest, TheHouseUnderThePointerGlowsUpTickByTick)
{
    under = houses[0];
    for (int k = 1; k <= 6; ++k) {
        tick();
        const float expected = 1.0f - std::pow(0.7f, float(k));
        EXPECT_NEAR(emission(houses[0]), expected, 1e-5f) << k;
        EXPECT_NEAR(emission(houses[0], 1), expected, 1e-5f) << k; // walls glow with it
    }
    EXPECT_EQ(state.HoveredHouse, houses[0]);
    EXPECT_FALSE(scene.DCSelection->Visible());

    // Straight onto a touching house: the first goes dark in the same tick.
    under = houses[1];
    tick();
    EXPECT_EQ(emission(houses[0]), 0.0f);
    EXPECT_NEAR(emission(houses[1]), 0.3f, 1e-5f);

    // A wall names its house.
    under = houses[0]->Children(2);
    tick();
    EXPECT_EQ(state.HoveredHouse, houses[0]);
    EXPECT_EQ(emission(houses[1]), 0.0f);

    // Onto the ground: dark again, the marker comes back.
    under = nullptr;
    tick();
    EXPECT_EQ(state.HoveredHouse, nullptr);
    EXPECT_EQ(emission(houses[0]), 0.0f);
    EXPECT_TRUE(scene.DCSelection->Visible());
}

TEST_F(HoverTest, TheSelectedHouseNeverGlows)
{
    state.SelectedHouse = houses[0];
    under = houses[0];
    tick(5);
    EXPECT_EQ(state.HoveredHouse, houses[0]);
    EXPECT_EQ(emission(houses[0]), 0.0f);
    EXPECT_FALSE(scene.DCSelection->Visible());
    // Leaving it still clears it.
    houses[0]->GlowStep();
    under = nullptr;
    tick();
    EXPECT_EQ(emission(houses[0]), 0.0f);
}

TEST_F(HoverTest, OtherObjectsDoNotGlow)
{
    under = scene.GxDummyCube;
    tick();
    EXPECT_EQ(state.HoveredHouse, nullptr);
    EXPECT_TRUE(scene.DCSelection->Visible());
}

} // namespace
