#include "Landmarks.h"

#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace {
constexpr double kPi = 3.14159265358979323846;

std::int32_t win(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

Model3DSMaterial material(const std::string& name, std::array<float, 3> diffuse, float shininess)
{
    Model3DSMaterial m;
    m.name = name;
    m.diffuse = diffuse;
    m.ambient = {diffuse[0] * 0.4f, diffuse[1] * 0.4f, diffuse[2] * 0.4f};
    m.specular = {0.9f, 0.9f, 0.9f};
    m.shininess = shininess;
    m.shininessStrength = 0.6f;
    return m;
}

// The model turned so that its local Z runs along `forward` on the map.
// Landmarks are all placed facing north, the one direction that fl.dat's
// component-by-component turning keeps exact; the model carries its heading.
std::string file(const std::vector<Model3DSMaterial>& materials, MeshBuilder& mesh, Vec2 forward)
{
    // North is local Z and west local X: the map's (dx, dy) is local (-dx, dy).
    mesh.rotateY(forward.y, -forward.x);
    Model3DS model;
    model.materials = materials;
    model.objects = {mesh.object()};
    return writeModel3DS(model);
}

// ---- Models: Y up, made with Z forward and X to its left ----

// A monument: granite steps and pedestal, a column, a bronze figure on top.
std::string monument(Vec2 forward)
{
    MeshBuilder m("Monument");
    m.box({-1.2f, 0, -1.2f}, {1.2f, 0.08f, 1.2f}, "Granite");
    m.box({-0.9f, 0.08f, -0.9f}, {0.9f, 0.16f, 0.9f}, "Granite");
    m.box({-0.5f, 0.16f, -0.5f}, {0.5f, 1.0f, 0.5f}, "Granite");
    m.box({-0.6f, 1.0f, -0.6f}, {0.6f, 1.08f, 0.6f}, "Granite");
    m.lathe(0, 0, {{0.2f, 1.08f}, {0.18f, 2.0f}, {0.16f, 2.9f}}, 16, "Granite", 1);
    m.box({-0.3f, 2.9f, -0.3f}, {0.3f, 3.0f, 0.3f}, "Granite");
    m.lathe(0, 0, {{0.19f, 3.0f}, {0.16f, 3.3f}, {0.12f, 3.52f}, {0.06f, 3.56f}, {0.09f, 3.62f},
                   {0.09f, 3.7f}, {0.05f, 3.76f}, {0.0f, 3.78f}},
            12, "Bronze", 2);
    return file({material("Granite", {0.62f, 0.6f, 0.57f}, 0.1f), material("Bronze", {0.45f, 0.33f, 0.2f}, 0.5f)}, m, forward);
}

// The church: nave, apse towards the direction, a bell tower at the back, a
// drum in the middle of the nave.
std::string churchWalls(Vec2 forward)
{
    MeshBuilder m("ChurchWalls");
    m.box({-0.8f, 0, -1.4f}, {0.8f, 1.1f, 1.6f}, "Plaster");
    m.lathe(0, 1.6f, {{0.65f, 0}, {0.65f, 0.95f}}, 12, "Plaster", 1, kPi, 2 * kPi);
    m.box({-0.45f, 0, -2.3f}, {0.45f, 2.2f, -1.4f}, "Plaster");
    m.box({-0.35f, 2.2f, -2.2f}, {0.35f, 2.7f, -1.5f}, "Plaster");
    m.lathe(0, 0.1f, {{0.5f, 1.2f}, {0.5f, 1.85f}}, 20, "Plaster", 2);
    return file({material("Plaster", {0.93f, 0.9f, 0.82f}, 0.05f)}, m, forward);
}

std::string churchRoofs(Vec2 forward)
{
    MeshBuilder m("ChurchRoofs");
    const float x = 0.9f, eave = 1.1f, ridge = 1.65f, back = -1.45f, front = 1.65f;
    m.quad({x, eave, back}, {0, ridge, back}, {0, ridge, front}, {x, eave, front}, "Roof", 0);
    m.quad({0, ridge, back}, {-x, eave, back}, {-x, eave, front}, {0, ridge, front}, "Roof", 0);
    m.triangle({-x, eave, front}, {x, eave, front}, {0, ridge, front}, "Roof");
    m.triangle({x, eave, back}, {-x, eave, back}, {0, ridge, back}, "Roof");
    m.lathe(0, 1.6f, {{0.72f, 0.95f}, {0.0f, 1.35f}}, 12, "Roof", 1, kPi, 2 * kPi);
    // The tower's tent roof: four triangles up to its spire.
    const float t = 0.4f, y0 = 2.7f, tip = 3.45f, cz = -1.85f;
    const P3 apex{0, tip, cz};
    m.triangle({-t, y0, cz + t}, {t, y0, cz + t}, apex, "Roof");
    m.triangle({t, y0, cz + t}, {t, y0, cz - t}, apex, "Roof");
    m.triangle({t, y0, cz - t}, {-t, y0, cz - t}, apex, "Roof");
    m.triangle({-t, y0, cz - t}, {-t, y0, cz + t}, apex, "Roof");
    return file({material("Roof", {0.25f, 0.33f, 0.45f}, 0.2f)}, m, forward);
}

// An onion dome on the drum and a small one on the tower, each with a cross.
std::string churchDomes(Vec2 forward)
{
    MeshBuilder m("ChurchDomes");
    m.lathe(0, 0.1f, {{0.52f, 1.85f}, {0.6f, 2.0f}, {0.62f, 2.12f}, {0.55f, 2.3f}, {0.38f, 2.48f}, {0.18f, 2.62f},
                      {0.06f, 2.74f}, {0.0f, 2.8f}},
            20, "Gold", 1);
    m.lathe(0, -1.85f, {{0.0f, 3.4f}, {0.1f, 3.45f}, {0.12f, 3.52f}, {0.08f, 3.6f}, {0.0f, 3.66f}}, 12, "Gold", 1);
    for (const auto& [cz, base] : {std::pair{0.1f, 2.78f}, std::pair{-1.85f, 3.64f}}) {
        m.box({-0.02f, base, cz - 0.02f}, {0.02f, base + 0.34f, cz + 0.02f}, "Gold");
        m.box({-0.02f, base + 0.2f, cz - 0.1f}, {0.02f, base + 0.24f, cz + 0.1f}, "Gold");
    }
    return file({material("Gold", {0.85f, 0.68f, 0.24f}, 0.7f)}, m, forward);
}

std::string waterTowerShaft(Vec2 forward)
{
    MeshBuilder m("TowerShaft");
    m.lathe(0, 0, {{0.55f, 0}, {0.5f, 0.2f}, {0.44f, 1.4f}, {0.42f, 2.45f}}, 16, "Brick", 1);
    m.box({-0.08f, 0, 0.4f}, {0.08f, 0.3f, 0.56f}, "Brick"); // the door's porch
    return file({material("Brick", {0.62f, 0.28f, 0.2f}, 0.05f)}, m, forward);
}

std::string waterTowerTank(Vec2 forward)
{
    MeshBuilder m("TowerTank");
    m.lathe(0, 0, {{0.42f, 2.4f}, {0.7f, 2.55f}, {0.88f, 2.7f}}, 20, "Steel", 1);
    m.lathe(0, 0, {{0.9f, 2.7f}, {0.9f, 3.3f}}, 20, "Steel", 2);
    m.lathe(0, 0, {{1.0f, 3.3f}, {0.5f, 3.55f}, {0.0f, 3.8f}}, 20, "Steel", 4);
    m.disc(0, 0, 3.3f, 1.0f, 20, false, "Steel");
    return file({material("Steel", {0.36f, 0.45f, 0.42f}, 0.4f)}, m, forward);
}

// A humped stone bridge of length `length` whose arch spans `span`, for a
// road of half-width `halfWidth`, along Z; the deck rests at the ends just
// above the road's height.
std::string bridge(float length, float span, float halfWidth, Vec2 forward)
{
    MeshBuilder m("Bridge");
    const float w = halfWidth + 0.05f, outer = w + 0.1f, parapet = 0.1f;
    const float half = length / 2, arch = span / 2 + 0.15f, rise = 0.32f, clearance = 0.22f;
    const int n = 40;
    std::vector<float> zs, top, bottom;
    for (int i = 0; i <= n; ++i) {
        const float z = -half + length * float(i) / float(n);
        zs.push_back(z);
        top.push_back(0.045f + rise * float(1 + std::cos(kPi * z / half)) / 2);
        const float t = z / arch;
        bottom.push_back(std::fabs(t) < 1 ? clearance * std::sqrt(1 - t * t) : -0.02f);
    }
    auto rows = [&](const std::vector<std::pair<float, std::function<float(std::size_t)>>>& columns) {
        std::vector<std::vector<P3>> pts(zs.size());
        for (std::size_t i = 0; i < zs.size(); ++i)
            for (const auto& [x, y] : columns)
                pts[i].push_back({x, y(i), zs[i]});
        return pts;
    };
    auto deck = [&](std::size_t i) { return top[i]; };
    auto rail = [&](std::size_t i) { return top[i] + parapet; };
    auto under = [&](std::size_t i) { return bottom[i]; };
    m.grid(rows({{-w, deck}, {w, deck}}), "Paving", 1);
    m.grid(rows({{outer, rail}, {outer, under}}), "Stone", 2);   // +x side
    m.grid(rows({{-outer, under}, {-outer, rail}}), "Stone", 2); // -x side
    m.grid(rows({{outer, under}, {-outer, under}}), "Stone", 4); // underside and arch
    m.grid(rows({{w, deck}, {w, rail}}), "Stone", 8);            // parapets, inner faces
    m.grid(rows({{-w, rail}, {-w, deck}}), "Stone", 8);
    m.grid(rows({{w, rail}, {outer, rail}}), "Stone", 16);       // and their copings
    m.grid(rows({{-outer, rail}, {-w, rail}}), "Stone", 16);
    for (const float z : {-half, half}) {
        const std::size_t i = z < 0 ? 0 : zs.size() - 1;
        const P3 a{-outer, bottom[i], z}, b{outer, bottom[i], z}, c{outer, rail(i), z}, d{-outer, rail(i), z};
        if (z > 0)
            m.quad(a, b, c, d, "Stone");
        else
            m.quad(b, a, d, c, "Stone");
    }
    return file({material("Stone", {0.68f, 0.64f, 0.56f}, 0.05f), material("Paving", {0.5f, 0.5f, 0.48f}, 0.05f)}, m, forward);
}

// ---- Places ----

float segmentDistance(Vec2 p, Vec2 a, Vec2 b)
{
    const Vec2 ab = b - a;
    const float t = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-12f), 0.0f, 1.0f);
    return length(p - (a + ab * t));
}

