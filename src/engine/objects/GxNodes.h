#pragma once

#include "engine/scene/GxUpdateAble.h"
#include "engine/scene/VectorGeometry.h"

#include <optional>
#include <string>
#include <vector>

class TGxNodes;

// One outline point. X, Y and Z lie next to each other so that the address
// of X is a three-float vertex for the tessellator (position, and through
// its first two floats the texture coordinate).
class TGxNode {
public:
    float X() const { return m_coords[0]; }
    float Y() const { return m_coords[1]; }
    float Z() const { return m_coords[2]; }
    // 0 for a node made by Add, 1 for one made by AppendNode; never drawn.
    float W() const { return m_coords[3]; }
    void SetX(float x) { setComponent(0, x); }
    void SetY(float y) { setComponent(1, y); }
    void SetZ(float z) { setComponent(2, z); }
    void SetVector(float x, float y, float z, float w);

    const float* AsAddress() const { return m_coords; }
    TGxAffineVector AsAffineVector() const { return {m_coords[0], m_coords[1], m_coords[2]}; }
    // "%.4f; %.4f; %.4f"
    std::string DisplayName() const;

    // Copies X, Y, Z and W; the node stays in its own list.
    void Assign(const TGxNode& source);

private:
    friend class TGxNodes;
    explicit TGxNode(TGxNodes* list) : m_list(list) {}
    void setComponent(int i, float v);

    float m_coords[4] = {0, 0, 0, 0};
    TGxNodes* m_list;
};

// The outline of a polygon: nodes in insertion order, owned. Every change
// (a node added, removed or moved) tells the owner, unless an update
// bracket is open; closing the bracket tells it once.
class TGxNodes : public TGxUpdateAbleObject {
public:
    explicit TGxNodes(IGxChangeListener* owner) : TGxUpdateAbleObject(owner) {}
    TGxNodes(const TGxNodes&) = delete;
    TGxNodes& operator=(const TGxNodes&) = delete;

    // A new node (0, 0, 0, 0) at the end.
    TGxNode& Add();
    // Room for `count` nodes in all, made at once.
    void Reserve(int count) { m_items.reserve(std::size_t(count > 0 ? count : 0)); }
    int Count() const { return static_cast<int>(m_items.size()); }
    // An index outside 0 .. Count() - 1 raises "List index out of bounds (%d)".
    TGxNode& Items(int i);
    const TGxNode& Items(int i) const;
    void Delete(int i);
    void Clear();
    // Replaces the contents with copies of the other list's nodes.
    void Assign(const TGxNodes& source);

    // The unit normal of the first three nodes, (P1 - P0) x (P2 - P0);
    // (0, 0, 0) with fewer than three nodes, and a zero-length cross product
    // is returned unscaled (0, 0, 0).
    TGxAffineVector OutlineNormal() const;

    // The points of a cubic spline through the nodes, segmentSamples per
    // segment: segmentSamples x (Count - 1) + 1 points, the last on the last node.
    std::vector<TGxAffineVector> SplineOutline(int segmentSamples) const;

    // Fills the outline with the GLU tessellator (odd winding) and emits
    // plain triangles. With a normal, it is issued once for all vertices and
    // tells the tessellator the plane; without, the current normal stays.
    // segmentSamples > 1 samples a cubic spline through the nodes instead.
    // `reversed` runs the outline from the last node to the first.
    void DrawFilledOutline(bool emitTexCoords, const TGxAffineVector* normal = nullptr,
                           int segmentSamples = 1, bool reversed = false) const;
    // The same triangles appended to `out` as vertices (x, y, z, and the
    // normal nx, ny, nz), for drawing from a vertex buffer.
    void FilledOutlineTriangles(std::vector<float>& out, const TGxAffineVector& normal, int segmentSamples = 1,
                                bool reversed = false) const;

private:
    friend class TGxNode;
    void changed() { NotifyChange(this); }
    struct OutlineTarget;
    void tessellate(const OutlineTarget& target, int segmentSamples, bool reversed) const;

    // Nodes by value: a node is 24 bytes and a town holds hundreds of
    // thousands. No pointer to a node may be kept across a change of the list.
    std::vector<TGxNode> m_items;
};
