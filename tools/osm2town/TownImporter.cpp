#include "TownImporter.h"

#include "AddressForms.h"
#include "Buildings.h"
#include "FlatAreas.h"
#include "GroundTextures.h"
#include "MapProjection.h"
#include "OsmExtract.h"
#include "Organisations.h"
#include "TownGenerator.h"

#include "base/BmpEncoder.h"
#include "base/ByteReader.h"
#include "data/OrgDirectoryWriter.h"
#include "data/OrgPlacesWriter.h"
#include "data/TownIniReader.h"
#include "data/TownIniWriter.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kTownFiles[] = {"data.mod", "data.modt", "fl.dat", "data.tmd", orgplaces::kFileName, kTownIniName, "ATTRIBUTION.txt"};

void addGround(ImportedTown& town)
{
    Box b;
    for (const TownHouseRecord& h : town.model.houses)
        for (const auto& n : h.nodes)
            b.add({n[0], n[1]});
    for (const TownRoadRecord& r : town.model.roads)
        for (const auto& n : r.nodes)
            b.add({n[0], n[1]});
    constexpr float kMargin = 20;
    const float half = mapscale::kSquareHalf;
    b.minX = std::max(-half, b.minX - kMargin);
    b.minY = std::max(-half, b.minY - kMargin);
    b.maxX = std::min(half, b.maxX + kMargin);
    b.maxY = std::min(half, b.maxY + kMargin);
    TownPlaneRecord plane;
    plane.position = {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2, townz::kGrass};
    plane.up = {0, 1, 0};
    plane.direction = {0, 0, 1};
    plane.width = b.maxX - b.minX;
    plane.height = b.maxY - b.minY;
    plane.materialName = groundMaterialName(GroundKind::Grass, plane.width, plane.height);
    const GroundPicture pic = groundPicture(GroundKind::Grass);
    town.materials.push_back(groundMaterial(GroundKind::Grass, plane.materialName,
                                            encodeBmp24(pic.size, pic.size, pic.rgb), plane.width, plane.height));
    town.model.planes.push_back(plane);
}

// The town's name: the named city, town, village or suburb nearest the
// map's centre (an area holding the centre is nearest of all).
struct TownPlace {
    std::string name, kind;
};
std::optional<TownPlace> nearestPlace(const OsmExtract& osm, const MapProjection& projection)
{
    auto isPlace = [](const OsmTags& t) {
        const std::string_view place = t.get("place");
        return !t.get("name").empty()
               && (place == "city" || place == "town" || place == "village" || place == "suburb");
    };
    std::optional<TownPlace> best;
    float bestDistance = 0;
    auto consider = [&](const OsmTags& t, float distance) {
        if (!best || distance < bestDistance) {
            best = TownPlace{std::string(t.get("name")), std::string(t.get("place"))};
            bestDistance = distance;
        }
    };
    for (const OsmTaggedNode& n : osm.taggedNodes)
        if (isPlace(n.tags))
            consider(n.tags, length(projection.toMap(n.node.lat, n.node.lon)));
    for (const OsmArea& a : osm.areas) {
        if (!isPlace(a.tags) || a.polygons.empty())
            continue;
        float distance = std::numeric_limits<float>::max();
        for (const OsmPolygon& p : a.polygons) {
            const Polygon outline = projectRing(projection, p.outer);
            distance = std::min(distance, pointInPolygon(outline, {0, 0}) ? 0.0f : length(centroidOfNodes(outline)));
        }
        consider(a.tags, distance);
    }
    return best;
}

void writeBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        throw ImportError("не удалось записать файл \"" + path.string() + "\"");
}

} // namespace

ImportedTown importTown(std::string_view bytes, const ImportOptions& options)
{
    const auto start = std::chrono::steady_clock::now();
    auto say = [&options](const std::string& what) {
        if (options.progress)
            options.progress(what);
    };
    say("чтение выгрузки");
    const OsmExtract osm = readOsmExtract(bytes, [&say](std::size_t n) {
        say("прочитано объектов: " + std::to_string(n));
    });
    std::pair<double, double> centre;
    if (options.centre) {
        centre = *options.centre;
    } else {
        const std::optional<OsmBounds> extent = osm.extent();
        if (!extent)
            throw ImportError("в выгрузке нет ни одной точки с координатами");
        centre = {(extent->minLat + extent->maxLat) / 2,
                  MapProjection::middleLongitude(extent->minLon, extent->maxLon)};
    }
    const MapProjection projection(centre.first, centre.second);

    ImportedTown town;
    ImportReport& report = town.report;
    report.objectsRead = osm.objects;
    report.duplicates = osm.duplicates;
    report.brokenRelations = osm.brokenRelations;
    report.unassembledWays = osm.unassembledWays;
    TextStandIns text;
    HouseNumberBook numbers(text);

    if (const std::optional<TownPlace> place = nearestPlace(osm, projection)) {
        town.title = place->name;
        report.placeName = place->name;
        report.placeKind = place->kind;
    }
    say("дома");
    ImportedBuildings buildings = extractBuildings(osm, projection, text, numbers, report);
    say("организации");
    town.organisations = extractOrganisations(osm, projection, buildings, text, numbers, report,
                                              options.attachDistance, &town.places);
    say("дороги, вода и зелень");
    town.model.roads = extractFlatAreas(osm, projection, report);
    if (buildings.houses.empty() && town.model.roads.empty())
        throw ImportError("в выгрузке нет ни зданий, ни дорог, ни площадей внутри квадрата карты "
                          "(±470 единиц, около 11,6 км вокруг центра)");

    for (const ImportedHouse& h : buildings.houses) {
        TownHouseRecord r;
        r.nodes.reserve(h.outline.size());
        for (Vec2 v : h.outline)
            r.nodes.push_back({v.x, v.y});
        r.texts = {h.street, h.number, std::to_string(h.floors)};
        town.model.houses.push_back(std::move(r));
    }
    addGround(town);

    report.numbersCompacted = numbers.compacted();
    report.numbersCut = numbers.cut();
    report.numbersAmbiguous = numbers.ambiguousNumbers();
    report.collisions = numbers.collisions();
    report.replacements = text.replacements();
    report.standIns = text.standIns();
    report.questionMarks = text.questionMarks();
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return town;
}

