#include "GlFeedback.h"
#include "engine/objects/GxPolygon.h"
#include "support/OffscreenGl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Outline = std::vector<std::array<float, 2>>;

// Draws polygons seen straight from above (+Z) or from below, 16 pixels per
// unit, the unit square (0..4, 0..4) filling the 64 x 64 view.
class PolygonGlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.isValid()); }

    void look(bool fromBelow)
    {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // From below the picture is turned over about X: y runs from -4 to 0.
        if (fromBelow)
            glOrtho(0, 4, -4, 0, -10, 10);
        else
            glOrtho(0, 4, 0, 4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (fromBelow)
            glRotatef(180, 1, 0, 0);
        m_fromBelow = fromBelow;
    }
    // Lit from the viewer: a face whose normal faces the viewer shows grey,
    // one whose normal points away shows black, no face leaves the blue background.
    void lightFromViewer()
    {
        glPushMatrix();
        glLoadIdentity();
        const float towardViewer[4] = {0, 0, 1, 0};
        const float noAmbient[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, towardViewer);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
        glPopMatrix();
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
    void plain()
    {
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glColor3f(1, 1, 1);
    }
    // The colour at an object point of the plane z = 0.
    QColor at(float x, float y)
    {
        const int px = static_cast<int>(x * 16);
        const int py = static_cast<int>((m_fromBelow ? 4 - y : y) * 16);
        return gl.pixel(px, py);
    }
    static void fill(TGxPolygon& p, const Outline& outline)
    {
        for (const auto& n : outline)
            p.AppendNode(n[0], n[1], 0);
    }

    OffscreenGl gl{64, 64};
    const QColor background{0, 0, 255, 255};

private:
    MainTexCoordRouting m_routing;
    bool m_fromBelow = false;
};

const Outline kSquareCcw{{1, 1}, {3, 1}, {3, 3}, {1, 3}};
const Outline kSquareCw{{1, 1}, {1, 3}, {3, 3}, {3, 1}};

bool isLitGrey(const QColor& c)
{
    // Material diffuse 0.8 under a white light straight on.
    return std::abs(c.red() - 204) <= 2 && c.red() == c.green() && c.green() == c.blue();
}

} // namespace

TEST_F(PolygonGlTest, SquareShowsALitFaceFromAboveAndBelowWhicheverWayItRuns)
{
    for (const Outline* outline : {&kSquareCcw, &kSquareCw}) {
        for (bool fromBelow : {false, true}) {
            TGxPolygon square(nullptr);
            fill(square, *outline);
            look(fromBelow);
            lightFromViewer();
            square.BuildGeometry();
            const QColor inside = at(2, 2);
            EXPECT_TRUE(isLitGrey(inside)) << (outline == &kSquareCcw ? "ccw" : "cw") << " from "
                                           << (fromBelow ? "below " : "above ") << inside.name().toStdString();
            EXPECT_EQ(at(0.5f, 2), background);
            EXPECT_EQ(at(3.5f, 3.5f), background);
        }
    }
}

TEST_F(PolygonGlTest, EachFaceIsWoundAboutItsOwnNormal)
{
    struct Case {
        const Outline* outline;
        TPolygonPart part;
        bool fromBelow;
        bool visible;
    };
    const Case cases[] = {
        {&kSquareCcw, TPolygonPart::ppTop, false, true},    {&kSquareCcw, TPolygonPart::ppTop, true, false},
        {&kSquareCcw, TPolygonPart::ppBottom, true, true},  {&kSquareCcw, TPolygonPart::ppBottom, false, false},
        // Clockwise seen from above: the "top" face points down.
        {&kSquareCw, TPolygonPart::ppTop, true, true},      {&kSquareCw, TPolygonPart::ppTop, false, false},
        {&kSquareCw, TPolygonPart::ppBottom, false, true},  {&kSquareCw, TPolygonPart::ppBottom, true, false},
    };
    for (const Case& c : cases) {
        TGxPolygon square(nullptr);
        fill(square, *c.outline);
        square.SetParts(TPolygonParts{c.part});
        look(c.fromBelow);
        lightFromViewer();
        square.BuildGeometry();
        const QColor inside = at(2, 2);
        if (c.visible)
            EXPECT_TRUE(isLitGrey(inside)) << inside.name().toStdString();
        else
            EXPECT_EQ(inside, background);
    }
}

