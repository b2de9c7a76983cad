#include "FlatAreas.h"

#include "Buildings.h"
#include "MapPolygons.h"
#include "TownGenerator.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {
std::int32_t win(int r, int g, int b) { return r | (g << 8) | (b << 16); }

bool oneOf(std::string_view v, std::initializer_list<std::string_view> values)
{
    return std::find(values.begin(), values.end(), v) != values.end();
}

bool underground(const OsmTags& t)
{
    const std::string_view tunnel = t.get("tunnel");
    return (!tunnel.empty() && tunnel != "no") || t.get("location") == "underground"
           || t.get("location") == "underwater";
}

// A width tag in metres, when it reads as a sane one.
std::optional<float> widthTag(const OsmTags& t)
{
    const std::string_view w = t.get("width");
    float v = 0;
    const auto res = std::from_chars(w.data(), w.data() + w.size(), v);
    if (res.ec != std::errc() || !(v >= 1.0f && v <= 80.0f))
        return std::nullopt;
    std::string_view rest(res.ptr, std::size_t(w.data() + w.size() - res.ptr));
    while (rest.starts_with(' '))
        rest.remove_prefix(1);
    if (!rest.empty() && rest != "m")
        return std::nullopt;
    return v;
}
} // namespace

FlatStyle flatStyle(FlatKind kind)
{
    switch (kind) {
    case FlatKind::Forest: return {0.005f, win(46, 96, 42)};
    case FlatKind::Green: return {townz::kArea, areaColour(AreaKind::Park)};
    case FlatKind::Pitch: return {0.015f, areaColour(AreaKind::Pitch)};
    case FlatKind::Water: return {townz::kWater, areaColour(AreaKind::River)};
    case FlatKind::Square: return {0.028f, win(150, 146, 140)};
    case FlatKind::Footway: return {0.031f, win(172, 166, 154)};
    case FlatKind::Road: return {townz::kRoad, roadColour()};
    }
    return {0, 0};
}

std::optional<FlatLine> flatLine(const OsmTags& t)
{
    if (underground(t) || t.get("area") == "yes")
        return std::nullopt;
    const std::string_view hw = t.get("highway");
    struct Width {
        std::string_view value;
        float metres;
    };
    static constexpr Width kRoads[] = {
        {"motorway", 22}, {"trunk", 18}, {"primary", 14}, {"secondary", 12}, {"tertiary", 10},
        {"motorway_link", 7}, {"trunk_link", 7}, {"primary_link", 7}, {"secondary_link", 7},
        {"tertiary_link", 7}, {"unclassified", 7}, {"residential", 7}, {"living_street", 6},
        {"road", 6}, {"busway", 7}, {"service", 4.5f}, {"track", 3},
    };
    static constexpr Width kPaths[] = {
        {"pedestrian", 5}, {"footway", 2.5f}, {"path", 2}, {"cycleway", 2.5f}, {"bridleway", 2},
        {"steps", 2.5f}, {"corridor", 2},
    };
    for (const Width& w : kRoads)
        if (hw == w.value)
            return FlatLine{FlatKind::Road, widthTag(t).value_or(w.metres)};
    for (const Width& w : kPaths)
        if (hw == w.value)
            return FlatLine{FlatKind::Footway, widthTag(t).value_or(w.metres)};
    static constexpr Width kWaterways[] = {{"river", 20}, {"canal", 10}, {"stream", 3}, {"drain", 2}, {"ditch", 1.5f}};
    const std::string_view ww = t.get("waterway");
    for (const Width& w : kWaterways)
        if (ww == w.value)
            return FlatLine{FlatKind::Water, widthTag(t).value_or(w.metres)};
    return std::nullopt;
}

