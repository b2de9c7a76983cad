// The map view's input and frames without the view: a scripted pointer and
// keys, and a picker that finds nothing.
#include "map/MainScene.h"
#include "map/MapState.h"
#include "app/MapViewInput.h"
#include "directory/NorthArrow.h"
#include "map/CameraHeading.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxCamera.h"
#include "navigation/FrameCadence.h"
#include "navigation/MapInput.h"
#include "navigation/NorthUp.h"
#include "platform/KeyState.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class EmptyGround : public MapPicker {
public:
    TGxBaseSceneObject* ObjectAtPixel(int, int) override { return nullptr; }
    bool PixelOnGroundPlane(const TGxVector&, float, TGxVector&) override { return false; }
};

class MapViewInputTest : public ::testing::Test {
protected:
    // The camera hangs under its target: its position is its offset from it.
    float distance() const
    {
        const auto& p = scene.GxFreeCamera->Position();
        return std::sqrt(p.X() * p.X() + p.Y() * p.Y() + p.Z() * p.Z());
    }

    bool restingForGood() const { return view.Cadence()->Resting() && !view.Cadence()->Paced(); }

    MapState state;
    MainScene scene;
    ScriptedKeyState keys;
    ScriptedPointer pointer;
    EmptyGround picker;
    MapViewInput view{state, scene, keys, pointer, picker};
};

TEST_F(MapViewInputTest, FramesTickFromStartFramesOnAndRestWhenNothingMoves)
{
    EXPECT_EQ(view.Cadencer(), nullptr);
    EXPECT_EQ(view.Cadence(), nullptr);
    view.Tick(); // ticks by hand before the frames start reach the frame loop alone

    view.StartFrames();
    ASSERT_NE(view.Cadencer(), nullptr);
    ASSERT_NE(view.Cadence(), nullptr);
    EXPECT_EQ(view.Cadencer()->Scene(), &scene.GxScene);

    // The cadencer's tick is a frame of the map: the climb lifts the camera.
    view.Shown();
    EXPECT_TRUE(state.IntroClimb);
    const float height = scene.GxFreeCamera->Position().Z();
    view.Cadencer()->Progress();
    EXPECT_GT(scene.GxFreeCamera->Position().Z(), height);
    EXPECT_FALSE(restingForGood()) << "at most until the next display refresh";

    // Still: a tick that changes nothing lets the frames rest until woken.
    state.IntroClimb = false;
    for (int i = 0; i < 3; ++i) {
        view.SceneChanged(); // no waiting for the display's refresh here
        view.Cadencer()->Progress();
    }
    EXPECT_TRUE(restingForGood());
    view.SceneChanged();
    EXPECT_FALSE(view.Cadence()->Resting());
}

TEST_F(MapViewInputTest, APressChoosesWithTheLeftButtonOutsidePanModeOnly)
{
    const struct {
        Qt::MouseButton button;
        bool panning;
        bool chooses;
    } cases[] = {
        {Qt::LeftButton, false, true},
        {Qt::LeftButton, true, false},
        {Qt::RightButton, false, false},
        {Qt::MiddleButton, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "button " << c.button << (c.panning ? " panning" : ""));
        state.PanMode = c.panning;
        std::vector<std::tuple<Qt::MouseButton, int, int>> selected;
        const bool chose =
            view.MouseDown(c.button, 12, 34, [&](Qt::MouseButton b, int x, int y) { selected.emplace_back(b, x, y); });
        EXPECT_EQ(chose, c.chooses);
        // The selection hears every press, and decides itself what it does.
        EXPECT_EQ(selected, (std::vector<std::tuple<Qt::MouseButton, int, int>>{{c.button, 12, 34}}));
    }
}

