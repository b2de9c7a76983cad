#include "HousePlacer.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr float kSidewalk = 0.45f;
constexpr float kHouseGap = 0.18f; // houses never touch

enum class Zone { Centre, Middle, Outskirts, Industry };

struct Footprint {
    Polygon local; // u along the street, v away from it, front at v = 0
    float w = 1, d = 1;
};

Footprint rect(float w, float d) { return {{{0, 0}, {w, 0}, {w, d}, {0, d}}, w, d}; }

// A corner cut away at the back: the common L of corner blocks and extensions.
Footprint ell(float w, float d, float a, float b, bool mirror)
{
    Footprint f{{{0, 0}, {w, 0}, {w, b}, {a, b}, {a, d}, {0, d}}, w, d};
    if (mirror)
        for (Vec2& p : f.local)
            p.x = w - p.x;
    return f;
}

Footprint ushape(float w, float d, float t)
{
    return {{{0, 0}, {w, 0}, {w, d}, {w - t, d}, {w - t, t}, {t, t}, {t, d}, {0, d}}, w, d};
}

Footprint tee(float w, float d, float t, float s)
{
    const float l = (w - s) / 2, r = (w + s) / 2;
    return {{{0, 0}, {w, 0}, {w, t}, {r, t}, {r, d}, {l, d}, {l, t}, {0, t}}, w, d};
}

Footprint aitch(float w, float d, float t, float c)
{
    const float lo = (d - c) / 2, hi = (d + c) / 2;
    return {{{0, 0}, {t, 0}, {t, lo}, {w - t, lo}, {w - t, 0}, {w, 0}, {w, d}, {w - t, d}, {w - t, hi}, {t, hi}, {t, d}, {0, d}},
            w, d};
}

Footprint crossShape(float w, float arm)
{
    const float a = (w - arm) / 2, b = (w + arm) / 2;
    return {{{a, 0}, {b, 0}, {b, a}, {w, a}, {w, b}, {b, b}, {b, w}, {a, w}, {a, b}, {0, b}, {0, a}, {a, a}}, w, w};
}

// Two overlapping wings, offset: a stepped outline.
Footprint stepped(float w, float d, bool mirror)
{
    Footprint f{{{0, 0}, {0.6f * w, 0}, {0.6f * w, 0.4f * d}, {w, 0.4f * d}, {w, d}, {0.4f * w, d}, {0.4f * w, 0.6f * d}, {0, 0.6f * d}},
                w, d};
    if (mirror)
        for (Vec2& p : f.local)
            p.x = w - p.x;
    return f;
}

int weightedFloors(TownRandom& r, std::initializer_list<std::pair<int, double>> table)
{
    std::vector<double> w;
    for (const auto& e : table)
        w.push_back(e.second);
    return (table.begin() + r.weighted(w))->first;
}

struct Design {
    Footprint fp;
    BuildingKind kind = BuildingKind::Private;
    int floors = 1;
    float setback = 0.8f;
    float gap = 1.0f;
    bool shed = false;
    bool yard = false;
};

std::int32_t win(int r, int g, int b) { return r | (g << 8) | (b << 16); }

std::int32_t colourFor(BuildingKind k, TownRandom& r)
{
    static const std::vector<std::int32_t> panel = {win(214, 208, 196), win(190, 186, 178), win(226, 218, 200),
                                                    win(200, 170, 150), win(170, 90, 70)};
    static const std::vector<std::int32_t> house = {win(150, 110, 70), win(190, 160, 110), win(120, 150, 170),
                                                    win(200, 190, 150), win(160, 80, 60)};
    static const std::vector<std::int32_t> works = {win(150, 150, 150), win(130, 120, 110), win(170, 165, 150)};
    switch (k) {
    case BuildingKind::Private:
    case BuildingKind::Cottage:
    case BuildingKind::Shed:
        return r.pick(house);
    case BuildingKind::Industrial:
    case BuildingKind::Garage:
        return r.pick(works);
    default:
        return r.pick(panel);
    }
}

