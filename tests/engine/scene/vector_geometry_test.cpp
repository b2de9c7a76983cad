#include "engine/scene/VectorGeometry.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TGxMatrix translation(float x, float y, float z)
{
    TGxMatrix m = IdentityMatrix();
    m.SetRow(3, VectorMake(x, y, z, 1));
    return m;
}

// A matrix with rotation, non-uniform scale and translation.
TGxMatrix generalAffine()
{
    TGxMatrix m = MatrixMultiply(AxisRotationMatrix(VectorMake(1, 2, 3), 0.7f),
                                 AxisRotationMatrix(VectorMake(-2, 0.5f, 1), -1.3f));
    const float scale[3] = {2.0f, 0.5f, 3.0f};
    for (int r = 0; r < 3; ++r)
        m.SetRow(r, VectorScale(m.Row(r), scale[r]));
    m.SetRow(3, VectorMake(4, -5, 6, 1));
    return m;
}

} // namespace

TEST(VectorGeometry, AxisRotationTurnsClockwiseSeenFromTheAxisTip)
{
    struct Case {
        TGxVector axis;
        float degrees;
        TGxVector v;
        TGxVector expected;
    };
    const float c30 = std::cos(DegToRad(30)), s30 = std::sin(DegToRad(30));
    const Case cases[] = {
        {VectorMake(0, 0, 1), 30, VectorMake(1, 0, 0), VectorMake(c30, -s30, 0)},
        {VectorMake(0, 0, 5), 30, VectorMake(1, 0, 0), VectorMake(c30, -s30, 0)}, // axis normalized
        {VectorMake(1, 0, 0), 90, VectorMake(0, 1, 0), VectorMake(0, 0, -1)},
        {VectorMake(0, 1, 0), 90, VectorMake(0, 0, 1), VectorMake(-1, 0, 0)},
        {VectorMake(0, 0, 1), -90, VectorMake(1, 0, 0), VectorMake(0, 1, 0)},
        // W takes part in the product: row 3 of a rotation is (0, 0, 0, 1).
        {VectorMake(0, 0, 1), 90, PointMake(2, 0, 7), PointMake(0, -2, 7)},
        // The axis itself stays put.
        {VectorMake(1, 1, 1), 77, VectorMake(2, 2, 2), VectorMake(2, 2, 2)},
    };
    for (const Case& c : cases) {
        TGxVector v = c.v;
        RotateAboutAxis(v, c.axis, DegToRad(c.degrees));
        EXPECT_TRUE(VectorNear(v, c.expected)) << "axis " << FormatVector(c.axis) << " by " << c.degrees;
    }
}

TEST(VectorGeometry, AxisRotationMatrixFollowsTheFormulaTerms)
{
    // Off-diagonal terms checked on an oblique axis, where every term of
    // the formula contributes and a sign slip shows.
    const TGxVector axis = VectorNormalize(VectorMake(1, 2, 2));
    const float x = axis.X, y = axis.Y, z = axis.Z, a = 0.4f;
    const float k = std::cos(a), s = std::sin(a), t = 1 - k;
    const TGxMatrix m = AxisRotationMatrix(VectorMake(1, 2, 2), a);
    TGxMatrix expected;
    expected.SetRow(0, VectorMake(t * x * x + k, t * x * y - z * s, t * z * x + y * s, 0));
    expected.SetRow(1, VectorMake(t * x * y + z * s, t * y * y + k, t * y * z - x * s, 0));
    expected.SetRow(2, VectorMake(t * z * x - y * s, t * y * z + x * s, t * z * z + k, 0));
    expected.SetRow(3, VectorMake(0, 0, 0, 1));
    EXPECT_TRUE(MatrixNear(m, expected, 1e-6f));
    EXPECT_TRUE(MatrixNear(MatrixMultiply(m, TransposeMatrix(m)), IdentityMatrix()));
}

