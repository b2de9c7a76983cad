#include "engine/objects/GxXYZGrid.h"

#include <GL/gl.h>

// ---------------------------------------------------------------- TGxLineBase

TGxLineBase::TGxLineBase(TGxComponent* owner) : TGxImmaterialSceneObject(owner), m_lineColor(this, 1, 1, 1, 1) {}

void TGxLineBase::SetLinePattern(std::uint16_t v)
{
    if (v == m_linePattern)
        return;
    m_linePattern = v;
    GeometryDirty();
}

void TGxLineBase::SetLineWidth(float v)
{
    if (v == m_lineWidth)
        return;
    m_lineWidth = v;
    GeometryDirty();
}

void TGxLineBase::SetAntiAliased(bool v)
{
    if (v == m_antiAliased)
        return;
    m_antiAliased = v;
    GeometryDirty();
}

void TGxLineBase::SetupLineState() const
{
    glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    const auto blend = [] {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    };
    if (m_linePattern != 0xFFFF) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, m_linePattern);
        blend();
    }
    if (m_antiAliased) {
        glEnable(GL_LINE_SMOOTH);
        blend();
    } else {
        glDisable(GL_LINE_SMOOTH);
    }
    glLineWidth(m_lineWidth);
    if (m_lineColor.Alpha() != 1) {
        blend();
        glColor4fv(m_lineColor.AsArray());
    } else {
        glColor3fv(m_lineColor.AsArray());
    }
}

void TGxLineBase::RestoreLineState()
{
    glPopAttrib();
}

// ---------------------------------------------------------------- TGxXYZGrid

TGxXYZGrid::TGxXYZGrid(TGxComponent* owner) : TGxLineBase(owner) {}

void TGxXYZGrid::SetParts(TXYZGridParts v)
{
    if (v == m_parts)
        return;
    m_parts = v;
    GeometryDirty();
}

void TGxXYZGrid::SetLinesStyle(TXYZGridLinesStyle v)
{
    if (v == m_linesStyle)
        return;
    m_linesStyle = v;
    GeometryDirty();
}

void TGxXYZGrid::Assign(const TGxXYZGrid& source)
{
    SetLineColor(source.LineColor());
    SetLinePattern(source.LinePattern());
    SetLineWidth(source.LineWidth());
    SetAntiAliased(source.AntiAliased());
    m_x.Assign(source.m_x);
    m_y.Assign(source.m_y);
    m_z.Assign(source.m_z);
    SetParts(source.m_parts);
    SetLinesStyle(source.m_linesStyle);
}

void TGxXYZGrid::NotifyChange(IGxChangeListener* sender)
{
    if (sender == &m_x || sender == &m_y || sender == &m_z)
        GeometryDirty();
    TGxImmaterialSceneObject::NotifyChange(sender);
}

void TGxXYZGrid::EmitGeometry(TRenderContextInfo&)
{
    BuildGeometry();
}

void TGxXYZGrid::BuildGeometry() const
{
    SetupLineState();
    const std::vector<float> xs = m_x.Values(m_parts.Contains(TXYZGridPart::gpX));
    const std::vector<float> ys = m_y.Values(m_parts.Contains(TXYZGridPart::gpY));
    const std::vector<float> zs = m_z.Values(m_parts.Contains(TXYZGridPart::gpZ));
    const bool segments = m_linesStyle == glsSegments;
    // One strip along an axis: through every value, or from Min to Max.
    const auto strip = [segments](const std::vector<float>& along, const TGxSamplingScale& scale, auto vertex) {
        glBegin(GL_LINE_STRIP);
        if (segments) {
            for (float v : along)
                vertex(v);
        } else {
            vertex(scale.Min());
            vertex(scale.Max());
        }
        glEnd();
    };
    if (m_parts.Contains(TXYZGridPart::gpX))
        for (float y : ys)
            for (float z : zs)
                strip(xs, m_x, [&](float x) { glVertex3f(x, y, z); });
    if (m_parts.Contains(TXYZGridPart::gpY))
        for (float x : xs)
            for (float z : zs)
                strip(ys, m_y, [&](float y) { glVertex3f(x, y, z); });
    if (m_parts.Contains(TXYZGridPart::gpZ))
        for (float x : xs)
            for (float y : ys)
                strip(zs, m_z, [&](float z) { glVertex3f(x, y, z); });
    RestoreLineState();
}
