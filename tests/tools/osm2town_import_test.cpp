#include "Buildings.h"
#include "ExtractEncodings.h"
#include "ImportReport.h"
#include "OsmExtract.h"
#include "TownImporter.h"
#include "tools/OsmFixture.h"

#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "data/OrgDirectoryReader.h"
#include "data/TownIniReader.h"
#include "data/TownModelReader.h"
#include "map/TownBuilder.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/scene/GxScene.h"
#include "support/TempDir.h"
#include "map/House.h"
#include "map/Road.h"

#include <gtest/gtest.h>

#include <protozero/pbf_reader.hpp>
#include <protozero/pbf_writer.hpp>

#include <filesystem>
#include <functional>
#include <fstream>

namespace {
using Tags = OsmFixture::Tags;

std::string cp(const std::string& utf8) { return cp1251::fromUtf8(utf8); }

ImportedTown import(const OsmFixture& f, bool reversed = false)
{
    return importTown(f.xml(reversed), OsmFixture::options());
}

// Street, number and floors of each written house.
std::vector<std::vector<std::string>> houseTexts(const ImportedTown& t)
{
    std::vector<std::vector<std::string>> out;
    for (const TownHouseRecord& h : t.model.houses)
        out.push_back(h.texts);
    return out;
}

void save(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// A PBF extract as its blobs: each a header message and the blob's bytes.
struct PbfBlob {
    std::string header;
    std::string data;
};

std::vector<PbfBlob> pbfBlobs(const std::string& pbf)
{
    std::vector<PbfBlob> out;
    std::size_t at = 0;
    while (at + 4 <= pbf.size()) {
        const auto byte = [&](std::size_t i) { return std::uint32_t(static_cast<unsigned char>(pbf[at + i])); };
        const std::size_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        PbfBlob blob{pbf.substr(at + 4, size), {}};
        protozero::pbf_reader header(blob.header);
        std::size_t dataSize = 0;
        while (header.next())
            if (header.tag() == 3)
                dataSize = std::size_t(header.get_int32());
            else
                header.skip();
        blob.data = pbf.substr(at + 4 + size, dataSize);
        at += 4 + size + dataSize;
        out.push_back(std::move(blob));
    }
    return out;
}

std::string pbfFile(const std::vector<PbfBlob>& blobs)
{
    std::string out;
    for (const PbfBlob& b : blobs) {
        const std::uint32_t n = std::uint32_t(b.header.size());
        out += {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
        out += b.header + b.data;
    }
    return out;
}

std::string blobHeader(const std::optional<std::string>& type, std::size_t dataSize)
{
    std::string out;
    protozero::pbf_writer header(out);
    if (type)
        header.add_string(1, *type);
    header.add_int32(3, std::int32_t(dataSize));
    return out;
}
} // namespace

TEST(Osm2TownImport, FloorsFromLevelsHeightOrTheBuildingType)
{
    struct Case {
        Tags tags;
        const char* floors;
    } cases[] = {
        {{{"building", "yes"}, {"building:levels", "9"}}, "9"},
        {{{"building", "yes"}, {"building:levels", "5;9"}}, "9"},
        {{{"building", "yes"}, {"building:levels", "3.5"}}, "4"},
        {{{"building", "yes"}, {"building:levels", "2,5"}}, "3"},  // a decimal comma
        {{{"building", "yes"}, {"building:levels", "0"}, {"height", "12"}}, "4"},
        {{{"building", "yes"}, {"building:levels", "много"}, {"height", "16.5 m"}}, "6"},
        {{{"building", "yes"}, {"height", "1"}}, "1"},
        {{{"building", "yes"}, {"height", "30'"}}, "3"},
        {{{"building", "apartments"}}, "5"},
        {{{"building", "garage"}}, "1"},
        {{{"building", "yes"}}, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tags.back().first + "=" + c.tags.back().second);
        OsmFixture f;
        f.square(1, 10, 0, 0, 20, c.tags);
        const ImportedTown town = import(f);
        ASSERT_EQ(town.model.houses.size(), 1u);
        EXPECT_EQ(town.model.houses[0].texts[2], c.floors);
    }
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "garage"}}).square(2, 20, 40, 0, 20, {{"building", "garage"}});
    f.square(3, 30, 80, 0, 20, {{"building", "yes"}, {"building:levels", "3"}});
    const ImportReport report = import(f).report;
    EXPECT_EQ(report.floorsFromLevels, 1u);
    ASSERT_EQ(report.defaultFloors.count("garage"), 1u);
    EXPECT_EQ(report.defaultFloors.at("garage"), (std::pair<int, std::size_t>{1, 2}));
}

