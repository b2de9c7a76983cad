#include "GlFeedback.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxPlane.h"
#include "engine/objects/GxXYZGrid.h"
#include "engine/scene/GxPickList.h"
#include "support/OffscreenGl.h"
#include "support/OffscreenScene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <malloc.h>

namespace {

// Shapes seen from above through a square orthographic view of +-extent.
class ShapesGlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.isValid()); }

    void look(double extent)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-extent, extent, -extent, extent, -extent, extent);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }

    // The corner of the polygon's vertices nearest to (x, y).
    static const FeedbackVertex& nearest(const FeedbackPrimitive& p, double x, double y)
    {
        return *std::min_element(p.vertices.begin(), p.vertices.end(), [&](const auto& a, const auto& b) {
            return std::hypot(a.position[0] - x, a.position[1] - y) < std::hypot(b.position[0] - x, b.position[1] - y);
        });
    }

    OffscreenGl gl{64, 64};

private:
    MainTexCoordRouting m_routing;
};

} // namespace

TEST_F(ShapesGlTest, PlaneCornersAndTextureRange)
{
    struct Case {
        std::uint32_t xTiles;
        float s1;
    };
    for (const Case& c : {Case{1, 1}, Case{3, 3}}) {
        TGxPlane plane(nullptr);
        plane.SetWidth(10);
        plane.SetHeight(4);
        plane.SetXTiles(c.xTiles);
        look(8);
        const auto primitives = captureFeedback([&] { plane.BuildGeometry(); });
        // Mesa reports the quad as two triangles.
        FeedbackPrimitive quad{FeedbackPrimitive::Polygon, {}};
        for (const auto& p : primitives)
            quad.vertices.insert(quad.vertices.end(), p.vertices.begin(), p.vertices.end());
        ASSERT_EQ(quad.vertices.size(), 6u);
        struct Corner {
            double x, y;
            float s, t;
        };
        for (const Corner& k : {Corner{-5, -2, 0, 0}, Corner{5, -2, c.s1, 0}, Corner{5, 2, c.s1, 1}, Corner{-5, 2, 0, 1}}) {
            const FeedbackVertex& v = nearest(quad, k.x, k.y);
            EXPECT_NEAR(v.position[0], k.x, 1e-3);
            EXPECT_NEAR(v.position[1], k.y, 1e-3);
            EXPECT_NEAR(v.position[2], 0, 1e-3);
            EXPECT_FLOAT_EQ(v.texCoord[0], k.s) << k.x << ", " << k.y;
            EXPECT_FLOAT_EQ(v.texCoord[1], k.t) << k.x << ", " << k.y;
        }
    }
}

TEST_F(ShapesGlTest, PlaneStripStyleTilesTheSameRectangle)
{
    TGxPlane plane(nullptr);
    plane.SetWidth(4);
    plane.SetHeight(2);
    plane.SetStyle(TPlaneStyles{TPlaneStyle::psTileTexture});
    plane.SetXTiles(2);
    plane.SetYTiles(2);
    plane.SetYOffset(0.5f);
    look(4);
    const auto primitives = captureFeedback([&] { plane.BuildGeometry(); });
    EXPECT_EQ(primitives.size(), 8u) << "two rows of two quads, two triangles each";
    double minY = 1e9, maxY = -1e9;
    float minT = 1e9f, maxT = -1e9f, maxS = -1e9f;
    for (const auto& p : primitives)
        for (const auto& v : p.vertices) {
            minY = std::min(minY, v.position[1]);
            maxY = std::max(maxY, v.position[1]);
            minT = std::min(minT, v.texCoord[1]);
            maxT = std::max(maxT, v.texCoord[1]);
            maxS = std::max(maxS, v.texCoord[0]);
        }
    EXPECT_NEAR(minY, -1, 1e-3);
    EXPECT_NEAR(maxY, 1, 1e-3);
    EXPECT_FLOAT_EQ(minT, 0.5f) << "rows start at the offset, as the single quad does";
    EXPECT_FLOAT_EQ(maxT, 2.5f);
    EXPECT_FLOAT_EQ(maxS, 2.0f);
}

TEST(PlanePick, PicksOverAPlaneLeaveNothingBehindInTheDriver)
{
    // The hover pick of every tick draws the plane under the pointer. Sent
    // vertex by vertex in selection mode, each vertex stayed in the driver's
    // memory for good: megabytes a minute while the camera moved.
    OffscreenScene view;
    auto* plane = view.root()->SpawnChild<TGxPlane>();
    plane->SetWidth(2);
    plane->SetHeight(2);
    plane->SetStyle(TPlaneStyles{TPlaneStyle::psTileTexture});
    plane->SetXTiles(40);
    plane->SetYTiles(40);
    view.render();
    const auto pick = [&] { return view.buffer.PickListInRect({31, 31, 33, 33}, 64); };
    for (int i = 0; i < 50; ++i)
        pick();
    const auto inUse = [] {
        const struct mallinfo2 m = mallinfo2();
        return m.uordblks + m.hblkhd; // the heap's blocks and those mapped alone
    };
    const std::size_t before = inUse();
    for (int i = 0; i < 2000; ++i) {
        const auto picks = pick();
        ASSERT_EQ(picks->Count(), 1);
        ASSERT_EQ(picks->Hit(0), plane);
    }
    const std::size_t after = inUse();
    // 3,280 vertices a pick: kept, they came to tens of megabytes.
    EXPECT_LT(after, before + (1u << 20)) << "grew by " << (after - before) << " bytes";
}

