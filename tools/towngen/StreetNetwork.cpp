#include "StreetNetwork.h"

#include "base/Cp1251.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace {
// A street's end this near another street's centre line meets it.
constexpr float kJoinDistance = 1.5f;
// Cuts this near a point of the line are that point.
constexpr float kSamePoint = 1e-3f;

RoadClass classOf(StreetKind kind)
{
    switch (kind) {
    case StreetKind::Avenue: return RoadClass::Primary;
    case StreetKind::Embankment: return RoadClass::Secondary;
    case StreetKind::Lane: return RoadClass::Residential;
    case StreetKind::Square: return RoadClass::Tertiary;
    case StreetKind::Street: break;
    }
    return RoadClass::Residential;
}

struct Segment {
    std::uint32_t street;
    std::uint32_t index; // from points()[index] to points()[index + 1]
    Vec2 a, b;
};

// A place on a segment where the network has a node: `node` before union.
struct Cut {
    std::uint32_t segment;
    float t;
    std::uint32_t node;
};

class Nodes {
public:
    std::uint32_t add(Vec2 at)
    {
        m_points.push_back(at);
        m_parent.push_back(std::uint32_t(m_parent.size()));
        return m_parent.back();
    }
    std::uint32_t find(std::uint32_t n)
    {
        while (m_parent[n] != n)
            n = m_parent[n] = m_parent[m_parent[n]];
        return n;
    }
    void join(std::uint32_t a, std::uint32_t b) { m_parent[find(a)] = find(b); }
    Vec2 at(std::uint32_t n) const { return m_points[n]; }
    std::size_t size() const { return m_points.size(); }

private:
    std::vector<Vec2> m_points;
    std::vector<std::uint32_t> m_parent;
};

// Segments by the grid cells their bounding boxes touch.
class SegmentGrid {
public:
    SegmentGrid(const std::vector<Segment>& segments, float cell) : m_cell(cell)
    {
        for (std::uint32_t i = 0; i < segments.size(); ++i)
            forCells(segments[i].a, segments[i].b, 0, [&](std::int64_t key) { m_cells[key].push_back(i); });
    }
    // Every segment whose cells meet the box of a-b grown by `margin` (maybe twice).
    template <class F>
    void near(Vec2 a, Vec2 b, float margin, F&& visit) const
    {
        forCells(a, b, margin, [&](std::int64_t key) {
            if (const auto it = m_cells.find(key); it != m_cells.end())
                for (std::uint32_t i : it->second)
                    visit(i);
        });
    }

private:
    template <class F>
    void forCells(Vec2 a, Vec2 b, float margin, F&& f) const
    {
        const auto cell = [&](float v) { return std::int64_t(std::floor(v / m_cell)); };
        for (std::int64_t y = cell(std::min(a.y, b.y) - margin); y <= cell(std::max(a.y, b.y) + margin); ++y)
            for (std::int64_t x = cell(std::min(a.x, b.x) - margin); x <= cell(std::max(a.x, b.x) + margin); ++x)
                f(y * 1'000'003 + x);
    }
    float m_cell;
    std::unordered_map<std::int64_t, std::vector<std::uint32_t>> m_cells;
};

// Where segments a-b and c-d cross, as fractions along each; false when they do not.
bool crossing(Vec2 a, Vec2 b, Vec2 c, Vec2 d, float& t, float& u)
{
    const Vec2 r = b - a, s = d - c;
    const float denominator = cross(r, s);
    if (std::fabs(denominator) < 1e-9f)
        return false;
    t = cross(c - a, s) / denominator;
    u = cross(c - a, r) / denominator;
    return t >= 0 && t <= 1 && u >= 0 && u <= 1;
}
} // namespace

