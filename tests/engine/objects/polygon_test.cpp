#include "engine/materials/GxMaterial.h"
#include "engine/objects/CubicSpline.h"
#include "engine/objects/GxPolygon.h"
#include "base/GxException.h"
#include "engine/scene/GxScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A polygon whose geometry-changed mark a test can clear, as a render does.
class ProbePolygon : public TGxPolygon {
public:
    using TGxPolygon::TGxPolygon;
    void MarkBuilt() { ClearChange(TGxObjectChange::Structure); }
    bool GeometryChanged() const { return Changes().Contains(TGxObjectChange::Structure); }
};

struct CountingBuffer : IGxSceneBuffer {
    int changes = 0;
    void SceneChanged(TGxScene*) override { ++changes; }
};

void append(TGxPolygonBase& p, const std::vector<TGxAffineVector>& points)
{
    for (const auto& v : points)
        p.AppendNode(v.X, v.Y, v.Z);
}

void expectVector(const TGxAffineVector& actual, const TGxAffineVector& expected, const char* what)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-6f) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-6f) << what;
    EXPECT_NEAR(actual.Z, expected.Z, 1e-6f) << what;
}

} // namespace

TEST(GxNodes, AppendNodeAndAddSetComponentsInOrder)
{
    TGxPolygon p(nullptr);
    p.AppendNode(1, 2, 3);
    const TGxNode& appended = p.Nodes().Items(0);
    EXPECT_EQ(appended.X(), 1);
    EXPECT_EQ(appended.Y(), 2);
    EXPECT_EQ(appended.Z(), 3);
    EXPECT_EQ(appended.W(), 1);
    EXPECT_EQ(appended.AsAddress()[1], 2); // X, Y, Z lie side by side
    EXPECT_EQ(appended.DisplayName(), "1.0000; 2.0000; 3.0000");
    const TGxNode& added = p.Nodes().Add();
    EXPECT_EQ(added.W(), 0);
    EXPECT_EQ(p.Nodes().Count(), 2);
}

TEST(GxNodes, IndexOutsideTheListIsTheListError)
{
    TGxPolygon p(nullptr);
    p.AppendNode(0, 0, 0);
    for (int index : {-1, 1, 7}) {
        try {
            p.Nodes().Items(index);
            ADD_FAILURE() << index;
        } catch (const EGxError& e) {
            EXPECT_STREQ(e.what(), ("List index out of bounds (" + std::to_string(index) + ")").c_str());
        }
    }
}

TEST(GxPolygon, EditingNodesMarksTheGeometryChangedOnceAndRedraws)
{
    TGxScene scene;
    CountingBuffer buffer;
    scene.AttachBuffer(&buffer);
    auto* p = scene.ObjectRoot()->SpawnChild<ProbePolygon>();
    p->AppendNode(0, 0, 0);
    p->AppendNode(1, 0, 0);
    p->MarkBuilt();
    buffer.changes = 0;

    p->Nodes().Items(1).SetZ(2);
    EXPECT_TRUE(p->GeometryChanged());
    EXPECT_GT(buffer.changes, 0);

    // Inside an update bracket the list stays silent until it closes.
    p->MarkBuilt();
    p->Nodes().BeginUpdate();
    p->Nodes().Items(0).SetX(5);
    p->Nodes().Items(1).SetX(6);
    EXPECT_FALSE(p->GeometryChanged());
    p->Nodes().EndUpdate();
    EXPECT_TRUE(p->GeometryChanged());

    // A colour change redraws but leaves the recorded geometry alone.
    p->MarkBuilt();
    buffer.changes = 0;
    p->Material().FrontProperties().Diffuse().SetRed(0.25f);
    EXPECT_FALSE(p->GeometryChanged());
    EXPECT_GT(buffer.changes, 0);
    scene.DetachBuffer(&buffer);
}

