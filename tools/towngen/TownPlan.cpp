#include "TownPlan.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
constexpr float kInner = 466; // everything stays inside the ±470 town square
constexpr double kPi = 3.14159265358979323846;
constexpr float kSidewalk = 0.45f;
constexpr float kBankOffset = 4.5f; // embankment centre line beyond the water's edge

void simplifyRange(const std::vector<Vec2>& in, std::size_t a, std::size_t b, float tol, std::vector<bool>& keep)
{
    if (b <= a + 1)
        return;
    const Vec2 d = normalized(in[b] - in[a]);
    float worst = 0;
    std::size_t at = a;
    for (std::size_t i = a + 1; i < b; ++i) {
        const float dist = std::fabs(cross(d, in[i] - in[a]));
        if (dist > worst) {
            worst = dist;
            at = i;
        }
    }
    if (worst > tol) {
        keep[at] = true;
        simplifyRange(in, a, at, tol, keep);
        simplifyRange(in, at, b, tol, keep);
    }
}

// Drops nodes that lie within `tol` of the line through their neighbours.
std::vector<Vec2> simplify(const std::vector<Vec2>& in, float tol)
{
    if (in.size() < 3)
        return in;
    std::vector<bool> keep(in.size(), false);
    keep.front() = keep.back() = true;
    simplifyRange(in, 0, in.size() - 1, tol, keep);
    std::vector<Vec2> out;
    for (std::size_t i = 0; i < in.size(); ++i)
        if (keep[i])
            out.push_back(in[i]);
    return out;
}

// Maximal runs of consecutive points that satisfy `ok`.
std::vector<std::vector<Vec2>> runsOf(const std::vector<Vec2>& pts, const std::function<bool(Vec2)>& ok)
{
    std::vector<std::vector<Vec2>> runs;
    std::vector<Vec2> cur;
    for (Vec2 p : pts) {
        if (ok(p)) {
            cur.push_back(p);
        } else if (!cur.empty()) {
            runs.push_back(std::move(cur));
            cur.clear();
        }
    }
    if (!cur.empty())
        runs.push_back(std::move(cur));
    return runs;
}

float runLength(const std::vector<Vec2>& run)
{
    float l = 0;
    for (std::size_t i = 1; i < run.size(); ++i)
        l += length(run[i] - run[i - 1]);
    return l;
}

Polygon rectangle(Vec2 centre, Vec2 axis, float w, float h)
{
    const Vec2 u = axis * (w / 2), v = leftNormal(axis) * (h / 2);
    return {centre - u - v, centre + u - v, centre + u + v, centre - u + v};
}

float quantize(float v, float step) { return std::max(step, std::floor(v / step) * step); }

// A pond: a wobbly closed curve, concave here and there but never crossing itself.
Polygon blob(Vec2 c, float r, TownRandom& random)
{
    const double p1 = random.range(0, 2 * kPi), p2 = random.range(0, 2 * kPi), p3 = random.range(0, 2 * kPi);
    const double a1 = random.range(0.15, 0.28), a2 = random.range(0.08, 0.16);
    const double stretch = random.range(1.0, 1.6), turn = random.range(0, kPi);
    Polygon out;
    for (int k = 0; k < 28; ++k) {
        const double t = 2 * kPi * k / 28;
        const double rr = r * (1 + a1 * std::sin(2 * t + p1) + a2 * std::sin(3 * t + p2) + 0.05 * std::sin(5 * t + p3));
        const double x = rr * std::cos(t) * stretch, y = rr * std::sin(t);
        out.push_back({c.x + float(x * std::cos(turn) - y * std::sin(turn)),
                       c.y + float(x * std::sin(turn) + y * std::cos(turn))});
    }
    makeCounterClockwise(out);
    return out;
}

struct Line {
    float base = 0;  // y at x = 0 (east-west) or x at y = 0 (north-south)
    float slope = 0;
    bool present = false;
};

