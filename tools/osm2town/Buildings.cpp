#include "Buildings.h"

#include "MapPolygons.h"
#include "Organisations.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <deque>

namespace {

// Numbers in a tag value, read with a full stop or a comma as the decimal mark.
std::vector<double> numbersIn(std::string_view text)
{
    std::vector<double> out;
    std::string s(text);
    for (std::size_t i = 0; i < s.size();) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
            ++j;
        if (j + 1 < s.size() && (s[j] == '.' || s[j] == ',') && std::isdigit(static_cast<unsigned char>(s[j + 1]))) {
            s[j] = '.';
            ++j;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
        }
        double v = 0;
        std::from_chars(s.data() + i, s.data() + j, v);
        // A minus sign right before the number makes it negative.
        out.push_back(i > 0 && s[i - 1] == '-' && (i < 2 || !std::isdigit(static_cast<unsigned char>(s[i - 2]))) ? -v : v);
        i = j;
    }
    return out;
}

constexpr int kMostFloors = 150;

struct Candidate {
    char type;
    std::int64_t id;
    const OsmTags* tags;
    std::vector<const OsmRing*> rings; // outer rings
};

} // namespace

std::optional<int> floorsFromLevels(std::string_view levels)
{
    const std::vector<double> values = numbersIn(levels);
    if (values.empty())
        return std::nullopt;
    const double most = *std::max_element(values.begin(), values.end());
    const long floors = std::lround(most);
    if (floors <= 0)
        return std::nullopt;
    return int(std::min<long>(floors, kMostFloors));
}

std::optional<int> floorsFromHeight(std::string_view height)
{
    const std::vector<double> values = numbersIn(height);
    if (values.empty() || values[0] <= 0)
        return std::nullopt;
    double metres = values[0];
    if (height.find("ft") != std::string_view::npos || height.find('\'') != std::string_view::npos)
        metres *= 0.3048;
    return int(std::clamp<long>(std::lround(metres / 3.0), 1, kMostFloors));
}

int defaultFloors(std::string_view type)
{
    struct Rule {
        std::string_view type;
        int floors;
    };
    static constexpr Rule kRules[] = {
        {"garage", 1}, {"garages", 1}, {"shed", 1}, {"hut", 1}, {"cabin", 1}, {"kiosk", 1}, {"roof", 1},
        {"carport", 1}, {"service", 1}, {"transformer_tower", 1}, {"toilets", 1}, {"greenhouse", 1},
        {"barn", 1}, {"farm_auxiliary", 1}, {"parking", 2}, {"house", 2}, {"detached", 2},
        {"semidetached_house", 2}, {"bungalow", 1}, {"terrace", 2}, {"farm", 2}, {"church", 3},
        {"chapel", 1}, {"industrial", 2}, {"warehouse", 2}, {"retail", 2}, {"supermarket", 2},
        {"commercial", 3}, {"office", 4}, {"school", 3}, {"kindergarten", 2}, {"hospital", 5},
        {"university", 4}, {"college", 4}, {"public", 3}, {"civic", 3}, {"train_station", 2},
        {"residential", 5}, {"apartments", 5}, {"dormitory", 5}, {"hotel", 5},
    };
    for (const Rule& r : kRules)
        if (r.type == type)
            return r.floors;
    return 2;
}

std::string_view addressStreet(const OsmTags& tags)
{
    const std::string_view street = tags.get("addr:street");
    return street.empty() ? tags.get("addr:place") : street;
}

Polygon projectRing(const MapProjection& projection, const OsmRing& ring)
{
    Polygon out;
    out.reserve(ring.size());
    for (const OsmPoint& p : ring)
        out.push_back(projection.toMap(p.lat, p.lon));
    return out;
}

