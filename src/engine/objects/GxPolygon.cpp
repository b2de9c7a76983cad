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

void TGxPolygon::BuildGeometry() const
{
    const TGxNodes& nodes = Nodes();
    if (nodes.Count() < 2)
        return;
    TGxAffineVector normal = nodes.OutlineNormal();
    const bool hasNormal = !(normal.X == 0.0f && normal.Y == 0.0f && normal.Z == 0.0f)
                           && !std::isnan(normal.X) && !std::isnan(normal.Y) && !std::isnan(normal.Z);
    const int samples = SplineMode() == lsmLines ? 1 : Division();
    if (m_parts.Contains(TPolygonPart::ppTop))
        nodes.DrawFilledOutline(true, hasNormal ? &normal : nullptr, samples, false);
    if (m_parts.Contains(TPolygonPart::ppBottom)) {
        normal = {-normal.X, -normal.Y, -normal.Z};
        nodes.DrawFilledOutline(true, hasNormal ? &normal : nullptr, samples, true);
    }
}
