#include "engine/objects/GxPolygon.h"

#include "engine/materials/GxMaterial.h"

#include <cmath>

// ---------------------------------------------------------------- TGxPolygonBase

TGxPolygonBase::TGxPolygonBase(TGxComponent* owner) : TGxSceneObject(owner), m_nodes(this) {}

void TGxPolygonBase::SetNodes(const TGxNodes& nodes)
{
    m_nodes.Assign(nodes);
    GeometryDirty();
}

void TGxPolygonBase::AppendNode(float x, float y, float z)
{
    // One notification for the new node and its coordinates.
    m_nodes.BeginUpdate();
    m_nodes.Add().SetVector(x, y, z, 1.0f);
    m_nodes.EndUpdate();
    GeometryDirty();
}

void TGxPolygonBase::SetDivision(int division)
{
    if (division < 1)
        division = 1;
    if (division == m_division)
        return;
    m_division = division;
    GeometryDirty();
}

void TGxPolygonBase::SetSplineMode(TLineSplineMode mode)
{
    if (mode == m_splineMode)
        return;
    m_splineMode = mode;
    GeometryDirty();
}

void TGxPolygonBase::Assign(const TGxPolygonBase& source)
{
    m_nodes.Assign(source.m_nodes);
    m_division = source.m_division;
    m_splineMode = source.m_splineMode;
    SetMaterial(source.Material());
    GeometryDirty();
}

void TGxPolygonBase::NotifyChange(IGxChangeListener* sender)
{
    if (sender == &m_nodes)
        GeometryDirty();
    TGxSceneObject::NotifyChange(sender);
}

bool TGxPolygonBase::GeometryBoundingBox(TGxAABB& box) const
{
    if (!m_boundsKnown) {
        m_bounds = TGxAABB{};
        if (m_splineMode == lsmLines || m_nodes.Count() < 2) {
            for (int i = 0; i < m_nodes.Count(); ++i)
                m_bounds.Include(m_nodes.Items(i).AsAffineVector());
        } else {
            for (const TGxAffineVector& p : m_nodes.SplineOutline(m_division))
                m_bounds.Include(p);
        }
        m_boundsKnown = true;
    }
    box = m_bounds;
    return true;
}

void TGxPolygonBase::GeometryDirty()
{
    m_boundsKnown = false;
    TGxSceneObject::GeometryDirty();
}

// ---------------------------------------------------------------- TGxPolygon

TGxPolygon::TGxPolygon(TGxComponent* owner) : TGxPolygonBase(owner) {}

void TGxPolygon::SetParts(TPolygonParts parts)
{
    if (parts == m_parts)
        return;
    m_parts = parts;
    GeometryDirty();
}

void TGxPolygon::Assign(const TGxPolygon& source)
{
    m_parts = source.m_parts;
    TGxPolygonBase::Assign(source);
}

void TGxPolygon::EmitGeometry(TRenderContextInfo&)
{
    BuildGeometry();
}

bool TGxPolygon::faceNormal(TGxAffineVector& normal) const
{
    normal = Nodes().OutlineNormal();
    return !(normal.X == 0.0f && normal.Y == 0.0f && normal.Z == 0.0f) && !std::isnan(normal.X)
           && !std::isnan(normal.Y) && !std::isnan(normal.Z);
}

void TGxPolygon::BuildGeometry() const
{
    const TGxNodes& nodes = Nodes();
    if (nodes.Count() < 2)
        return;
    TGxAffineVector normal;
    const bool hasNormal = faceNormal(normal);
    const int samples = outlineSamples();
    if (m_parts.Contains(TPolygonPart::ppTop))
        nodes.DrawFilledOutline(true, hasNormal ? &normal : nullptr, samples, false);
    if (m_parts.Contains(TPolygonPart::ppBottom)) {
        normal = {-normal.X, -normal.Y, -normal.Z};
        nodes.DrawFilledOutline(true, hasNormal ? &normal : nullptr, samples, true);
    }
}

bool TGxPolygon::CaptureTriangles(std::vector<float>& out) const
{
    const TGxNodes& nodes = Nodes();
    if (nodes.Count() < 3)
        return true; // nothing is drawn
    TGxAffineVector normal;
    if (!faceNormal(normal))
        return false;
    if (m_parts.Contains(TPolygonPart::ppTop))
        nodes.FilledOutlineTriangles(out, normal, outlineSamples(), false);
    if (m_parts.Contains(TPolygonPart::ppBottom))
        nodes.FilledOutlineTriangles(out, {-normal.X, -normal.Y, -normal.Z}, outlineSamples(), true);
    return true;
}

bool TGxPolygon::TrailingNormal(TGxAffineVector& normal) const
{
    const TGxNodes& nodes = Nodes();
    if (nodes.Count() < 3 || m_parts.Empty() || !faceNormal(normal))
        return false;
    // An outline with a point that is not finite is not drawn at all.
    if (SplineMode() == lsmLines) {
        for (int i = 0; i < nodes.Count(); ++i) {
            const TGxNode& n = nodes.Items(i);
            if (!std::isfinite(n.X()) || !std::isfinite(n.Y()) || !std::isfinite(n.Z()))
                return false;
        }
    } else {
        for (const TGxAffineVector& p : nodes.SplineOutline(outlineSamples()))
            if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z))
                return false;
    }
    if (m_parts.Contains(TPolygonPart::ppBottom))
        normal = {-normal.X, -normal.Y, -normal.Z};
    return true;
}
