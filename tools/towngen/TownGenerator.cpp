#include "TownGenerator.h"

#include "GroundTextures.h"
#include "OrgPlaceGenerator.h"

#include "base/BmpEncoder.h"
#include "base/ByteWriter.h"
#include "base/Cp1251.h"
#include "data/OrgDirectoryWriter.h"
#include "base/GxException.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

namespace {
std::int32_t win(int r, int g, int b) { return r | (g << 8) | (b << 16); }

} // namespace

std::int32_t areaColour(AreaKind k)
{
    switch (k) {
    case AreaKind::River:
    case AreaKind::Pond: return win(74, 124, 188);
    case AreaKind::Park: return win(62, 118, 50);
    case AreaKind::Cemetery: return win(78, 102, 70);
    case AreaKind::Pitch: return win(70, 150, 64);
    }
    return win(62, 118, 50);
}

std::int32_t roadColour() { return win(118, 118, 116); }

namespace {
float areaZ(AreaKind k)
{
    switch (k) {
    case AreaKind::River: return townz::kWater;
    case AreaKind::Pond: return townz::kPond;
    default: return townz::kArea;
    }
}

void buildModel(GeneratedTown& town)
{
    const TownPlan& plan = town.plan;
    for (const PlacedHouse& h : town.houses) {
        TownHouseRecord r;
        for (Vec2 v : h.outline)
            r.nodes.push_back({v.x, v.y});
        r.texts = {cp1251::fromUtf8(plan.streets[std::size_t(h.street)].name), cp1251::fromUtf8(h.number),
                   std::to_string(h.floors)};
        r.colour = h.colour;
        town.model.houses.push_back(std::move(r));
    }
    // Water and green first, roads last: the order only matters to the eye of
    // someone reading the file; heights keep them apart on screen.
    for (const PlanArea& a : plan.areas) {
        TownRoadRecord r;
        const float z = areaZ(a.kind);
        for (Vec2 v : a.outline)
            r.nodes.push_back({v.x, v.y, z});
        r.colour = areaColour(a.kind);
        town.model.roads.push_back(std::move(r));
    }
    for (const PlanStreet& s : plan.streets) {
        if (!s.hasRoad)
            continue;
        TownRoadRecord r;
        Polygon band = s.line.band(s.halfWidth, s.halfWidth);
        makeCounterClockwise(band);
        for (Vec2 v : band)
            r.nodes.push_back({v.x, v.y, townz::kRoad});
        r.texts = {cp1251::fromUtf8(s.name)};
        r.colour = roadColour();
        town.model.roads.push_back(std::move(r));
    }

    std::map<std::string, const PlanPlane*> materialOf;
    for (const PlanPlane& p : plan.planes) {
        TownPlaneRecord r;
        const bool ground = p.kind == GroundKind::Grass;
        r.position = {p.centre.x, p.centre.y, ground ? townz::kGrass : townz::kGround};
        const Vec2 up = leftNormal(p.axis);
        r.up = {up.x, up.y, 0};
        r.direction = {0, 0, 1};
        r.width = p.width;
        r.height = p.height;
        r.materialName = groundMaterialName(p.kind, p.width, p.height);
        materialOf.emplace(r.materialName, &p);
        town.model.planes.push_back(std::move(r));
    }

    // One library material per kind and size, so each repeats its picture at
    // the kind's natural scale; the pictures are made once per kind.
    std::map<GroundKind, std::string> pictures;
    for (const auto& [name, plane] : materialOf) {
        auto it = pictures.find(plane->kind);
        if (it == pictures.end()) {
            const GroundPicture pic = groundPicture(plane->kind);
            it = pictures.emplace(plane->kind, encodeBmp24(pic.size, pic.size, pic.rgb)).first;
        }
        town.materials.push_back(groundMaterial(plane->kind, name, it->second, plane->width, plane->height));
    }
}

// Side streets end a little past their last house instead of running on into
// the fields; avenues and embankments go on as country roads.
void trimStreets(GeneratedTown& town)
{
    std::vector<PlanStreet>& streets = town.plan.streets;
    std::vector<float> lo(streets.size(), 1e30f), hi(streets.size(), -1e30f);
    for (const PlacedHouse& h : town.houses) {
        if (h.road < 0)
            continue;
        lo[std::size_t(h.road)] = std::min(lo[std::size_t(h.road)], h.along);
        hi[std::size_t(h.road)] = std::max(hi[std::size_t(h.road)], h.along);
    }
    for (std::size_t i = 0; i < streets.size(); ++i) {
        PlanStreet& s = streets[i];
        if (!s.hasRoad || s.kind == StreetKind::Avenue || s.kind == StreetKind::Embankment)
            continue;
        const float len = s.line.length();
        const auto& pts = s.line.points();
        if (hi[i] < lo[i]) {
            if (town.plan.effectiveDistance(s.line.pointAt(len / 2)) > 0.5f)
                s.hasRoad = false;
            continue;
        }
        const float s0 = town.plan.effectiveDistance(pts.front()) > 0.8f ? std::max(0.0f, lo[i] - 4) : 0;
        const float s1 = town.plan.effectiveDistance(pts.back()) > 0.8f ? std::min(len, hi[i] + 4) : len;
        if (s0 > 0 || s1 < len)
            s.line = s.line.sub(s0, s1);
    }
}
} // namespace