float outlineDistance(Vec2 p, const Polygon& outline)
{
    float d = 1e30f;
    for (std::size_t i = 0; i < outline.size(); ++i)
        d = std::min(d, segmentDistance(p, outline[i], outline[(i + 1) % outline.size()]));
    return d;
}

Polygon rectangleAt(Vec2 c, float halfX, float halfY)
{
    return {{c.x - halfX, c.y - halfY}, {c.x + halfX, c.y - halfY}, {c.x + halfX, c.y + halfY}, {c.x - halfX, c.y + halfY}};
}

// The point of `area` farthest from its edges and from the `avoid` outlines
// at which an axis-aligned footprint of half-sizes (hx, hy) stays inside the
// area and clear of them by `margin`.
std::optional<Vec2> clearSpot(const Polygon& area, const std::vector<Polygon>& avoid, float hx, float hy, float margin)
{
    const Box box = boundsOf(area);
    std::optional<Vec2> best;
    float bestScore = -1;
    for (float y = box.minY; y <= box.maxY; y += 0.25f)
        for (float x = box.minX; x <= box.maxX; x += 0.25f) {
            const Vec2 c{x, y};
            const Polygon footprint = rectangleAt(c, hx + margin, hy + margin);
            bool ok = std::all_of(footprint.begin(), footprint.end(), [&](Vec2 v) { return pointInPolygon(area, v); });
            for (const Polygon& a : avoid)
                ok = ok && !convexOverlap(footprint, convexHull(a));
            if (!ok)
                continue;
            float score = outlineDistance(c, area);
            for (const Polygon& a : avoid)
                score = std::min(score, outlineDistance(c, a));
            if (score > bestScore) {
                bestScore = score;
                best = c;
            }
        }
    return best;
}