Design design(Zone zone, TownRandom& r)
{
    Design d;
    const double x = r.uniform();
    auto apartment = [&](std::initializer_list<std::pair<int, double>> floors, float wlo, float whi) {
        d.kind = BuildingKind::Apartment;
        d.floors = weightedFloors(r, floors);
        const float depth = r.rangef(1.0, 1.25);
        const float w = r.rangef(wlo, whi) + (d.floors >= 9 ? 1.5f : 0);
        const double s = r.uniform();
        if (s < 0.75 || w < 3)
            d.fp = rect(w, depth);
        else if (s < 0.88)
            d.fp = ell(w, r.rangef(3, 4.5), r.rangef(1.0, 1.2), depth, r.chance(0.5));
        else if (s < 0.94 && d.floors <= 5 && w > 4.5)
            d.fp = ushape(w, r.rangef(3, 4), r.rangef(1.0, 1.2));
        else
            d.fp = tee(w, r.rangef(2.5, 3.5), depth, r.rangef(1.0, 1.3));
    };
    auto privateHouse = [&](double twoFloors) {
        d.kind = BuildingKind::Private;
        d.floors = r.chance(twoFloors) ? 2 : 1;
        const float w = r.rangef(0.65, 1.05), dd = r.rangef(0.6, 0.95);
        d.fp = r.chance(0.22) ? ell(w, dd + 0.3f, w * r.rangef(0.45, 0.6), dd * r.rangef(0.45, 0.65), r.chance(0.5))
                              : rect(w, dd);
        d.setback = r.rangef(0.5, 1.4);
        d.gap = r.rangef(0.5, 1.0);
        d.shed = r.chance(0.05);
    };
    switch (zone) {
    case Zone::Centre:
        d.setback = r.rangef(0.4, 1.4);
        d.gap = r.rangef(0.5, 1.3);
        if (x < 0.42) {
            apartment({{5, 45}, {9, 25}, {4, 15}, {3, 10}, {12, 5}}, 3.5, 6.5);
            d.yard = r.chance(0.4);
        } else if (x < 0.56) {
            d.kind = BuildingKind::Apartment;
            d.floors = weightedFloors(r, {{5, 60}, {9, 30}, {4, 10}});
            d.fp = rect(r.rangef(1.0, 1.2), r.rangef(4, 6));
        } else if (x < 0.63) {
            d.kind = BuildingKind::Tower;
            d.floors = r.between(12, 16);
            const float w = r.rangef(1.6, 2.1);
            d.fp = r.chance(0.3) ? crossShape(w + 0.4f, w * 0.55f) : rect(w, w * r.rangef(0.9, 1.3));
        } else if (x < 0.82) {
            d.kind = BuildingKind::Shop;
            d.floors = r.between(1, 3);
            d.fp = r.chance(0.15) ? stepped(r.rangef(2.5, 3.5), r.rangef(2, 2.8), r.chance(0.5))
                                  : rect(r.rangef(1.5, 3.5), r.rangef(1.2, 2.5));
        } else if (x < 0.93) {
            d.kind = BuildingKind::Public;
            d.floors = r.between(2, 4);
            d.fp = r.chance(0.5) ? tee(r.rangef(4, 6), r.rangef(2.5, 3.5), r.rangef(1.1, 1.4), r.rangef(1.2, 1.6))
                                 : aitch(r.rangef(4, 5.5), r.rangef(2.8, 3.6), r.rangef(1.0, 1.3), r.rangef(0.9, 1.2));
        } else {
            privateHouse(0.6);
        }
        break;
    case Zone::Middle:
        d.setback = r.rangef(0.5, 1.5);
        d.gap = r.rangef(0.4, 0.9);
        if (x < 0.38) {
            apartment({{2, 25}, {3, 30}, {4, 15}, {5, 30}}, 2.5, 4.5);
            d.yard = r.chance(0.2);
        } else if (x < 0.48) {
            d.kind = BuildingKind::Apartment;
            d.floors = r.between(3, 5);
            d.fp = rect(r.rangef(1.0, 1.2), r.rangef(3, 5));
        } else if (x < 0.75) {
            d.kind = BuildingKind::Cottage;
            d.floors = r.chance(0.8) ? 2 : 3;
            const float w = r.rangef(0.9, 1.4), dd = r.rangef(0.9, 1.3);
            const double s = r.uniform();
            d.fp = s < 0.6 ? rect(w, dd)
                           : (s < 0.9 ? ell(w, dd, w * r.rangef(0.45, 0.6), dd * r.rangef(0.45, 0.6), r.chance(0.5))
                                      : stepped(w + 0.3f, dd + 0.3f, r.chance(0.5)));
        } else if (x < 0.92) {
            privateHouse(0.5);
        } else if (x < 0.96) {
            d.kind = BuildingKind::Shop;
            d.floors = r.between(1, 2);
            d.fp = rect(r.rangef(1.4, 2.8), r.rangef(1.2, 2.2));
        } else {
            d.kind = BuildingKind::Public;
            d.floors = r.between(2, 3);
            d.fp = r.chance(0.5) ? aitch(r.rangef(4, 5.2), r.rangef(3, 3.8), r.rangef(1.0, 1.2), r.rangef(0.9, 1.1))
                                 : tee(r.rangef(4, 5.5), r.rangef(2.6, 3.4), r.rangef(1.1, 1.3), r.rangef(1.2, 1.5));
        }
        break;
    case Zone::Outskirts:
        if (x < 0.84) {
            privateHouse(0.5);
        } else if (x < 0.94) {
            d.kind = BuildingKind::Cottage;
            d.floors = 2;
            d.fp = rect(r.rangef(0.9, 1.3), r.rangef(0.9, 1.2));
            d.setback = r.rangef(0.6, 1.5);
            d.gap = r.rangef(0.8, 1.4);
        } else {
            d.kind = BuildingKind::Shop;
            d.floors = 1;
            d.fp = rect(r.rangef(1.2, 2.0), r.rangef(1.0, 1.6));
        }
        break;
    case Zone::Industry:
        d.setback = r.rangef(0.5, 1.5);
        d.gap = r.rangef(0.8, 2.0);
        if (x < 0.4) {
            d.kind = BuildingKind::Industrial;
            d.floors = weightedFloors(r, {{1, 50}, {2, 40}, {3, 10}});
            const float w = r.rangef(3, 7), dd = r.rangef(2.5, 5);
            d.fp = r.chance(0.25) ? ell(w, dd, w * 0.5f, dd * 0.5f, r.chance(0.5)) : rect(w, dd);
        } else if (x < 0.8) {
            d.kind = BuildingKind::Garage;
            d.floors = 1;
            d.fp = rect(r.rangef(3, 6), r.rangef(0.55, 0.7));
        } else {
            privateHouse(0.3);
        }
        break;
    }
    return d;
}