TEST(VectorGeometry, ProductsUseRowVectors)
{
    // p x (T x R): translate first, then rotate.
    const TGxMatrix t = translation(1, 0, 0);
    const TGxMatrix r = AxisRotationMatrix(VectorMake(0, 0, 1), DegToRad(90));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(0, 0, 0), MatrixMultiply(t, r)), PointMake(0, -1, 0)));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(0, 0, 0), MatrixMultiply(r, t)), PointMake(1, 0, 0)));
    // A direction (W = 0) is not translated.
    EXPECT_TRUE(VectorNear(VectorTransform(VectorMake(0, 1, 0), t), VectorMake(0, 1, 0)));
}

TEST(VectorGeometry, CrossLengthAndNormalizeUseXYZOnly)
{
    const TGxVector c = VectorCrossProduct(VectorMake(1, 0, 0, 5), VectorMake(0, 1, 0, 7));
    EXPECT_EQ(c, VectorMake(0, 0, 1, 0));
    EXPECT_FLOAT_EQ(VectorLength(VectorMake(3, 4, 0, 100)), 5.0f);
    EXPECT_FLOAT_EQ(VectorDotProduct(VectorMake(1, 2, 3, 9), VectorMake(4, 5, 6, 9)), 32.0f);

    TGxVector p = PointMake(0, 3, 4);
    NormalizeVector(p);
    EXPECT_TRUE(VectorNear(p, VectorMake(0, 0.6f, 0.8f, 1)));

    TGxVector zero = VectorMake(0, 0, 0, 1);
    NormalizeVector(zero);
    EXPECT_EQ(zero, VectorMake(0, 0, 0, 1)); // no NaNs from a zero vector
}

TEST(VectorGeometry, NormalizeDegAngle)
{
    const std::pair<float, float> cases[] = {
        {0, 0},       {180, 180},  {-180, -180}, {190, -170}, {-190, 170}, {360, 0},
        {540, 180},   {-540, -180}, {720.5f, 0.5f}, {-725, -5}, {90, 90},
    };
    for (const auto& [in, out] : cases)
        EXPECT_NEAR(NormalizeDegAngle(in), out, 1e-4f) << in;
}

TEST(VectorGeometry, InvertMatrixInvertsAndFallsBackToIdentity)
{
    const TGxMatrix m = generalAffine();
    EXPECT_TRUE(MatrixNear(MatrixMultiply(m, InvertMatrix(m)), IdentityMatrix(), 1e-5f));
    EXPECT_TRUE(MatrixNear(MatrixMultiply(InvertMatrix(m), m), IdentityMatrix(), 1e-5f));

    TGxMatrix singular = m;
    singular.SetRow(2, VectorMake(0, 0, 0, 0));
    EXPECT_EQ(InvertMatrix(singular), IdentityMatrix());

    // The cut-off is |det| < 1e-40, not "close to zero" in a looser sense.
    TGxMatrix tiny = IdentityMatrix();
    for (int i = 0; i < 3; ++i)
        tiny.M[i][i] = 1e-14f; // det 1e-42
    EXPECT_EQ(InvertMatrix(tiny), IdentityMatrix());
    TGxMatrix small = IdentityMatrix();
    for (int i = 0; i < 3; ++i)
        small.M[i][i] = 1e-13f; // det 1e-39
    EXPECT_NEAR(InvertMatrix(small).M[0][0], 1e13f, 1e9f);
}

TEST(VectorGeometry, AnglePreservingInvertHandlesUniformScale)
{
    TGxMatrix m = AxisRotationMatrix(VectorMake(1, -1, 2), 1.1f);
    for (int r = 0; r < 3; ++r)
        m.SetRow(r, VectorScale(m.Row(r), 2.5f));
    m.SetRow(3, VectorMake(3, 2, -1, 1));
    EXPECT_TRUE(MatrixNear(MatrixMultiply(m, AnglePreservingInvertMatrix(m)), IdentityMatrix(), 1e-5f));

    TGxMatrix degenerate = IdentityMatrix();
    degenerate.SetRow(0, VectorMake(1e-21f, 0, 0, 0)); // squared length 1e-42
    degenerate.SetRow(3, VectorMake(5, 5, 5, 1));
    EXPECT_EQ(AnglePreservingInvertMatrix(degenerate), IdentityMatrix());
}
