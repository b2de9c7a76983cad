#include "engine/scene/GxFrustum.h"

#include <algorithm>
#include <cmath>

void TGxAABB::Include(const TGxAffineVector& p)
{
    if (Empty()) {
        Min = Max = p;
        return;
    }
    Min = {std::min(Min.X, p.X), std::min(Min.Y, p.Y), std::min(Min.Z, p.Z)};
    Max = {std::max(Max.X, p.X), std::max(Max.Y, p.Y), std::max(Max.Z, p.Z)};
}

void TGxAABB::Include(const TGxAABB& box)
{
    if (box.Empty())
        return;
    Include(box.Min);
    Include(box.Max);
}

TGxAABB MakeAABB(const TGxAffineVector& min, const TGxAffineVector& max)
{
    TGxAABB box;
    box.Min = min;
    box.Max = max;
    return box;
}

TGxAABB TransformAABB(const TGxAABB& box, const TGxMatrix& m)
{
    if (box.Empty())
        return box;
    // Centre and half extents: the extents of the rotated box are the
    // absolute values of the axes weighted by the half sizes.
    const float c[3] = {(box.Min.X + box.Max.X) * 0.5f, (box.Min.Y + box.Max.Y) * 0.5f,
                        (box.Min.Z + box.Max.Z) * 0.5f};
    const float h[3] = {(box.Max.X - box.Min.X) * 0.5f, (box.Max.Y - box.Min.Y) * 0.5f,
                        (box.Max.Z - box.Min.Z) * 0.5f};
    float centre[3], extent[3];
    for (int j = 0; j < 3; ++j) {
        centre[j] = c[0] * m.M[0][j] + c[1] * m.M[1][j] + c[2] * m.M[2][j] + m.M[3][j];
        extent[j] = h[0] * std::fabs(m.M[0][j]) + h[1] * std::fabs(m.M[1][j]) + h[2] * std::fabs(m.M[2][j]);
    }
    return MakeAABB({centre[0] - extent[0], centre[1] - extent[1], centre[2] - extent[2]},
                    {centre[0] + extent[0], centre[1] + extent[1], centre[2] + extent[2]});
}

TGxFrustum ExtractFrustum(const TGxMatrix& m)
{
    // Clip coordinates are p x m; column j of m gives clip component j.
    const auto column = [&m](int j) { return VectorMake(m.M[0][j], m.M[1][j], m.M[2][j], m.M[3][j]); };
    const TGxVector x = column(0), y = column(1), z = column(2), w = column(3);
    TGxFrustum f;
    f.Planes[0] = VectorAdd(w, x);
    f.Planes[1] = VectorSubtract(w, x);
    f.Planes[2] = VectorAdd(w, y);
    f.Planes[3] = VectorSubtract(w, y);
    f.Planes[4] = VectorAdd(w, z);
    f.Planes[5] = VectorSubtract(w, z);
    for (TGxVector& p : f.Planes) {
        const float length = std::sqrt(p.X * p.X + p.Y * p.Y + p.Z * p.Z);
        if (length > 0.0f)
            p = VectorScale(p, 1.0f / length);
    }
    return f;
}

namespace {
float planeDistance(const TGxVector& plane, float x, float y, float z)
{
    return plane.X * x + plane.Y * y + plane.Z * z + plane.W;
}
} // namespace

bool IsSphereOutsideFrustum(const TGxFrustum& frustum, const TGxAffineVector& centre, float radius)
{
    for (const TGxVector& plane : frustum.Planes)
        if (planeDistance(plane, centre.X, centre.Y, centre.Z) < -radius)
            return true;
    return false;
}

bool IsBoxOutsideFrustum(const TGxFrustum& frustum, const TGxAABB& box)
{
    if (box.Empty())
        return true;
    for (const TGxVector& plane : frustum.Planes) {
        // The corner farthest along the plane's normal.
        const float x = plane.X >= 0.0f ? box.Max.X : box.Min.X;
        const float y = plane.Y >= 0.0f ? box.Max.Y : box.Min.Y;
        const float z = plane.Z >= 0.0f ? box.Max.Z : box.Min.Z;
        if (planeDistance(plane, x, y, z) < 0.0f)
            return true;
    }
    return false;
}
