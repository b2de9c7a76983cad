#pragma once

#include "engine/objects/GxNodes.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxFlagSet.h"

enum TLineSplineMode { lsmLines, lsmCubicSpline, lsmBezierSpline, lsmNURBSCurve, lsmSegments };

// A scene object with a material whose shape is a closed outline of nodes.
// Editing the nodes marks the geometry changed, so the next render
// tessellates again.
class TGxPolygonBase : public TGxSceneObject {
public:
    explicit TGxPolygonBase(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxPolygonBase"; }

    TGxNodes& Nodes() { return m_nodes; }
    const TGxNodes& Nodes() const { return m_nodes; }
    // Copies the nodes into the object's own list.
    void SetNodes(const TGxNodes& nodes);
    // A node (x, y, z, 1) at the end.
    void AppendNode(float x, float y, float z);

    int Division() const { return m_division; }
    // Samples per outline segment in the spline modes; below 1 stores 1.
    void SetDivision(int division);
    TLineSplineMode SplineMode() const { return m_splineMode; }
    // Any mode but lsmLines samples a cubic spline through the nodes.
    void SetSplineMode(TLineSplineMode mode);

    void Assign(const TGxPolygonBase& source);

    // The node list tells its owner through here.
    void NotifyChange(IGxChangeListener* sender) override;

    // The box of the outline as drawn (the spline's samples in the spline
    // modes): the tessellated faces lie within it.
    bool GeometryBoundingBox(TGxAABB& box) const override;
    void GeometryDirty() override;

private:
    TGxNodes m_nodes;
    mutable TGxAABB m_bounds;
    mutable bool m_boundsKnown = false;
    int m_division = 10;
    TLineSplineMode m_splineMode = lsmLines;
};

enum class TPolygonPart { ppTop, ppBottom };
using TPolygonParts = TGxFlagSet<TPolygonPart>;

// A filled polygon, drawn by default as two coincident faces: the top with
// the outline's normal and the nodes in order, the bottom with the opposite
// normal and the nodes reversed. With back faces culled each side sees
// exactly one of them, whichever way the nodes run.
class TGxPolygon : public TGxPolygonBase {
public:
    explicit TGxPolygon(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxPolygon"; }

    TPolygonParts Parts() const { return m_parts; }
    void SetParts(TPolygonParts parts);

    void Assign(const TGxPolygon& source);
    void EmitGeometry(TRenderContextInfo& rci) override;
    // The drawing itself; the render context plays no part in it.
    void BuildGeometry() const;
    // A polygon without a normal of its own (its first three nodes on one
    // line) takes whatever normal is current, so it cannot be captured.
    bool CaptureTriangles(std::vector<float>& out) const override;
    bool TrailingNormal(TGxAffineVector& normal) const override;

private:
    // The top face's normal; false when the outline has none.
    bool faceNormal(TGxAffineVector& normal) const;
    int outlineSamples() const { return SplineMode() == lsmLines ? 1 : Division(); }

    TPolygonParts m_parts{TPolygonPart::ppTop, TPolygonPart::ppBottom};
};
