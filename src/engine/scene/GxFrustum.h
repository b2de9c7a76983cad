#pragma once

#include "engine/scene/VectorGeometry.h"

// An axis-aligned box; empty (Min above Max) until something is included.
struct TGxAABB {
    TGxAffineVector Min{1.0f, 1.0f, 1.0f};
    TGxAffineVector Max{-1.0f, -1.0f, -1.0f};

    bool Empty() const { return Min.X > Max.X || Min.Y > Max.Y || Min.Z > Max.Z; }
    void Include(const TGxAffineVector& p);
    void Include(const TGxAABB& box);
};

TGxAABB MakeAABB(const TGxAffineVector& min, const TGxAffineVector& max);
// The box around the eight corners of `box` mapped through `m` (row vectors).
TGxAABB TransformAABB(const TGxAABB& box, const TGxMatrix& m);

// The six planes of a view volume, normals pointing inwards: a point p lies
// inside a plane when X*p.x + Y*p.y + Z*p.z + W >= 0. Order: left, right,
// bottom, top, near, far.
struct TGxFrustum {
    TGxVector Planes[6];
};

// The planes of `modelViewProjection` (model-view x projection, row vectors,
// OpenGL's memory layout) in the coordinates that matrix starts from.
TGxFrustum ExtractFrustum(const TGxMatrix& modelViewProjection);
// True when the sphere lies wholly outside one of the planes.
bool IsSphereOutsideFrustum(const TGxFrustum& frustum, const TGxAffineVector& centre, float radius);
// True when the whole box lies outside one of the planes. Conservative: a box
// near a corner of the volume may count as inside although it misses it.
bool IsBoxOutsideFrustum(const TGxFrustum& frustum, const TGxAABB& box);
