#include "map/StreetLines.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace labels {

namespace {
constexpr float kStep = 6.0f; // map units averaged into one point of a line
} // namespace

std::vector<P2> BandCentreLine(const std::vector<P2>& outline)
{
    const std::size_t n = outline.size();
    if (n < 4 || n % 2 != 0)
        return {};
    std::vector<P2> line;
    line.reserve(n / 2);
    for (std::size_t i = 0; i < n / 2; ++i)
        line.push_back({(outline[i].x + outline[n - 1 - i].x) / 2, (outline[i].y + outline[n - 1 - i].y) / 2});
    return line;
}

std::vector<StreetLine> LinesFromHouses(const std::vector<AddressedPoint>& houses, float gap)
{
    std::map<std::string, std::vector<P2>> byStreet;
    for (const AddressedPoint& h : houses)
        if (!h.street.empty() && std::isfinite(h.at.x) && std::isfinite(h.at.y))
            byStreet[h.street].push_back(h.at);

    std::vector<StreetLine> lines;
    for (auto& [name, pts] : byStreet) {
        // Main direction: the principal axis of the points.
        double mx = 0, my = 0;
        for (const P2& p : pts) {
            mx += p.x;
            my += p.y;
        }
        mx /= double(pts.size());
        my /= double(pts.size());
        double sxx = 0, syy = 0, sxy = 0;
        for (const P2& p : pts) {
            sxx += (p.x - mx) * (p.x - mx);
            syy += (p.y - my) * (p.y - my);
            sxy += (p.x - mx) * (p.y - my);
        }
        const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
        const float ux = float(std::cos(angle)), uy = float(std::sin(angle));
        const auto along = [&](const P2& p) { return (p.x - float(mx)) * ux + (p.y - float(my)) * uy; };
        std::sort(pts.begin(), pts.end(), [&](const P2& a, const P2& b) { return along(a) < along(b); });

        StreetLine line{name, {}};
        const auto finish = [&] {
            if (!line.points.empty())
                lines.push_back(line);
            line.points.clear();
        };
        std::size_t i = 0;
        while (i < pts.size()) {
            if (i > 0 && along(pts[i]) - along(pts[i - 1]) > gap)
                finish();
            // Average what lies within one step.
            const float from = along(pts[i]);
            double sx = 0, sy = 0;
            std::size_t k = i;
            for (; k < pts.size() && along(pts[k]) - from < kStep; ++k) {
                if (k > i && along(pts[k]) - along(pts[k - 1]) > gap)
                    break;
                sx += pts[k].x;
                sy += pts[k].y;
            }
            line.points.push_back({float(sx / double(k - i)), float(sy / double(k - i))});
            i = k;
        }
        finish();
    }
    return lines;
}

std::vector<StreetLine> LinesFromNetwork(const RoadNetwork& network)
{
    const auto usable = [&](const RoadPiece& p) {
        return p.name < network.names.size() && !network.names[p.name].empty() && p.from != p.to &&
               p.from < network.nodes.size() && p.to < network.nodes.size();
    };
    // Each name's pieces, in the file's order.
    std::vector<std::vector<std::uint32_t>> byName(network.names.size());
    for (std::size_t i = 0; i < network.pieces.size(); ++i)
        if (usable(network.pieces[i]))
            byName[network.pieces[i].name].push_back(std::uint32_t(i));

    std::vector<StreetLine> lines;
    for (std::size_t name = 0; name < byName.size(); ++name) {
        const std::vector<std::uint32_t>& pieces = byName[name];
        if (pieces.empty())
            continue;
        // The name's pieces at each node (indices into `pieces`).
        std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> at;
        for (std::uint32_t k = 0; k < pieces.size(); ++k) {
            at[network.pieces[pieces[k]].from].push_back(k);
            at[network.pieces[pieces[k]].to].push_back(k);
        }
        std::vector<bool> used(pieces.size(), false);
        const auto point = [&](std::uint32_t node) { return P2{network.nodes[node].x, network.nodes[node].y}; };
        // From `node` along piece k, on through nodes where the street only
        // passes (two of its pieces), until it ends, branches or closes.
        const auto walk = [&](std::uint32_t node, std::uint32_t k) {
            StreetLine line{network.names[name], {point(node)}};
            for (;;) {
                used[k] = true;
                const RoadPiece& p = network.pieces[pieces[k]];
                node = p.from == node ? p.to : p.from;
                line.points.push_back(point(node));
                const std::vector<std::uint32_t>& here = at[node];
                if (here.size() != 2)
                    break;
                const std::uint32_t next = used[here[0]] ? here[1] : here[0];
                if (used[next])
                    break;
                k = next;
            }
            lines.push_back(std::move(line));
        };
        // Lines start where the street ends or branches (each such node
        // once, however many pieces meet there)...
        std::unordered_set<std::uint32_t> started;
        for (std::uint32_t k = 0; k < pieces.size(); ++k) {
            const RoadPiece& p = network.pieces[pieces[k]];
            for (const std::uint32_t end : {p.from, p.to})
                if (at[end].size() != 2 && started.insert(end).second)
                    for (const std::uint32_t j : at[end])
                        if (!used[j])
                            walk(end, j);
        }
        // ...and what is left are rings.
        for (std::uint32_t k = 0; k < pieces.size(); ++k)
            if (!used[k])
                walk(network.pieces[pieces[k]].from, k);
    }
    return lines;
}

std::vector<StreetLine> MergeStreetLines(std::vector<StreetLine> roads, std::vector<StreetLine> fromHouses)
{
    std::set<std::string> named;
    for (const StreetLine& r : roads)
        named.insert(r.name);
    for (StreetLine& h : fromHouses)
        if (!named.count(h.name))
            roads.push_back(std::move(h));
    return roads;
}

} // namespace labels