TEST(Osm2TownImport, AHouseIsOneOutline)
{
    OsmFixture f;
    // A multipolygon building with a courtyard, its outer ring in two ways.
    f.node(1, 0, 0).node(2, 60, 0).node(3, 60, 60).node(4, 0, 60);
    f.node(5, 20, 20).node(6, 40, 20).node(7, 40, 40).node(8, 20, 40);
    f.way(11, {1, 2, 3}).way(12, {3, 4, 1}).way(13, {5, 6, 7, 8, 5});
    f.relation(20, {{'w', 11, "outer"}, {'w', 12, "outer"}, {'w', 13, "inner"}},
               {{"type", "multipolygon"}, {"building", "yes"}, {"building:levels", "7"}});
    // A building with two parts inside it: the outline stays, the tallest part lends its height.
    f.square(30, 100, 200, 0, 40, {{"building", "yes"}});
    f.square(31, 110, 205, 5, 10, {{"building:part", "yes"}, {"building:levels", "3"}});
    f.square(32, 120, 220, 5, 10, {{"building:part", "yes"}, {"building:levels", "12"}});
    // A part with no outline around it is a house of its own.
    f.square(40, 130, 400, 0, 10, {{"building:part", "yes"}, {"building:levels", "2"}});
    // A relation whose outer way is missing from the extract.
    f.relation(50, {{'w', 99, "outer"}}, {{"type", "multipolygon"}, {"building", "yes"}});
    const ImportedTown town = import(f);
    const ImportReport& r = town.report;
    ASSERT_EQ(town.model.houses.size(), 3u);
    // Ways first, then relations.
    EXPECT_EQ(town.model.houses[0].texts[2], "12");
    EXPECT_EQ(town.model.houses[1].nodes.size(), 4u); // the outer ring only
    EXPECT_EQ(town.model.houses[1].texts[2], "7");
    EXPECT_EQ(town.model.houses[2].texts[2], "2");
    EXPECT_EQ(r.innerRingsDropped, 1u);
    EXPECT_EQ(r.partsFolded, 2u);
    EXPECT_EQ(r.partsAsHouses, 1u);
    EXPECT_EQ(r.housesIncomplete, 1u);
    EXPECT_EQ(r.buildings, 3u);
    EXPECT_EQ(r.floorsFromParts, 1u);
}

TEST(Osm2TownImport, OutlinesThatTouchOrCrossThemselves)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> refs;
        std::vector<std::size_t> corners; // of each house
        std::size_t unassembled;
    } cases[] = {
        // Two squares meeting at one corner (5), drawn as one way: two houses.
        {"a figure of eight", {1, 2, 5, 3, 4, 6, 5, 7, 1}, {4, 4}, 0},
        // An outline crossing itself is refused by the assembler and drawn as mapped.
        {"a bow tie", {1, 2, 8, 9, 1}, {4}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OsmFixture f;
        f.node(1, 0, 0).node(2, 50, 0).node(5, 50, 50).node(3, 100, 50).node(4, 100, 100).node(6, 50, 100);
        f.node(7, 0, 50).node(8, 0, 40).node(9, 40, 40);
        f.way(10, c.refs, {{"building", "yes"}});
        const ImportedTown town = import(f);
        ASSERT_EQ(town.model.houses.size(), c.corners.size());
        for (std::size_t i = 0; i < c.corners.size(); ++i)
            EXPECT_EQ(town.model.houses[i].nodes.size(), c.corners[i]);
        EXPECT_EQ(town.report.unassembledWays, c.unassembled);
    }
}

TEST(Osm2TownImport, AddressesFromTagsNodesAndStreetRelations)
{
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "15А с1"}});
    // An address node inside a building without an address.
    f.square(2, 20, 40, 0, 20, {{"building", "yes"}});
    f.node(25, 50, 10, {{"addr:street", "улица Руставели"}, {"addr:housenumber", "8 к2"}});
    // No address at all.
    f.square(3, 30, 80, 0, 20, {{"building", "yes"}});
    // A number without a street is no address.
    f.square(4, 40, 120, 0, 20, {{"building", "yes"}, {"addr:housenumber", "3"}});
    // The street from an associatedStreet relation.
    f.square(5, 50, 160, 0, 20, {{"building", "yes"}, {"addr:housenumber", "6"}});
    f.relation(60, {{'w', 5, "house"}}, {{"type", "associatedStreet"}, {"name", "Огородный проезд"}});
    // A village numbers its houses by the place.
    f.square(6, 70, 200, 0, 20, {{"building", "house"}, {"addr:place", "Марфино"}, {"addr:housenumber", "2"}});
    const ImportedTown town = import(f);
    using V = std::vector<std::string>;
    const auto texts = houseTexts(town);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], (V{cp("Бутырская улица"), cp("15Ас1"), "2"}));
    EXPECT_EQ(texts[1], (V{cp("улица Руставели"), cp("8к2"), "2"}));
    EXPECT_EQ(texts[2], (V{"", "0", "2"})); // what the map treats as no number
    EXPECT_EQ(texts[3], (V{"", "0", "2"}));
    EXPECT_EQ(texts[4], (V{cp("Огородный проезд"), "6", "2"}));
    EXPECT_EQ(texts[5], (V{cp("Марфино"), "2", "2"}));
    EXPECT_EQ(town.report.housesWithAddress, 4u);
    EXPECT_EQ(town.report.addressFromNode, 1u);
    EXPECT_EQ(town.report.addressFromStreetRelation, 1u);
    EXPECT_EQ(town.report.numberWithoutStreet, 1u);
}

