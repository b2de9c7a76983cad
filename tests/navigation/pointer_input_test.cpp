#include "navigation/PointerInput.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Power, FollowsTheRulesForEachKindOfExponent)
{
    struct Case {
        double base, exponent, expected;
    };
    const Case cases[] = {
        {2, 0, 1}, {0, 0, 1}, {0, 3, 0}, {0, 0.5, 0},     // 0 and 1 come first
        {1.1, 1, 1.1}, {1.1, 3, 1.331}, {2, -2, 0.25},     // whole exponents multiply
        {1.1, -1, 1 / 1.1}, {-2, 3, -8},
        {4, 0.5, 2}, {1.1, 0.5, std::sqrt(1.1)},           // fractional ones through log2
    };
    for (const Case& c : cases)
        EXPECT_NEAR(Power(c.base, c.exponent), c.expected, 1e-12) << c.base << " ^ " << c.exponent;
    EXPECT_EQ(Power(0, -1), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(Power(-2, 0.5)));
}

class Wheel : public ::testing::Test {
protected:
    Wheel()
    {
        // 10 units from the target, straight behind and above it.
        scene.GxFreeCamera->Position().AssignPoint(0, -6, 8);
        state.PointerInViewer = true;
    }
    float distance() const { return VectorLength(scene.GxFreeCamera->Position().Vector4()); }
    MainScene scene;
    MapState state;
};

TEST_F(Wheel, ZoomsByATenthPerNotch)
{
    struct Case {
        double delta;
        float distance;
    };
    const Case cases[] = {
        {120, 11.0f},                       // one notch away from the user
        {-120, 10.0f / 1.1f},               // one toward
        {360, 13.31f},                      // three at once: 1.331
        {60, 10.0f * std::sqrt(1.1f)},      // half a notch of a fine-grained wheel
        {0, 10.0f},
    };
    for (const Case& c : cases) {
        scene.GxFreeCamera->Position().AssignPoint(0, -6, 8);
        EXPECT_TRUE(WheelZoom(state, *scene.GxFreeCamera, MapCursor::Blank, c.delta));
        EXPECT_NEAR(distance(), c.distance, 1e-4f) << c.delta;
        // Along the same line.
        const TGxVector p = scene.GxFreeCamera->Position().Vector4();
        EXPECT_NEAR(p.Y / p.Z, -0.75f, 1e-5f);
    }
}

TEST_F(Wheel, DoesNothingInPanModeOrAwayFromTheView)
{
    // Pan mode shows the hand; before the first frame the view has the arrow.
    for (const MapCursor cursor : {MapCursor::Hand, MapCursor::Default})
        EXPECT_FALSE(WheelZoom(state, *scene.GxFreeCamera, cursor, 120));
    EXPECT_FLOAT_EQ(distance(), 10.0f);

    // The pointer moved over the window's background: the view's pointer is
    // blank again, but the wheel waits until it is back over the view.
    ScriptedPointer pointer;
    pointer.SetCursor(MapCursor::Hand);
    PointerOverWindow(state, pointer);
    EXPECT_EQ(pointer.Cursor(), MapCursor::Blank);
    EXPECT_FALSE(WheelZoom(state, *scene.GxFreeCamera, pointer.Cursor(), 120));
    EXPECT_FLOAT_EQ(distance(), 10.0f);
    PointerOverView(state);
    EXPECT_TRUE(WheelZoom(state, *scene.GxFreeCamera, pointer.Cursor(), 120));
    EXPECT_NEAR(distance(), 11.0f, 1e-4f);
}

} // namespace
