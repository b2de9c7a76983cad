#include "engine/scene/GxFrustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// glFrustum's matrix in the engine's layout (row vectors).
TGxMatrix frustumMatrix(float l, float r, float b, float t, float n, float f)
{
    TGxMatrix m{};
    m.M[0][0] = 2 * n / (r - l);
    m.M[1][1] = 2 * n / (t - b);
    m.M[2][0] = (r + l) / (r - l);
    m.M[2][1] = (t + b) / (t - b);
    m.M[2][2] = -(f + n) / (f - n);
    m.M[2][3] = -1;
    m.M[3][2] = -2 * f * n / (f - n);
    return m;
}

TGxMatrix translation(float x, float y, float z)
{
    TGxMatrix m = IdentityMatrix();
    m.SetRow(3, VectorMake(x, y, z, 1));
    return m;
}

} // namespace

TEST(Frustum, SpheresAndBoxesAgainstAViewFromTheOrigin)
{
    // Eye at the origin looking down -Z, 90 degrees across, depth 1..100.
    const TGxFrustum f = ExtractFrustum(frustumMatrix(-1, 1, -1, 1, 1, 100));
    struct Case {
        TGxAffineVector centre;
        float radius;
        bool outside;
    };
    const Case cases[] = {
        {{0, 0, -50}, 1, false},    // straight ahead
        {{0, 0, 5}, 1, true},       // behind the eye
        {{0, 0, -200}, 1, true},    // beyond the far plane
        {{0, 0, -101}, 2, false},   // reaches back across the far plane
        {{20, 0, -10}, 1, true},    // off to the right
        {{10.5f, 0, -10}, 1, false} // touching the right plane
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSphereOutsideFrustum(f, c.centre, c.radius), c.outside)
            << c.centre.X << " " << c.centre.Y << " " << c.centre.Z;
        const TGxAffineVector r{c.radius, c.radius, c.radius};
        const TGxAABB box = MakeAABB({c.centre.X - r.X, c.centre.Y - r.Y, c.centre.Z - r.Z},
                                     {c.centre.X + r.X, c.centre.Y + r.Y, c.centre.Z + r.Z});
        EXPECT_EQ(IsBoxOutsideFrustum(f, box), c.outside) << c.centre.X << " " << c.centre.Y << " " << c.centre.Z;
    }
    EXPECT_TRUE(IsBoxOutsideFrustum(f, TGxAABB{}));
}

TEST(Frustum, PlanesFollowTheModelViewMatrix)
{
    // The same view from an eye moved to (100, 0, 0): the model-view matrix
    // moves the world by -100 along X.
    const TGxFrustum f = ExtractFrustum(MatrixMultiply(translation(-100, 0, 0), frustumMatrix(-1, 1, -1, 1, 1, 100)));
    EXPECT_FALSE(IsSphereOutsideFrustum(f, {100, 0, -50}, 1));
    EXPECT_TRUE(IsSphereOutsideFrustum(f, {0, 0, -50}, 1));
}

TEST(Frustum, TransformedBoxHoldsEveryTransformedCorner)
{
    const TGxAABB box = MakeAABB({-1, -2, 0}, {3, 2, 1});
    TGxMatrix m = AxisRotationMatrix(VectorMake(0, 0, 1), 0.5f);
    m.SetRow(3, VectorMake(5, -4, 2, 1));
    const TGxAABB out = TransformAABB(box, m);
    for (int i = 0; i < 8; ++i) {
        const TGxVector corner = VectorMake(i & 1 ? box.Max.X : box.Min.X, i & 2 ? box.Max.Y : box.Min.Y,
                                            i & 4 ? box.Max.Z : box.Min.Z, 1);
        const TGxVector p = VectorTransform(corner, m);
        EXPECT_GE(p.X, out.Min.X - 1e-5f);
        EXPECT_LE(p.X, out.Max.X + 1e-5f);
        EXPECT_GE(p.Y, out.Min.Y - 1e-5f);
        EXPECT_LE(p.Y, out.Max.Y + 1e-5f);
        EXPECT_GE(p.Z, out.Min.Z - 1e-5f);
        EXPECT_LE(p.Z, out.Max.Z + 1e-5f);
    }
    // Tight: a rotation about Z leaves the Z extent alone.
    EXPECT_NEAR(out.Min.Z, 2, 1e-5f);
    EXPECT_NEAR(out.Max.Z, 3, 1e-5f);
    EXPECT_TRUE(TransformAABB(TGxAABB{}, m).Empty());
}
