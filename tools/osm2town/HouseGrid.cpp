#include "HouseGrid.h"

#include "MapProjection.h"

#include <algorithm>
#include <cmath>
#include <limits>

HouseGrid::HouseGrid(float cellSize)
    : m_cell(cellSize), m_cells(std::max(1, int(std::ceil(2 * mapscale::kSquareHalf / cellSize))))
{
    m_grid.resize(std::size_t(m_cells) * std::size_t(m_cells));
}

int HouseGrid::cellOf(float v) const
{
    return std::clamp(int(std::floor((v + mapscale::kSquareHalf) / m_cell)), 0, m_cells - 1);
}

void HouseGrid::add(std::size_t index, const Polygon& outline)
{
    const Box b = boundsOf(outline);
    const auto id = std::uint32_t(m_entries.size());
    m_entries.push_back({index, outline, b, std::fabs(signedArea(outline))});
    for (int y = cellOf(b.minY); y <= cellOf(b.maxY); ++y)
        for (int x = cellOf(b.minX); x <= cellOf(b.maxX); ++x)
            m_grid[std::size_t(y) * std::size_t(m_cells) + std::size_t(x)].push_back(id);
}

std::optional<std::size_t> HouseGrid::find(Vec2 point) const
{
    if (!MapProjection::insideSquare(point))
        return std::nullopt;
    const Entry* best = nullptr;
    for (std::uint32_t id : m_grid[std::size_t(cellOf(point.y)) * std::size_t(m_cells) + std::size_t(cellOf(point.x))]) {
        const Entry& e = m_entries[id];
        if (point.x < e.box.minX || point.x > e.box.maxX || point.y < e.box.minY || point.y > e.box.maxY)
            continue;
        if (pointInPolygon(e.outline, point) && (!best || e.area < best->area))
            best = &e;
    }
    return best ? std::optional<std::size_t>(best->index) : std::nullopt;
}

namespace {
float distanceToOutline(const Polygon& outline, Vec2 p)
{
    if (pointInPolygon(outline, p))
        return 0;
    float best = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vec2 a = outline[i], b = outline[(i + 1) % outline.size()];
        const Vec2 ab = b - a;
        const float len2 = dot(ab, ab);
        const float t = len2 > 0 ? std::clamp(dot(p - a, ab) / len2, 0.0f, 1.0f) : 0.0f;
        best = std::min(best, length(p - (a + ab * t)));
    }
    return best;
}
} // namespace

std::optional<std::size_t> HouseGrid::nearest(Vec2 point, float reach) const
{
    if (!MapProjection::insideSquare(point) || !(reach >= 0))
        return std::nullopt;
    const Entry* best = nullptr;
    float bestDistance = 0;
    for (int y = cellOf(point.y - reach); y <= cellOf(point.y + reach); ++y)
        for (int x = cellOf(point.x - reach); x <= cellOf(point.x + reach); ++x)
            for (std::uint32_t id : m_grid[std::size_t(y) * std::size_t(m_cells) + std::size_t(x)]) {
                const Entry& e = m_entries[id];
                if (point.x < e.box.minX - reach || point.x > e.box.maxX + reach || point.y < e.box.minY - reach
                    || point.y > e.box.maxY + reach)
                    continue;
                const float d = distanceToOutline(e.outline, point);
                if (d > reach)
                    continue;
                if (!best || d < bestDistance || (d == bestDistance && e.area < best->area)) {
                    best = &e;
                    bestDistance = d;
                }
            }
    return best ? std::optional<std::size_t>(best->index) : std::nullopt;
}