TEST(Osm2TownImport, OrganisationsFindTheirHouse)
{
    OsmFixture f;
    f.square(1, 10, 0, 0, 30, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "15А с1"}});
    f.square(2, 20, 100, 0, 30, {{"building", "yes"}, {"addr:street", "улица Руставели"}, {"addr:housenumber", "3"}});
    f.square(3, 30, 200, 0, 30,
             {{"building", "yes"}, {"addr:street", "улица Руставели"}, {"addr:housenumber", "5"},
              {"shop", "mall"}, {"name", "ТЦ Руставели"}, {"website", "http://www.rustaveli-mall-moscow.ru/"}});
    f.square(4, 40, 300, 0, 30, {{"building", "yes"}});
    // Its own address, written as the house's is: they join.
    f.node(50, 500, 500,
           {{"amenity", "pharmacy"}, {"name", "Аптека"}, {"addr:street", "Бутырская улица"},
            {"addr:housenumber", "15А  с1"}, {"phone", "+7 495 111-11-11; +7 495 222-22-22"}});
    // No address of its own: that of the building it stands in.
    f.node(51, 110, 10, {{"shop", "bakery"}, {"name", "Хлеб"}, {"contact:phone", "+7 495 333-33-33"},
                         {"contact:email", "hleb@example.ru"}});
    // In a building without an address, and nowhere near one.
    f.node(52, 310, 10, {{"office", "company"}, {"name", "Контора"}});
    f.node(53, 900, 900, {{"craft", "shoemaker"}, {"name", "Сапожник"}});
    // A name alone is no organisation; nor is a shop without a name.
    f.node(54, 10, 10, {{"name", "Просто точка"}});
    f.node(55, 10, 10, {{"shop", "kiosk"}});
    // An area that is not a building: the house its middle stands in.
    f.square(6, 60, 105, 5, 10, {{"amenity", "cafe"}, {"name", "Кафе"}});
    const ImportedTown town = import(f);
    const OrgRecords& orgs = town.organisations;
    ASSERT_EQ(orgs.size(), 6u);
    auto byName = [&](const char* name) -> const OrgRecord& {
        for (const OrgRecord& r : orgs)
            if (r.name == cp(name))
                return r;
        ADD_FAILURE() << name;
        return orgs[0];
    };
    EXPECT_EQ(byName("Аптека").streetName, cp("Бутырская улица"));
    EXPECT_EQ(byName("Аптека").houseNo, cp("15Ас1"));
    EXPECT_EQ(byName("Аптека").phone, "+7 495 111-11-11");
    EXPECT_EQ(byName("Хлеб").streetName, cp("улица Руставели"));
    EXPECT_EQ(byName("Хлеб").houseNo, "3");
    EXPECT_EQ(byName("Хлеб").phone, "+7 495 333-33-33");
    EXPECT_EQ(byName("Хлеб").email, "hleb@example.ru");
    EXPECT_EQ(byName("ТЦ Руставели").houseNo, "5");
    EXPECT_EQ(byName("ТЦ Руставели").web, "rustaveli-mall-moscow.ru");
    EXPECT_EQ(byName("Кафе").houseNo, "3");
    EXPECT_EQ(byName("Контора").houseNo, "");
    EXPECT_EQ(byName("Сапожник").streetName, "");
    const ImportReport& r = town.report;
    EXPECT_EQ(r.organisations, 6u);
    EXPECT_EQ(r.orgsWithHouse, 4u);
    EXPECT_EQ(r.orgsWithoutHouse, 2u);
    EXPECT_EQ(r.orgAddressOwn, 2u);
    EXPECT_EQ(r.orgAddressFromBuilding, 2u);
    EXPECT_EQ(r.phonesFirstOfSeveral, 1u);
    EXPECT_EQ(r.websShortened, 1u);
}

