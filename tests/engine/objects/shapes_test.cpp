#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxPlane.h"
#include "engine/objects/GxXYZGrid.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GxSamplingScale, ValuesAlignOnTheOriginAndIncludeBothEnds)
{
    struct Case {
        float min, max, origin, step;
        std::vector<float> values;
    };
    const Case cases[] = {
        {-2, 2, 0, 1, {-2, -1, 0, 1, 2}},
        {-2, 2, 0.5f, 1, {-1.5f, -0.5f, 0.5f, 1.5f}}, // aligned on the origin
        {0, 3, 0, 1, {0, 1, 2, 3}},                   // origin on Min
        {0, 10, -10, 3, {2, 5, 8}},                   // origin below Min
        {1, 1, 1, 1, {1}},
    };
    for (const Case& c : cases) {
        TGxSamplingScale s(nullptr);
        s.SetMax(c.max);
        s.SetMin(c.min);
        s.SetOrigin(c.origin);
        s.SetStep(c.step);
        EXPECT_EQ(s.Values(true), c.values) << c.min << " " << c.max << " " << c.origin;
        EXPECT_EQ(s.Values(false), std::vector<float>{c.origin});
    }

    // The map's grid axis: 189 values, both ends included despite float steps.
    TGxSamplingScale grid(nullptr);
    grid.SetMin(-470);
    grid.SetMax(470);
    grid.SetStep(5);
    const std::vector<float> v = grid.Values(true);
    ASSERT_EQ(v.size(), 189u);
    EXPECT_EQ(v.front(), -470);
    EXPECT_EQ(v.back(), 470);

    // A step that cannot move the value any more ends the values.
    TGxSamplingScale tiny(nullptr);
    tiny.SetMax(1e9f);
    tiny.SetMin(1e8f);
    tiny.SetOrigin(1e8f);
    tiny.SetStep(1e-3f);
    EXPECT_EQ(tiny.Values(true).size(), 1u);
}

TEST(GxSamplingScale, SettersKeepMinBelowMaxAndStepPositive)
{
    TGxSamplingScale s(nullptr);
    EXPECT_FLOAT_EQ(s.Step(), 0.1f);
    s.SetMin(5);
    EXPECT_EQ(s.Max(), 5);
    s.SetMax(-3);
    EXPECT_EQ(s.Min(), -3);
    for (float step : {0.0f, -2.0f}) {
        s.SetStep(0.5f);
        s.SetStep(step);
        EXPECT_EQ(s.Step(), 1) << step;
    }
}

TEST(GxXYZGrid, ScaleChangeMarksTheGridsGeometry)
{
    struct Probe : TGxXYZGrid {
        using TGxXYZGrid::TGxXYZGrid;
        void MarkBuilt() { ClearChange(TGxObjectChange::Structure); }
        bool Changed() const { return Changes().Contains(TGxObjectChange::Structure); }
    } grid(nullptr);
    EXPECT_EQ(grid.Parts(), (TXYZGridParts{TXYZGridPart::gpX, TXYZGridPart::gpY}));
    EXPECT_EQ(grid.LinesStyle(), glsSegments);
    grid.MarkBuilt();
    grid.YSamplingScale().SetStep(5);
    EXPECT_TRUE(grid.Changed());
    grid.MarkBuilt();
    grid.LineColor().SetGreen(0.5f);
    EXPECT_TRUE(grid.Changed()) << "the colour is recorded with the lines";
}

TEST(GxShapes, DefaultsAndHalfExtents)
{
    TGxPlane plane(nullptr);
    EXPECT_TRUE(plane.RenderFlags().Contains(TGxRenderFlag::DrawEveryFrame));
    plane.SetWidth(-10);
    plane.SetHeight(4);
    EXPECT_TRUE(VectorNear(plane.HalfExtentsUnscaled(), VectorMake(5, 2, 0)));
    plane.SetXScope(2);
    EXPECT_EQ(plane.XScope(), 1);
    plane.SetYScope(0.25f);
    EXPECT_EQ(plane.YScope(), 0.25f);

    TGxDummyCube cube(nullptr);
    EXPECT_EQ(cube.ClassName(), "TGxDummyCube");
    EXPECT_FALSE(cube.VisibleAtRunTime());
    EXPECT_EQ(cube.EdgeColor().Vector(), (std::array<float, 4>{1, 1, 1, 1}));
    cube.SetCubeSize(-3);
    EXPECT_TRUE(VectorNear(cube.HalfExtentsUnscaled(), VectorMake(1.5f, 1.5f, 1.5f)));
    EXPECT_FALSE(cube.RayHit(PointMake(0, 0, 5), VectorMake(0, 0, -1)));

    TGxCylinder cylinder(nullptr);
    EXPECT_EQ(cylinder.Alignment(), caCenter);
    EXPECT_EQ(cylinder.Slices(), 16);
    cylinder.SetTopRadius(-0.75f);
    cylinder.SetHeight(200);
    EXPECT_TRUE(VectorNear(cylinder.HalfExtentsUnscaled(), VectorMake(0.75f, 100, 0.75f)));
    cylinder.SetLoops(0);
    EXPECT_EQ(cylinder.Loops(), 1) << "below 1 is ignored";
}

TEST(GxPlane, RayHitsFromEitherSideWithinTheRectangle)
{
    TGxPlane plane(nullptr);
    plane.SetWidth(4);
    plane.SetHeight(2);
    plane.Position().AssignPoint(10, 0, 0);
    TGxVector point, normal;
    ASSERT_TRUE(plane.RayHit(PointMake(11, 0.5f, 5), VectorMake(0, 0, -1), &point, &normal));
    EXPECT_TRUE(VectorNear(point, PointMake(11, 0.5f, 0)));
    EXPECT_TRUE(VectorNear(normal, VectorMake(0, 0, 1)));
    ASSERT_TRUE(plane.RayHit(PointMake(9, -0.5f, -5), VectorMake(0, 0, 2), &point, &normal));
    EXPECT_TRUE(VectorNear(normal, VectorMake(0, 0, -1)));
    EXPECT_FALSE(plane.RayHit(PointMake(13, 0, 5), VectorMake(0, 0, -1))) << "beyond Width / 2";
    EXPECT_FALSE(plane.RayHit(PointMake(10, 0, 5), VectorMake(0, 0, 1))) << "travelling away";
}
