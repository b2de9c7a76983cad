#include "navigation/FrameLoop.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "navigation/FlyTo.h"
#include "navigation/MapInput.h"
#include "support/VectorAsserts.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 440;

// The map's scene drawn off-screen at the view's designed size, its frame
// loop fed by scripted keys and pointer and picking through the real buffer.
class FrameLoopGl : public ::testing::Test {
protected:
    FrameLoopGl()
    {
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.SetBackgroundColor(clWhite);
        buffer.Resize(kWidth, kHeight);
        buffer.CreateRC(std::make_unique<TGxOffscreenRenderingContext>(kWidth, kHeight, buffer.SurfaceFormat()));
        buffer.Render();
    }

    // One cadencer tick as the window runs it: the frame loop, then the frame.
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            loop.Tick();
            buffer.Render();
        }
    }

    // Looks at the town centre from above and behind.
    void overview()
    {
        scene.DCTarget->Position().AssignPoint(0, 0, 0.1f);
        scene.GxFreeCamera->Position().AssignPoint(0, -30, 30);
        buffer.Render();
    }

    Thouse* house(float left, float bottom, float right, float top, const char* floors = "3")
    {
        auto* h = scene.GxScene.ObjectRoot()->SpawnChild<Thouse>();
        h->AppendNode(left, bottom, 0);
        h->AppendNode(right, bottom, 0);
        h->AppendNode(right, top, 0);
        h->AppendNode(left, top, 0);
        h->SetParam(2, floors);
        h->BuildWalls();
        h->SetNormalColors();
        return h;
    }

    // The view pixel (origin top left) where a scene point appears in the last frame.
    QPoint pixelOf(const TGxVector& point) const
    {
        const TGxVector w = buffer.ProjectToWindow(point);
        return {int(std::floor(w.X)), kHeight - 1 - int(std::floor(w.Y))};
    }
    void pointAt(const TGxVector& point)
    {
        const QPoint p = pixelOf(point);
        pointer.MoveTo(p.x(), p.y());
    }
    // Where the ray through a view pixel meets the ground in the last frame.
    TGxVector groundUnder(QPoint p)
    {
        TGxVector g = VectorMake(0, 0, 0, 0);
        EXPECT_TRUE(buffer.PixelOnGroundPlane(VectorMake(float(p.x()), float(kHeight - p.y()), 0, 0), 0, g));
        return g;
    }

    TGxVector target() const { return scene.DCTarget->Position().Vector4(); }
    TGxVector camera() const { return scene.GxFreeCamera->Position().Vector4(); }
    // Degrees counter-clockwise from +X, seen from above, of the camera around its target.
    float bearing() const { return std::atan2(camera().Y, camera().X) * 180 / std::numbers::pi_v<float>; }
    float elevation() const
    {
        return std::atan2(camera().Z, std::hypot(camera().X, camera().Y)) * 180 / std::numbers::pi_v<float>;
    }
    static float glow(TGxCustomSceneObject* o) { return o->Material().FrontProperties().Emission().Vector()[0]; }

    MainScene scene;
    TGxSceneBuffer buffer;
    MapState state;
    ScriptedKeyState keys;
    ScriptedPointer pointer{QSize(kWidth, kHeight)};
    SceneBufferPicker picker{buffer};
    FrameLoop loop{state, scene, keys, pointer, picker};
};

TEST_F(FrameLoopGl, TheStartUpClimbTakes124TicksWithTheWandHidden)
{
    state.IntroClimb = true;
    tick(123);
    EXPECT_TRUE(state.IntroClimb);
    EXPECT_FALSE(scene.Wand->Visible());
    tick();
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_GT(camera().Z, 40.0f); // relative to DCTarget
    EXPECT_TRUE(VectorNear(camera(), VectorMake(0.3f * 124, -4 - 0.3f * 124, 3 + 0.3f * 124, 1), 1e-3f));
    EXPECT_TRUE(scene.Wand->Visible());
    EXPECT_FLOAT_EQ(scene.Wand->Position().Z(), 100.0f); // the rod stands on the marker
    tick();
    EXPECT_TRUE(VectorNear(camera(), VectorMake(0.3f * 124, -4 - 0.3f * 124, 3 + 0.3f * 124, 1), 1e-3f));
}