TEST(Osm2TownImport, RoadsWaterAndGreenAreas)
{
    OsmFixture f;
    f.node(1, -500, 0).node(2, 500, 0);
    f.way(10, {1, 2}, {{"highway", "primary"}, {"name", "Бутырская улица"}});
    f.way(11, {1, 2}, {{"highway", "service"}, {"tunnel", "yes"}});
    f.square(12, 20, -100, 100, 600, {{"leisure", "park"}});
    f.square(13, 30, 0, -200, 50, {{"natural", "water"}});
    f.square(14, 40, 100, -300, 30, {{"highway", "pedestrian"}, {"area", "yes"}});
    const ImportedTown town = import(f);
    const ImportReport& r = town.report;
    EXPECT_EQ(r.roads, 1u);
    EXPECT_EQ(r.roadPieces, 6u); // 1 km of road at 16 units (197 m) a piece
    EXPECT_EQ(r.underground, 1u);
    EXPECT_EQ(r.greenAreas, 1u);
    EXPECT_EQ(r.waterAreas, 1u);
    EXPECT_EQ(r.squares, 1u);
    EXPECT_GT(r.areaTiles, 9u); // the park is 49 units across
    // One ground plane under everything, with its material in the library.
    ASSERT_EQ(town.model.planes.size(), 1u);
    ASSERT_EQ(town.materials.size(), 1u);
    EXPECT_EQ(town.model.planes[0].materialName, town.materials[0].name);
    EXPECT_LT(town.model.planes[0].position[2], 0.0f);
    EXPECT_GT(town.model.planes[0].width, 1000 * float(kUnitsPerMetre));
    for (const TownRoadRecord& road : town.model.roads)
        EXPECT_GT(road.nodes[0][2], 0.0f);
}

TEST(Osm2TownImport, UnsortedExtractGivesTheSameTown)
{
    OsmFixture f;
    f.node(1, 0, 0).node(2, 60, 0).node(3, 60, 60).node(4, 0, 60);
    f.way(11, {1, 2, 3}).way(12, {3, 4, 1});
    f.relation(20, {{'w', 11, "outer"}, {'w', 12, "outer"}}, {{"type", "multipolygon"}, {"building", "yes"}});
    f.square(30, 100, 200, 0, 40, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "1"}});
    f.node(40, 210, 10, {{"amenity", "bank"}, {"name", "Банк"}});
    f.node(41, -300, 0).node(42, 300, 0).way(43, {41, 42}, {{"highway", "residential"}});
    const ImportedTown sorted = import(f);
    const ImportedTown reversed = import(f, true);
    EXPECT_EQ(sorted.model.houses.size(), 2u);
    EXPECT_EQ(writeTownModel(sorted.model).data(), writeTownModel(reversed.model).data());
    ASSERT_EQ(reversed.organisations.size(), 1u);
    EXPECT_EQ(reversed.organisations[0].streetName, cp("Бутырская улица"));
    EXPECT_EQ(reversed.report.roads, 1u);
}

TEST(Osm2TownImport, NewObjectsOfAnEditorWithNegativeIds)
{
    // An editor's unsaved objects have negative ids; libosmium orders them before the others.
    OsmFixture f;
    f.node(-1, 0, 0).node(-2, 60, 0).node(-3, 60, 60).node(-4, 0, 60);
    f.way(-11, {-1, -2, -3}).way(-12, {-3, -4, -1});
    f.relation(-20, {{'w', -11, "outer"}, {'w', -12, "outer"}}, {{"type", "multipolygon"}, {"building", "yes"}});
    f.square(30, 100, 200, 0, 40, {{"building", "yes"}});
    f.square(-30, -100, 300, 0, 40, {{"building", "yes"}});
    f.node(-41, -300, 0).node(42, 300, 0).way(-43, {-41, 42}, {{"highway", "residential"}});
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "relations first" : "nodes first");
        const ImportedTown town = import(f, reversed);
        EXPECT_EQ(town.model.houses.size(), 3u);
        EXPECT_EQ(town.report.roads, 1u);
        EXPECT_EQ(town.report.brokenRelations, 0u);
    }
}

TEST(Osm2TownImport, CompressedAndPlainExtractsReadAlike)
{
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "1"}});
    const std::string xml = f.xml();
    EXPECT_EQ(sniffOsmFormat(xml), "osm");
    EXPECT_EQ(sniffOsmFormat(gzipExtract(xml)), "osm.gz");
    EXPECT_EQ(sniffOsmFormat(bzip2Extract(xml)), "osm.bz2");
    EXPECT_EQ(sniffOsmFormat(pbfExtract(xml)), "pbf");
    for (const std::string& bytes : {xml, gzipExtract(xml), bzip2Extract(xml), pbfExtract(xml)}) {
        const ImportedTown town = importTown(bytes, OsmFixture::options());
        ASSERT_EQ(town.model.houses.size(), 1u);
        EXPECT_EQ(town.model.houses[0].texts[0], cp("Бутырская улица"));
    }
}

