#pragma once

// Single-precision vectors and 4 x 4 matrices of the engine.
//
// Matrices are row-major and act on row vectors: a point p maps to p x M.
// Rows 0, 1 and 2 are the transformed X, Y and Z axes, row 3 the
// translation. Laid out this way a matrix has exactly the memory layout
// OpenGL expects from glLoadMatrixf / glMultMatrixf.

#include <type_traits>

struct TGxAffineVector {
    float X = 0.0f, Y = 0.0f, Z = 0.0f;

    const float* data() const { return &X; }
    float* data() { return &X; }
    friend bool operator==(const TGxAffineVector&, const TGxAffineVector&) = default;
};

// A point has W = 1, a direction W = 0.
struct TGxVector {
    float X = 0.0f, Y = 0.0f, Z = 0.0f, W = 0.0f;

    const float* data() const { return &X; }
    float* data() { return &X; }
    float operator[](int i) const { return data()[i]; }
    float& operator[](int i) { return data()[i]; }
    TGxAffineVector Affine() const { return {X, Y, Z}; }
    friend bool operator==(const TGxVector&, const TGxVector&) = default;
};

struct TGxMatrix {
    float M[4][4] = {};

    const float* data() const { return &M[0][0]; }
    float* data() { return &M[0][0]; }
    TGxVector Row(int i) const { return {M[i][0], M[i][1], M[i][2], M[i][3]}; }
    void SetRow(int i, const TGxVector& v);
    friend bool operator==(const TGxMatrix&, const TGxMatrix&) = default;
};

static_assert(sizeof(TGxAffineVector) == 3 * sizeof(float) && std::is_standard_layout_v<TGxAffineVector>);
static_assert(sizeof(TGxVector) == 4 * sizeof(float) && std::is_standard_layout_v<TGxVector>);
static_assert(sizeof(TGxMatrix) == 16 * sizeof(float));

inline constexpr float cPI = 3.14159265358979323846f;

TGxVector VectorMake(float x, float y, float z, float w = 0.0f);
TGxVector PointMake(float x, float y, float z);
TGxVector VectorMake(const TGxAffineVector& v, float w = 0.0f);

// Four components.
TGxVector VectorAdd(const TGxVector& a, const TGxVector& b);
TGxVector VectorSubtract(const TGxVector& a, const TGxVector& b);
TGxVector VectorScale(const TGxVector& v, float factor);
// X, Y and Z only; W of the result is 0.
TGxVector VectorCrossProduct(const TGxVector& a, const TGxVector& b);
TGxAffineVector VectorCrossProduct(const TGxAffineVector& a, const TGxAffineVector& b);
float VectorDotProduct(const TGxVector& a, const TGxVector& b);
float VectorLength(const TGxVector& v);
float VectorLength(const TGxAffineVector& v);
float VectorNorm(const TGxVector& v); // squared length of X, Y, Z
float VectorDistance(const TGxVector& a, const TGxVector& b);
// Scales X, Y, Z to unit length and leaves W alone. A zero vector stays zero
// instead of turning into NaNs.
void NormalizeVector(TGxVector& v);
TGxVector VectorNormalize(const TGxVector& v);
void NormalizeVector(TGxAffineVector& v);

TGxMatrix IdentityMatrix();
// All four components, W included.
TGxVector VectorTransform(const TGxVector& v, const TGxMatrix& m);
// A x B, row by column.
TGxMatrix MatrixMultiply(const TGxMatrix& a, const TGxMatrix& b);
TGxMatrix TransposeMatrix(const TGxMatrix& m);
float MatrixDeterminant(const TGxMatrix& m);
// Adjugate over determinant; the identity when |determinant| < 1e-40.
TGxMatrix InvertMatrix(const TGxMatrix& m);
// Inverse of a matrix whose 3 x 3 part is a rotation times a uniform scale:
// the 3 x 3 part transposed and divided by the squared length of row 0,
// translation -(row 3 x that 3 x 3). The identity when that squared length
// is below 1e-40.
TGxMatrix AnglePreservingInvertMatrix(const TGxMatrix& m);

// Rotation about a normalized copy of the axis. With row vectors a positive
// angle turns clockwise seen from the tip of the axis.
TGxMatrix AxisRotationMatrix(const TGxVector& axis, float angle);
// v := v x AxisRotationMatrix(axis, angle), all four components.
void RotateAboutAxis(TGxVector& v, const TGxVector& axis, float angle);

float DegToRad(float degrees);
float RadToDeg(float radians);
// Into [-180, 180]: a - trunc(a / 360) * 360, then -360 above 180, +360 below -180.
float NormalizeDegAngle(float angle);