Vec2 meet(const Line& ew, const Line& ns)
{
    const float x = (ns.base + ns.slope * ew.base) / (1 - ns.slope * ew.slope);
    return {x, ew.base + ew.slope * x};
}
} // namespace

float TownPlan::effectiveDistance(Vec2 p) const
{
    const double th = std::atan2(p.y, p.x);
    const double edge = m_radius * (1 + 0.16 * std::sin(2 * th + m_phase[0]) + 0.09 * std::sin(3 * th + m_phase[1])
                                    + 0.04 * std::sin(5 * th + m_phase[2]));
    return float(length(p) / edge);
}

bool TownPlan::isIndustrial(Vec2 p) const
{
    const double th = std::atan2(p.y, p.x) * 180 / kPi;
    return th > -80 && th < -20 && effectiveDistance(p) > 0.55f;
}

bool TownPlan::facesSquare(Vec2 streetPoint, Vec2 outward) const
{
    return !m_square.empty() && pointInPolygon(m_square, streetPoint - outward * 2.0f);
}

float TownPlan::riverX(float y) const
{
    const float f = std::clamp((y - m_riverY0) / m_riverStep, 0.0f, float(m_riverXs.size() - 1));
    const std::size_t i = std::min(std::size_t(f), m_riverXs.size() - 2);
    const float t = f - float(i);
    return m_riverXs[i] * (1 - t) + m_riverXs[i + 1] * t;
}

float TownPlan::riverHalfWidth(float y) const
{
    const float f = std::clamp((y - m_riverY0) / m_riverStep, 0.0f, float(m_riverHws.size() - 1));
    return m_riverHws[std::min(std::size_t(f + 0.5f), m_riverHws.size() - 1)];
}

float TownPlan::riverSideDistance(Vec2 p) const { return p.x - riverX(p.y); }

std::vector<Vec2> TownPlan::riverOffset(float side, float extra) const
{
    std::vector<Vec2> out;
    const std::size_t n = m_riverXs.size();
    for (std::size_t i = 0; i < n; ++i) {
        const float y = m_riverY0 + m_riverStep * float(i);
        const Vec2 prev{m_riverXs[i > 0 ? i - 1 : i], y - (i > 0 ? m_riverStep : 0)};
        const Vec2 next{m_riverXs[i + 1 < n ? i + 1 : i], y + (i + 1 < n ? m_riverStep : 0)};
        const Vec2 west = normalized(leftNormal(next - prev));
        out.push_back(Vec2{m_riverXs[i], y} + west * (side * (m_riverHws[i] + extra)));
    }
    return out;
}

void TownPlan::addStreet(std::vector<Vec2> points, StreetKind kind, float halfWidth)
{
    if (points.size() < 2)
        return;
    if (length(points.back()) < length(points.front()))
        std::reverse(points.begin(), points.end());
    PlanStreet s;
    s.line = Polyline(std::move(points));
    s.kind = kind;
    s.halfWidth = halfWidth;
    streets.push_back(std::move(s));
}

void TownPlan::addRoadObstacles()
{
    for (const PlanStreet& s : streets) {
        if (!s.hasRoad)
            continue;
        const auto& p = s.line.points();
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const Vec2 t = normalized(p[i + 1] - p[i]);
            const Vec2 n = leftNormal(t) * (s.halfWidth + kSidewalk);
            const Vec2 a = p[i] - t * 0.3f, b = p[i + 1] + t * 0.3f;
            obstacles.add({a - n, b - n, b + n, a + n});
        }
    }
}