TEST_F(FrameLoopGl, TheTargetWrapsAroundTheTownSquareMirrored)
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

TEST_F(FrameLoopGl, CameraAndTargetHeightsAreClamped)
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

TEST_F(FrameLoopGl, AFlightStepsEachTickAfterTheWrapThenTheOrbitTakesOver)
{
    scene.DCTarget->Position().AssignPoint(0.3f, 0, 0.1f);
    SmoothMoveTo(state, 5.6f, -2.2f, 0);
    tick(6);
    EXPECT_TRUE(VectorNear(target(), VectorMake(6.3f, -2, 0.1f, 1)));
    EXPECT_TRUE(VectorNear(camera(), VectorMake(6, 2, 9, 1)));
    tick(); // every axis has arrived: the flight ends
    EXPECT_FALSE(state.FlyActive);
    EXPECT_TRUE(state.AutoOrbit);
    const float before = bearing();
    const float height = camera().Z;
    tick(10); // 0.5 degrees per tick at the same height
    EXPECT_NEAR(std::fabs(bearing() - before), 5.0f, 1e-3f);
    EXPECT_NEAR(camera().Z, height, 1e-3f);
    EXPECT_TRUE(VectorNear(target(), VectorMake(6.3f, -2, 0.1f, 1)));

    // Leaving the square mid-flight: the target re-enters mirrored, then walks on.
    scene.DCTarget->Position().AssignPoint(-471, 0, 0.1f);
    SmoothMoveTo(state, 400, 0, 0);
    tick();
    EXPECT_TRUE(VectorNear(target(), VectorMake(469, 0, 0.1f, 1)));
}

TEST_F(FrameLoopGl, RightDragOrbitsAndCancelsClimbFlightAndOrbit)
{
    pointer.MoveTo(300, 200);
    tick(); // LastPointer := (300, 200)
    state.IntroClimb = state.AutoOrbit = true;
    SmoothMoveTo(state, 100, 100, 0);
    state.IntroClimb = state.AutoOrbit = true;
    keys.Press(vk::RightButton);
    tick();
    EXPECT_FALSE(state.IntroClimb);
    EXPECT_FALSE(state.FlyActive);
    EXPECT_FALSE(state.AutoOrbit);
    EXPECT_FALSE(scene.Wand->Visible());

    scene.GxFreeCamera->Position().AssignPoint(10, 0, 5);
    const float turn = bearing();
    const float pitch = elevation();
    const TGxVector flightStoppedAt = target();
    pointer.MoveTo(310, 200);
    tick();
    // 10 pixels to the right: 5 degrees clockwise seen from above.
    EXPECT_NEAR(bearing() - turn, -5.0f, 1e-3f);
    EXPECT_NEAR(elevation(), pitch, 1e-3f);
    EXPECT_TRUE(VectorNear(target(), flightStoppedAt));
    // Moving the pointer up lowers the camera toward the horizon.
    pointer.MoveTo(310, 190);
    tick();
    EXPECT_NEAR(elevation(), pitch - 5.0f, 1e-3f);
    const TGxVector held = camera();
    tick();
    EXPECT_TRUE(VectorNear(camera(), held));
}