// The same design with its footprint, setback and gap shrunk by `scale`;
// 1 leaves every value exactly as it was.
Design scaled(Design d, float scale)
{
    for (Vec2& p : d.fp.local)
        p = p * scale;
    d.fp.w *= scale;
    d.fp.d *= scale;
    d.setback *= scale;
    d.gap *= scale;
    return d;
}

struct Candidate {
    PlacedHouse house;
    Polygon box;     // convex bounds used for spacing
    float key = 0;   // placement order: nearest the centre first
    float along = 0; // position along the street
    int side = 1;    // +1 left of the street's direction, -1 right
    int parent = -1; // candidate index of the main house
};

Polygon mapped(const Polygon& local, Vec2 origin, Vec2 t, Vec2 n)
{
    Polygon out;
    out.reserve(local.size());
    for (Vec2 p : local)
        out.push_back(origin + t * p.x + n * p.y);
    makeCounterClockwise(out);
    return out;
}

Zone zoneAt(const TownPlan& plan, Vec2 p)
{
    const float e = plan.effectiveDistance(p);
    if (plan.isIndustrial(p))
        return Zone::Industry;
    return e < 0.35f ? Zone::Centre : (e < 0.72f ? Zone::Middle : Zone::Outskirts);
}

std::string letter(int k)
{
    static const char* letters[] = {"а", "б", "в", "г", "д", "е"};
    return letters[std::min(k, 5)];
}
} // namespace