ImportedBuildings extractBuildings(const OsmExtract& osm, const MapProjection& projection, TextStandIns& text,
                                   HouseNumberBook& numbers, ImportReport& report)
{
    auto isBuilding = [](const OsmTags& t) { return t.has("building") && t.get("building") != "no"; };
    auto isPart = [&](const OsmTags& t) {
        return !isBuilding(t) && t.has("building:part") && t.get("building:part") != "no";
    };
    std::vector<Candidate> buildings, parts;
    for (const OsmArea& area : osm.areas) {
        const bool building = isBuilding(area.tags);
        if (!building && !isPart(area.tags))
            continue;
        if (area.polygons.empty()) {
            if (building) {
                ++report.buildings;
                ++report.housesIncomplete;
            }
            continue;
        }
        Candidate c{area.type, area.id, &area.tags, {}};
        for (const OsmPolygon& polygon : area.polygons) {
            c.rings.push_back(&polygon.outer);
            if (building)
                report.innerRingsDropped += polygon.inners.size();
        }
        (building ? buildings : parts).push_back(std::move(c));
    }
    report.buildings += buildings.size();

    // Streets given to their houses by an associatedStreet relation.
    std::map<std::pair<char, std::int64_t>, std::string_view> relationStreet;
    for (const OsmRelation& r : osm.relations)
        if (r.tags.get("type") == "associatedStreet" && !r.tags.get("name").empty())
            for (const OsmMember& m : r.members)
                if (m.role == "house")
                    relationStreet.emplace(std::pair{m.type, m.ref}, r.tags.get("name"));

    ImportedBuildings out;
    struct Pending {
        const Candidate* source;
        std::string street;  // UTF-8
        std::string number;  // UTF-8
        std::optional<int> partFloors;
    };
    std::vector<Pending> pending;

    auto addOutlines = [&](const Candidate& c, bool counted) {
        std::size_t added = 0;
        for (const OsmRing* ring : c.rings) {
            const Polygon projected = projectRing(projection, *ring);
            if (!MapProjection::insideSquare(projected)) {
                report.housesOutside += counted;
                continue;
            }
            std::optional<Polygon> outline = mapOutline(projected);
            if (!outline) {
                report.housesDegenerate += counted;
                continue;
            }
            const std::size_t index = out.houses.size();
            ImportedHouse house;
            house.outline = std::move(*outline);
            out.houses.push_back(std::move(house));
            out.bySource[{c.type, c.id}].push_back(index);
            pending.push_back({&c, {}, {}, {}});
            ++added;
        }
        return added;
    };

    for (const Candidate& c : buildings)
        addOutlines(c, true);
    for (std::size_t i = 0; i < out.houses.size(); ++i)
        out.grid.add(i, out.houses[i].outline);
    const std::size_t buildingHouses = out.houses.size();

    // Addresses of the buildings' own tags.
    for (Pending& p : pending) {
        const OsmTags& t = *p.source->tags;
        p.number = std::string(t.get("addr:housenumber"));
        p.street = std::string(addressStreet(t));
        if (p.street.empty() && !p.number.empty()) {
            auto it = relationStreet.find({p.source->type, p.source->id});
            if (it != relationStreet.end()) {
                p.street = std::string(it->second);
                ++report.addressFromStreetRelation;
            }
        }
    }

    // An address node inside a building without an address gives it one.
    std::vector<bool> fromNode(out.houses.size(), false);
    for (const OsmTaggedNode& n : osm.taggedNodes) {
        const std::string_view number = n.tags.get("addr:housenumber");
        const std::string_view street = addressStreet(n.tags);
        if (number.empty() || street.empty() || isOrganisation(n.tags))
            continue;
        const std::optional<std::size_t> house = out.grid.find(projection.toMap(n.node.lat, n.node.lon));
        if (!house)
            continue;
        Pending& p = pending[*house];
        if (fromNode[*house]) {
            ++report.spareAddressNodes;
        } else if (p.number.empty() || p.street.empty()) {
            p.number = std::string(number);
            p.street = std::string(street);
            fromNode[*house] = true;
            ++report.addressFromNode;
        }
    }

    // A part inside an outline is left out for it, lending it its height;
    // a part outside every outline is a house of its own.
    std::deque<Candidate> partHouses; // the pending houses point into it
    for (const Candidate& c : parts) {
        for (const OsmRing* ring : c.rings) {
            const std::optional<Polygon> outline = mapOutline(projectRing(projection, *ring));
            if (!outline)
                continue;
            const std::optional<std::size_t> holder = out.grid.find(centroidOfNodes(*outline));
            if (holder && *holder < buildingHouses) {
                ++report.partsFolded;
                std::optional<int> f = floorsFromLevels(c.tags->get("building:levels"));
                if (!f)
                    f = floorsFromHeight(c.tags->get("height"));
                if (f)
                    pending[*holder].partFloors = std::max(pending[*holder].partFloors.value_or(0), *f);
                continue;
            }
            partHouses.push_back({c.type, c.id, c.tags, {ring}});
            if (addOutlines(partHouses.back(), false) > 0) {
                ++report.partsAsHouses;
                out.grid.add(out.houses.size() - 1, out.houses.back().outline);
                Pending& p = pending.back();
                p.number = std::string(c.tags->get("addr:housenumber"));
                p.street = std::string(addressStreet(*c.tags));
            }
        }
    }

    for (std::size_t i = 0; i < out.houses.size(); ++i) {
        ImportedHouse& h = out.houses[i];
        const Pending& p = pending[i];
        const OsmTags& t = *p.source->tags;
        if (!p.number.empty() && p.street.empty())
            ++report.numberWithoutStreet;
        if (!p.number.empty() && !p.street.empty()) {
            bool cut = false;
            h.street = fitStreetName(p.street, text, &cut);
            report.streetsCut += cut;
            h.number = numbers.number(h.street, p.number);
            h.addressed = true;
            ++report.housesWithAddress;
        }
        if (auto f = floorsFromLevels(t.get("building:levels"))) {
            h.floors = *f;
            ++report.floorsFromLevels;
        } else if (p.partFloors) {
            h.floors = *p.partFloors;
            ++report.floorsFromParts;
        } else if (auto fh = floorsFromHeight(t.get("height"))) {
            h.floors = *fh;
            ++report.floorsFromHeight;
        } else {
            std::string type(t.has("building") ? t.get("building") : t.get("building:part"));
            h.floors = defaultFloors(type);
            auto& entry = report.defaultFloors[type];
            entry.first = h.floors;
            ++entry.second;
        }
    }
    report.houses = out.houses.size();
    return out;
}