TownPlan TownPlan::build(float radius, float spacing, TownRandom random)
{
    TownPlan plan;
    plan.m_radius = radius;
    plan.m_gx = 20 * spacing;
    plan.m_gy = 14 * spacing;
    for (double& p : plan.m_phase)
        p = random.range(0, 2 * kPi);
    const float R = radius, gx = plan.m_gx, gy = plan.m_gy;
    auto inTown = [&plan](Vec2 p, float limit) {
        return std::fabs(p.x) < kInner && std::fabs(p.y) < kInner && plan.effectiveDistance(p) <= limit;
    };

    // The river winds from north to south west of the centre.
    const float x0 = -(0.42f * R + 14), a1 = 8 + 0.02f * R, l1 = 20 + 0.03f * R;
    std::vector<float> meander;
    for (float y = plan.m_riverY0; y <= kInner; y += plan.m_riverStep) {
        const float m = float(a1 * std::sin(y / l1 + plan.m_phase[3]) + 3.0 * std::sin(y / 7.5 + plan.m_phase[4]));
        meander.push_back(m);
        plan.m_riverXs.push_back(std::clamp(x0 + m, -kInner + 8, kInner - 8));
        plan.m_riverHws.push_back(float(1.7 + 0.5 * std::sin(y / 37 + plan.m_phase[5])));
    }
    {
        const std::vector<Vec2> west = plan.riverOffset(1, 0), east = plan.riverOffset(-1, 0);
        PlanArea river;
        river.kind = AreaKind::River;
        river.outline = east;
        river.outline.insert(river.outline.end(), west.rbegin(), west.rend());
        makeCounterClockwise(river.outline);
        plan.areas.push_back(std::move(river));
        for (std::size_t i = 0; i + 1 < east.size(); ++i)
            plan.obstacles.add(inflateConvex(convexHull({east[i], east[i + 1], west[i + 1], west[i]}), 2.2f));
    }
    auto nearestRun = [&](const std::vector<std::vector<Vec2>>& runs) -> std::vector<Vec2> {
        std::vector<Vec2> best;
        float bestE = 1e30f;
        for (const auto& r : runs)
            for (Vec2 p : r)
                if (plan.effectiveDistance(p) < bestE) {
                    bestE = plan.effectiveDistance(p);
                    best = r;
                }
        return best;
    };

    // Embankments on both banks.
    plan.m_eastBank = nearestRun(runsOf(plan.riverOffset(-1, kBankOffset), [&](Vec2 p) { return inTown(p, 1.05f); }));
    plan.addStreet(simplify(plan.m_eastBank, 0.06f), StreetKind::Embankment, 0.55f);
    plan.addStreet(simplify(nearestRun(runsOf(plan.riverOffset(1, kBankOffset), [&](Vec2 p) { return inTown(p, 1.02f); })), 0.06f),
                   StreetKind::Embankment, 0.55f);
    const Polyline eastBank(plan.m_eastBank);

    // East-west streets; the two beside the square and park cross the river.
    const int jmax = int(R * 1.45f / gy) + 1;
    std::vector<Line> ew(std::size_t(2 * jmax + 1));
    for (int j = -jmax; j < jmax; ++j) {
        const bool fixed = j >= -2 && j <= 1;
        Line& line = ew[std::size_t(j + jmax)];
        line.base = (float(j) + 0.5f) * gy + (fixed ? 0 : random.rangef(-1.5, 1.5) * spacing);
        line.slope = fixed ? 0 : float(std::tan(random.range(-0.025, 0.025)));
        const bool bridge = j == -2 || j == 1 || (R > 120 && ((j % 4) + 4) % 4 == 3);
        std::vector<Vec2> pts;
        for (float x = -kInner; x <= kInner; x += 1)
            pts.push_back({x, line.base + line.slope * x});
        std::vector<Vec2> run = nearestRun(runsOf(pts, [&](Vec2 p) {
            return inTown(p, 1.05f) && (bridge || plan.riverSideDistance(p) > 0);
        }));
        if (run.size() < 2)
            continue;
        Vec2 a = run.front(), b = run.back();
        if (!bridge) {
            const float s = eastBank.firstCrossing(a, b);
            if (s >= 0) {
                // End on the embankment: a T-junction rather than a dead end.
                const Vec2 c = eastBank.pointAt(s);
                a = c;
            }
        }
        if (length(b - a) < 10)
            continue;
        line.present = true;
        plan.addStreet({a, b}, length(b - a) < 25 ? StreetKind::Lane : StreetKind::Street, 0.55f);
        if (j == 1)
            plan.streets.back().kind = StreetKind::Avenue, plan.streets.back().halfWidth = 0.75f;
    }

    // North-south streets east of the river.
    const int imax = int(R * 1.45f / gx) + 1;
    std::vector<Line> ns(std::size_t(2 * imax + 1));
    for (int i = -imax; i < imax; ++i) {
        const bool fixed = i == -1 || i == 0;
        Line& line = ns[std::size_t(i + imax)];
        line.base = (float(i) + 0.5f) * gx + (fixed ? 0 : random.rangef(-2, 2) * spacing);
        line.slope = fixed ? 0 : float(std::tan(random.range(-0.03, 0.03)));
        std::vector<Vec2> pts;
        for (float y = -kInner; y <= kInner; y += 1)
            pts.push_back({line.base + line.slope * y, y});
        for (auto& run : runsOf(pts, [&](Vec2 p) {
                 return inTown(p, 1.05f) && plan.riverSideDistance(p) > plan.riverHalfWidth(p.y) + kBankOffset + 6;
             })) {
            if (runLength(run) < 20)
                continue;
            Vec2 a = run.front(), b = run.back();
            for (Vec2* end : {&a, &b}) {
                const Vec2 other = end == &a ? b : a;
                const Vec2 out = *end + normalized(*end - other) * 10.0f;
                const float s = eastBank.firstCrossing(*end, out);
                if (s >= 0)
                    *end = eastBank.pointAt(s);
            }
            line.present = true;
            plan.addStreet({a, b}, length(b - a) < 25 ? StreetKind::Lane : StreetKind::Street, 0.55f);
        }
    }

    // Beyond the river the streets follow its bends, straighter further out.
    for (int k = 1; k < 40; ++k) {
        const float off = kBankOffset + float(k) * gx * 0.85f;
        const float damp = std::max(0.25f, 1 - off / 60);
        std::vector<Vec2> pts;
        for (std::size_t i = 0; i < meander.size(); ++i)
            pts.push_back({x0 - off - plan.m_riverHws[i] + meander[i] * damp, plan.m_riverY0 + plan.m_riverStep * float(i)});
        const auto run = nearestRun(runsOf(pts, [&](Vec2 p) { return inTown(p, 1.03f); }));
        if (run.empty())
            break;
        if (runLength(run) >= 15)
            plan.addStreet(simplify(run, 0.06f), StreetKind::Street, 0.55f);
    }

    // Two diagonals from the square's east corners: an avenue to the north-east
    // and the road to the station in the south-east.
    Vec2 stationEnd, stationDir;
    for (int d = 0; d < 2; ++d) {
        const Vec2 start = d == 0 ? Vec2{gx / 2, gy / 2} : Vec2{gx / 2, -gy / 2};
        const Vec2 dir = d == 0 ? fromAngle(kPi / 4) : fromAngle(-0.62);
        std::vector<Vec2> pts{start};
        Vec2 p = start;
        while (inTown(p + dir * 2.0f, d == 0 ? 1.05f : 0.9f))
            pts.push_back(p = p + dir * 2.0f);
        if (pts.size() < 4)
            continue;
        plan.addStreet({pts.front(), pts.back()}, d == 0 ? StreetKind::Avenue : StreetKind::Street, d == 0 ? 0.75f : 0.55f);
        if (d == 1) {
            stationEnd = pts.back();
            stationDir = dir;
        }
    }

    // The central square: a paved block whose facing houses take its name.
    const float inset = 0.55f + kSidewalk + 0.2f;
    plan.m_square = rectangle({0, 0}, {1, 0}, gx - 2 * inset, gy - 2 * inset);
    {
        PlanStreet sq;
        sq.kind = StreetKind::Square;
        sq.hasRoad = false;
        sq.line = Polyline({{gx / 2, 0}, {gx / 2, gy / 2}, {-gx / 2, gy / 2}, {-gx / 2, -gy / 2}, {gx / 2, -gy / 2}, {gx / 2, 0}});
        plan.m_squareStreet = int(plan.streets.size());
        plan.streets.push_back(std::move(sq));
    }
    plan.addRoadObstacles();

    PlanPlane grass;
    grass.width = grass.height = 940;
    grass.kind = GroundKind::Grass;
    plan.planes.push_back(grass);
    auto addPlane = [&](Vec2 c, Vec2 axis, float w, float h, GroundKind kind) {
        PlanPlane pl;
        pl.centre = c;
        pl.axis = axis;
        pl.width = w;
        pl.height = h;
        pl.kind = kind;
        plan.planes.push_back(pl);
        plan.obstacles.add(rectangle(c, axis, w + 0.4f, h + 0.4f));
    };
    addPlane({0, 0}, {1, 0}, quantize(gx - 2 * inset, 2), quantize(gy - 2 * inset, 2), GroundKind::Paving);
    if (stationDir.x != 0) {
        const Polygon r = rectangle(stationEnd + stationDir * 6.0f, stationDir, 8, 12);
        if (!plan.obstacles.hits(r))
            addPlane(stationEnd + stationDir * 6.0f, stationDir, 8, 12, GroundKind::Asphalt);
    }

    // Blocks between the grid streets: a park north of the square, then more
    // parks, a stadium, a cemetery and car parks in randomly chosen blocks.
    struct Block {
        Vec2 c[4];
        float e;
    };
    std::vector<Block> blocks;
    Block park{};
    for (int j = -jmax; j + 1 < jmax; ++j) {
        for (int i = -imax; i + 1 < imax; ++i) {
            const Line &lo = ew[std::size_t(j + jmax)], &hi = ew[std::size_t(j + 1 + jmax)];
            const Line &le = ns[std::size_t(i + imax)], &ri = ns[std::size_t(i + 1 + imax)];
            if (!lo.present || !hi.present || !le.present || !ri.present)
                continue;
            const float in = 0.55f + kSidewalk + 0.5f;
            Line lo2 = lo, hi2 = hi, le2 = le, ri2 = ri;
            lo2.base += in, hi2.base -= in, le2.base += in, ri2.base -= in;
            Block b{{meet(lo2, le2), meet(lo2, ri2), meet(hi2, ri2), meet(hi2, le2)}, 0};
            bool ok = true;
            for (Vec2 c : b.c) {
                b.e = std::max(b.e, plan.effectiveDistance(c));
                ok = ok && plan.effectiveDistance(c) < 0.95f
                     && plan.riverSideDistance(c) > plan.riverHalfWidth(c.y) + kBankOffset + 4;
            }
            if (!ok || (i == -1 && j == -1))
                continue;
            if (i == -1 && j == 0)
                park = b;
            else
                blocks.push_back(b);
        }
    }
    auto quad = [](const Block& b) { return Polygon{b.c[0], b.c[1], b.c[2], b.c[3]}; };
    auto addArea = [&](Polygon outline, AreaKind kind) {
        makeCounterClockwise(outline);
        plan.obstacles.add(inflateConvex(convexHull(outline), 0.3f));
        PlanArea a;
        a.outline = std::move(outline);
        a.kind = kind;
        plan.areas.push_back(std::move(a));
    };
    if (park.e > 0 && !plan.obstacles.hits(quad(park))) {
        addArea(quad(park), AreaKind::Park);
        Vec2 c = centroidOfNodes(quad(park));
        const float r = 0.22f * std::min(length(park.c[1] - park.c[0]), length(park.c[3] - park.c[0]));
        PlanArea pond;
        pond.kind = AreaKind::Pond;
        pond.outline = blob(c + Vec2{0, r * 0.3f}, r, random);
        plan.areas.push_back(std::move(pond));
    }
    for (std::size_t k = blocks.size(); k > 1; --k)
        std::swap(blocks[k - 1], blocks[random.index(k)]);
    int parks = int(std::lround(R * R / 4000)), stadiums = 1 + int(R * R / 40000), cemeteries = 1,
        carParks = 2 + int(R * R / 4000);
    for (const Block& b : blocks) {
        const Polygon q = quad(b);
        if (plan.obstacles.hits(q))
            continue;
        const Vec2 c = centroidOfNodes(q);
        const Vec2 axis = normalized(b.c[1] - b.c[0]);
        const float w = length(b.c[1] - b.c[0]), h = length(b.c[3] - b.c[0]);
        if (stadiums > 0 && b.e > 0.3f && b.e < 0.75f) {
            --stadiums;
            addPlane(c, axis, quantize(w, 4), quantize(h, 4), GroundKind::Sand);
            Polygon pitch = rectangle(c, axis, w * 0.62f, h * 0.55f);
            makeCounterClockwise(pitch);
            plan.areas.push_back({pitch, AreaKind::Pitch});
        } else if (cemeteries > 0 && b.e > 0.6f) {
            --cemeteries;
            addArea(q, AreaKind::Cemetery);
        } else if (parks > 0 && b.e < 0.8f) {
            --parks;
            addArea(q, AreaKind::Park);
        } else if (carParks > 0 && b.e < 0.7f && w > 9 && h > 9) {
            --carParks;
            // A car park along one side of the block; houses fill the rest.
            const float pw = quantize(std::min(w - 1, 16.0f), 4), ph = 4;
            addPlane(b.c[0] + axis * (pw / 2) + leftNormal(axis) * (ph / 2), axis, pw, ph, GroundKind::Asphalt);
        }
    }

    // Beaches where the river runs through town, and ponds on the outskirts.
    const int beaches = 2 + int(R / 200);
    for (int tries = 0, made = 0; made < beaches && tries < 200; ++tries) {
        const std::size_t i = 2 + random.index(plan.m_riverXs.size() - 4);
        const float y = plan.m_riverY0 + plan.m_riverStep * float(i);
        const Vec2 c{plan.m_riverXs[i], y};
        const float e = plan.effectiveDistance(c);
        if (e > 0.85f || e < 0.25f)
            continue;
        const Vec2 axis = normalized(Vec2{plan.m_riverXs[i + 2] - plan.m_riverXs[i - 2], 4 * plan.m_riverStep});
        const float h = quantize(2 * plan.m_riverHws[i] + 4, 4);
        PlanPlane pl;
        pl.centre = c;
        pl.axis = axis;
        pl.width = 16;
        pl.height = h;
        pl.kind = GroundKind::Sand;
        // Beaches stay clear of bridges and of each other.
        bool clear = true;
        for (const PlanPlane& o : plan.planes)
            clear = clear && (o.kind == GroundKind::Grass || length(o.centre - c) > 24);
        const Polygon r = rectangle(c, axis, 16, h);
        for (const PlanStreet& s : plan.streets)
            if (s.hasRoad && s.line.points().size() == 2)
                clear = clear && s.line.firstCrossing(r[0], r[1]) < 0 && s.line.firstCrossing(r[2], r[3]) < 0
                        && s.line.firstCrossing(r[1], r[2]) < 0 && s.line.firstCrossing(r[3], r[0]) < 0;
        if (!clear)
            continue;
        plan.planes.push_back(pl);
        plan.obstacles.add(r);
        ++made;
    }
    const int ponds = 1 + int(R * R / 10000);
    for (int tries = 0, made = 0; made < ponds && tries < 400; ++tries) {
        const Vec2 c{random.rangef(-R * 1.2, R * 1.2), random.rangef(-R * 1.2, R * 1.2)};
        const float e = plan.effectiveDistance(c);
        if (e < 0.45f || e > 0.95f)
            continue;
        TownRandom shape = random.fork(std::uint64_t(tries) + 17);
        const Polygon p = blob(c, random.rangef(2.5, 5), shape);
        const Polygon hull = inflateConvex(convexHull(p), 1.5f);
        if (plan.obstacles.hits(hull))
            continue;
        plan.obstacles.add(hull);
        plan.areas.push_back({p, AreaKind::Pond});
        ++made;
    }
    return plan;
}
