#include "engine/materials/GxStateCache.h"

#include "engine/materials/GxGlApi.h"
#include "engine/materials/GxGlCaps.h"

#include <GL/glext.h>
#include <algorithm>
#include <cstring>

namespace {
// Capabilities the cache remembers; others go straight to OpenGL.
constexpr GLenum kCachedCaps[] = {
    GL_ALPHA_TEST,     GL_BLEND,          GL_CULL_FACE,      GL_LIGHTING,       GL_FOG,
    GL_DEPTH_TEST,     GL_NORMALIZE,      GL_COLOR_MATERIAL, GL_LINE_SMOOTH,    GL_LINE_STIPPLE,
    GL_STENCIL_TEST,   GL_SCISSOR_TEST,   GL_DITHER,         GL_POLYGON_OFFSET_FILL,
    // per texture unit (remembered for unit 0 only)
    GL_TEXTURE_2D,     GL_TEXTURE_CUBE_MAP, GL_TEXTURE_RECTANGLE, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
    GL_TEXTURE_GEN_R,  GL_TEXTURE_GEN_Q,
};
constexpr std::size_t kFirstUnitCap = 14;

std::uint64_t g_deletionEpoch = 0;

constexpr float kDefaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float kDefaultDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};

int faceIndex(GLenum face)
{
    return face == GL_BACK ? 1 : 0;
}

int targetIndex(GLenum target)
{
    switch (target) {
    case GL_TEXTURE_CUBE_MAP: return 1;
    case GL_TEXTURE_RECTANGLE: return 2;
    default: return 0;
    }
}

bool same4(const std::array<float, 4>& a, const float* b)
{
    return std::memcmp(a.data(), b, sizeof(float) * 4) == 0;
}

void copy4(std::array<float, 4>& a, const float* b)
{
    std::memcpy(a.data(), b, sizeof(float) * 4);
}
} // namespace

static_assert(std::size(kCachedCaps) <= 24);

TGxStateCache::TGxStateCache()
{
    Invalidate();
}

void TGxStateCache::TextureDeleted()
{
    ++g_deletionEpoch;
}

void TGxStateCache::Invalidate()
{
    m_caps.fill(Known::Unknown);
    m_faces = {};
    m_units = {};
    m_activeUnit = -1;
    m_frontFace = 0;
    m_blendKnown = false;
    m_alphaKnown = false;
    m_deletionEpoch = g_deletionEpoch;
}

void TGxStateCache::ResetMaterialColors()
{
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        Face& f = m_faces[faceIndex(face)];
        GxGl().Materiali(face, GL_SHININESS, 0);
        GxGl().Materialfv(face, GL_EMISSION, kBlack);
        GxGl().Materialfv(face, GL_AMBIENT, kDefaultAmbient);
        GxGl().Materialfv(face, GL_DIFFUSE, kDefaultDiffuse);
        GxGl().Materialfv(face, GL_SPECULAR, kBlack);
        f.known = true;
        f.shininess = 0;
        copy4(f.emission, kBlack);
        copy4(f.ambient, kDefaultAmbient);
        copy4(f.diffuse, kDefaultDiffuse);
        copy4(f.specular, kBlack);
    }
}

void TGxStateCache::ForgetMaterialColors()
{
    for (Face& f : m_faces)
        f.known = false;
}

void TGxStateCache::ResetForPass()
{
    ResetMaterialColors();
    for (Face& f : m_faces)
        f.polygonMode = 0;
    forgetBindings();
    m_frontFace = 0;
    SetFrontFace(GL_CCW);
}

void TGxStateCache::forgetBindings()
{
    for (Unit& u : m_units)
        u.bindingKnown.fill(false);
}

TGxStateCache::Known* TGxStateCache::capSlot(GLenum cap)
{
    for (std::size_t i = 0; i < std::size(kCachedCaps); ++i) {
        if (kCachedCaps[i] == cap) {
            if (i >= kFirstUnitCap && m_activeUnit != 0)
                return nullptr; // another (or an unknown) unit is selected
            return &m_caps[i];
        }
    }
    return nullptr;
}

void TGxStateCache::Enable(GLenum cap)
{
    Known* slot = capSlot(cap);
    if (slot && *slot == Known::Yes)
        return;
    GxGl().Enable(cap);
    if (slot)
        *slot = Known::Yes;
}

void TGxStateCache::Disable(GLenum cap)
{
    Known* slot = capSlot(cap);
    if (slot && *slot == Known::No)
        return;
    GxGl().Disable(cap);
    if (slot)
        *slot = Known::No;
}

bool TGxStateCache::IsEnabled(GLenum cap)
{
    Known* slot = capSlot(cap);
    if (slot && *slot != Known::Unknown)
        return *slot == Known::Yes;
    const bool on = GxGl().IsEnabled(cap) == GL_TRUE;
    if (slot)
        *slot = on ? Known::Yes : Known::No;
    return on;
}

