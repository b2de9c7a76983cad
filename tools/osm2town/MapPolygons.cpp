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

namespace {
// A piece of a cell with holes in it, as convex slices: the cell is cut into
// vertical strips at every node, and within a strip the rings' edges run
// from side to side, so the inside (even-odd) lies between edge pairs.
void sliceAroundHoles(const std::vector<Polygon>& rings, std::vector<Polygon>& out)
{
    struct Edge {
        Vec2 a, b; // a.x < b.x
    };
    std::vector<Edge> edges;
    std::vector<float> xs;
    for (const Polygon& r : rings)
        for (std::size_t k = 0; k < r.size(); ++k) {
            const Vec2 a = r[k], b = r[(k + 1) % r.size()];
            xs.push_back(a.x);
            if (a.x != b.x)
                edges.push_back(a.x < b.x ? Edge{a, b} : Edge{b, a});
        }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end(), [](float a, float b) { return b - a < 1e-5f; }), xs.end());
    // A sweep from left to right: only the edges spanning a strip are looked at.
    std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.a.x < q.a.x; });
    std::vector<const Edge*> active;
    std::size_t next = 0;
    struct Crossing {
        const Edge* edge;
        float mid;
    };
    std::vector<Crossing> crossings;
    // A slice between the same two edges as in the strip before grows into
    // this strip instead of starting a new polygon.
    struct Slice {
        const Edge *lo, *hi;
        float x0, x1;
    };
    std::vector<Slice> open, next_open;
    auto y = [](const Edge* e, float x) { return e->a.y + (e->b.y - e->a.y) * (x - e->a.x) / (e->b.x - e->a.x); };
    auto close = [&](const Slice& s) {
        if (auto piece = mapOutline({{s.x0, y(s.lo, s.x0)}, {s.x1, y(s.lo, s.x1)}, {s.x1, y(s.hi, s.x1)},
                                     {s.x0, y(s.hi, s.x0)}}))
            out.push_back(std::move(*piece));
    };
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const float x0 = xs[i], x1 = xs[i + 1], xm = (x0 + x1) / 2;
        while (next < edges.size() && edges[next].a.x < xm)
            active.push_back(&edges[next++]);
        std::erase_if(active, [xm](const Edge* e) { return e->b.x <= xm; });
        crossings.clear();
        for (const Edge* e : active)
            crossings.push_back({e, y(e, xm)});
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& p, const Crossing& q) { return p.mid < q.mid; });
        next_open.clear();
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            Slice s{crossings[k].edge, crossings[k + 1].edge, x0, x1};
            const auto same = std::find_if(open.begin(), open.end(), [&](const Slice& o) { return o.lo == s.lo && o.hi == s.hi; });
            if (same != open.end()) {
                s.x0 = same->x0;
                same->lo = nullptr; // taken over
            }
            next_open.push_back(s);
        }
        for (const Slice& o : open)
            if (o.lo)
                close(o);
        open.swap(next_open);
    }
    for (const Slice& o : open)
        close(o);
}
} // namespace

std::vector<Polygon> tileArea(const Polygon& area, float tile) { return tileArea(area, {}, tile); }

std::vector<Polygon> tileArea(const Polygon& area, const std::vector<Polygon>& holes, float tile)
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
    auto meets = [](const Box& p, const Box& q) {
        return p.minX < q.maxX && q.minX < p.maxX && p.minY < q.maxY && q.minY < p.maxY;
    };
    std::vector<Box> holeBounds;
    for (const Polygon& h : holes)
        holeBounds.push_back(boundsOf(h));
    std::vector<Polygon> rings;
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
            Polygon piece = clipToBox(strip, cell);
            if (piece.size() < 3)
                continue;
            // A cell with a hole in it is sliced around the hole.
            rings.clear();
            for (std::size_t h = 0; h < holes.size(); ++h) {
                if (!meets(holeBounds[h], cell))
                    continue;
                Polygon cut = clipToBox(holes[h], cell);
                if (cut.size() >= 3 && std::fabs(signedArea(cut)) > 1e-6)
                    rings.push_back(std::move(cut));
            }
            if (rings.empty()) {
                if (auto outline = mapOutline(std::move(piece)))
                    tiles.push_back(std::move(*outline));
                continue;
            }
            rings.push_back(std::move(piece));
            sliceAroundHoles(rings, tiles);
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