GeneratedTown generateTown(const TownOptions& options)
{
    const TownRandom root(options.seed);
    const std::size_t wanted = options.houses;
    // Grow the town until its streets have room for the houses asked for;
    // once it fills the whole square, pack the streets closer instead.
    float radius = 62 * std::sqrt(float(std::max<std::size_t>(wanted, 60)) / 1100.0f);
    float spacing = 1;
    GeneratedTown town;
    std::size_t room = 0;
    float bestSpacing = 1;
    std::size_t bestRoom = 0;
    for (int attempt = 0;; ++attempt) {
        radius = std::min(radius, 440.0f);
        town.plan = TownPlan::build(radius, spacing, root.fork(1));
        town.houses = placeHouses(town.plan, wanted, root.fork(2), &room);
        if (room > bestRoom)
            bestRoom = room, bestSpacing = spacing;
        if (room >= wanted || attempt >= 14)
            break;
        // Past a point closer streets leave less room, not more: blocks
        // become too shallow for the houses.
        if (radius >= 440 && room < bestRoom * 9 / 10)
            break;
        if (radius < 440)
            radius *= std::clamp(std::sqrt(float(wanted) * 1.08f / float(std::max<std::size_t>(room, 1))), 1.03f, 1.25f);
        else
            spacing *= 0.85f;
    }
    // A city larger than the square holds at full size: smaller houses on
    // the grid that held the most.
    if (room < wanted) {
        town.plan = TownPlan::build(radius, bestSpacing, root.fork(1));
        for (float scale = 0.85f; room < wanted && scale > 0.3f; scale *= 0.85f)
            town.houses = placeHouses(town.plan, wanted, root.fork(2), &room, scale);
    }

    trimStreets(town);
    std::vector<bool> housed(town.plan.streets.size(), false);
    for (const PlacedHouse& h : town.houses)
        housed[std::size_t(h.street)] = true;
    StreetNamer namer(root.fork(3));
    for (std::size_t i = 0; i < town.plan.streets.size(); ++i)
        if (housed[i] || town.plan.streets[i].hasRoad)
            town.plan.streets[i].name = namer.next(town.plan.streets[i].kind);

    buildModel(town);
    TownLandmarks landmarks = makeLandmarks(town.plan);
    town.landmarks = std::move(landmarks.records);
    town.landmarkMeshes = std::move(landmarks.meshes);
    std::vector<std::size_t> houseOf;
    town.organisations = generateOrganisations(town.plan, town.houses, options.organisations, root.fork(4),
                                               &town.missingAddresses, &houseOf);
    town.places = generateOrgPlaces(town.organisations, houseOf, town.houses.size(), root.fork(5));
    std::vector<Polygon> parks;
    for (const PlanArea& a : town.plan.areas)
        if (a.kind == AreaKind::Park)
            parks.push_back(a.outline);
    addPlacedOnlyOrganisations(town.organisations, town.places, town.houses, parks, town.landmarks, root.fork(6));
    return town;
}

void writeTownFiles(const GeneratedTown& town, const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw EGxError("Не удалось создать папку \"" + folder + "\": " + ec.message());
    writeTownModel(town.model).saveTo(folder + "/data.mod");
    writeMaterialLibrary(2, town.materials).saveTo(folder + "/data.modt");
    ByteWriter landmarks;
    landmarks.bytes(writeLandmarkList(town.landmarks));
    landmarks.saveTo(folder + "/fl.dat");
    for (const LandmarkMesh& mesh : town.landmarkMeshes) {
        ByteWriter bytes;
        bytes.bytes(mesh.bytes);
        bytes.saveTo(folder + "/" + mesh.file);
    }
    writeOrgDirectory(town.organisations).saveTo(folder + "/data.tmd");
    writeOrgPlaces(town.places).saveTo(folder + "/" + orgplaces::kFileName);
}
