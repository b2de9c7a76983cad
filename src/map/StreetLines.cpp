#include "map/StreetLines.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

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
