#include "Geometry.h"

#include <algorithm>

double signedArea(const Polygon& p)
{
    double a = 0;
    for (std::size_t i = 0, n = p.size(); i < n; ++i) {
        const Vec2 u = p[i];
        const Vec2 v = p[(i + 1) % n];
        a += double(u.x) * v.y - double(v.x) * u.y;
    }
    return a / 2;
}

Vec2 centroidOfNodes(const Polygon& p)
{
    Vec2 c;
    for (Vec2 v : p)
        c = c + v;
    return p.empty() ? c : c * (1.0f / float(p.size()));
}

void makeCounterClockwise(Polygon& p)
{
    if (signedArea(p) < 0)
        std::reverse(p.begin(), p.end());
}

bool pointInPolygon(const Polygon& p, Vec2 q)
{
    bool inside = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > q.y) != (p[j].y > q.y)) {
            const float x = p[j].x + (q.y - p[j].y) * (p[i].x - p[j].x) / (p[i].y - p[j].y);
            if (q.x < x)
                inside = !inside;
        }
    }
    return inside;
}

namespace {
int orientation(Vec2 a, Vec2 b, Vec2 c)
{
    const double v = double(b.x - a.x) * (c.y - a.y) - double(b.y - a.y) * (c.x - a.x);
    return v > 1e-12 ? 1 : (v < -1e-12 ? -1 : 0);
}
bool onSegment(Vec2 a, Vec2 b, Vec2 q)
{
    return std::min(a.x, b.x) <= q.x && q.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= q.y
           && q.y <= std::max(a.y, b.y);
}
} // namespace

bool segmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d)
{
    const int o1 = orientation(a, b, c), o2 = orientation(a, b, d);
    const int o3 = orientation(c, d, a), o4 = orientation(c, d, b);
    if (o1 != o2 && o3 != o4)
        return true;
    return (o1 == 0 && onSegment(a, b, c)) || (o2 == 0 && onSegment(a, b, d)) || (o3 == 0 && onSegment(c, d, a))
           || (o4 == 0 && onSegment(c, d, b));
}

bool isSimple(const Polygon& p)
{
    const std::size_t n = p.size();
    if (n < 3)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (j == i + 1 || (i == 0 && j == n - 1))
                continue;
            if (segmentsCross(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

namespace {
bool separatedAlongEdges(const Polygon& a, const Polygon& b)
{
    for (std::size_t i = 0, n = a.size(); i < n; ++i) {
        const Vec2 axis = leftNormal(a[(i + 1) % n] - a[i]);
        float minA = 1e30f, maxA = -1e30f, minB = 1e30f, maxB = -1e30f;
        for (Vec2 v : a) {
            const float d = dot(axis, v);
            minA = std::min(minA, d);
            maxA = std::max(maxA, d);
        }
        for (Vec2 v : b) {
            const float d = dot(axis, v);
            minB = std::min(minB, d);
            maxB = std::max(maxB, d);
        }
        if (maxA < minB || maxB < minA)
            return true;
    }
    return false;
}
} // namespace

bool convexOverlap(const Polygon& a, const Polygon& b)
{
    return !separatedAlongEdges(a, b) && !separatedAlongEdges(b, a);
}

Polygon convexHull(Polygon pts)
{
    std::sort(pts.begin(), pts.end(), [](Vec2 a, Vec2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    if (pts.size() < 3)
        return pts;
    Polygon hull(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 1] - hull[k - 2], pts[i] - hull[k - 2]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 1] - hull[k - 2], pts[i] - hull[k - 2]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    hull.resize(k - 1);
    return hull;
}

Polygon inflateConvex(const Polygon& p, float margin)
{
    Polygon out;
    out.reserve(p.size() * 2);
    const float sign = signedArea(p) >= 0 ? 1.0f : -1.0f;
    for (std::size_t i = 0, n = p.size(); i < n; ++i) {
        const Vec2 prev = p[(i + n - 1) % n], cur = p[i], next = p[(i + 1) % n];
        const Vec2 n1 = normalized(leftNormal(cur - prev)) * (-sign * margin);
        const Vec2 n2 = normalized(leftNormal(next - cur)) * (-sign * margin);
        out.push_back(cur + n1);
        out.push_back(cur + n2);
    }
    return convexHull(out);
}

void Box::add(Vec2 v)
{
    minX = std::min(minX, v.x);
    minY = std::min(minY, v.y);
    maxX = std::max(maxX, v.x);
    maxY = std::max(maxY, v.y);
}

Box boundsOf(const Polygon& p)
{
    Box b;
    for (Vec2 v : p)
        b.add(v);
    return b;
}

Polyline::Polyline(std::vector<Vec2> points) : m_points(std::move(points))
{
    m_cumulative.reserve(m_points.size());
    float s = 0;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (i > 0)
            s += ::length(m_points[i] - m_points[i - 1]);
        m_cumulative.push_back(s);
    }
}

std::size_t Polyline::segmentAt(float s) const
{
    const auto it = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), s);
    std::size_t i = it == m_cumulative.begin() ? 0 : std::size_t(it - m_cumulative.begin()) - 1;
    return std::min(i, m_points.size() - 2);
}

Vec2 Polyline::pointAt(float s) const
{
    const std::size_t i = segmentAt(s);
    const float segLen = m_cumulative[i + 1] - m_cumulative[i];
    const float t = segLen > 0 ? (s - m_cumulative[i]) / segLen : 0;
    return m_points[i] + (m_points[i + 1] - m_points[i]) * t;
}

Vec2 Polyline::tangentAt(float s) const
{
    const std::size_t i = segmentAt(s);
    return normalized(m_points[i + 1] - m_points[i]);
}

Polyline Polyline::sub(float s0, float s1) const
{
    std::vector<Vec2> pts{pointAt(s0)};
    for (std::size_t i = 0; i < m_points.size(); ++i)
        if (m_cumulative[i] > s0 && m_cumulative[i] < s1)
            pts.push_back(m_points[i]);
    pts.push_back(pointAt(s1));
    return Polyline(std::move(pts));
}

Polygon Polyline::band(float halfWidth, float endExtension) const
{
    const std::size_t n = m_points.size();
    std::vector<Vec2> pts = m_points;
    if (n >= 2 && endExtension > 0) {
        pts.front() = pts.front() - normalized(pts[1] - pts[0]) * endExtension;
        pts.back() = pts.back() + normalized(pts[n - 1] - pts[n - 2]) * endExtension;
    }
    Polygon left, right;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec2 dIn = i > 0 ? normalized(pts[i] - pts[i - 1]) : normalized(pts[1] - pts[0]);
        const Vec2 dOut = i + 1 < n ? normalized(pts[i + 1] - pts[i]) : dIn;
        Vec2 nrm = normalized(leftNormal(dIn) + leftNormal(dOut));
        const float c = dot(nrm, leftNormal(dOut));
        const float miter = halfWidth / std::max(c, 0.5f);
        left.push_back(pts[i] + nrm * miter);
        right.push_back(pts[i] - nrm * miter);
    }
    Polygon out = right;
    out.insert(out.end(), left.rbegin(), left.rend());
    return out;
}