TEST(Osm2TownImport, DamagedOrEmptyExtractsRaiseAClearError)
{
    OsmFixture town;
    town.square(1, 10, 0, 0, 20, {{"building", "yes"}});
    const std::string xml = town.xml();
    const std::string nothing = OsmFixture().node(1, 0, 0, {{"name", "x"}}).xml();
    const std::string faraway = OsmFixture().square(1, 10, 7000, 0, 20, {{"building", "yes"}}).xml();
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty file", "", "файл пуст"},
        {"cut short", xml.substr(0, xml.size() / 2), "выгрузка повреждена"},
        {"not OSM at all", "PNG\x89 something else", "выгрузка повреждена"},
        {"damaged gzip", gzipExtract(xml).substr(0, 40), "выгрузка повреждена"},
        {"damaged bzip2", bzip2Extract(xml).substr(0, 30), "выгрузка повреждена"},
        {"damaged PBF", pbfExtract(xml).substr(0, 60), "выгрузка повреждена"},
        {"no objects", "<?xml version=\"1.0\"?><osm version=\"0.6\"></osm>", "нет ни одного объекта"},
        {"nothing to draw", nothing, "нет ни зданий, ни дорог"},
        {"all outside the square", faraway, "нет ни зданий, ни дорог"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            importTown(c.bytes, OsmFixture::options());
            ADD_FAILURE() << "no error";
        } catch (const ImportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(importTownFile("/nonexistent/town.osm"), ImportError);
}

TEST(Osm2TownImport, TheFolderIsWrittenWholeOrNotAtAll)
{
    TempDir dir;
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "15А с1"}});
    f.node(20, 5, 5, {{"amenity", "pharmacy"}, {"name", "Аптека"}, {"phone", "+7 495 111-11-11"}});
    f.node(30, -200, 0).node(31, 200, 0).way(32, {30, 31}, {{"highway", "residential"}});
    const ImportedTown town = import(f);
    const std::string folder = dir.file("town");
    writeTownFolder(town, folder, "test.osm", "Марфино");

    // The program's own readers load it.
    TGxScene scene;
    TGxMaterialLibrary library;
    LoadObjFromFile(folder + "/data.mod", scene, library);
    int houses = 0, roads = 0;
    for (int i = 0; i < scene.ObjectRoot()->Count(); ++i) {
        TGxBaseSceneObject* o = scene.ObjectRoot()->Children(i);
        if (auto* h = dynamic_cast<Thouse*>(o)) {
            ++houses;
            EXPECT_EQ(h->params()[0], cp("Бутырская улица"));
            EXPECT_EQ(h->params()[1], cp("15Ас1"));
        }
        roads += dynamic_cast<Troad*>(o) != nullptr;
    }
    EXPECT_EQ(houses, 1);
    EXPECT_EQ(roads, int(town.model.roads.size()));
    const OrgDirectory directory = readOrgDirectoryFile(folder + "/data.tmd");
    ASSERT_EQ(directory.records.size(), 1u);
    EXPECT_EQ(directory.records[0].houseNo, cp("15Ас1"));
    EXPECT_EQ(directory.records[0].phone, "+7 495 111-11-11");
    EXPECT_EQ(readTownTitle(folder), "Марфино");
    std::ifstream attribution(folder + "/ATTRIBUTION.txt");
    std::string attributionBody((std::istreambuf_iterator<char>(attribution)), {});
    EXPECT_NE(attributionBody.find("© OpenStreetMap contributors"), std::string::npos);

    // Importing again replaces the town; nothing else is left beside it.
    writeTownFolder(town, folder, "test.osm");
    EXPECT_FALSE(std::filesystem::exists(folder + "/town.ini"));
    std::size_t beside = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++beside;
    EXPECT_EQ(beside, 1u);

    // A folder holding other files is not replaced.
    save(folder + "/notes.txt", "mine");
    EXPECT_THROW(writeTownFolder(town, folder, "test.osm"), ImportError);
    EXPECT_TRUE(std::filesystem::exists(folder + "/notes.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/data.mod"));

    // A folder that cannot be made leaves nothing behind.
    save(dir.file("file"), "x");
    EXPECT_ANY_THROW(writeTownFolder(town, dir.file("file") + "/town", "test.osm"));
    beside = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++beside;
    EXPECT_EQ(beside, 2u);
}