std::vector<PlacedHouse> placeHouses(const TownPlan& plan, std::size_t limit, TownRandom random, std::size_t* room,
                                     float scale)
{
    std::vector<Candidate> cands;
    for (int si = 0; si < int(plan.streets.size()); ++si) {
        const PlanStreet& st = plan.streets[std::size_t(si)];
        if (!st.hasRoad)
            continue;
        const float len = st.line.length();
        for (int side : {1, -1}) {
            float s = random.rangef(0.6, 1.8);
            while (s < len - 1.0f) {
                const Vec2 p0 = st.line.pointAt(s);
                const Vec2 n0 = leftNormal(st.line.tangentAt(s)) * float(side);
                const Design d = scaled(design(zoneAt(plan, p0 + n0 * 4.0f), random), scale);
                if (s + d.fp.w > len - 0.6f)
                    break;
                const float mid = s + d.fp.w / 2;
                const Vec2 t = st.line.tangentAt(mid), n = leftNormal(t) * float(side);
                const Vec2 pc = st.line.pointAt(mid);
                const Vec2 origin = pc + n * (st.halfWidth + kSidewalk + d.setback) - t * (d.fp.w / 2);
                Candidate c;
                c.box = mapped(rect(d.fp.w, d.fp.d).local, origin, t, n);
                if (plan.obstacles.hits(inflateConvex(c.box, kHouseGap))) {
                    s += 0.7f * scale;
                    continue;
                }
                c.house.outline = mapped(d.fp.local, origin, t, n);
                c.house.street = plan.facesSquare(pc, n) ? plan.squareStreet() : si;
                c.house.floors = d.floors;
                c.house.kind = d.kind;
                c.house.colour = colourFor(d.kind, random);
                // Whole stretches of a street side fill together, so the edge
                // of the town shows full frontages rather than gaps.
                const float chunk = (std::floor(mid / 10) + 0.5f) * 10;
                const Vec2 at = st.line.pointAt(std::min(chunk, len)) + leftNormal(st.line.tangentAt(chunk)) * (3.0f * float(side));
                c.key = plan.effectiveDistance(at) * float(1 + 0.12 * std::sin(at.x / 9.0) * std::sin(at.y / 11.0));
                c.along = mid;
                c.house.road = si;
                c.house.along = mid;
                c.side = side;
                const int parentIndex = int(cands.size());
                cands.push_back(c);
                if (d.shed) {
                    // A shed or garage in the garden behind the house.
                    const float sw = random.rangef(0.3, 0.5) * scale, sd = random.rangef(0.3, 0.45) * scale;
                    const float u = random.rangef(0, std::max(0.01f, d.fp.w - sw));
                    const Vec2 o = origin + t * u + n * (d.fp.d + random.rangef(0.5, 1.3) * scale);
                    Candidate sh = c;
                    sh.box = mapped(rect(sw, sd).local, o, t, n);
                    sh.house.outline = sh.box;
                    sh.house.floors = 1;
                    sh.house.kind = BuildingKind::Shed;
                    sh.parent = parentIndex;
                    cands.push_back(sh);
                }
                if (d.yard) {
                    // A second block deeper in the yard shares the front house's number with a letter.
                    const float yw = d.fp.w * random.rangef(0.6, 0.9);
                    const Vec2 o = origin + t * random.rangef(0, d.fp.w - yw) + n * (d.fp.d + random.rangef(2.5, 4) * scale);
                    Candidate y = c;
                    y.box = mapped(rect(yw, d.fp.d > 1.5f * scale ? 1.15f * scale : d.fp.d).local, o, t, n);
                    y.house.outline = y.box;
                    y.house.floors = c.house.floors;
                    y.parent = parentIndex;
                    cands.push_back(y);
                }
                s += d.fp.w + d.gap;
            }
        }
    }

    // Fill from the centre outward until the limit; dependants follow their
    // main house at once.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < cands.size(); ++i)
        if (cands[i].parent < 0)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return cands[a].key < cands[b].key; });
    std::vector<std::vector<std::size_t>> dependants(cands.size());
    for (std::size_t i = 0; i < cands.size(); ++i)
        if (cands[i].parent >= 0)
            dependants[std::size_t(cands[i].parent)].push_back(i);

    ObstacleGrid placed(470, 3);
    std::vector<std::size_t> accepted;
    std::vector<int> placedIndex(cands.size(), -1);
    auto tryPlace = [&](std::size_t i) {
        if (cands[i].parent >= 0 && plan.obstacles.hits(inflateConvex(cands[i].box, kHouseGap)))
            return false;
        const Polygon grown = inflateConvex(cands[i].box, kHouseGap);
        if (placed.hits(grown))
            return false;
        placed.add(cands[i].box);
        placedIndex[i] = int(accepted.size());
        accepted.push_back(i);
        return true;
    };
    for (std::size_t i : order) {
        if (!tryPlace(i))
            continue;
        for (std::size_t k : dependants[i])
            tryPlace(k);
    }
    if (room)
        *room = accepted.size();
    if (accepted.size() > limit)
        accepted.resize(limit);

    // Numbers run along each side from the end nearer the centre: odd on the
    // left, even on the right; squares count round.
    std::vector<PlacedHouse> out;
    out.reserve(accepted.size());
    for (std::size_t i : accepted) {
        out.push_back(cands[i].house);
        if (cands[i].parent >= 0)
            out.back().parent = placedIndex[std::size_t(cands[i].parent)];
    }
    std::map<std::pair<int, int>, std::vector<std::size_t>> sides;
    for (std::size_t k = 0; k < accepted.size(); ++k) {
        const Candidate& c = cands[accepted[k]];
        if (c.parent < 0)
            sides[{c.house.street, c.house.street == plan.squareStreet() ? 0 : c.side}].push_back(k);
    }
    for (auto& [key, list] : sides) {
        if (key.first == plan.squareStreet()) {
            auto angle = [&](std::size_t k) {
                const Vec2 c = centroidOfNodes(out[k].outline);
                return std::atan2(c.y, c.x) + (std::atan2(c.y, c.x) < -0.5 ? 7.0 : 0.0);
            };
            std::stable_sort(list.begin(), list.end(), [&](std::size_t a, std::size_t b) { return angle(a) < angle(b); });
            int n = 1;
            for (std::size_t k : list)
                out[k].number = std::to_string(n++);
            continue;
        }
        std::stable_sort(list.begin(), list.end(),
                         [&](std::size_t a, std::size_t b) { return cands[accepted[a]].along < cands[accepted[b]].along; });
        int n = key.second > 0 ? 1 : 2;
        bool lastLettered = true;
        for (std::size_t k : list) {
            if (!lastLettered && n > 2 && random.chance(0.03)) {
                // A house squeezed in later takes its neighbour's number with a letter.
                out[k].number = std::to_string(n - 2) + letter(0);
                lastLettered = true;
                continue;
            }
            out[k].number = std::to_string(n);
            n += 2;
            lastLettered = false;
        }
    }
    std::map<std::string, int> lettersUsed;
    auto baseOf = [](std::string n) {
        while (!n.empty() && !(n.back() >= '0' && n.back() <= '9'))
            n.pop_back();
        return n;
    };
    for (const PlacedHouse& h : out)
        if (h.parent < 0 && !h.number.empty() && baseOf(h.number) != h.number)
            lettersUsed[std::to_string(h.street) + "/" + baseOf(h.number)] = 1;
    bool sharedDone = false;
    for (std::size_t k = 0; k < out.size(); ++k) {
        PlacedHouse& h = out[k];
        if (h.parent < 0)
            continue;
        if (h.kind == BuildingKind::Shed) {
            h.number = "0";
            continue;
        }
        const PlacedHouse& main = out[std::size_t(h.parent)];
        if (!sharedDone) {
            // One address belongs to two buildings, as happens in real towns.
            h.number = main.number;
            sharedDone = true;
            continue;
        }
        const std::string base = baseOf(main.number);
        h.number = base + letter(lettersUsed[std::to_string(h.street) + "/" + base]++);
    }
    return out;
}