std::optional<FlatKind> flatArea(const OsmTags& t)
{
    if (underground(t))
        return std::nullopt;
    const std::string_view hw = t.get("highway"), natural = t.get("natural"), landuse = t.get("landuse"),
                           leisure = t.get("leisure"), waterway = t.get("waterway");
    if (!t.get("area:highway").empty() || (!hw.empty() && t.get("area") == "yes"))
        return FlatKind::Square;
    if (natural == "water" || oneOf(waterway, {"riverbank", "dock"}) || oneOf(landuse, {"reservoir", "basin"}))
        return FlatKind::Water;
    if (landuse == "forest" || natural == "wood")
        return FlatKind::Forest;
    if (oneOf(leisure, {"pitch", "track", "stadium"}))
        return FlatKind::Pitch;
    if (oneOf(leisure, {"park", "garden", "nature_reserve", "golf_course", "dog_park", "common"})
        || oneOf(landuse, {"grass", "meadow", "village_green", "recreation_ground", "cemetery", "allotments",
                           "orchard", "flowerbed", "plant_nursery", "greenfield"})
        || oneOf(natural, {"grassland", "heath", "scrub"}))
        return FlatKind::Green;
    return std::nullopt;
}

std::vector<TownRoadRecord> extractFlatAreas(const OsmExtract& osm, const MapProjection& projection,
                                             ImportReport& report)
{
    std::vector<TownRoadRecord> out;
    auto emit = [&out](const Polygon& p, FlatKind kind) {
        const FlatStyle style = flatStyle(kind);
        TownRoadRecord r;
        r.nodes.reserve(p.size());
        for (Vec2 v : p)
            r.nodes.push_back({v.x, v.y, style.z});
        r.colour = style.colour;
        out.push_back(std::move(r));
    };
    auto area = [&](const OsmPolygon& polygon, FlatKind kind) {
        std::vector<Polygon> holes;
        for (const OsmRing& inner : polygon.inners)
            holes.push_back(projectRing(projection, inner));
        const std::vector<Polygon> tiles = tileArea(projectRing(projection, polygon.outer), holes, kAreaTile);
        if (tiles.empty()) {
            ++report.piecesOutside;
            return;
        }
        report.areaTiles += tiles.size();
        report.areaHoles += holes.size();
        for (const Polygon& t : tiles)
            emit(t, kind);
        if (kind == FlatKind::Water)
            ++report.waterAreas;
        else if (kind == FlatKind::Square)
            ++report.squares;
        else
            ++report.greenAreas;
    };

    for (const OsmWay& w : osm.ways) {
        if (w.tags.empty())
            continue;
        if (underground(w.tags) && (!w.tags.get("highway").empty() || !w.tags.get("waterway").empty())) {
            ++report.underground;
            continue;
        }
        if (w.closed() && flatArea(w.tags))
            continue; // drawn as an area
        const std::optional<FlatLine> line = flatLine(w.tags);
        if (!line)
            continue;
        // A node missing from the extract is a gap: the line is drawn in
        // the runs on either side of it, not straight across.
        std::vector<std::vector<Vec2>> runs(1);
        for (const std::optional<OsmPoint>& p : w.points) {
            if (p)
                runs.back().push_back(projection.toMap(p->lat, p->lon));
            else if (!runs.back().empty())
                runs.emplace_back();
        }
        const float halfWidth = float(line->widthMetres * mapscale::kUnitsPerMetre / 2);
        std::size_t drawn = 0;
        for (const std::vector<Vec2>& run : runs) {
            const std::vector<Polygon> pieces = bandPieces(run, halfWidth, kRoadPiece, &report.piecesOutside);
            report.roadPieces += line->kind == FlatKind::Water ? 0 : pieces.size();
            drawn += pieces.size();
            for (const Polygon& p : pieces)
                emit(p, line->kind);
        }
        if (drawn == 0)
            continue;
        ++(line->kind == FlatKind::Water ? report.waterLines : report.roads);
        if (std::find(w.points.begin(), w.points.end(), std::nullopt) != w.points.end())
            ++report.linesIncomplete;
    }
    for (const OsmArea& a : osm.areas) {
        const std::optional<FlatKind> kind = flatArea(a.tags);
        if (!kind)
            continue;
        if (a.polygons.empty())
            ++report.areasIncomplete;
        for (const OsmPolygon& polygon : a.polygons)
            area(polygon, *kind);
    }
    // Lower kinds first: only a reader of the file sees the order.
    std::stable_sort(out.begin(), out.end(), [](const TownRoadRecord& a, const TownRoadRecord& b) {
        return a.nodes[0][2] < b.nodes[0][2];
    });
    return out;
}