TEST_F(ShapesGlTest, MapGridIsALatticeOfPlainLines)
{
    TGxXYZGrid grid(nullptr);
    grid.LineColor().SetColorVector(0.9f, 0.9f, 0.9f, 1);
    grid.SetLineWidth(0.5f);
    for (TGxSamplingScale* s : {&grid.XSamplingScale(), &grid.YSamplingScale()}) {
        s->SetMin(-470);
        s->SetMax(470);
        s->SetStep(5);
    }
    grid.ZSamplingScale().SetStep(0.1f);
    grid.SetLinesStyle(glsLine);
    look(500);
    glEnable(GL_LIGHTING);
    const auto lines = captureFeedback([&] { grid.BuildGeometry(); });
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "the grid gives back the state it changed";
    ASSERT_EQ(lines.size(), 378u);
    int alongX = 0, alongY = 0;
    for (const auto& l : lines) {
        ASSERT_EQ(l.kind, FeedbackPrimitive::Line);
        const auto& a = l.vertices[0].position;
        const auto& b = l.vertices[1].position;
        EXPECT_NEAR(l.vertices[0].color[0], 0.9f, 1e-3f);
        EXPECT_NEAR(a[2], 0, 1e-3);
        if (std::fabs(a[1] - b[1]) < 1e-3 && std::fabs(std::fabs(b[0] - a[0]) - 940) < 1e-2)
            ++alongX;
        else if (std::fabs(a[0] - b[0]) < 1e-3 && std::fabs(std::fabs(b[1] - a[1]) - 940) < 1e-2)
            ++alongY;
    }
    EXPECT_EQ(alongX, 189);
    EXPECT_EQ(alongY, 189);
}

TEST_F(ShapesGlTest, GridSegmentsAndAnUnsampledAxisAtItsOrigin)
{
    TGxXYZGrid grid(nullptr);
    for (TGxSamplingScale* s : {&grid.XSamplingScale(), &grid.YSamplingScale()}) {
        s->SetMax(2);
        s->SetStep(1);
    }
    grid.ZSamplingScale().SetOrigin(0.5f);
    look(4);
    const auto lines = captureFeedback([&] { grid.BuildGeometry(); });
    EXPECT_EQ(lines.size(), 12u) << "3 strips of 2 segments along each of X and Y";
    for (const auto& l : lines)
        for (const auto& v : l.vertices)
            EXPECT_NEAR(v.position[2], 0.5, 1e-3);
}

TEST_F(ShapesGlTest, CylinderAlignmentPlacesItAlongLocalY)
{
    struct Case {
        TCylinderAlignment alignment;
        double bottom, top;
    };
    for (const Case& c : {Case{caBottom, 0, 200}, Case{caCenter, -100, 100}, Case{caTop, -200, 0}}) {
        TGxCylinder cylinder(nullptr);
        cylinder.SetHeight(200);
        cylinder.SetBottomRadius(0.1f);
        cylinder.SetTopRadius(0.05f);
        cylinder.SetAlignment(c.alignment);
        look(300);
        const auto primitives = captureFeedback([&] { cylinder.BuildGeometry(); });
        ASSERT_FALSE(primitives.empty());
        double minY = 1e9, maxY = -1e9, maxR = 0;
        for (const auto& p : primitives)
            for (const auto& v : p.vertices) {
                minY = std::min(minY, v.position[1]);
                maxY = std::max(maxY, v.position[1]);
                maxR = std::max(maxR, std::hypot(v.position[0], v.position[2]));
            }
        EXPECT_NEAR(minY, c.bottom, 0.05) << c.alignment;
        EXPECT_NEAR(maxY, c.top, 0.05) << c.alignment;
        EXPECT_NEAR(maxR, 0.1, 0.01);
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1) << "the matrix is given back";
}

TEST_F(ShapesGlTest, DummyCubeEdgesAreTwelveWhiteLines)
{
    TGxDummyCube cube(nullptr);
    cube.SetCubeSize(2);
    look(4);
    glEnable(GL_LIGHTING);
    const auto edges = captureFeedback([&] { cube.DrawEdges(); });
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "the cube gives back the state it changed";
    ASSERT_EQ(edges.size(), 12u);
    for (const auto& e : edges) {
        for (const auto& v : e.vertices) {
            EXPECT_EQ(v.color, (std::array<float, 4>{1, 1, 1, 1}));
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(std::fabs(v.position[k]), 1, 1e-3);
        }
        // Each edge runs along exactly one axis.
        int differing = 0;
        for (int k = 0; k < 3; ++k)
            differing += std::fabs(e.vertices[0].position[k] - e.vertices[1].position[k]) > 1;
        EXPECT_EQ(differing, 1);
    }
}