RoadNetwork streetNetwork(const TownPlan& plan)
{
    std::vector<Segment> segments;
    std::vector<std::uint32_t> roads; // the streets that have one
    for (std::uint32_t s = 0; s < plan.streets.size(); ++s) {
        const PlanStreet& street = plan.streets[s];
        const auto& points = street.line.points();
        if (!street.hasRoad || points.size() < 2)
            continue;
        roads.push_back(s);
        for (std::uint32_t i = 0; i + 1 < points.size(); ++i)
            segments.push_back({s, i, points[i], points[i + 1]});
    }
    const SegmentGrid grid(segments, 8.0f);
    Nodes nodes;
    std::vector<Cut> cuts;
    const auto cutAt = [&](std::uint32_t segment, float t) {
        const Segment& g = segments[segment];
        const std::uint32_t node = nodes.add(g.a + (g.b - g.a) * t);
        cuts.push_back({segment, t, node});
        return node;
    };

    // Streets crossing: one node on both.
    for (std::uint32_t i = 0; i < segments.size(); ++i) {
        grid.near(segments[i].a, segments[i].b, 0, [&](std::uint32_t j) {
            if (j <= i || segments[j].street == segments[i].street)
                return;
            float t, u;
            if (crossing(segments[i].a, segments[i].b, segments[j].a, segments[j].b, t, u))
                nodes.join(cutAt(i, t), cutAt(j, u));
        });
    }
    // A street's end at or just short of another street: a short link to it.
    struct Link {
        std::uint32_t street;
        std::uint32_t end; // a node
        std::uint32_t to;  // a node
    };
    std::vector<Link> links;
    std::vector<std::uint32_t> endNodes; // the first and last point of each road, by its place in `roads`
    for (const std::uint32_t s : roads) {
        const auto& points = plan.streets[s].line.points();
        for (const Vec2 end : {points.front(), points.back()}) {
            std::uint32_t best = 0;
            float bestDistance = kJoinDistance, bestT = 0;
            grid.near(end, end, kJoinDistance, [&](std::uint32_t j) {
                const Segment& g = segments[j];
                if (g.street == s)
                    return;
                const Vec2 d = g.b - g.a;
                const float lengthSquared = dot(d, d);
                const float t = lengthSquared > 0 ? std::clamp(dot(end - g.a, d) / lengthSquared, 0.0f, 1.0f) : 0;
                const float distance = length(g.a + d * t - end);
                if (distance < bestDistance || (distance == bestDistance && j < best)) {
                    best = j;
                    bestDistance = distance;
                    bestT = t;
                }
            });
            const std::uint32_t endNode = nodes.add(end);
            endNodes.push_back(endNode);
            if (bestDistance < kJoinDistance)
                links.push_back({s, endNode, cutAt(best, bestT)});
        }
    }

    // Each road's points and cuts in order along it, one piece between each two.
    std::vector<std::vector<Cut>> cutsOf(segments.size());
    for (const Cut& c : cuts)
        cutsOf[c.segment].push_back(c);
    RoadNetwork network;
    std::unordered_map<std::string, std::uint32_t> nameIndex;
    std::vector<std::uint32_t> nameOf(plan.streets.size(), RoadPiece::kNoName);
    for (const std::uint32_t s : roads) {
        const std::string name = cp1251::fromUtf8(plan.streets[s].name);
        if (name.empty())
            continue;
        const auto [it, added] = nameIndex.try_emplace(name, std::uint32_t(network.names.size()));
        if (added)
            network.names.push_back(name);
        nameOf[s] = it->second;
    }
    struct RawPiece {
        std::uint32_t from, to, street;
    };
    std::vector<RawPiece> raw;
    std::size_t segment = 0;
    for (std::size_t r = 0; r < roads.size(); ++r) {
        const std::uint32_t s = roads[r];
        const auto& points = plan.streets[s].line.points();
        std::uint32_t previous = endNodes[2 * r];
        for (std::uint32_t i = 0; i + 1 < points.size(); ++i, ++segment) {
            const std::uint32_t next = i + 2 == points.size() ? endNodes[2 * r + 1] : nodes.add(points[i + 1]);
            std::vector<Cut>& here = cutsOf[segment];
            std::sort(here.begin(), here.end(), [](const Cut& x, const Cut& y) { return x.t < y.t; });
            for (const Cut& c : here) {
                if (c.t < kSamePoint)
                    nodes.join(c.node, previous);
                else if (c.t > 1 - kSamePoint)
                    nodes.join(c.node, next);
                else {
                    raw.push_back({previous, c.node, s});
                    previous = c.node;
                }
            }
            raw.push_back({previous, next, s});
            previous = next;
        }
    }
    for (const Link& link : links)
        raw.push_back({link.end, link.to, link.street});

    // Nodes after the joins, each once, in order of first use.
    std::vector<std::uint32_t> index(nodes.size(), RoadPiece::kNoName);
    const auto nodeOf = [&](std::uint32_t n) {
        const std::uint32_t root = nodes.find(n);
        if (index[root] == RoadPiece::kNoName) {
            index[root] = std::uint32_t(network.nodes.size());
            network.nodes.push_back({nodes.at(root).x, nodes.at(root).y});
        }
        return index[root];
    };
    for (const RawPiece& p : raw) {
        const std::uint32_t from = nodeOf(p.from), to = nodeOf(p.to);
        if (from == to)
            continue;
        const PlanStreet& street = plan.streets[p.street];
        network.pieces.push_back({from, to, classOf(street.kind), RoadPiece::Foot | RoadPiece::Car, nameOf[p.street]});
    }
    return network;
}