// Where a straight street crosses the river: the middle of the crossing, the
// street's direction and the water's width along it.
struct Crossing {
    Vec2 centre, direction;
    float width = 0;
    float halfWidth = 0;
};

std::optional<Crossing> riverCrossing(const TownPlan& plan)
{
    const PlanArea* river = nullptr;
    for (const PlanArea& a : plan.areas)
        if (a.kind == AreaKind::River)
            river = &a;
    if (!river)
        return std::nullopt;
    std::optional<Crossing> best;
    int bestRank = -1;
    for (const PlanStreet& s : plan.streets) {
        const auto& pts = s.line.points();
        if (!s.hasRoad || pts.size() != 2)
            continue;
        const Vec2 a = pts[0], d = pts[1] - pts[0];
        const Vec2 dir = normalized(d);
        float t0 = 2, t1 = -1;
        const Polygon& o = river->outline;
        for (std::size_t i = 0; i < o.size(); ++i) {
            const Vec2 p = o[i], e = o[(i + 1) % o.size()] - p;
            const float den = cross(d, e);
            if (std::fabs(den) < 1e-9f)
                continue;
            const float t = cross(p - a, e) / den, u = cross(p - a, d) / den;
            if (t >= 0 && t <= 1 && u >= 0 && u <= 1) {
                t0 = std::min(t0, t);
                t1 = std::max(t1, t);
            }
        }
        if (t1 <= t0)
            continue;
        const int rank = s.kind == StreetKind::Avenue ? 2 : 1;
        if (rank <= bestRank)
            continue;
        bestRank = rank;
        const Vec2 p0 = a + d * t0, p1 = a + d * t1;
        best = Crossing{(p0 + p1) * 0.5f, dir.x + dir.y < 0 ? dir * -1.0f : dir, length(p1 - p0), s.halfWidth};
    }
    return best;
}

