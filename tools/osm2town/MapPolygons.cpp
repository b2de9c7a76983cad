#include "MapPolygons.h"

#include "MapProjection.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <unordered_map>

std::optional<Polygon> mapOutline(Polygon ring)
{
    constexpr float kSame = 1e-4f;
    auto same = [](Vec2 a, Vec2 b) { return std::fabs(a.x - b.x) <= kSame && std::fabs(a.y - b.y) <= kSame; };
    Polygon pts;
    for (Vec2 v : ring)
        if (pts.empty() || !same(pts.back(), v))
            pts.push_back(v);
    while (pts.size() > 1 && same(pts.front(), pts.back()))
        pts.pop_back();
    // Drop nodes on a straight line between their neighbours: one pass that
    // takes back the middle of any three in a row, then the same across the seam.
    auto straight = [](Vec2 a, Vec2 b, Vec2 c) {
        return std::fabs(cross(b - a, c - a)) <= 1e-7f * std::max(1.0f, length(c - a));
    };
    Polygon kept;
    kept.reserve(pts.size());
    for (Vec2 v : pts) {
        while (kept.size() >= 2 && straight(kept[kept.size() - 2], kept.back(), v))
            kept.pop_back();
        kept.push_back(v);
    }
    for (bool changed = true; changed && kept.size() >= 3;) {
        changed = false;
        const std::size_t n = kept.size();
        if (straight(kept[n - 2], kept[n - 1], kept[0])) {
            kept.pop_back();
            changed = true;
        } else if (straight(kept[n - 1], kept[0], kept[1])) {
            kept.erase(kept.begin());
            changed = true;
        }
    }
    pts = std::move(kept);
    if (pts.size() < 3 || std::fabs(signedArea(pts)) < 1e-6)
        return std::nullopt;
    makeCounterClockwise(pts);
    // The lowest-leftmost node is a convex corner; start one before it.
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (pts[i].x < pts[lowest].x || (pts[i].x == pts[lowest].x && pts[i].y < pts[lowest].y))
            lowest = i;
    std::rotate(pts.begin(), pts.begin() + std::ptrdiff_t((lowest + pts.size() - 1) % pts.size()), pts.end());
    return pts;
}

std::vector<std::vector<std::int64_t>> joinRings(std::vector<std::vector<std::int64_t>> runs, std::size_t* open)
{
    std::vector<std::vector<std::int64_t>> rings;
    std::size_t unclosed = 0;
    std::erase_if(runs, [](const auto& r) { return r.size() < 2; });
    // The runs that start or end at each node.
    std::unordered_multimap<std::int64_t, std::size_t> ends;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        ends.emplace(runs[i].front(), i);
        ends.emplace(runs[i].back(), i);
    }
    std::vector<bool> used(runs.size(), false);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        std::vector<std::int64_t> ring = runs[i];
        // Extend at the end by any unused run that starts or ends there.
        while (ring.front() != ring.back()) {
            const auto [from, to] = ends.equal_range(ring.back());
            auto next = std::find_if(from, to, [&used](const auto& e) { return !used[e.second]; });
            if (next == to)
                break;
            const std::vector<std::int64_t>& r = runs[next->second];
            used[next->second] = true;
            if (r.front() == ring.back())
                ring.insert(ring.end(), r.begin() + 1, r.end());
            else
                ring.insert(ring.end(), r.rbegin() + 1, r.rend());
        }
        if (ring.size() >= 4 && ring.front() == ring.back())
            rings.push_back(std::move(ring));
        else
            ++unclosed;
    }
    if (open)
        *open = unclosed;
    return rings;
}

Polygon clipToBox(const Polygon& p, const Box& box)
{
    Polygon out = p;
    auto clip = [&out](auto inside, auto cut) {
        if (out.empty())
            return;
        Polygon in;
        in.swap(out);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const Vec2 a = in[i], b = in[(i + 1) % in.size()];
            const bool ia = inside(a), ib = inside(b);
            if (ia)
                out.push_back(a);
            if (ia != ib)
                out.push_back(cut(a, b));
        }
    };
    auto along = [](Vec2 a, Vec2 b, float t) { return a + (b - a) * t; };
    clip([&](Vec2 v) { return v.x >= box.minX; }, [&](Vec2 a, Vec2 b) {
        Vec2 v = along(a, b, (box.minX - a.x) / (b.x - a.x));
        v.x = box.minX;
        return v;
    });
    clip([&](Vec2 v) { return v.x <= box.maxX; }, [&](Vec2 a, Vec2 b) {
        Vec2 v = along(a, b, (box.maxX - a.x) / (b.x - a.x));
        v.x = box.maxX;
        return v;
    });
    clip([&](Vec2 v) { return v.y >= box.minY; }, [&](Vec2 a, Vec2 b) {
        Vec2 v = along(a, b, (box.minY - a.y) / (b.y - a.y));
        v.y = box.minY;
        return v;
    });
    clip([&](Vec2 v) { return v.y <= box.maxY; }, [&](Vec2 a, Vec2 b) {
        Vec2 v = along(a, b, (box.maxY - a.y) / (b.y - a.y));
        v.y = box.maxY;
        return v;
    });
    return out;
}