float Polyline::firstCrossing(Vec2 a, Vec2 b) const
{
    for (std::size_t i = 0; i + 1 < m_points.size(); ++i) {
        const Vec2 p = m_points[i], r = m_points[i + 1] - p, q = a, s = b - a;
        const float den = cross(r, s);
        if (std::fabs(den) < 1e-9f)
            continue;
        const float t = cross(q - p, s) / den;
        const float u = cross(q - p, r) / den;
        if (t >= 0 && t <= 1 && u >= 0 && u <= 1)
            return m_cumulative[i] + t * (m_cumulative[i + 1] - m_cumulative[i]);
    }
    return -1;
}

ObstacleGrid::ObstacleGrid(float halfExtent, float cellSize)
    : m_half(halfExtent), m_cell(cellSize), m_cells(std::max(1, int(std::ceil(2 * halfExtent / cellSize))))
{
    m_grid.resize(std::size_t(m_cells) * std::size_t(m_cells));
}

template <class F>
void ObstacleGrid::forCells(const Box& b, F&& f) const
{
    auto cell = [&](float v) { return std::clamp(int(std::floor((v + m_half) / m_cell)), 0, m_cells - 1); };
    const int x0 = cell(b.minX), x1 = cell(b.maxX), y0 = cell(b.minY), y1 = cell(b.maxY);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            f(std::size_t(y) * std::size_t(m_cells) + std::size_t(x));
}

void ObstacleGrid::add(const Polygon& convex)
{
    const auto id = static_cast<std::uint32_t>(m_shapes.size());
    m_shapes.push_back(convex);
    m_boxes.push_back(boundsOf(convex));
    m_seen.push_back(0);
    forCells(m_boxes.back(), [&](std::size_t c) { m_grid[c].push_back(id); });
}

bool ObstacleGrid::hits(const Polygon& convex) const
{
    const Box b = boundsOf(convex);
    ++m_stamp;
    bool hit = false;
    forCells(b, [&](std::size_t c) {
        if (hit)
            return;
        for (std::uint32_t id : m_grid[c]) {
            if (m_seen[id] == m_stamp)
                continue;
            m_seen[id] = m_stamp;
            if (m_boxes[id].overlaps(b) && convexOverlap(m_shapes[id], convex)) {
                hit = true;
                return;
            }
        }
    });
    return hit;
}