LandmarkRecord placed(const std::string& meshFile, Vec2 at, Vec2 direction, std::int32_t colour)
{
    LandmarkRecord r;
    r.meshFile = meshFile;
    r.position = {at.x, at.y, 0};
    r.scale = {1, 1, 1};
    r.direction = {direction.x, direction.y, 0};
    r.up = {0, 0, 1};
    r.colour = colour;
    return r;
}
} // namespace

TownLandmarks makeLandmarks(const TownPlan& plan)
{
    TownLandmarks out;
    auto add = [&](const std::string& meshFile, std::string bytes, Vec2 at, Vec2 direction, std::int32_t colour) {
        out.meshes.push_back({meshFile, std::move(bytes)});
        out.records.push_back(placed(meshFile, at, direction, colour));
    };
    const Vec2 east{1, 0}, north{0, 1};

    if (!plan.square().empty())
        add("monument.3ds", monument(east), centroidOfNodes(plan.square()), north, win(150, 146, 140));

    // The park nearest the centre that holds a pond takes the church; the
    // next nearest park the water tower.
    std::vector<const PlanArea*> parks;
    const PlanArea* centralPark = nullptr;
    const PlanArea* pond = nullptr;
    for (std::size_t i = 0; i < plan.areas.size(); ++i) {
        const PlanArea& a = plan.areas[i];
        if (a.kind != AreaKind::Park)
            continue;
        parks.push_back(&a);
        for (const PlanArea& p : plan.areas)
            if (p.kind == AreaKind::Pond && pointInPolygon(a.outline, centroidOfNodes(p.outline))
                && (!centralPark || length(centroidOfNodes(a.outline)) < length(centroidOfNodes(centralPark->outline)))) {
                centralPark = &a;
                pond = &p;
            }
    }
    std::sort(parks.begin(), parks.end(), [](const PlanArea* a, const PlanArea* b) {
        return length(centroidOfNodes(a->outline)) < length(centroidOfNodes(b->outline));
    });
    if (centralPark) {
        // The church runs 4.6 units east-west and 1.6 north-south.
        if (const auto spot = clearSpot(centralPark->outline, {pond->outline}, 2.3f, 0.8f, 0.6f)) {
            add("church.3ds", churchWalls(east), *spot, north, win(236, 228, 210));
            add("church_roof.3ds", churchRoofs(east), *spot, north, win(64, 84, 116));
            add("church_domes.3ds", churchDomes(east), *spot, north, win(216, 172, 60));
        }
    }
    for (const PlanArea* park : parks) {
        if (park == centralPark)
            continue;
        if (const auto spot = clearSpot(park->outline, {}, 1.0f, 1.0f, 0.5f)) {
            add("water_tower.3ds", waterTowerShaft(east), *spot, north, win(168, 76, 56));
            add("water_tank.3ds", waterTowerTank(east), *spot, north, win(92, 116, 108));
            break;
        }
    }
    if (const auto crossing = riverCrossing(plan)) {
        const float length = crossing->width + 2.8f;
        add("bridge.3ds", bridge(length, crossing->width, crossing->halfWidth, crossing->direction),
            crossing->centre, north, win(176, 166, 146));
    }
    return out;
}
