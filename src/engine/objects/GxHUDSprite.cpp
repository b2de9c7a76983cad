#include "engine/objects/GxHUDSprite.h"

#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/GxSceneBuffer.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

TGxHUDSprite::TGxHUDSprite(TGxComponent* owner) : TGxSprite(owner)
{
    SetWidth(16);
    SetHeight(16);
}

void TGxHUDSprite::SetXTiles(int v)
{
    if (v == m_xTiles)
        return;
    m_xTiles = v;
    GeometryDirty();
}

void TGxHUDSprite::SetYTiles(int v)
{
    if (v == m_yTiles)
        return;
    m_yTiles = v;
    GeometryDirty();
}

void TGxHUDSprite::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    // A pick or a pass without colours: nothing, so it can never be picked.
    if (rci.ignoreMaterials)
        return;
    if (renderSelf) {
        if (rci.scene)
            rci.scene->SetLastRenderedObject(this);
        TGxMaterial& material = Material();
        do {
            material.ApplyState(rci);
            ApplyAlphaChannel(rci);
            drawRectangle(rci);
        } while (material.RestoreState(rci));
    }
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

void TGxHUDSprite::drawRectangle(TRenderContextInfo& rci)
{
    const float width = float(rci.viewPortWidth);
    const float height = float(rci.viewPortHeight);
    if (width <= 0 || height <= 0)
        return;
    const float f = float(rci.renderDPI) / 96.0f;
    const TGxVector& p = Position().Vector4();

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (rci.buffer)
        glLoadMatrixf(rci.buffer->BaseProjectionMatrix().data());
    else
        glLoadIdentity();
    glScalef(2.0f / width, 2.0f / height, 1.0f);
    glTranslatef(f * p.X - width / 2, height / 2 - f * p.Y, p.Z);
    if (Rotation() != 0.0f)
        glRotatef(Rotation(), 0, 0, 1);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Behind the state cache's back, and put back exactly as found.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);

    const float w = Width() * f / 2;
    const float h = Height() * f / 2;
    const float s = float(m_xTiles);
    const float t = float(m_yTiles);
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    TGxTexCoordRouter::TexCoord2f(0, 0);
    glVertex2f(-w, -h);
    TGxTexCoordRouter::TexCoord2f(s, 0);
    glVertex2f(w, -h);
    TGxTexCoordRouter::TexCoord2f(s, t);
    glVertex2f(w, h);
    TGxTexCoordRouter::TexCoord2f(0, t);
    glVertex2f(-w, h);
    glEnd();

    glDepthMask(GL_TRUE);
    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