TEST(GxPolygon, PropertiesStoreChangesAndClampDivision)
{
    ProbePolygon p(nullptr);
    EXPECT_EQ(p.Division(), 10);
    EXPECT_EQ(p.SplineMode(), lsmLines);
    EXPECT_EQ(p.Parts(), (TPolygonParts{TPolygonPart::ppTop, TPolygonPart::ppBottom}));
    EXPECT_EQ(p.ClassName(), "TGxPolygon");
    for (int d : {0, -5}) {
        p.SetDivision(d);
        EXPECT_EQ(p.Division(), 1) << d;
    }
    p.MarkBuilt();
    p.SetDivision(1);
    EXPECT_FALSE(p.GeometryChanged()) << "the same value changes nothing";
    p.SetParts(TPolygonParts{TPolygonPart::ppTop});
    EXPECT_TRUE(p.GeometryChanged());

    TGxPolygon copy(nullptr);
    append(p, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    p.SetSplineMode(lsmCubicSpline);
    copy.Assign(p);
    EXPECT_EQ(copy.Nodes().Count(), 3);
    EXPECT_EQ(copy.Nodes().Items(2).Y(), 1);
    EXPECT_EQ(copy.Division(), 1);
    EXPECT_EQ(copy.SplineMode(), lsmCubicSpline);
    EXPECT_EQ(copy.Parts(), TPolygonParts{TPolygonPart::ppTop});
    copy.Nodes().Items(0).SetX(9);
    EXPECT_EQ(p.Nodes().Items(0).X(), 0) << "the copy has its own nodes";
}

TEST(GxNodes, OutlineNormalFollowsTheFirstCorner)
{
    struct Case {
        const char* what;
        std::vector<TGxAffineVector> nodes;
        TGxAffineVector normal;
    };
    const float x0 = 1, y0 = 2, x1 = 4, y1 = 6, h = 3; // a wall of length 5
    const Case cases[] = {
        {"square counter-clockwise", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 1}},
        {"square clockwise", {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {0, 0, -1}},
        {"wall", {{x0, y0, 0}, {x0, y0, h}, {x1, y1, h}, {x1, y1, 0}}, {-(y1 - y0) / 5, (x1 - x0) / 5, 0}},
        {"collinear start", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}}, {0, 0, 0}},
        {"coincident start", {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, {0, 0, 0}},
        {"two nodes", {{0, 0, 0}, {1, 0, 0}}, {0, 0, 0}},
        // Only the first corner counts: a concave start turns the normal round.
        {"concave first corner", {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        TGxPolygon p(nullptr);
        append(p, c.nodes);
        expectVector(p.Nodes().OutlineNormal(), c.normal, c.what);
    }
}

TEST(GxNodes, SplineOutlinePassesThroughEveryNode)
{
    TGxPolygon p(nullptr);
    append(p, {{0, 0, 0}, {4, 1, 0}, {5, 5, 2}, {1, 4, 1}});
    const std::vector<TGxAffineVector> points = p.Nodes().SplineOutline(10);
    ASSERT_EQ(points.size(), 31u);
    for (int i = 0; i < 4; ++i) {
        const TGxNode& n = p.Nodes().Items(i);
        expectVector(points[i * 10], n.AsAffineVector(), "node on the curve");
    }
    // Between the nodes the curve is not the straight chord.
    EXPECT_GT(std::fabs(points[5].X - 2.0f) + std::fabs(points[5].Y - 0.5f), 0.01f);
}

TEST(CubicSpline, NaturalSplineMatchesItsDefinition)
{
    // Values on a line stay on it, also past the ends.
    const TCubicSpline line({0, 2, 4, 6}, {1, 1, 1, 1}, {0, -1, -2, -3});
    for (float t : {-1.0f, 0.0f, 0.5f, 1.7f, 3.0f, 4.5f}) {
        EXPECT_NEAR(line.SplineX(t), 2 * t, 1e-5f) << t;
        EXPECT_NEAR(line.SplineY(t), 1, 1e-5f) << t;
        EXPECT_NEAR(line.SplineZ(t), -t, 1e-5f) << t;
    }
    // 0, 1, 0: slopes solve 2 D0 + D1 = 3, D0 + 4 D1 + D2 = 0, D1 + 2 D2 = -3,
    // so D = (1.5, 0, -1.5) and at t = 0.5: 0 + 0.75 + K2/4 + K3/8 with
    // K2 = 3 - 3 - 0 = 0, K3 = -2 + 1.5 + 0 = -0.5: 0.6875.
    const TCubicSpline hump({0, 1, 0}, {0, 0, 0}, {0, 0, 0});
    EXPECT_NEAR(hump.SplineX(0.5f), 0.6875f, 1e-6f);
    EXPECT_NEAR(hump.SplineX(1.5f), 0.6875f, 1e-6f);
    EXPECT_NEAR(hump.SplineX(1.0f), 1.0f, 1e-6f);
    const TCubicSpline empty({}, {}, {});
    EXPECT_EQ(empty.SplineX(1), 0);
}