TEST_F(MapViewInputTest, ALeftPressOnTheNorthArrowTurnsTheMapNorthUpAndSelectsNothing)
{
    view.StartFrames();
    const QPoint arrow = NorthArrow::Centre(pointer.ViewSize());
    pointer.MoveTo(arrow.x(), arrow.y());
    scene.GxFreeCamera->Position().AssignPoint(20, 0, 10); // looking west: north on the right
    state.AutoOrbit = true;
    std::vector<Qt::MouseButton> selected;
    const auto select = [&](Qt::MouseButton b, int, int) { selected.push_back(b); };

    EXPECT_FALSE(view.MouseDown(Qt::LeftButton, arrow.x() + 3, arrow.y() - 5, select));
    EXPECT_TRUE(selected.empty());
    EXPECT_TRUE(state.NorthUpTurn);
    EXPECT_FALSE(state.AutoOrbit);
    EXPECT_FALSE(view.Cadence()->Resting()) << "the turn starts at once";
    int ticks = 0;
    for (; state.NorthUpTurn && ticks < 50; ++ticks)
        view.Tick();
    EXPECT_LT(ticks, 20);
    EXPECT_NEAR(NorthHeading(*scene.GxFreeCamera), 0, 1e-4);
    EXPECT_NEAR(distance(), std::hypot(20.0f, 10.0f), 1e-3);

    // Other buttons, and the left one beside the arrow or with the arrow
    // switched off, reach the selection as before.
    const struct {
        Qt::MouseButton button;
        QPoint at;
        bool arrowShown;
    } others[] = {
        {Qt::RightButton, arrow, true},
        {Qt::LeftButton, arrow + QPoint(NorthArrow::kReach + 2, 0), true},
        {Qt::LeftButton, arrow, false},
    };
    for (const auto& o : others) {
        state.ShowNorthArrow = o.arrowShown;
        selected.clear();
        view.MouseDown(o.button, o.at.x(), o.at.y(), select);
        EXPECT_EQ(selected, std::vector<Qt::MouseButton>{o.button});
        EXPECT_FALSE(state.NorthUpTurn);
    }
}

TEST_F(MapViewInputTest, OrbitingWithTheRightButtonStopsTheTurnToNorth)
{
    scene.GxFreeCamera->Position().AssignPoint(0, 20, 10); // north down
    pointer.MoveTo(300, 200);
    StartNorthUp(state);
    view.Tick();
    EXPECT_TRUE(state.NorthUpTurn);
    keys.Press(vk::RightButton);
    view.Tick();
    EXPECT_FALSE(state.NorthUpTurn);
    keys.Release(vk::RightButton);
    const float heading = NorthHeading(*scene.GxFreeCamera);
    view.Tick();
    EXPECT_EQ(NorthHeading(*scene.GxFreeCamera), heading);
}

TEST_F(MapViewInputTest, CtrlWithTheLeftButtonMeasuresOutsidePanMode)
{
    const struct {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        bool panning;
        bool measures;
    } cases[] = {
        {Qt::LeftButton, Qt::ControlModifier, false, true},
        {Qt::LeftButton, Qt::NoModifier, false, false},
        {Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, false, false}, // Shift pans
        {Qt::LeftButton, Qt::ControlModifier, true, false},
        {Qt::RightButton, Qt::ControlModifier, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "button " << c.button << " modifiers " << int(c.modifiers)
                                          << (c.panning ? " panning" : ""));
        state.PanMode = c.panning;
        EXPECT_EQ(view.Measures(c.button, c.modifiers), c.measures);
    }
    // A pixel whose ray misses the ground has no point to measure to.
    EXPECT_FALSE(view.GroundAt(10, 10).has_value());
}

TEST_F(MapViewInputTest, TheWheelZoomsOnlyWhileThePointerIsOverTheViewOutsidePanMode)
{
    const struct {
        const char* what;
        bool overView;
        MapCursor cursor;
        double delta;
        float factor;
    } cases[] = {
        {"away from the user", true, MapCursor::Blank, 120, 1.1f},
        {"toward the user, two notches", true, MapCursor::Blank, -240, 1 / 1.21f},
        {"over the window", false, MapCursor::Blank, 120, 1},
        {"pan mode", true, MapCursor::Hand, 120, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.overView)
            view.PointerOverView();
        else
            view.PointerOverWindow();
        pointer.SetCursor(c.cursor);
        const float before = distance();
        EXPECT_EQ(view.Wheel(c.delta), c.factor != 1);
        EXPECT_NEAR(distance(), before * c.factor, 1e-4f * before);
    }
}

TEST_F(MapViewInputTest, ThePointerOverTheWindowBlanksTheViewsPointer)
{
    pointer.SetCursor(MapCursor::Hand);
    view.PointerOverView();
    EXPECT_TRUE(state.PointerInViewer);
    view.PointerOverWindow();
    EXPECT_FALSE(state.PointerInViewer);
    EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);
}

} // namespace
