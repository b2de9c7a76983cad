#include "RoadNetworkExtract.h"

#include "AddressForms.h"

#include <algorithm>
#include <unordered_map>

namespace {
struct ClassDefaults {
    const char* highway;
    RoadClass roadClass;
    bool foot;
    bool car;
};

// highway=* by class, with who may use it when no tag says otherwise.
constexpr ClassDefaults kClasses[] = {
    {"motorway", RoadClass::Motorway, false, true},
    {"motorway_link", RoadClass::Motorway, false, true},
    {"trunk", RoadClass::Trunk, true, true},
    {"trunk_link", RoadClass::Trunk, true, true},
    {"primary", RoadClass::Primary, true, true},
    {"primary_link", RoadClass::Primary, true, true},
    {"secondary", RoadClass::Secondary, true, true},
    {"secondary_link", RoadClass::Secondary, true, true},
    {"tertiary", RoadClass::Tertiary, true, true},
    {"tertiary_link", RoadClass::Tertiary, true, true},
    {"unclassified", RoadClass::Unclassified, true, true},
    {"road", RoadClass::Unclassified, true, true},
    {"residential", RoadClass::Residential, true, true},
    {"living_street", RoadClass::LivingStreet, true, true},
    {"service", RoadClass::Service, true, true},
    {"track", RoadClass::Track, true, true},
    {"pedestrian", RoadClass::Pedestrian, true, false},
    {"footway", RoadClass::Footway, true, false},
    {"corridor", RoadClass::Footway, true, false},
    {"path", RoadClass::Path, true, false},
    {"bridleway", RoadClass::Path, true, false},
    {"cycleway", RoadClass::Cycleway, true, false},
    {"steps", RoadClass::Steps, true, false},
};

// An access value: true allows, false forbids, none leaves the more general one.
std::optional<bool> accessValue(std::string_view value)
{
    static constexpr std::string_view kYes[] = {"yes", "public", "designated", "permissive", "destination", "customers",
                                                "delivery", "official", "use_sidepath"};
    static constexpr std::string_view kNo[] = {"no", "private", "agricultural", "forestry", "military",
                                               "emergency", "permit", "discouraged"};
    if (std::find(std::begin(kYes), std::end(kYes), value) != std::end(kYes))
        return true;
    if (std::find(std::begin(kNo), std::end(kNo), value) != std::end(kNo))
        return false;
    return std::nullopt;
}

// The most specific of `keys` (general first) that says yes or no, else `fallback`.
bool allowed(const OsmTags& tags, std::initializer_list<const char*> keys, bool fallback)
{
    bool result = fallback;
    for (const char* key : keys)
        if (const std::optional<bool> value = accessValue(tags.get(key)))
            result = *value;
    return result;
}
} // namespace

std::optional<RoadRules> roadRules(const OsmTags& tags)
{
    const std::string_view highway = tags.get("highway");
    const auto* defaults = std::find_if(std::begin(kClasses), std::end(kClasses),
                                        [&](const ClassDefaults& c) { return highway == c.highway; });
    if (defaults == std::end(kClasses))
        return std::nullopt;
    RoadRules rules;
    rules.roadClass = defaults->roadClass;
    const bool foot = allowed(tags, {"access", "foot"}, defaults->foot);
    bool car = allowed(tags, {"access", "vehicle", "motor_vehicle", "motorcar"}, defaults->car);

    const std::string_view oneway = tags.get("oneway");
    const std::string_view junction = tags.get("junction");
    bool oneWay = highway == "motorway" || junction == "roundabout" || junction == "circular";
    if (oneway == "yes" || oneway == "true" || oneway == "1")
        oneWay = true;
    else if (oneway == "-1" || oneway == "reverse") {
        oneWay = true;
        rules.reversed = true;
    } else if (oneway == "no" || oneway == "false" || oneway == "0")
        oneWay = false;
    else if (oneway == "reversible" || oneway == "alternating")
        car = false; // its direction changes by the hour
    rules.flags = std::uint8_t((foot ? RoadPiece::Foot : 0) | (car ? RoadPiece::Car : 0)
                               | (car && oneWay ? RoadPiece::OneWay : 0));
    if (!foot && !car)
        return std::nullopt;
    return rules;
}

RoadNetwork extractRoadNetwork(const OsmExtract& osm, const MapProjection& projection, TextStandIns& text,
                               ImportReport& report)
{
    RoadNetwork network;
    std::unordered_map<std::int64_t, std::uint32_t> nodeOfId;
    std::unordered_map<std::string, std::uint32_t> nameIndex;
    const auto nodeOf = [&](std::int64_t id, Vec2 at) {
        const auto [it, added] = nodeOfId.try_emplace(id, std::uint32_t(network.nodes.size()));
        if (added)
            network.nodes.push_back({at.x, at.y});
        return it->second;
    };
    for (const OsmWay& way : osm.ways) {
        const std::optional<RoadRules> rules = roadRules(way.tags);
        if (!rules)
            continue;
        std::uint32_t name = RoadPiece::kNoName;
        if (const std::string_view utf8 = way.tags.get("name"); !utf8.empty()) {
            const auto [it, added] = nameIndex.try_emplace(fitStreetName(utf8, text), std::uint32_t(network.names.size()));
            if (added)
                network.names.push_back(it->first);
            name = it->second;
        }
        // A node missing from the extract breaks the way there.
        for (std::size_t i = 1; i < way.refs.size(); ++i) {
            if (!way.points[i - 1] || !way.points[i] || way.refs[i - 1] == way.refs[i])
                continue;
            const Vec2 a = projection.toMap(way.points[i - 1]->lat, way.points[i - 1]->lon);
            const Vec2 b = projection.toMap(way.points[i]->lat, way.points[i]->lon);
            if (!MapProjection::insideSquare(a) && !MapProjection::insideSquare(b))
                continue;
            RoadPiece piece;
            piece.from = nodeOf(way.refs[i - 1], a);
            piece.to = nodeOf(way.refs[i], b);
            if (rules->reversed)
                std::swap(piece.from, piece.to);
            piece.roadClass = rules->roadClass;
            piece.flags = rules->flags;
            piece.name = name;
            network.pieces.push_back(piece);
        }
    }
    report.networkNodes = network.nodes.size();
    report.networkPieces = network.pieces.size();
    for (const RoadPiece& piece : network.pieces) {
        report.networkFootOnly += !piece.allows(RoadPiece::Car);
        report.networkCarOnly += !piece.allows(RoadPiece::Foot);
        report.networkOneWay += piece.allows(RoadPiece::OneWay);
    }
    return network;
}