TEST_F(FrameLoopGl, TheMarkerFollowsTheGroundPointUnderThePointer)
{
    overview();
    const QPoint spots[] = {{296, 220}, {40, 400}, {550, 300}};
    for (const QPoint p : spots) {
        pointer.MoveTo(p.x(), p.y());
        tick();
        // The marker stands where the pointer meets the ground.
        const QPoint seen = pixelOf(scene.DCSelection->Position().Vector4());
        EXPECT_LE(std::abs(seen.x() - p.x()), 1) << p.x() << ", " << p.y();
        EXPECT_LE(std::abs(seen.y() - p.y()), 1) << p.x() << ", " << p.y();
        EXPECT_TRUE(scene.DCSelection->Visible());
        EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);
    }

    // Close to the ground and level, the top of the view shows sky: the
    // marker stays where it was.
    scene.GxFreeCamera->Position().AssignPoint(0, -30, 1);
    tick();
    const TGxVector marker = scene.DCSelection->Position().Vector4();
    pointer.MoveTo(296, 5);
    tick();
    EXPECT_TRUE(VectorNear(scene.DCSelection->Position().Vector4(), marker));
    EXPECT_EQ(state.LastPointer.y, 5);

    // Outside the view nothing follows the pointer.
    for (const QPoint outside : {QPoint(kWidth, 10), QPoint(10, kHeight), QPoint(-1, 10), QPoint(10, -1)}) {
        pointer.MoveTo(outside.x(), outside.y());
        tick();
        EXPECT_EQ(state.LastPointer.x, 296);
        EXPECT_EQ(state.LastPointer.y, 5);
    }
}

TEST_F(FrameLoopGl, ShiftAloneHidesTheMarkerShowsTheHandAndStopsTheGlow)
{
    overview();
    Thouse* h = house(-6, -3, 6, 3);
    pointAt(VectorMake(0, 0, 0.8f, 1));
    state.AutoOrbit = true;
    keys.Press(vk::RightShift);
    tick(3);
    EXPECT_TRUE(state.PanMode);
    EXPECT_FALSE(scene.DCSelection->Visible());
    EXPECT_EQ(pointer.Cursor(), MapCursor::Hand);
    EXPECT_EQ(state.HoveredHouse, nullptr);
    EXPECT_EQ(glow(h), 0.0f);
    EXPECT_FALSE(state.PanAnchorSet);
    EXPECT_FALSE(state.AutoOrbit);

    keys.Release(vk::RightShift);
    tick();
    EXPECT_FALSE(state.PanMode);
    EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);
    EXPECT_EQ(state.HoveredHouse, h);
    EXPECT_GT(glow(h), 0.0f);
}

TEST_F(FrameLoopGl, AShiftDragKeepsTheGrabbedGroundPointUnderThePointer)
{
    overview();
    pointer.MoveTo(300, 250);
    tick();
    keys.Press(vk::LeftShift);
    keys.Press(vk::LeftButton);
    tick();
    ASSERT_TRUE(state.PanAnchorSet);
    const TGxVector grabbed = state.PanAnchor;
    EXPECT_TRUE(VectorNear(VectorMake(grabbed.X, grabbed.Y, 0, 0), VectorMake(groundUnder({300, 250}).X,
                                                                            groundUnder({300, 250}).Y, 0, 0), 1e-3f));
    const TGxVector start = target();
    for (const QPoint p : {QPoint(340, 250), QPoint(380, 230), QPoint(380, 300), QPoint(120, 380)}) {
        pointer.MoveTo(p.x(), p.y());
        tick();
        const TGxVector under = groundUnder(p);
        EXPECT_NEAR(under.X, grabbed.X, 0.02f) << p.x() << ", " << p.y();
        EXPECT_NEAR(under.Y, grabbed.Y, 0.02f) << p.x() << ", " << p.y();
    }
    EXPECT_FALSE(VectorNear(target(), start, 1.0f)); // the map did move

    // Releasing Shift ends the pan; pressing it again grabs a new point.
    keys.Release(vk::LeftShift);
    tick();
    EXPECT_FALSE(state.PanAnchorSet);
    keys.Press(vk::LeftShift);
    pointer.MoveTo(200, 200);
    tick();
    ASSERT_TRUE(state.PanAnchorSet);
    EXPECT_GT(VectorLength(VectorSubtract(state.PanAnchor, grabbed)), 1.0f);
    // Letting go of the button clears the anchor as well.
    keys.Release(vk::LeftButton);
    tick();
    EXPECT_FALSE(state.PanAnchorSet);
}

