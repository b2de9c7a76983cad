#include "engine/objects/GxDummyCube.h"

#include "engine/materials/GxStateCache.h"
#include "base/GxException.h"
#include "engine/scene/GxListHandle.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

#include <cmath>

TGxDummyCube::TGxDummyCube(TGxComponent* owner) : TGxCameraInvariantObject(owner), m_edgeColor(this, 1, 1, 1, 1)
{
    // Nothing of its own to record: the edges, when shown, are drawn directly.
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    SetRenderFlags(flags);
}

TGxDummyCube::~TGxDummyCube() = default;

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

void TGxDummyCube::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (OnVisibilityDetermination && !OnVisibilityDetermination(this, rci))
        return;
    // Selection names must be given out afresh in every pick pass, and a
    // culled cube has no whole subtree to record.
    if (!m_amalgamate || rci.amalgamating || rci.drawState == dsPicking || !renderSelf) {
        TGxCameraInvariantObject::RenderSelf(rci, renderSelf, renderChildren);
        return;
    }
    // The list must hold every state its subtree sets, and replaying it
    // changes state behind the cache: the cache forgets before and after.
    rci.stateCache->Invalidate();
    if (!m_amalgamated || Changes().Contains(TGxObjectChange::Structure) || !m_amalgamated->UsableHere()) {
        if (!m_amalgamated)
            m_amalgamated = std::make_unique<TGxListHandle>();
        const GLuint list = m_amalgamated->Allocate();
        gxAssert(list != 0, "No display list name available");
        ClearChange(TGxObjectChange::Structure);
        glNewList(list, GL_COMPILE_AND_EXECUTE);
        rci.amalgamating = true;
        try {
            TGxCameraInvariantObject::RenderSelf(rci, true, renderChildren);
        } catch (...) {
            rci.amalgamating = false;
            glEndList();
            m_amalgamated->Release();
            throw;
        }
        rci.amalgamating = false;
        glEndList();
    } else {
        glCallList(m_amalgamated->Name());
    }
    rci.stateCache->Invalidate();
}

void TGxDummyCube::DestroyHandle()
{
    m_amalgamated.reset();
    TGxCameraInvariantObject::DestroyHandle();
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