TEST(Osm2TownImport, OrganisationsWithoutAKnownOutlineAreStillPlaced)
{
    const Tags cafe{{"amenity", "cafe"}, {"name", "Кафе"}};
    const Tags cafeRelation{{"type", "multipolygon"}, {"amenity", "cafe"}, {"name", "Кафе"}};
    struct Case {
        const char* what;
        std::function<void(OsmFixture&)> add;
        std::size_t written, outside, withoutPlace;
    } cases[] = {
        {"a closed way 50 km away with a node missing",
         [&](OsmFixture& f) {
             f.node(101, 50000, 0).node(102, 50030, 0).node(103, 50030, 30);
             f.way(110, {101, 102, 103, 199, 101}, cafe);
         },
         0, 1, 0},
        {"a closed way in the town with a node missing",
         [&](OsmFixture& f) {
             f.node(101, 100, 0).node(102, 130, 0).node(103, 130, 30);
             f.way(110, {101, 102, 103, 199, 101}, cafe);
         },
         1, 0, 0},
        {"a relation 50 km away whose ring does not close",
         [&](OsmFixture& f) {
             f.node(101, 50000, 0).node(102, 50030, 0).node(103, 50030, 30);
             f.way(110, {101, 102, 103});
             f.relation(120, {{'w', 110, "outer"}}, cafeRelation);
         },
         0, 1, 0},
        {"a relation whose members are all missing",
         [&](OsmFixture& f) { f.relation(120, {{'w', 110, "outer"}}, cafeRelation); }, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OsmFixture f;
        f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
        c.add(f);
        const ImportedTown town = import(f);
        EXPECT_EQ(town.organisations.size(), c.written);
        EXPECT_EQ(town.report.orgsOutside, c.outside);
        EXPECT_EQ(town.report.orgsWithoutPlace, c.withoutPlace);
    }
}

TEST(Osm2TownImport, AnObjectReadTwiceIsKeptOnce)
{
    // Joined extracts repeat the objects of their overlap, after the others.
    OsmFixture f;
    f.node(1, 0, 0).node(2, 60, 0).node(3, 60, 60).node(4, 0, 60);
    f.way(11, {1, 2, 3}).way(12, {3, 4, 1});
    const Tags house{{"type", "multipolygon"}, {"building", "yes"}, {"addr:street", "Бутырская улица"},
                     {"addr:housenumber", "1"}};
    const Tags bank{{"amenity", "bank"}, {"name", "Банк"}};
    f.relation(20, {{'w', 11, "outer"}, {'w', 12, "outer"}}, house);
    f.square(30, 100, 200, 0, 40, {{"building", "yes"}});
    f.node(40, 210, 10, bank);
    f.node(41, -300, 0).node(42, 300, 0).way(43, {41, 42}, {{"highway", "residential"}});
    // The second copy.
    f.node(40, 210, 10, bank).node(1, 0, 0);
    f.way(30, {100, 101, 102, 103, 100}, {{"building", "yes"}});
    f.relation(20, {{'w', 11, "outer"}, {'w', 12, "outer"}}, house);
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "relations first" : "nodes first");
        const ImportedTown town = import(f, reversed);
        EXPECT_EQ(town.model.houses.size(), 2u);
        EXPECT_EQ(town.organisations.size(), 1u);
        EXPECT_EQ(town.report.roads, 1u);
        EXPECT_EQ(town.report.duplicates, 4u);
    }
}

TEST(Osm2TownImport, ALineIsBrokenWhereANodeIsMissing)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> refs;
        std::size_t pieces; // a piece for each straight stretch and a joint at each right angle
        std::size_t incomplete;
        bool middleDrawn; // the stretch from the second node to the third
    } cases[] = {
        {"whole", {1, 2, 3, 4}, 5, 0, true},
        {"a node missing in the middle", {1, 2, 99, 3, 4}, 2, 1, false},
        {"the last node missing", {1, 2, 3, 4, 99}, 5, 1, true},
        {"single nodes between gaps", {1, 98, 2, 3, 99, 4}, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OsmFixture f;
        // A road bending back on itself: drawn across the gap it would cross the park.
        f.node(1, 0, 0).node(2, 50, 0).node(3, 50, 60).node(4, 0, 60);
        f.way(10, c.refs, {{"highway", "footway"}});
        const ImportedTown town = import(f);
        EXPECT_EQ(town.report.roadPieces, c.pieces);
        EXPECT_EQ(town.report.linesIncomplete, c.incomplete);
        EXPECT_EQ(town.report.roads, 1u);
        bool middleDrawn = false;
        for (const TownRoadRecord& r : town.model.roads) {
            Polygon p;
            for (const auto& n : r.nodes)
                p.push_back({n[0], n[1]});
            // The middle of the stretch from 50,0 to 50,60 m.
            middleDrawn |= pointInPolygon(p, Vec2{float(50 * 0.0811), float(30 * 0.0811)});
        }
        EXPECT_EQ(middleDrawn, c.middleDrawn);
    }
}