void TGxStateCache::SetMaterialColors(GLenum face, const float* emission, const float* ambient,
                                      const float* diffuse, const float* specular, int shininess)
{
    Face& f = m_faces[faceIndex(face)];
    if (!f.known || f.shininess != shininess) {
        GxGl().Materiali(face, GL_SHININESS, shininess);
        f.shininess = shininess;
    }
    if (!f.known || !same4(f.emission, emission)) {
        GxGl().Materialfv(face, GL_EMISSION, emission);
        copy4(f.emission, emission);
    }
    if (!f.known || !same4(f.ambient, ambient)) {
        GxGl().Materialfv(face, GL_AMBIENT, ambient);
        copy4(f.ambient, ambient);
    }
    if (!f.known || !same4(f.diffuse, diffuse)) {
        GxGl().Materialfv(face, GL_DIFFUSE, diffuse);
        copy4(f.diffuse, diffuse);
    }
    if (!f.known || !same4(f.specular, specular)) {
        GxGl().Materialfv(face, GL_SPECULAR, specular);
        copy4(f.specular, specular);
    }
    f.known = true;
}

void TGxStateCache::SetPolygonMode(GLenum face, GLenum mode)
{
    Face& f = m_faces[faceIndex(face)];
    if (f.polygonMode == mode)
        return;
    GxGl().PolygonMode(face, mode);
    f.polygonMode = mode;
}

void TGxStateCache::SetFrontFace(GLenum mode)
{
    if (m_frontFace == mode)
        return;
    GxGl().FrontFace(mode);
    m_frontFace = mode;
}

void TGxStateCache::SetBlendFunc(GLenum sfactor, GLenum dfactor)
{
    if (m_blendKnown && m_blendSrc == sfactor && m_blendDst == dfactor)
        return;
    GxGl().BlendFunc(sfactor, dfactor);
    m_blendSrc = sfactor;
    m_blendDst = dfactor;
    m_blendKnown = true;
}

void TGxStateCache::SetAlphaFunc(GLenum func, float ref)
{
    if (m_alphaKnown && m_alphaFunc == func && m_alphaRef == ref)
        return;
    GxGl().AlphaFunc(func, ref);
    m_alphaFunc = func;
    m_alphaRef = ref;
    m_alphaKnown = true;
}

void TGxStateCache::SetActiveTexture(int unit)
{
    if (m_activeUnit == unit)
        return;
    if (unit != 0 || GxGlCaps().multitexture)
        GxGl().ActiveTexture(GL_TEXTURE0 + unit);
    m_activeUnit = unit;
}

void TGxStateCache::BindTexture(int unit, GLenum target, GLuint name)
{
    if (m_deletionEpoch != g_deletionEpoch) {
        forgetBindings();
        m_deletionEpoch = g_deletionEpoch;
    }
    SetActiveTexture(unit);
    if (unit < 0 || unit >= kMaxUnits) {
        GxGl().BindTexture(target, name);
        return;
    }
    Unit& u = m_units[unit];
    const int t = targetIndex(target);
    if (u.bindingKnown[t] && u.binding[t] == name)
        return;
    GxGl().BindTexture(target, name);
    u.binding[t] = name;
    u.bindingKnown[t] = true;
}

void TGxStateCache::SetTexEnvMode(GLenum mode)
{
    const int unit = m_activeUnit;
    if (unit >= 0 && unit < kMaxUnits && m_units[unit].envMode == mode)
        return;
    GxGl().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(mode));
    if (unit >= 0 && unit < kMaxUnits)
        m_units[unit].envMode = mode;
}

void TGxStateCache::SetTexEnvColor(const float* rgba)
{
    const int unit = m_activeUnit;
    if (unit >= 0 && unit < kMaxUnits && m_units[unit].envColorKnown && same4(m_units[unit].envColor, rgba))
        return;
    GxGl().TexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, rgba);
    if (unit >= 0 && unit < kMaxUnits) {
        copy4(m_units[unit].envColor, rgba);
        m_units[unit].envColorKnown = true;
    }
}

void TGxStateCache::SetTextureMatrix(const float* m)
{
    GxGl().MatrixMode(GL_TEXTURE);
    GxGl().LoadMatrixf(m);
    GxGl().MatrixMode(GL_MODELVIEW);
    if (m_activeUnit >= 0 && m_activeUnit < kMaxUnits)
        m_units[m_activeUnit].identityMatrix = Known::No;
}

void TGxStateCache::ResetTextureMatrix()
{
    const int unit = m_activeUnit;
    if (unit >= 0 && unit < kMaxUnits && m_units[unit].identityMatrix == Known::Yes)
        return;
    GxGl().MatrixMode(GL_TEXTURE);
    GxGl().LoadIdentity();
    GxGl().MatrixMode(GL_MODELVIEW);
    if (unit >= 0 && unit < kMaxUnits)
        m_units[unit].identityMatrix = Known::Yes;
}
