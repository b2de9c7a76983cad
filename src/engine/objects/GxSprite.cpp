#include "engine/objects/GxSprite.h"

#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The material that actually draws: the library entry when linked.
const TGxMaterial& actualMaterial(const TGxMaterial& material)
{
    if (const TGxLibMaterial* entry = material.LibMaterial())
        return entry->Material();
    return material;
}

} // namespace

TGxSprite::TGxSprite(TGxComponent* owner) : TGxSceneObject(owner)
{
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    flags.Include(TGxRenderFlag::NeverCull);
    SetRenderFlags(flags);
}

template <class T>
void TGxSprite::store(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    GeometryDirty();
}

void TGxSprite::SetWidth(float v) { store(m_width, v); }
void TGxSprite::SetHeight(float v) { store(m_height, v); }
void TGxSprite::SetRotation(float v) { store(m_rotation, v); }
void TGxSprite::SetAlphaChannel(float v) { store(m_alphaChannel, std::clamp(v, 0.0f, 1.0f)); }

// Setting these marks the sprite changed even when the value stays.
void TGxSprite::SetNoZWrite(bool v)
{
    m_noZWrite = v;
    GeometryDirty();
}

void TGxSprite::SetMirrorU(bool v)
{
    m_mirrorU = v;
    GeometryDirty();
}

void TGxSprite::SetMirrorV(bool v)
{
    m_mirrorV = v;
    GeometryDirty();
}

TGxVector TGxSprite::HalfExtentsUnscaled() const
{
    return VectorMake(std::fabs(m_width) / 2, std::fabs(m_height) / 2, std::fabs(m_width) / 2);
}

void TGxSprite::ApplyAlphaChannel(TRenderContextInfo& rci)
{
    if (m_alphaChannel == 1.0f || rci.ignoreMaterials || !rci.stateCache)
        return;
    const TGxFaceProperties& front = actualMaterial(Material()).FrontProperties();
    float diffuse[4];
    std::copy_n(front.Diffuse().AsArray(), 3, diffuse);
    diffuse[3] = m_alphaChannel;
    if (rci.stateCache->IsEnabled(GL_LIGHTING))
        rci.stateCache->SetMaterialColors(GL_FRONT, front.Emission().AsArray(), front.Ambient().AsArray(), diffuse,
                                          front.Specular().AsArray(), front.Shininess());
    else
        glColor4fv(diffuse);
}

void TGxSprite::EmitGeometry(TRenderContextInfo& rci)
{
    ApplyAlphaChannel(rci);
    if (m_noZWrite)
        glDepthMask(GL_FALSE);

    // The camera's axes in object space are the rows of the model-view matrix.
    TGxMatrix mv;
    glGetFloatv(GL_MODELVIEW_MATRIX, mv.data());
    const float* m = mv.data();
    TGxVector right = VectorScale(VectorNormalize(VectorMake(m[0], m[4], m[8])), m_width / 2);
    TGxVector up = VectorScale(VectorNormalize(VectorMake(m[1], m[5], m[9])), m_height / 2);
    if (m_rotation != 0.0f) {
        const TGxVector axis = VectorNormalize(VectorMake(m[2], m[6], m[10]));
        const float a = m_rotation * float(M_PI) / 180.0f;
        const float c = std::cos(a), s = std::sin(a);
        const TGxVector r = right, u = up;
        // Turning by a about the viewing axis: right towards up.
        right = VectorAdd(VectorScale(r, c), VectorScale(VectorCrossProduct(axis, r), s));
        up = VectorAdd(VectorScale(u, c), VectorScale(VectorCrossProduct(axis, u), s));
    }

    float u0 = 0, u1 = 1, v0 = 0, v1 = 1;
    if (m_mirrorU)
        std::swap(u0, u1);
    if (m_mirrorV)
        std::swap(v0, v1);
    const auto vertex = [](const TGxVector& p) { glVertex3f(p.X, p.Y, p.Z); };
    glBegin(GL_QUADS);
    TGxTexCoordRouter::TexCoord2f(u1, v1);
    vertex(VectorAdd(right, up));
    TGxTexCoordRouter::TexCoord2f(u0, v1);
    vertex(VectorSubtract(up, right));
    TGxTexCoordRouter::TexCoord2f(u0, v0);
    vertex(VectorScale(VectorAdd(right, up), -1));
    TGxTexCoordRouter::TexCoord2f(u1, v0);
    vertex(VectorSubtract(right, up));
    glEnd();

    if (m_noZWrite)
        glDepthMask(GL_TRUE);
}