TEST(Osm2TownImport, IslandsAreLeftOutOfWaterAndGreen)
{
    for (const char* kind : {"natural=water", "leisure=park"}) {
        SCOPED_TRACE(kind);
        const std::string k(kind);
        const Tags tags{{"type", "multipolygon"}, {k.substr(0, k.find('=')), k.substr(k.find('=') + 1)}};
        OsmFixture f;
        // A lake 1 km across with an island 300 m across off its middle, crossing the tiles' edges.
        f.node(1, -500, -500).node(2, 500, -500).node(3, 500, 500).node(4, -500, 500);
        f.node(5, -100, -120).node(6, 200, -120).node(7, 200, 180).node(8, -100, 180);
        f.way(11, {1, 2, 3, 4, 1}).way(12, {5, 6, 7, 8, 5});
        f.relation(20, {{'w', 11, "outer"}, {'w', 12, "inner"}}, tags);
        const ImportedTown town = import(f);
        double covered = 0;
        for (const TownRoadRecord& r : town.model.roads) {
            Polygon p;
            for (const auto& n : r.nodes)
                p.push_back({n[0], n[1]});
            covered += signedArea(p);
            EXPECT_FALSE(pointInPolygon(p, Vec2{float(50 * 0.0811), float(30 * 0.0811)})) << "drawn on the island";
            EXPECT_GT(cross(p[1] - p[0], p[2] - p[0]), 0.0f);
        }
        const double unit = 0.0811 * 0.0811;
        EXPECT_NEAR(covered, (1000.0 * 1000 - 300.0 * 300) * unit, 1000.0 * 1000 * unit * 1e-3);
        EXPECT_EQ(town.report.areaHoles, 1u);
    }
}