ImportedTown importTownFile(const std::string& path, const ImportOptions& options)
{
    std::vector<char> bytes;
    try {
        bytes = ByteReader::readFile(path);
    } catch (const std::exception& e) {
        throw ImportError(e.what());
    }
    return importTown(std::string_view(bytes.data(), bytes.size()), options);
}

std::string attributionText(const std::string& sourceName)
{
    return "Данные карты и справочника: © OpenStreetMap contributors (© участники OpenStreetMap).\n"
           "Доступны на условиях Open Database License (ODbL) 1.0: https://www.openstreetmap.org/copyright\n"
           "Файлы data.mod, data.modt, fl.dat, data.tmd и orgplaces.dat этой папки сделаны программой osm2town из выгрузки «"
           + sourceName + "».\n";
}

void writeTownFolder(const ImportedTown& town, const std::string& folder, const std::string& sourceName,
                     const std::string& titleUtf8, const SyncToDisk& sync)
{
    const fs::path target = fs::absolute(fs::path(folder)).lexically_normal();
    const fs::path parent = target.has_filename() ? target.parent_path() : target.parent_path().parent_path();
    const fs::path dest = target.has_filename() ? target : target.parent_path();
    std::error_code ec;
    if (fs::exists(dest, ec)) {
        if (!fs::is_directory(dest, ec))
            throw ImportError("\"" + dest.string() + "\" уже есть, и это не папка");
        for (const fs::directory_entry& e : fs::directory_iterator(dest, ec)) {
            const std::string name = e.path().filename().string();
            if (std::find(std::begin(kTownFiles), std::end(kTownFiles), name) == std::end(kTownFiles))
                throw ImportError("папка \"" + dest.string() + "\" уже есть и содержит не только файлы города (\"" + name
                                  + "\"): выберите другую");
        }
    }
    fs::create_directories(parent, ec);
    if (ec)
        throw ImportError("не удалось создать папку \"" + parent.string() + "\": " + ec.message());
    const std::string suffix = ".pid" + std::to_string(::getpid());
    const fs::path temp = parent / (dest.filename().string() + ".osm2town-new" + suffix);
    const fs::path old = parent / (dest.filename().string() + ".osm2town-old" + suffix);
    fs::remove_all(temp, ec);
    if (!fs::create_directory(temp, ec))
        throw ImportError("не удалось создать папку \"" + temp.string() + "\": " + ec.message());
    // Every file and the new folder reach the disk before the renames, and the
    // old town is deleted only once the parent's new entries have: a power cut
    // at any moment leaves the old town or the new one whole.
    bool replacing = false;
    try {
        auto write = [&](const char* name, std::string_view bytes) {
            writeBytes(temp / name, bytes);
            sync(temp / name);
        };
        const ByteWriter model = writeTownModel(town.model);
        write("data.mod", std::string_view(model.data().data(), model.size()));
        const ByteWriter library = writeMaterialLibrary(2, town.materials);
        write("data.modt", std::string_view(library.data().data(), library.size()));
        write("fl.dat", "");
        const ByteWriter directory = writeOrgDirectory(town.organisations);
        write("data.tmd", std::string_view(directory.data().data(), directory.size()));
        const ByteWriter places = writeOrgPlaces(town.places);
        write(orgplaces::kFileName, std::string_view(places.data().data(), places.size()));
        write("ATTRIBUTION.txt", attributionText(sourceName));
        if (!titleUtf8.empty())
            write(kTownIniName, writeTownIni(titleUtf8));
        sync(temp);
        replacing = fs::exists(dest);
        if (replacing) {
            fs::rename(dest, old, ec);
            if (ec)
                throw ImportError("не удалось переименовать \"" + dest.string() + "\" в \"" + old.string()
                                  + "\": " + ec.message());
        }
        fs::rename(temp, dest, ec);
        if (ec) {
            const std::string why = ec.message();
            if (replacing)
                fs::rename(old, dest, ec);
            throw ImportError("не удалось переименовать \"" + temp.string() + "\" в \"" + dest.string()
                              + "\": " + why);
        }
        try {
            sync(parent);
        } catch (...) {
            // The new entries may not be on the disk: put the old town back.
            fs::rename(dest, temp, ec);
            if (replacing && !ec)
                fs::rename(old, dest, ec);
            if (replacing && ec)
                throw ImportError("не удалось записать папку \"" + parent.string() + "\" на диск, и прежний город "
                                  "остался в \"" + old.string() + "\"");
            throw;
        }
    } catch (...) {
        fs::remove_all(temp, ec);
        throw;
    }
    if (replacing)
        fs::remove_all(old, ec);
}
