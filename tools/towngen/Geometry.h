#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// Plane geometry of the town plan, in scene units (1 unit is about 12 m).
struct Vec2 {
    float x = 0;
    float y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }
inline Vec2 normalized(Vec2 a)
{
    const float l = length(a);
    return l > 0 ? a * (1.0f / l) : Vec2{1, 0};
}
// The normal to the left of a direction (counter-clockwise quarter turn).
inline Vec2 leftNormal(Vec2 a) { return {-a.y, a.x}; }
inline Vec2 fromAngle(double radians) { return {float(std::cos(radians)), float(std::sin(radians))}; }

using Polygon = std::vector<Vec2>;

// Positive for a counter-clockwise outline seen from above.
double signedArea(const Polygon& p);
Vec2 centroidOfNodes(const Polygon& p);
void makeCounterClockwise(Polygon& p);
bool pointInPolygon(const Polygon& p, Vec2 q);
bool segmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d);
// No two non-adjacent edges meet.
bool isSimple(const Polygon& p);
// Separating-axis test of two convex polygons.
bool convexOverlap(const Polygon& a, const Polygon& b);
Polygon convexHull(Polygon points);
// The polygon grown outward by `margin` (convex polygons, either winding).
Polygon inflateConvex(const Polygon& p, float margin);

struct Box {
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
    void add(Vec2 v);
    bool overlaps(const Box& o) const
    {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
};
Box boundsOf(const Polygon& p);

// A centre line with its length along the way.
class Polyline {
public:
    Polyline() = default;
    explicit Polyline(std::vector<Vec2> points);
    const std::vector<Vec2>& points() const { return m_points; }
    float length() const { return m_cumulative.empty() ? 0 : m_cumulative.back(); }
    Vec2 pointAt(float s) const;
    Vec2 tangentAt(float s) const;
    // The outline of a band of half-width `halfWidth` around the line, ends
    // pushed out by `endExtension`.
    Polygon band(float halfWidth, float endExtension = 0) const;
    // The part between arc lengths s0 and s1.
    Polyline sub(float s0, float s1) const;
    // Arc length of the first crossing with segment (a, b), or -1.
    float firstCrossing(Vec2 a, Vec2 b) const;

private:
    std::size_t segmentAt(float s) const;
    std::vector<Vec2> m_points;
    std::vector<float> m_cumulative;
};

// Convex obstacles in a uniform grid of cells, for quick "is this free" tests.
class ObstacleGrid {
public:
    ObstacleGrid(float halfExtent, float cellSize);
    void add(const Polygon& convex);
    bool hits(const Polygon& convex) const;
    std::size_t size() const { return m_shapes.size(); }

private:
    template <class F>
    void forCells(const Box& b, F&& f) const;
    float m_half;
    float m_cell;
    int m_cells;
    std::vector<Polygon> m_shapes;
    std::vector<Box> m_boxes;
    std::vector<std::vector<std::uint32_t>> m_grid;
    mutable std::vector<std::uint32_t> m_seen;
    mutable std::uint32_t m_stamp = 0;
};
