#include "engine/objects/GxDummyCube.h"

#include <GL/gl.h>

#include <cmath>

TGxDummyCube::TGxDummyCube(TGxComponent* owner) : TGxCameraInvariantObject(owner), m_edgeColor(this, 1, 1, 1, 1)
{
    // Nothing of its own to record: the edges, when shown, are drawn directly.
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    SetRenderFlags(flags);
}

void TGxDummyCube::SetCubeSize(float v)
{
    if (v == m_cubeSize)
        return;
    m_cubeSize = v;
    GeometryDirty();
}

void TGxDummyCube::SetVisibleAtRunTime(bool v)
{
    if (v == m_visibleAtRunTime)
        return;
    m_visibleAtRunTime = v;
    GeometryDirty();
}

void TGxDummyCube::SetAmalgamate(bool v)
{
    if (v == m_amalgamate)
        return;
    m_amalgamate = v;
    GeometryDirty();
}

void TGxDummyCube::Assign(const TGxDummyCube& source)
{
    m_cubeSize = source.m_cubeSize;
    m_edgeColor.Assign(source.m_edgeColor);
    m_visibleAtRunTime = source.m_visibleAtRunTime;
    m_amalgamate = source.m_amalgamate;
    SetCamInvarianceMode(source.CamInvarianceMode());
    GeometryDirty();
}

TGxVector TGxDummyCube::HalfExtentsUnscaled() const
{
    const float h = std::fabs(m_cubeSize) / 2;
    return VectorMake(h, h, h);
}

void TGxDummyCube::EmitGeometry(TRenderContextInfo&)
{
    if (m_visibleAtRunTime)
        DrawEdges();
}

void TGxDummyCube::DrawEdges() const
{
    glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0xCCCC);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(1);
    glColorMaterial(GL_FRONT, GL_EMISSION);
    glEnable(GL_COLOR_MATERIAL);
    glColor4fv(m_edgeColor.AsArray());
    const float h = m_cubeSize / 2;
    // Ten vertices round the top and bottom squares, then the three other uprights.
    glBegin(GL_LINE_STRIP);
    glVertex3f(h, h, h);
    glVertex3f(-h, h, h);
    glVertex3f(-h, -h, h);
    glVertex3f(h, -h, h);
    glVertex3f(h, h, h);
    glVertex3f(h, h, -h);
    glVertex3f(-h, h, -h);
    glVertex3f(-h, -h, -h);
    glVertex3f(h, -h, -h);
    glVertex3f(h, h, -h);
    glEnd();
    glBegin(GL_LINES);
    glVertex3f(-h, h, h);
    glVertex3f(-h, h, -h);
    glVertex3f(-h, -h, h);
    glVertex3f(-h, -h, -h);
    glVertex3f(h, -h, h);
    glVertex3f(h, -h, -h);
    glEnd();
    glPopAttrib();
}