class HoverGl : public FrameLoopGl {
protected:
    HoverGl()
    {
        overview();
        left = house(-6, -3, 0, 3);
        right = house(0, -3, 6, 3); // touching
        buffer.Render();
    }
    const float roof = 3 * 3 * kHeightScale;
    Thouse* left = nullptr;
    Thouse* right = nullptr;
};

TEST_F(HoverGl, TheHouseUnderThePointerGlowsUpTickByTick)
{
    pointAt(VectorMake(-3, 0, roof, 1));
    for (int k = 1; k <= 6; ++k) {
        tick();
        const float expected = 1.0f - std::pow(0.7f, float(k));
        EXPECT_NEAR(glow(left), expected, 1e-5f) << k;
        EXPECT_NEAR(glow(static_cast<TGxCustomSceneObject*>(left->Children(0))), expected, 1e-5f) << k; // walls too
    }
    EXPECT_EQ(state.HoveredHouse, left);
    EXPECT_FALSE(scene.DCSelection->Visible());

    // Straight onto the touching house: the first goes dark in the same tick.
    pointAt(VectorMake(3, 0, roof, 1));
    tick();
    EXPECT_EQ(glow(left), 0.0f);
    EXPECT_NEAR(glow(right), 0.3f, 1e-5f);

    // Outside the view the pick stays at the last point inside.
    pointer.MoveTo(-5, -5);
    tick();
    EXPECT_NEAR(glow(right), 0.51f, 1e-5f);

    // Onto the ground: dark again, the marker comes back.
    pointAt(VectorMake(0, 15, 0, 1));
    tick();
    EXPECT_EQ(state.HoveredHouse, nullptr);
    EXPECT_EQ(glow(right), 0.0f);
    EXPECT_TRUE(scene.DCSelection->Visible());
}

TEST_F(HoverGl, TheSelectedHouseNeverGlows)
{
    state.SelectedHouse = left;
    pointAt(VectorMake(-3, 0, roof, 1));
    tick(5);
    EXPECT_EQ(state.HoveredHouse, left);
    EXPECT_EQ(glow(left), 0.0f);
    // Leaving it clears it all the same.
    left->GlowStep();
    pointAt(VectorMake(0, 15, 0, 1));
    tick();
    EXPECT_EQ(glow(left), 0.0f);
}

TEST_F(FrameLoopGl, AWallInFrontOfItsRoofIsPickedAndItsHouseGlows)
{
    // Low in front of a tall house, looking up at its front wall: behind the
    // wall the ray meets the underside of the roof.
    Thouse* h = house(-5, 0, 5, 10, "10");
    const float roof = 10 * 3 * kHeightScale;
    scene.DCTarget->Position().AssignPoint(0, 0, 0.4f);
    scene.GxFreeCamera->Position().AssignPoint(0, -5, 0.1f); // the lowest the frame loop allows
    tick();
    const QPoint wallPoint = pixelOf(VectorMake(2, 0, 2.0f, 1)); // beside the rod at the marker
    const std::unique_ptr<TGxPickList> hits =
        buffer.PickListInRect({wallPoint.x() - 1, wallPoint.y() - 1, wallPoint.x() + 1, wallPoint.y() + 1}, 64);
    bool roofBehind = false;
    for (int i = 0; i < hits->Count(); ++i)
        roofBehind = roofBehind || hits->Hit(i) == h;
    ASSERT_TRUE(roofBehind) << "the roof must lie under the pixel too; roof height " << roof;
    TGxBaseSceneObject* picked = buffer.ObjectAtPixel(wallPoint.x(), wallPoint.y());
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(picked->Parent(), h);

    pointer.MoveTo(wallPoint.x(), wallPoint.y());
    tick();
    EXPECT_EQ(state.HoveredHouse, h);
    EXPECT_NEAR(glow(h), 0.3f, 1e-5f);
}

} // namespace