TEST(Osm2TownImport, TheTownIsNamedByThePlaceNearestTheCentre)
{
    struct Case {
        const char* what;
        std::function<void(OsmFixture&)> add;
        const char* title;
    } cases[] = {
        {"the nearer of two",
         [](OsmFixture& f) {
             f.node(50, 3000, 0, {{"place", "town"}, {"name", "Дальний"}});
             f.node(51, 200, 100, {{"place", "village"}, {"name", "Ближний"}});
             f.node(52, 10, 10, {{"place", "hamlet"}, {"name", "Хутор"}});
             f.node(53, 5, 5, {{"place", "suburb"}});
         },
         "Ближний"},
        {"an area holding the centre",
         [](OsmFixture& f) {
             f.node(51, 200, 100, {{"place", "village"}, {"name", "Ближний"}});
             f.square(60, 70, -2000, -2000, 4000, {{"place", "city"}, {"name", "Город"}});
         },
         "Город"},
        {"none", [](OsmFixture&) {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OsmFixture f;
        f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
        c.add(f);
        const ImportedTown town = import(f);
        EXPECT_EQ(town.title, c.title);
        EXPECT_NE(formatReport(town.report).find(*c.title ? c.title : "нет названия"), std::string::npos);
    }
}

TEST(Osm2TownImport, TheNewTownIsOnTheDiskBeforeTheOldOneGoes)
{
    TempDir dir;
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
    const ImportedTown town = import(f);
    const std::string folder = dir.file("town");
    auto entries = [&] {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
            ++n;
        return n;
    };
    const SyncToDisk nothing = [](const std::filesystem::path&) {};

    // Each sync in order, with the title then in the town folder and the
    // number of entries beside it.
    struct Step {
        std::string synced;
        std::string title;
        std::size_t beside;
    };
    std::vector<Step> steps;
    writeTownFolder(town, folder, "test.osm", "Прежний", nothing);
    writeTownFolder(town, folder, "test.osm", "Новый", [&](const std::filesystem::path& p) {
        const std::filesystem::path root(dir.path());
        const std::string name = p == root                 ? "parent"
                                 : p.parent_path() == root ? "new folder"
                                                           : "new/" + p.filename().string();
        steps.push_back({name, readTownTitle(folder).value_or(""), entries()});
    });
    const std::vector<std::string> files = {"new/data.mod",      "new/data.modt",       "new/fl.dat",
                                            "new/data.tmd",      "new/orgplaces.dat",   "new/ATTRIBUTION.txt",
                                            "new/town.ini"};
    ASSERT_EQ(steps.size(), files.size() + 2);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(steps[i].synced, files[i]);
        EXPECT_EQ(steps[i].title, "Прежний");
    }
    EXPECT_EQ(steps[files.size()].synced, "new folder");
    EXPECT_EQ(steps[files.size()].title, "Прежний");
    // The parent is synced with the new town in place and the old one still aside.
    EXPECT_EQ(steps.back().synced, "parent");
    EXPECT_EQ(steps.back().title, "Новый");
    EXPECT_EQ(steps.back().beside, 2u);
    EXPECT_EQ(readTownTitle(folder).value_or(""), "Новый");
    EXPECT_EQ(entries(), 1u);

    // A sync that fails at any step leaves the old town whole and says so.
    writeTownFolder(town, folder, "test.osm", "Прежний", nothing);
    for (std::size_t failing = 0; failing < steps.size(); ++failing) {
        SCOPED_TRACE(steps[failing].synced);
        std::size_t call = 0;
        EXPECT_THROW(writeTownFolder(town, folder, "test.osm", "Новый",
                                     [&](const std::filesystem::path& p) {
                                         if (call++ == failing)
                                             throw ImportError("не удалось записать \"" + p.string() + "\" на диск");
                                     }),
                     ImportError);
        EXPECT_EQ(readTownTitle(folder).value_or(""), "Прежний");
        EXPECT_TRUE(std::filesystem::exists(folder + "/data.mod"));
        EXPECT_EQ(entries(), 1u);
    }
}

TEST(Osm2TownImport, FilesAndFoldersAreSyncedOrRefused)
{
    TempDir dir;
    save(dir.file("a.txt"), "x");
    EXPECT_NO_THROW(syncToDisk(dir.file("a.txt")));
    EXPECT_NO_THROW(syncToDisk(dir.path()));
    EXPECT_THROW(syncToDisk(dir.file("missing")), ImportError);
}

TEST(Osm2TownImport, ATownAcrossThe180thMeridianStaysWhole)
{
    // A house 0.0004 degrees (18.8 m) wide at 65 N, half on each side.
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6" generator="test">
 <node id="1" lat="65.0000" lon="179.9998"/>
 <node id="2" lat="65.0000" lon="-179.9998"/>
 <node id="3" lat="65.0002" lon="-179.9998"/>
 <node id="4" lat="65.0002" lon="179.9998"/>
 <way id="10"><nd ref="1"/><nd ref="2"/><nd ref="3"/><nd ref="4"/><nd ref="1"/><tag k="building" v="yes"/></way>
</osm>
)";
    struct Case {
        const char* what;
        std::optional<std::pair<double, double>> centre;
    } cases[] = {
        {"centre on the east side", std::pair{65.0001, 180.0}},
        {"centre on the west side", std::pair{65.0001, -180.0}},
        {"centre a little west", std::pair{65.0001, 179.9}},
        {"centre from the extract", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportOptions options;
        options.centre = c.centre;
        ImportedTown town;
        ASSERT_NO_THROW(town = importTown(xml, options));
        ASSERT_EQ(town.model.houses.size(), 1u);
        float minX = 1e9f, maxX = -1e9f;
        for (const auto& n : town.model.houses[0].nodes) {
            minX = std::min(minX, n[0]);
            maxX = std::max(maxX, n[0]);
        }
        EXPECT_NEAR(maxX - minX, 18.8f * 0.0811f, 0.01f);
    }
}

TEST(Osm2TownImport, PbfBlobHeadersAreCheckedBeforeTheReaderTrustsThem)
{
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
    const std::vector<PbfBlob> sound = pbfBlobs(pbfExtract(f.xml()));
    ASSERT_GE(sound.size(), 2u);
    EXPECT_EQ(importTown(pbfFile(sound), OsmFixture::options()).model.houses.size(), 1u);
    auto withSecondHeader = [&](const std::string& header) {
        std::vector<PbfBlob> blobs = sound;
        blobs[1].header = header;
        return pbfFile(blobs);
    };
    const std::size_t dataSize = sound[1].data.size();
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"found by fuzzing", load(QUORVEL_FUZZ_FINDINGS "/osm/data-blob-header-without-a-type.pbf")},
        {"a data blob without a type", withSecondHeader(blobHeader(std::nullopt, dataSize))},
        {"a data blob of an empty type", withSecondHeader(blobHeader("", dataSize))},
        {"a data blob of a type cut short", withSecondHeader(blobHeader("OSMDa", dataSize))},
        {"a data blob typed as the file's header", withSecondHeader(blobHeader("OSMHeader", dataSize))},
        {"a data blob past the end", withSecondHeader(blobHeader("OSMData", dataSize + 1))},
        {"a header that is no message", withSecondHeader("\xff\xff\xff")},
        {"a header past the end", pbfFile(sound).substr(0, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.bytes.empty());
        try {
            importTown(c.bytes, OsmFixture::options());
            ADD_FAILURE() << "no error";
        } catch (const ImportError& e) {
            EXPECT_NE(std::string(e.what()).find("выгрузка повреждена"), std::string::npos) << e.what();
        }
    }
}