TEST_F(PolygonGlTest, SquareEmitsTwoFacesOfTrianglesWithItsOwnTexCoords)
{
    TGxPolygon square(nullptr);
    fill(square, kSquareCcw);
    look(false);
    plain();
    const auto primitives = captureFeedback([&] { square.BuildGeometry(); });
    ASSERT_EQ(primitives.size(), 4u) << "two triangles per face";
    for (const auto& p : primitives) {
        ASSERT_EQ(p.vertices.size(), 3u);
        for (const auto& v : p.vertices) {
            EXPECT_NEAR(v.texCoord[0], v.position[0], 1e-4) << "s = x";
            EXPECT_NEAR(v.texCoord[1], v.position[1], 1e-4) << "t = y";
        }
    }
}

TEST_F(PolygonGlTest, LShapeFillsOnlyTheL)
{
    TGxPolygon l(nullptr);
    fill(l, {{0.5f, 0.5f}, {3.5f, 0.5f}, {3.5f, 1.5f}, {1.5f, 1.5f}, {1.5f, 3.5f}, {0.5f, 3.5f}});
    look(false);
    plain();
    l.BuildGeometry();
    const QColor white(255, 255, 255, 255);
    EXPECT_EQ(at(1, 1), white);
    EXPECT_EQ(at(3, 1), white);
    EXPECT_EQ(at(1, 3), white);
    EXPECT_EQ(at(2.5f, 2.5f), background) << "the hull's notch stays empty";
    EXPECT_EQ(at(3, 3), background);
}

TEST_F(PolygonGlTest, FigureEightFillsBothLoopsThroughACombinedVertex)
{
    TGxPolygon eight(nullptr);
    fill(eight, {{0.5f, 0.5f}, {3.5f, 3.5f}, {3.5f, 0.5f}, {0.5f, 3.5f}});
    look(false);
    plain();
    eight.SetParts(TPolygonParts{TPolygonPart::ppTop});
    const auto primitives = captureFeedback([&] { eight.BuildGeometry(); });
    bool crossing = false;
    for (const auto& p : primitives)
        for (const auto& v : p.vertices)
            if (std::fabs(v.position[0] - 2) < 1e-3 && std::fabs(v.position[1] - 2) < 1e-3) {
                crossing = true;
                EXPECT_NEAR(v.texCoord[0], 2, 1e-4);
                EXPECT_NEAR(v.texCoord[1], 2, 1e-4);
            }
    EXPECT_TRUE(crossing) << "the crossing point is a vertex of its own";

    eight.BuildGeometry();
    const QColor white(255, 255, 255, 255);
    EXPECT_EQ(at(1, 2), white) << "left loop";
    EXPECT_EQ(at(3, 2), white) << "right loop";
    EXPECT_EQ(at(2, 1), background);
    EXPECT_EQ(at(2, 3), background);
}

TEST_F(PolygonGlTest, DegenerateOutlinesDrawNothingOrKeepTheCurrentNormal)
{
    look(false);
    plain();
    TGxPolygon two(nullptr);
    fill(two, {{1, 1}, {3, 3}});
    EXPECT_TRUE(captureFeedback([&] { two.BuildGeometry(); }).empty());

    // A damaged file's infinite or NaN coordinate: nothing drawn, no error.
    for (float bad : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        TGxPolygon broken(nullptr);
        fill(broken, {{1, 1}, {3, 1}, {bad, 3}, {1, 3}});
        EXPECT_TRUE(captureFeedback([&] { broken.BuildGeometry(); }).empty()) << bad;
    }

    // Collinear first nodes: drawn, but without a normal of its own.
    TGxPolygon collinear(nullptr);
    fill(collinear, {{1, 1}, {2, 1}, {3, 1}, {3, 3}, {1, 3}});
    glNormal3f(0.6f, 0.0f, 0.8f);
    EXPECT_FALSE(captureFeedback([&] { collinear.BuildGeometry(); }).empty());
    float normal[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_FLOAT_EQ(normal[0], 0.6f);
    EXPECT_FLOAT_EQ(normal[2], 0.8f);
}
