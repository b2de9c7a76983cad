#include "map/MapBand.h"

#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

#include <cmath>

namespace {
// Sides of a cap's polygon: round enough at the band's few pixels.
constexpr int kCapSides = 12;
} // namespace

MapBand::MapBand(TGxComponent* owner) : TGxImmaterialSceneObject(owner) {}

void MapBand::SetPoints(std::vector<Point> points)
{
    if (points == m_points)
        return;
    m_points = std::move(points);
    GeometryDirty();
}

void MapBand::SetHalfWidth(float halfWidth)
{
    if (halfWidth == m_halfWidth)
        return;
    m_halfWidth = halfWidth;
    GeometryDirty();
}

void MapBand::SetCapRadius(float radius)
{
    if (radius == m_capRadius)
        return;
    m_capRadius = radius;
    GeometryDirty();
}

void MapBand::SetColour(const std::array<float, 3>& colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    GeometryDirty();
}

void MapBand::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    // A pick is for what lies on the map, not for what is drawn over it.
    TGxImmaterialSceneObject::RenderSelf(rci, renderSelf && rci.drawState != dsPicking && !m_points.empty(),
                                         renderChildren);
}

void MapBand::EmitGeometry(TRenderContextInfo&)
{
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColor3f(m_colour[0], m_colour[1], m_colour[2]);
    glNormal3f(0, 0, 1);
    const float z = kHeight;
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 1; i < m_points.size(); ++i) {
        const Point& a = m_points[i - 1];
        const Point& b = m_points[i];
        const float dx = b.x - a.x;
        const float dy = b.y - a.y;
        const float length = std::hypot(dx, dy);
        if (!(length > 0))
            continue;
        const float nx = -dy / length * m_halfWidth;
        const float ny = dx / length * m_halfWidth;
        glVertex3f(a.x + nx, a.y + ny, z);
        glVertex3f(a.x - nx, a.y - ny, z);
        glVertex3f(b.x - nx, b.y - ny, z);
        glVertex3f(a.x + nx, a.y + ny, z);
        glVertex3f(b.x - nx, b.y - ny, z);
        glVertex3f(b.x + nx, b.y + ny, z);
    }
    static const auto ring = [] {
        std::array<std::array<float, 2>, kCapSides + 1> r{};
        for (int k = 0; k <= kCapSides; ++k) {
            const double angle = 2.0 * M_PI * k / kCapSides;
            r[std::size_t(k)] = {float(std::cos(angle)), float(std::sin(angle))};
        }
        return r;
    }();
    for (const Point& p : m_points)
        for (int k = 0; k < kCapSides; ++k) {
            glVertex3f(p.x, p.y, z);
            glVertex3f(p.x + ring[std::size_t(k)][0] * m_capRadius, p.y + ring[std::size_t(k)][1] * m_capRadius, z);
            glVertex3f(p.x + ring[std::size_t(k + 1)][0] * m_capRadius, p.y + ring[std::size_t(k + 1)][1] * m_capRadius,
                       z);
        }
    glEnd();
    glPopAttrib();
}

bool MapBand::GeometryBoundingBox(TGxAABB& box) const
{
    const float reach = std::max(m_halfWidth, m_capRadius);
    box = TGxAABB();
    for (const Point& p : m_points) {
        box.Include(TGxAffineVector{p.x - reach, p.y - reach, kHeight});
        box.Include(TGxAffineVector{p.x + reach, p.y + reach, kHeight});
    }
    return true;
}
