#include "engine/scene/VectorGeometry.h"

#include <cmath>

void TGxMatrix::SetRow(int i, const TGxVector& v)
{
    M[i][0] = v.X;
    M[i][1] = v.Y;
    M[i][2] = v.Z;
    M[i][3] = v.W;
}

TGxVector VectorMake(float x, float y, float z, float w)
{
    return {x, y, z, w};
}

TGxVector PointMake(float x, float y, float z)
{
    return {x, y, z, 1.0f};
}

TGxVector VectorMake(const TGxAffineVector& v, float w)
{
    return {v.X, v.Y, v.Z, w};
}

TGxVector VectorAdd(const TGxVector& a, const TGxVector& b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z, a.W + b.W};
}

TGxVector VectorSubtract(const TGxVector& a, const TGxVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z, a.W - b.W};
}

TGxVector VectorScale(const TGxVector& v, float factor)
{
    return {v.X * factor, v.Y * factor, v.Z * factor, v.W * factor};
}

TGxVector VectorCrossProduct(const TGxVector& a, const TGxVector& b)
{
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X, 0.0f};
}

TGxAffineVector VectorCrossProduct(const TGxAffineVector& a, const TGxAffineVector& b)
{
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

float VectorDotProduct(const TGxVector& a, const TGxVector& b)
{
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

float VectorNorm(const TGxVector& v)
{
    return v.X * v.X + v.Y * v.Y + v.Z * v.Z;
}

float VectorLength(const TGxVector& v)
{
    return std::sqrt(VectorNorm(v));
}

float VectorLength(const TGxAffineVector& v)
{
    return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
}

float VectorDistance(const TGxVector& a, const TGxVector& b)
{
    return VectorLength(VectorSubtract(a, b));
}

void NormalizeVector(TGxVector& v)
{
    const float length = VectorLength(v);
    if (length == 0.0f)
        return;
    const float inv = 1.0f / length;
    v.X *= inv;
    v.Y *= inv;
    v.Z *= inv;
}

TGxVector VectorNormalize(const TGxVector& v)
{
    TGxVector r = v;
    NormalizeVector(r);
    return r;
}

void NormalizeVector(TGxAffineVector& v)
{
    v = VectorNormalize(VectorMake(v)).Affine();
}

TGxMatrix IdentityMatrix()
{
    TGxMatrix m;
    for (int i = 0; i < 4; ++i)
        m.M[i][i] = 1.0f;
    return m;
}

TGxVector VectorTransform(const TGxVector& v, const TGxMatrix& m)
{
    TGxVector r;
    for (int c = 0; c < 4; ++c)
        r[c] = v.X * m.M[0][c] + v.Y * m.M[1][c] + v.Z * m.M[2][c] + v.W * m.M[3][c];
    return r;
}

TGxMatrix MatrixMultiply(const TGxMatrix& a, const TGxMatrix& b)
{
    TGxMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.M[i][j] = a.M[i][0] * b.M[0][j] + a.M[i][1] * b.M[1][j] + a.M[i][2] * b.M[2][j]
                + a.M[i][3] * b.M[3][j];
    return r;
}

TGxMatrix TransposeMatrix(const TGxMatrix& m)
{
    TGxMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.M[i][j] = m.M[j][i];
    return r;
}

namespace {

// The minor of element (row, col): determinant of the 3 x 3 matrix left when
// that row and column are struck out.
float minor(const TGxMatrix& m, int row, int col)
{
    float s[9];
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == row)
            continue;
        for (int j = 0; j < 4; ++j) {
            if (j == col)
                continue;
            s[k++] = m.M[i][j];
        }
    }
    return s[0] * (s[4] * s[8] - s[5] * s[7]) - s[1] * (s[3] * s[8] - s[5] * s[6])
        + s[2] * (s[3] * s[7] - s[4] * s[6]);
}

} // namespace

float MatrixDeterminant(const TGxMatrix& m)
{
    float det = 0.0f;
    for (int j = 0; j < 4; ++j) {
        const float cofactor = ((j & 1) ? -1.0f : 1.0f) * minor(m, 0, j);
        det += m.M[0][j] * cofactor;
    }
    return det;
}

TGxMatrix InvertMatrix(const TGxMatrix& m)
{
    const float det = MatrixDeterminant(m);
    if (std::fabs(det) < 1e-40f)
        return IdentityMatrix();
    // Inverse = adjugate / det; the adjugate is the transposed cofactor matrix.
    TGxMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.M[j][i] = (((i + j) & 1) ? -1.0f : 1.0f) * minor(m, i, j) / det;
    return r;
}

TGxMatrix AnglePreservingInvertMatrix(const TGxMatrix& m)
{
    const float scale2 = m.M[0][0] * m.M[0][0] + m.M[0][1] * m.M[0][1] + m.M[0][2] * m.M[0][2];
    if (scale2 < 1e-40f)
        return IdentityMatrix();
    const float inv = 1.0f / scale2;
    TGxMatrix r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.M[i][j] = m.M[j][i] * inv;
    for (int j = 0; j < 3; ++j)
        r.M[3][j] = -(m.M[3][0] * r.M[0][j] + m.M[3][1] * r.M[1][j] + m.M[3][2] * r.M[2][j]);
    r.M[3][3] = 1.0f;
    return r;
}

TGxMatrix AxisRotationMatrix(const TGxVector& axis, float angle)
{
    const TGxVector a = VectorNormalize(axis);
    const float x = a.X, y = a.Y, z = a.Z;
    const float k = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - k;
    TGxMatrix r;
    r.M[0][0] = t * x * x + k;
    r.M[0][1] = t * x * y - z * s;
    r.M[0][2] = t * z * x + y * s;
    r.M[1][0] = t * x * y + z * s;
    r.M[1][1] = t * y * y + k;
    r.M[1][2] = t * y * z - x * s;
    r.M[2][0] = t * z * x - y * s;
    r.M[2][1] = t * y * z + x * s;
    r.M[2][2] = t * z * z + k;
    r.M[3][3] = 1.0f;
    return r;
}

void RotateAboutAxis(TGxVector& v, const TGxVector& axis, float angle)
{
    v = VectorTransform(v, AxisRotationMatrix(axis, angle));
}

float DegToRad(float degrees)
{
    return degrees * (cPI / 180.0f);
}

float RadToDeg(float radians)
{
    return radians * (180.0f / cPI);
}

float NormalizeDegAngle(float angle)
{
    float r = angle - std::trunc(angle / 360.0f) * 360.0f;
    if (r > 180.0f)
        r -= 360.0f;
    else if (r < -180.0f)
        r += 360.0f;
    return r;
}
