#define GL_GLEXT_PROTOTYPES 1

#include "engine/objects/GxPlane.h"

#include "engine/materials/GxTexCoordRouter.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

TGxPlane::TGxPlane(TGxComponent* owner) : TGxSceneObject(owner)
{
    // A single quad: recording it in a list of its own gains nothing.
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    SetRenderFlags(flags);
}

template <class T>
void TGxPlane::store(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    GeometryDirty();
}

void TGxPlane::SetWidth(float v) { store(m_width, v); }
void TGxPlane::SetHeight(float v) { store(m_height, v); }
void TGxPlane::SetXOffset(float v) { store(m_xOffset, v); }
void TGxPlane::SetYOffset(float v) { store(m_yOffset, v); }
void TGxPlane::SetXScope(float v) { store(m_xScope, std::min(v, 1.0f)); }
void TGxPlane::SetYScope(float v) { store(m_yScope, std::min(v, 1.0f)); }
void TGxPlane::SetXTiles(std::uint32_t v) { store(m_xTiles, v); }
void TGxPlane::SetYTiles(std::uint32_t v) { store(m_yTiles, v); }
void TGxPlane::SetStyle(TPlaneStyles v) { store(m_style, v); }
void TGxPlane::SetNoZWrite(bool v) { store(m_noZWrite, v); }

void TGxPlane::Assign(const TGxPlane& source)
{
    m_width = source.m_width;
    m_height = source.m_height;
    m_xOffset = source.m_xOffset;
    m_yOffset = source.m_yOffset;
    m_xScope = source.m_xScope;
    m_yScope = source.m_yScope;
    m_xTiles = source.m_xTiles;
    m_yTiles = source.m_yTiles;
    m_style = source.m_style;
    m_noZWrite = source.m_noZWrite;
    SetMaterial(source.Material());
    GeometryDirty();
}

TGxVector TGxPlane::HalfExtentsUnscaled() const
{
    return VectorMake(std::fabs(m_width) / 2, std::fabs(m_height) / 2, 0);
}

bool TGxPlane::RayHit(const TGxVector& rayStart, const TGxVector& rayVector, TGxVector* point,
                      TGxVector* normal) const
{
    TGxVector start = rayStart;
    start.W = 1;
    TGxVector dir = rayVector;
    dir.W = 0;
    const TGxVector s = ToLocal(start);
    const TGxVector v = ToLocal(dir);
    const bool fromAbove = s.Z >= 0 && v.Z < 0;
    const bool fromBelow = s.Z < 0 && v.Z > 0;
    if (!fromAbove && !fromBelow)
        return false;
    const float t = -s.Z / v.Z;
    const float x = s.X + t * v.X;
    const float y = s.Y + t * v.Y;
    if (!(std::fabs(x) <= m_width / 2 && std::fabs(y) <= m_height / 2))
        return false;
    if (point)
        *point = ToWorld(PointMake(x, y, 0));
    if (normal) {
        TGxVector n = WorldDirection();
        *normal = fromBelow ? VectorScale(n, -1) : n;
    }
    return true;
}

void TGxPlane::EmitGeometry(TRenderContextInfo&)
{
    BuildGeometry();
}

void TGxPlane::BuildGeometry() const
{
    glNormal3f(0, 0, 1);
    float s0, s1, t0, t1;
    if (m_style.Contains(TPlaneStyle::psTileTexture)) {
        s0 = m_xOffset;
        s1 = float(m_xTiles) * m_xScope + m_xOffset;
        t0 = m_yOffset;
        t1 = float(m_yTiles) * m_yScope + m_yOffset;
    } else {
        s0 = 0;
        s1 = m_xScope;
        t0 = 0;
        t1 = m_yScope;
    }
    if (m_noZWrite)
        glDepthMask(GL_FALSE);
    const float w = m_width / 2;
    const float h = m_height / 2;
    // Drawn from arrays, not vertex by vertex: the driver keeps every vertex
    // sent one by one during a pick (selection mode) for the rest of the run,
    // and a plane under the pointer is drawn by every hover pick.
    // Kept between calls: planes are drawn every frame and every pick.
    static std::vector<float> points; // x, y, s, t
    points.clear();
    const auto add = [](float x, float y, float s, float t) { points.insert(points.end(), {x, y, s, t}); };
    std::uint32_t rows = 0, perRow = 0;
    GLenum mode = GL_QUADS;
    if (m_style.Contains(TPlaneStyle::psSingleQuad)) {
        // Counter-clockwise seen from +Z: the front face looks along the normal.
        add(w, h, s1, t1);
        add(-w, h, s0, t1);
        add(-w, -h, s0, t0);
        add(w, -h, s1, t0);
        rows = 1;
        perRow = 4;
    } else if (m_xTiles > 0) {
        // Rows from bottom to top; t starts at t0 as in the single quad.
        mode = GL_TRIANGLE_STRIP;
        rows = m_yTiles;
        perRow = 2 * (m_xTiles + 1);
        points.reserve(std::size_t(rows) * perRow * 4);
        const float ds = (s1 - s0) / float(m_xTiles);
        const float dt = (t1 - t0) / float(m_yTiles);
        for (std::uint32_t j = 0; j < m_yTiles; ++j) {
            const float yLow = float(j) * m_height / float(m_yTiles) - h;
            const float yHigh = float(j + 1) * m_height / float(m_yTiles) - h;
            const float tLow = t0 + float(j) * dt;
            const float tHigh = tLow + dt;
            for (std::uint32_t i = 0; i <= m_xTiles; ++i) {
                const float x = float(i) * m_width / float(m_xTiles) - w;
                const float s = s0 + float(i) * ds;
                add(x, yHigh, s, tHigh);
                add(x, yLow, s, tLow);
            }
        }
    }
    if (!points.empty()) {
        constexpr GLsizei stride = 4 * sizeof(float);
        // The arrays are client memory: no buffer object may be bound.
        GLint bound = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
        if (bound)
            glBindBuffer(GL_ARRAY_BUFFER, 0);
        glVertexPointer(2, GL_FLOAT, stride, points.data());
        glEnableClientState(GL_VERTEX_ARRAY);
        TGxTexCoordRouter::EnableTexCoordArray(2, GL_FLOAT, stride, points.data() + 2);
        for (std::uint32_t row = 0; row < rows; ++row)
            glDrawArrays(mode, GLint(row * perRow), GLsizei(perRow));
        TGxTexCoordRouter::DisableTexCoordArray();
        glDisableClientState(GL_VERTEX_ARRAY);
        if (bound)
            glBindBuffer(GL_ARRAY_BUFFER, GLuint(bound));
    }
    if (m_noZWrite)
        glDepthMask(GL_TRUE);
}