std::vector<Polygon> tileArea(const Polygon& area, float tile)
{
    std::vector<Polygon> tiles;
    if (area.size() < 3)
        return tiles;
    const float half = mapscale::kSquareHalf;
    const Box b = boundsOf(area);
    const int cells = int(std::ceil(2 * half / tile));
    auto cellOf = [&](float v) { return std::clamp(int(std::floor((v + half) / tile)), 0, cells - 1); };
    if (b.maxX < -half || b.minX > half || b.maxY < -half || b.minY > half)
        return tiles;
    const int x0 = cellOf(b.minX), x1 = cellOf(b.maxX), y0 = cellOf(b.minY), y1 = cellOf(b.maxY);
    // A row at a time, so a large outline is cut once per row, not per cell.
    for (int cy = y0; cy <= y1; ++cy) {
        Box row;
        row.minX = -half + float(x0) * tile;
        row.maxX = std::min(half, -half + float(x1 + 1) * tile);
        row.minY = -half + float(cy) * tile;
        row.maxY = std::min(half, row.minY + tile);
        const Polygon strip = clipToBox(area, row);
        if (strip.size() < 3)
            continue;
        for (int cx = x0; cx <= x1; ++cx) {
            Box cell = row;
            cell.minX = -half + float(cx) * tile;
            cell.maxX = std::min(half, cell.minX + tile);
            if (auto piece = mapOutline(clipToBox(strip, cell)))
                tiles.push_back(std::move(*piece));
        }
    }
    return tiles;
}

namespace {
Polygon joint(Vec2 centre, float radius)
{
    Polygon p;
    for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi * (2 * i + 1) / 8;
        // The octagon's corners reach past the band's edges only a little.
        const float r = radius / float(std::cos(std::numbers::pi / 8));
        p.push_back({centre.x + r * float(std::cos(a)), centre.y + r * float(std::sin(a))});
    }
    return p;
}
} // namespace

std::vector<Polygon> bandPieces(const std::vector<Vec2>& line, float halfWidth, float maxPiece,
                                std::size_t* outside)
{
    std::vector<Polygon> pieces;
    std::size_t dropped = 0;
    std::vector<Vec2> pts;
    for (Vec2 v : line)
        if (pts.empty() || length(v - pts.back()) > 1e-4f)
            pts.push_back(v);
    if (pts.size() < 2)
        return pieces;
    // Sharp turns split the line: a band's mitred corner would fold there.
    constexpr float kSharpCos = 0.5f; // 60 degrees
    std::vector<std::vector<Vec2>> chains{{pts[0]}};
    std::vector<Vec2> joints;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        chains.back().push_back(pts[i]);
        if (i + 1 < pts.size() && dot(normalized(pts[i] - pts[i - 1]), normalized(pts[i + 1] - pts[i])) < kSharpCos) {
            chains.push_back({pts[i]});
            joints.push_back(pts[i]);
        }
    }
    // Long chains in pieces of at most maxPiece along the line.
    for (const std::vector<Vec2>& chain : chains) {
        const Polyline full(chain);
        const float total = full.length();
        const int count = std::max(1, int(std::ceil(total / maxPiece)));
        for (int k = 0; k < count; ++k) {
            const float s0 = total * float(k) / float(count), s1 = total * float(k + 1) / float(count);
            const Polyline part = count == 1 ? full : full.sub(s0, s1);
            // Open ends reach a half width further, under the road they meet.
            const bool lineStart = &chain == &chains.front() && k == 0;
            const bool lineEnd = &chain == &chains.back() && k == count - 1;
            std::vector<Vec2> p = part.points();
            if (p.size() < 2)
                continue;
            if (lineStart)
                p.front() = p.front() - normalized(p[1] - p[0]) * halfWidth;
            if (lineEnd)
                p.back() = p.back() + normalized(p[p.size() - 1] - p[p.size() - 2]) * halfWidth;
            Polygon band = Polyline(p).band(halfWidth);
            if (!MapProjection::insideSquare(band)) {
                ++dropped;
                continue;
            }
            if (auto outline = mapOutline(std::move(band)))
                pieces.push_back(std::move(*outline));
        }
    }
    for (Vec2 j : joints) {
        Polygon p = joint(j, halfWidth);
        if (!MapProjection::insideSquare(p)) {
            ++dropped;
            continue;
        }
        if (auto outline = mapOutline(std::move(p)))
            pieces.push_back(std::move(*outline));
    }
    if (outside)
        *outside += dropped;
    return pieces;
}
