#include "engine/materials/GxTexCoordRouter.h"

#include "engine/materials/GxGlCaps.h"
#include "base/GxException.h"

#include <algorithm>

namespace {
struct Routing {
    TMapTexCoordMode mode = mtcmNull;
    std::vector<int> units; // for mtcmArbitrary, sorted, unique
};

struct RouterState {
    Routing active;
    Routing pending;
    int updateCount = 0;
    std::vector<int> arrayUnits; // units whose arrays EnableTexCoordArray turned on
};

RouterState& state()
{
    static RouterState s;
    return s;
}

Routing& target()
{
    RouterState& s = state();
    return s.updateCount > 0 ? s.pending : s.active;
}

std::vector<int> unitsOf(const Routing& r)
{
    switch (r.mode) {
    case mtcmMain: return {0};
    case mtcmSecond: return {1};
    case mtcmDual: return {0, 1};
    case mtcmArbitrary: return r.units;
    default: return {};
    }
}

void requireMultitexture()
{
    gxAssert(GxGlCaps().multitexture, "Texture coordinates for a second texture unit need multitexturing");
}

void checkUnits(const std::vector<int>& units)
{
    for (int u : units)
        gxAssert(u >= 0 && u < 8, "Texture unit out of range");
}

void normalise(std::vector<int>& units)
{
    std::sort(units.begin(), units.end());
    units.erase(std::unique(units.begin(), units.end()), units.end());
}
} // namespace

void TGxTexCoordRouter::SetMode(TMapTexCoordMode mode)
{
    if (mode == mtcmDual || mode == mtcmSecond)
        requireMultitexture();
    gxAssert(mode != mtcmArbitrary, "Use SetUnits for an arbitrary list of texture units");
    Routing& r = target();
    r.mode = mode;
    r.units.clear();
}

void TGxTexCoordRouter::SetUnits(const std::vector<int>& units)
{
    checkUnits(units);
    std::vector<int> sorted = units;
    normalise(sorted);
    if (std::any_of(sorted.begin(), sorted.end(), [](int u) { return u > 0; }))
        requireMultitexture();
    Routing& r = target();
    r.mode = mtcmArbitrary;
    r.units = std::move(sorted);
}

void TGxTexCoordRouter::AddUnits(const std::vector<int>& units)
{
    std::vector<int> all = unitsOf(target());
    all.insert(all.end(), units.begin(), units.end());
    SetUnits(all);
}

void TGxTexCoordRouter::BeginUpdate()
{
    RouterState& s = state();
    if (s.updateCount++ == 0)
        s.pending = s.active;
}

void TGxTexCoordRouter::EndUpdate()
{
    RouterState& s = state();
    gxAssert(s.updateCount > 0, "Unbalanced texture-coordinate routing bracket");
    if (--s.updateCount == 0)
        s.active = s.pending;
}

TMapTexCoordMode TGxTexCoordRouter::Mode()
{
    return state().active.mode;
}

std::vector<int> TGxTexCoordRouter::Units()
{
    return unitsOf(state().active);
}

void TGxTexCoordRouter::TexCoord4f(float s, float t, float r, float q)
{
    const Routing& a = state().active;
    switch (a.mode) {
    case mtcmMain:
        glTexCoord4f(s, t, r, q);
        break;
    case mtcmSecond:
        glMultiTexCoord4f(GL_TEXTURE1, s, t, r, q);
        break;
    case mtcmDual:
        glTexCoord4f(s, t, r, q);
        glMultiTexCoord4f(GL_TEXTURE1, s, t, r, q);
        break;
    case mtcmArbitrary:
        for (int u : a.units)
            glMultiTexCoord4f(GL_TEXTURE0 + u, s, t, r, q);
        break;
    default:
        break;
    }
}

void TGxTexCoordRouter::TexCoord2f(float s, float t)
{
    const Routing& a = state().active;
    switch (a.mode) {
    case mtcmMain:
        glTexCoord2f(s, t);
        break;
    case mtcmSecond:
        glMultiTexCoord2f(GL_TEXTURE1, s, t);
        break;
    case mtcmDual:
        glTexCoord2f(s, t);
        glMultiTexCoord2f(GL_TEXTURE1, s, t);
        break;
    case mtcmArbitrary:
        for (int u : a.units)
            glMultiTexCoord2f(GL_TEXTURE0 + u, s, t);
        break;
    default:
        break;
    }
}

void TGxTexCoordRouter::TexCoord2fv(const float* st)
{
    TexCoord2f(st[0], st[1]);
}

void TGxTexCoordRouter::TexCoord3f(float s, float t, float r)
{
    const Routing& a = state().active;
    switch (a.mode) {
    case mtcmMain:
        glTexCoord3f(s, t, r);
        break;
    case mtcmSecond:
        glMultiTexCoord3f(GL_TEXTURE1, s, t, r);
        break;
    case mtcmDual:
        glTexCoord3f(s, t, r);
        glMultiTexCoord3f(GL_TEXTURE1, s, t, r);
        break;
    case mtcmArbitrary:
        for (int u : a.units)
            glMultiTexCoord3f(GL_TEXTURE0 + u, s, t, r);
        break;
    default:
        break;
    }
}

void TGxTexCoordRouter::TexCoord3fv(const float* str)
{
    TexCoord3f(str[0], str[1], str[2]);
}

void TGxTexCoordRouter::EnableTexCoordArray(GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    DisableTexCoordArray();
    RouterState& s = state();
    s.arrayUnits = unitsOf(s.active);
    const bool multi = GxGlCaps().multitexture;
    for (int u : s.arrayUnits) {
        if (multi)
            glClientActiveTexture(GL_TEXTURE0 + u);
        glTexCoordPointer(size, type, stride, pointer);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (multi && !s.arrayUnits.empty())
        glClientActiveTexture(GL_TEXTURE0);
}

void TGxTexCoordRouter::DisableTexCoordArray()
{
    RouterState& s = state();
    if (s.arrayUnits.empty())
        return;
    const bool multi = GxGlCaps().multitexture;
    for (int u : s.arrayUnits) {
        if (multi)
            glClientActiveTexture(GL_TEXTURE0 + u);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (multi)
        glClientActiveTexture(GL_TEXTURE0);
    s.arrayUnits.clear();
}
