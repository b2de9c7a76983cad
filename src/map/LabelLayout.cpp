#include "map/LabelLayout.h"

#include <algorithm>
#include <cmath>

namespace labels {

namespace {

constexpr float kDegrees = 180.0f / 3.14159265358979f;

struct Clip {
    float x, y, z, w;
};

Clip toClip(const std::array<float, 16>& m, P3 p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]};
}

// Window pixels of a point in front of the camera.
P2 toWindow(const Clip& c, const LabelView& view)
{
    return {(c.x / c.w * 0.5f + 0.5f) * float(view.width), (c.y / c.w * 0.5f + 0.5f) * float(view.height)};
}

P3 add(P3 a, P3 b, float s)
{
    return {a.x + b.x * s, a.y + b.y * s, a.z + b.z * s};
}

P3 sub(P3 a, P3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

P3 cross(P3 a, P3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

P3 unit(P3 v)
{
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return l > 0 ? P3{v.x / l, v.y / l, v.z / l} : v;
}

float length(P2 v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// Places along a polyline every `spacing` units, the first half a spacing
// in; a line shorter than that gets its middle. Each carries the course of
// the stretch it lies on.
void candidatesAlong(const StreetLine& line, int owner, float spacing, std::vector<LabelLayout::Candidate>& out)
{
    const auto& pts = line.points;
    if (pts.empty())
        return;
    if (pts.size() == 1) {
        out.push_back({owner, {pts[0].x, pts[0].y, 0}, {0, 0}});
        return;
    }
    float total = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        total += length({pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y});
    if (!(total > 0)) {
        out.push_back({owner, {pts[0].x, pts[0].y, 0}, {0, 0}});
        return;
    }
    float next = total < spacing ? total / 2 : spacing / 2;
    float walked = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const P2 d{pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y};
        const float l = length(d);
        if (l <= 0)
            continue;
        const P2 dir{d.x / l, d.y / l};
        while (next <= walked + l) {
            const float t = next - walked;
            out.push_back({owner, {pts[i - 1].x + dir.x * t, pts[i - 1].y + dir.y * t, 0}, dir});
            next += spacing;
        }
        walked += l;
    }
}

} // namespace

// A name lying on the ground reads when the ground leaves it at least half
// its height on the screen, its top above its bottom, and its letters not
// slanted far out of square; otherwise it stands up.
bool LabelLayout::readableOnGround(const PlacedLabel& l) const
{
    const P2 base{l.screen[1].x - l.screen[0].x, l.screen[1].y - l.screen[0].y};
    const P2 side{l.screen[3].x - l.screen[0].x, l.screen[3].y - l.screen[0].y};
    const float baseLength = length(base), sideLength = length(side);
    if (!(baseLength > 0) || !(sideLength > 0))
        return false;
    const float crossing = (base.x * side.y - base.y * side.x) / (baseLength * sideLength);
    const float seen = std::fabs(base.x * side.y - base.y * side.x) / baseLength; // height across the baseline
    return crossing >= m_style.leastSquare && seen >= m_style.leastUpright * l.pixels;
}

// ------------------------------------------------------------------ view

LabelView LabelView::LookAt(P3 eye, P3 target, float fovYDegrees, int width, int height)
{
    LabelView v;
    v.width = width;
    v.height = height;
    v.eye = eye;
    const P3 f = unit(sub(target, eye));
    P3 r = unit(cross(f, {0, 0, 1}));
    if (r.x == 0 && r.y == 0 && r.z == 0)
        r = {1, 0, 0};
    const P3 u = cross(r, f);
    v.right = r;
    v.up = u;
    const float t = std::tan(fovYDegrees / 2 / kDegrees);
    const float sy = 1 / t;
    const float sx = sy * float(height) / float(width);
    const float n = 0.1f, fa = 1000.0f;
    v.focalPixels = sy * float(height) / 2;
    // Rows of the view matrix: right, up, -forward; then the projection.
    const float view[3][4] = {{r.x, r.y, r.z, -(r.x * eye.x + r.y * eye.y + r.z * eye.z)},
                              {u.x, u.y, u.z, -(u.x * eye.x + u.y * eye.y + u.z * eye.z)},
                              {-f.x, -f.y, -f.z, f.x * eye.x + f.y * eye.y + f.z * eye.z}};
    const float a = (fa + n) / (n - fa), b = 2 * fa * n / (n - fa);
    for (int c = 0; c < 4; ++c) {
        v.worldToClip[c * 4 + 0] = sx * view[0][c];
        v.worldToClip[c * 4 + 1] = sy * view[1][c];
        v.worldToClip[c * 4 + 2] = a * view[2][c] + (c == 3 ? b : 0);
        v.worldToClip[c * 4 + 3] = -view[2][c];
    }
    return v;
}

// ------------------------------------------------------------------ grid

void LabelLayout::Grid::Build(const std::vector<Candidate>& candidates, float cellSize)
{
    cell = cellSize;
    if (candidates.empty()) {
        nx = ny = 0;
        start.assign(1, 0);
        items.clear();
        return;
    }
    float x1 = candidates[0].at.x, y1 = candidates[0].at.y;
    x0 = x1;
    y0 = y1;
    for (const Candidate& c : candidates) {
        x0 = std::min(x0, c.at.x);
        y0 = std::min(y0, c.at.y);
        x1 = std::max(x1, c.at.x);
        y1 = std::max(y1, c.at.y);
    }
    nx = std::min(4096, int((x1 - x0) / cell) + 1);
    ny = std::min(4096, int((y1 - y0) / cell) + 1);
    const auto cellOf = [&](const Candidate& c) {
        const int ix = std::clamp(int((c.at.x - x0) / cell), 0, nx - 1);
        const int iy = std::clamp(int((c.at.y - y0) / cell), 0, ny - 1);
        return std::size_t(iy) * std::size_t(nx) + std::size_t(ix);
    };
    start.assign(std::size_t(nx) * std::size_t(ny) + 1, 0);
    for (const Candidate& c : candidates)
        ++start[cellOf(c) + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    items.resize(candidates.size());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        items[fill[cellOf(candidates[i])]++] = std::uint32_t(i);
}

template <class F>
void LabelLayout::Grid::ForNear(float x, float y, float radius, F&& visit) const
{
    if (nx == 0 || !(radius > 0))
        return;
    const int ix0 = std::max(0, int(std::floor((x - radius - x0) / cell)));
    const int iy0 = std::max(0, int(std::floor((y - radius - y0) / cell)));
    const int ix1 = std::min(nx - 1, int(std::floor((x + radius - x0) / cell)));
    const int iy1 = std::min(ny - 1, int(std::floor((y + radius - y0) / cell)));
    for (int iy = iy0; iy <= iy1; ++iy)
        for (int ix = ix0; ix <= ix1; ++ix) {
            const std::size_t c = std::size_t(iy) * std::size_t(nx) + std::size_t(ix);
            for (std::uint32_t k = start[c]; k < start[c + 1]; ++k)
                visit(items[k]);
        }
}

// ------------------------------------------------------------------ layout

LabelLayout::LabelLayout(std::vector<StreetLine> streets, std::vector<HouseMark> houses, Aspect aspect,
                         LabelStyle style)
    : m_streets(std::move(streets)), m_houses(std::move(houses)), m_style(style), m_aspect(std::move(aspect)),
      m_streetAspects(m_streets.size(), 0.0f), m_numberAspects(m_houses.size(), 0.0f)
{
    for (std::size_t i = 0; i < m_streets.size(); ++i)
        candidatesAlong(m_streets[i], int(i), m_style.candidateSpacing, m_streetCandidates);
    for (std::size_t i = 0; i < m_houses.size(); ++i)
        m_numberCandidates.push_back({int(i), m_houses[i].roof, {0, 0}});
    m_streetGrid.Build(m_streetCandidates, 16);
    m_numberGrid.Build(m_numberCandidates, 8);
}

float LabelLayout::aspectOf(LabelKind kind, int owner)
{
    float& known = (kind == LabelKind::Street ? m_streetAspects : m_numberAspects)[std::size_t(owner)];
    if (!(known > 0))
        known = std::max(0.01f, m_aspect(kind, kind == LabelKind::Street ? m_streets[std::size_t(owner)].name
                                                                         : m_houses[std::size_t(owner)].number));
    return known;
}

void LabelLayout::gather(const LabelView& view, const std::vector<Candidate>& candidates, const Grid& grid,
                         LabelKind kind, const Sizes& sizes, std::vector<Tried>& out)
{
    const float s = view.scale;
    const float height = sizes.height;
    const float minPx = sizes.minPixels * s;
    const float fullPx = sizes.fullPixels * s;
    const float maxPx = sizes.maxPixels * s;
    // Beyond this distance the letters are smaller than the smallest readable.
    const float farthest = height * view.focalPixels / minPx;
    const float above = view.eye.z;
    if (!(farthest > 0) || std::fabs(above) >= farthest)
        return;
    const float radius = std::sqrt(farthest * farthest - above * above);
    const float cx = float(view.width) / 2, cy = float(view.height) / 2;
    const float halfDiagonal = std::sqrt(cx * cx + cy * cy);
    const float tan = std::tan(m_style.alongDegrees / kDegrees);

    grid.ForNear(view.eye.x, view.eye.y, radius, [&](std::uint32_t index) {
        const Candidate& c = candidates[index];
        const Clip clip = toClip(view.worldToClip, c.at);
        if (clip.w <= 1e-4f)
            return;
        const P2 at = toWindow(clip, view);
        if (at.x < 0 || at.y < 0 || at.x > float(view.width) || at.y > float(view.height))
            return;
        const float px = height * view.focalPixels / clip.w;
        if (px < minPx)
            return;
        Tried t{&c, 0, {}};
        PlacedLabel& l = t.label;
        l.kind = kind;
        l.text = c.owner;
        l.alpha = std::clamp((px - minPx) / std::max(fullPx - minPx, 1e-3f), 0.0f, 1.0f);
        l.pixels = std::min(px, maxPx);
        // The letters' size in the world at this distance.
        const float h = height * l.pixels / px;
        const float w = h * aspectOf(kind, c.owner);

        const auto project = [&]() {
            for (int k = 0; k < 4; ++k) {
                const Clip q = toClip(view.worldToClip, l.world[std::size_t(k)]);
                if (q.w <= 1e-4f)
                    return false;
                l.screen[std::size_t(k)] = toWindow(q, view);
            }
            return true;
        };
        bool ground = false;
        if (c.dir.x != 0 || c.dir.y != 0) {
            P3 dir{c.dir.x, c.dir.y, 0};
            const Clip ahead = toClip(view.worldToClip, add(c.at, dir, h));
            if (ahead.w > 1e-4f) {
                P2 d = toWindow(ahead, view);
                d = {d.x - at.x, d.y - at.y};
                if (d.x < 0) { // read left to right
                    dir = {-dir.x, -dir.y, 0};
                    d = {-d.x, -d.y};
                }
                if (d.x > 0 && std::fabs(d.y) <= d.x * tan) {
                    const P3 across{-dir.y, dir.x, 0}; // left of the course: up the page
                    l.world = {add(add(c.at, dir, -w / 2), across, -h / 2), add(add(c.at, dir, w / 2), across, -h / 2),
                               add(add(c.at, dir, w / 2), across, h / 2), add(add(c.at, dir, -w / 2), across, h / 2)};
                    ground = project() && readableOnGround(l);
                }
            }
        }
        if (!ground) {
            l.world = {add(add(c.at, view.right, -w / 2), view.up, -h / 2),
                       add(add(c.at, view.right, w / 2), view.up, -h / 2),
                       add(add(c.at, view.right, w / 2), view.up, h / 2),
                       add(add(c.at, view.right, -w / 2), view.up, h / 2)};
            if (!project())
                return;
        }
        l.pose = ground ? LabelPose::Ground : LabelPose::Upright;
        ScreenRect r{l.screen[0].x, l.screen[0].y, l.screen[0].x, l.screen[0].y};
        for (const P2& p : l.screen) {
            r.left = std::min(r.left, p.x);
            r.right = std::max(r.right, p.x);
            r.bottom = std::min(r.bottom, p.y);
            r.top = std::max(r.top, p.y);
        }
        l.bounds = r;
        // Readable ones first, then those nearer the middle of the view.
        const float off = length({at.x - cx, at.y - cy}) / std::max(halfDiagonal, 1.0f);
        t.score = l.pixels / s * l.alpha - 6.0f * off;
        out.push_back(t);
    });
}

bool LabelLayout::fits(const ScreenRect& r, const LabelView& view) const
{
    if (r.left < 0 || r.bottom < 0 || r.right > float(view.width) || r.top > float(view.height))
        return false;
    for (const ScreenRect& reserved : view.reserved)
        if (r.Meets(reserved))
            return false;
    const int x0 = std::max(0, int(r.left / m_takenCell)), x1 = std::min(m_takenW - 1, int(r.right / m_takenCell));
    const int y0 = std::max(0, int(r.bottom / m_takenCell)), y1 = std::min(m_takenH - 1, int(r.top / m_takenCell));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (m_taken[std::size_t(y) * std::size_t(m_takenW) + std::size_t(x)])
                return false;
    return true;
}

void LabelLayout::occupy(const ScreenRect& r)
{
    const int x0 = std::max(0, int(r.left / m_takenCell)), x1 = std::min(m_takenW - 1, int(r.right / m_takenCell));
    const int y0 = std::max(0, int(r.bottom / m_takenCell)), y1 = std::min(m_takenH - 1, int(r.top / m_takenCell));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            m_taken[std::size_t(y) * std::size_t(m_takenW) + std::size_t(x)] = 1;
}

const std::vector<PlacedLabel>& LabelLayout::Place(const LabelView& view)
{
    m_placed.clear();
    if (view.width <= 0 || view.height <= 0 || !(view.focalPixels > 0))
        return m_placed;
    m_takenCell = 6 * view.scale;
    m_takenW = int(float(view.width) / m_takenCell) + 1;
    m_takenH = int(float(view.height) / m_takenCell) + 1;
    m_taken.assign(std::size_t(m_takenW) * std::size_t(m_takenH), 0);
    const float pad = m_style.padPixels * view.scale;
    const auto padded = [pad](ScreenRect r) { return ScreenRect{r.left - pad, r.bottom - pad, r.right + pad, r.top + pad}; };
    const auto centre = [](const ScreenRect& r) { return P2{(r.left + r.right) / 2, (r.bottom + r.top) / 2}; };
    const auto byScore = [](const Tried& a, const Tried& b) { return a.score > b.score; };

    if (view.streets) {
        m_tried.clear();
        gather(view, m_streetCandidates, m_streetGrid, LabelKind::Street,
               {m_style.streetHeight, m_style.minPixels, m_style.fullPixels, m_style.maxStreetPixels}, m_tried);
        std::sort(m_tried.begin(), m_tried.end(), byScore);
        std::vector<char> named(m_streets.size(), 0);
        // Every street once, then again where its other copies are far.
        for (const Tried& t : m_tried) {
            if (named[std::size_t(t.label.text)] || !fits(padded(t.label.bounds), view))
                continue;
            named[std::size_t(t.label.text)] = 1;
            occupy(padded(t.label.bounds));
            m_placed.push_back(t.label);
        }
        const float repeat = m_style.repeatPixels * view.scale;
        for (const Tried& t : m_tried) {
            const P2 c = centre(t.label.bounds);
            const bool near = std::any_of(m_placed.begin(), m_placed.end(), [&](const PlacedLabel& p) {
                const P2 o = centre(p.bounds);
                return p.text == t.label.text && length({o.x - c.x, o.y - c.y}) < repeat;
            });
            if (near || !fits(padded(t.label.bounds), view))
                continue;
            occupy(padded(t.label.bounds));
            m_placed.push_back(t.label);
        }
    }
    if (view.numbers) {
        m_tried.clear();
        gather(view, m_numberCandidates, m_numberGrid, LabelKind::Number,
               {m_style.numberHeight, m_style.minNumberPixels, m_style.fullNumberPixels, m_style.maxNumberPixels},
               m_tried);
        std::sort(m_tried.begin(), m_tried.end(), byScore);
        for (const Tried& t : m_tried) {
            if (!fits(padded(t.label.bounds), view))
                continue;
            occupy(padded(t.label.bounds));
            m_placed.push_back(t.label);
        }
    }
    return m_placed;
}

} // namespace labels
