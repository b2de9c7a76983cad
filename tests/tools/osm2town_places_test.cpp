#include "MapProjection.h"
#include "TownImporter.h"
#include "tools/OsmFixture.h"

#include "base/Cp1251.h"
#include "data/OrgDirectoryReader.h"
#include "data/OrgKinds.h"
#include "data/OrgPlacesReader.h"
#include "data/TownModelReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {
using Tags = OsmFixture::Tags;

std::string cp(const std::string& utf8) { return cp1251::fromUtf8(utf8); }

ImportedTown import(const OsmFixture& f, float attachMetres = kDefaultAttachDistance)
{
    ImportOptions o = OsmFixture::options();
    o.attachDistance = attachMetres;
    return importTown(f.xml(), o);
}

Vec2 mapPoint(double east, double north)
{
    return MapProjection(OsmFixture::kLat, OsmFixture::kLon).toMap(OsmFixture::latOf(north), OsmFixture::lonOf(east));
}

int kindId(std::string_view name)
{
    for (const OrgKind& k : orgKinds())
        if (k.name == name)
            return k.id;
    ADD_FAILURE() << "no kind " << name;
    return -1;
}

const Tags kShop{{"shop", "convenience"}, {"name", "Магазин"}};
} // namespace

// Houses are written in the order of their ways' ids, so way n is house n - 1.
TEST(Osm2TownPlaces, EachOrganisationStandsInABuildingNearOneOrAtItsPoint)
{
    struct Building {
        double east, north, size;
    };
    struct Case {
        const char* what;
        std::vector<Building> buildings;
        double east, north; // the organisation
        float attach;       // metres
        std::optional<std::uint32_t> house; // none: at its own point
    } cases[] = {
        {"inside", {{0, 0, 20}}, 10, 10, 25, 0},
        {"inside the second of two", {{0, 0, 20}, {100, 0, 20}}, 110, 10, 25, 1},
        {"10 m from the outline", {{0, 0, 20}}, 30, 10, 25, 0},
        {"just within reach", {{0, 0, 20}}, 44, 10, 25, 0},
        {"just out of reach", {{0, 0, 20}}, 46, 10, 25, std::nullopt},
        {"far from everything", {{0, 0, 20}}, 300, 300, 25, std::nullopt},
        {"two in reach, the first nearer", {{0, 0, 20}, {40, 0, 20}}, 28, 10, 25, 0},
        {"two in reach, the second nearer", {{0, 0, 20}, {40, 0, 20}}, 32, 10, 25, 1},
        // The big one's outline is 5 m away and its middle 55 m; the small
        // one's outline 10 m and its middle 15 m: the outline decides.
        {"the nearest outline, not the nearest middle", {{0, 0, 100}, {115, 45, 10}}, 105, 50, 25, 0},
        {"a corner within reach", {{0, 0, 20}}, 30, 30, 25, 0},
        {"a corner out of reach", {{0, 0, 20}}, 40, 40, 25, std::nullopt},
        {"no reach: only inside counts", {{0, 0, 20}}, 30, 10, 0, std::nullopt},
        {"a longer reach", {{0, 0, 20}}, 60, 10, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OsmFixture f;
        for (std::size_t i = 0; i < c.buildings.size(); ++i)
            f.square(std::int64_t(i + 1), std::int64_t(10 * (i + 1)), c.buildings[i].east, c.buildings[i].north,
                     c.buildings[i].size, {{"building", "yes"}});
        f.node(100, c.east, c.north, kShop);
        const ImportedTown town = import(f, c.attach);
        ASSERT_EQ(town.places.entries.size(), 1u);
        const OrgPlace& p = town.places.entries[0];
        if (c.house) {
            EXPECT_EQ(p.place, OrgPlace::Place::House);
            EXPECT_EQ(p.house, *c.house);
            EXPECT_EQ(town.report.orgsAtPoint, 0u);
        } else {
            EXPECT_EQ(p.place, OrgPlace::Place::Point);
            const Vec2 at = mapPoint(c.east, c.north);
            EXPECT_NEAR(p.x, at.x, 1e-3);
            EXPECT_NEAR(p.y, at.y, 1e-3);
            EXPECT_EQ(town.report.orgsAtPoint, 1u);
        }
    }
}

TEST(Osm2TownPlaces, AnOrganisationMappedAsABuildingOrAnAreaIsPlacedByItsOutline)
{
    OsmFixture f;
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
    // A shop mapped as the building itself, with no building around its middle.
    f.square(2, 20, 100, 0, 30, {{"building", "retail"}, {"shop", "supermarket"}, {"name", "Универсам"}});
    // A school's grounds: no building holds their middle, one stands 20 m off.
    f.square(3, 30, -32, 0, 30, {{"amenity", "school"}, {"name", "Школа"}});
    // A park far from any building stands at its middle.
    f.square(4, 40, 300, 300, 100, {{"leisure", "park"}, {"name", "Парк"}});
    const ImportedTown town = import(f);
    ASSERT_EQ(town.places.entries.size(), 3u);
    EXPECT_EQ(town.places.entries[0].place, OrgPlace::Place::House);
    EXPECT_EQ(town.places.entries[0].house, 1u);
    EXPECT_EQ(town.places.entries[1].place, OrgPlace::Place::House);
    EXPECT_EQ(town.places.entries[1].house, 0u);
    EXPECT_EQ(town.places.entries[2].place, OrgPlace::Place::Point);
    const Vec2 low = mapPoint(300, 300), high = mapPoint(400, 400);
    EXPECT_GT(town.places.entries[2].x, low.x);
    EXPECT_LT(town.places.entries[2].x, high.x);
    EXPECT_GT(town.places.entries[2].y, low.y);
    EXPECT_LT(town.places.entries[2].y, high.y);
    EXPECT_EQ(town.report.orgsMappedAsHouse, 1u);
    EXPECT_EQ(town.report.orgsNearHouse, 1u);
    EXPECT_EQ(town.report.orgsAtPoint, 1u);
}

TEST(Osm2TownPlaces, AHouseWithoutAnAddressTakesThatOfAnOrganisationInIt)
{
    const Tags ownAddress{{"shop", "bakery"}, {"name", "Хлеб"}, {"addr:street", "улица Руставели"},
                          {"addr:housenumber", "3 к2"}};
    const Tags nearAddress{{"shop", "florist"}, {"name", "Цветы"}, {"addr:street", "улица Руставели"},
                           {"addr:housenumber", "7"}};
    OsmFixture f;
    // 1: no address; an organisation with one inside, another without one.
    f.square(1, 10, 0, 0, 20, {{"building", "yes"}});
    f.node(100, 5, 5, ownAddress);
    f.node(101, 15, 15, {{"amenity", "pharmacy"}, {"name", "Аптека «А5»"}});
    // 2: its own address stays; the organisation keeps its own.
    f.square(2, 20, 100, 0, 20, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "5"}});
    f.node(102, 110, 10, {{"shop", "kiosk"}, {"name", "Киоск"}, {"addr:street", "улица Руставели"},
                          {"addr:housenumber", "9"}});
    // 3: one with an address near it and one inside it: the one inside lends.
    f.square(3, 30, 200, 0, 20, {{"building", "yes"}});
    f.node(103, 225, 10, nearAddress);
    f.node(104, 210, 10, {{"office", "company"}, {"name", "Контора"}, {"addr:street", "улица Руставели"},
                          {"addr:housenumber", "11"}});
    // 4: only one near it.
    f.square(4, 40, 300, 0, 20, {{"building", "yes"}});
    f.node(105, 330, 10, {{"shop", "books"}, {"name", "Книги"}, {"addr:street", "Огородный проезд"},
                          {"addr:housenumber", "4"}});
    // 5: an address node inside it comes first.
    f.square(5, 50, 400, 0, 20, {{"building", "yes"}});
    f.node(106, 405, 5, {{"addr:street", "Огородный проезд"}, {"addr:housenumber", "6"}});
    f.node(107, 410, 10, {{"shop", "shoes"}, {"name", "Обувь"}, {"addr:street", "Огородный проезд"},
                          {"addr:housenumber", "8"}});
    const ImportedTown town = import(f);

    const std::vector<std::vector<std::string>> houses = {
        {cp("улица Руставели"), cp("3к2")}, {cp("Бутырская улица"), "5"}, {cp("улица Руставели"), "11"},
        {cp("Огородный проезд"), "4"},      {cp("Огородный проезд"), "6"},
    };
    ASSERT_EQ(town.model.houses.size(), houses.size());
    for (std::size_t i = 0; i < houses.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(town.model.houses[i].texts[0], houses[i][0]);
        EXPECT_EQ(town.model.houses[i].texts[1], houses[i][1]);
    }
    EXPECT_EQ(town.report.addressFromOrganisation, 3u);
    EXPECT_EQ(town.report.orgsAddressElsewhere, 3u) << "the kiosk in 2, the flowers near 3, the shoes in 5";
    EXPECT_EQ(town.report.addressFromNode, 1u);

    // The pharmacy without an address joins its house by the address it lent.
    auto record = [&](const char* name) -> const OrgRecord& {
        for (const OrgRecord& r : town.organisations)
            if (r.name == cp(name))
                return r;
        ADD_FAILURE() << name;
        return town.organisations.front();
    };
    EXPECT_EQ(record("Аптека «А5»").streetName, cp("улица Руставели"));
    EXPECT_EQ(record("Аптека «А5»").houseNo, cp("3к2"));
    EXPECT_EQ(record("Киоск").houseNo, "9");
    EXPECT_EQ(record("Цветы").houseNo, "7");
}

TEST(Osm2TownPlaces, KindsAndHoursAreWrittenBesideTheDirectory)
{
    const std::string tooLong = "Mo-Fr 09:00-18:00 \"" + std::string(260, 'x') + "\"";
    struct Org {
        Tags tags;
        int kind;
        std::string hours;
    };
    const std::vector<Org> orgs = {
        {{{"amenity", "pharmacy"}, {"name", "Аптека"}, {"opening_hours", "Mo-Fr 08:00-20:00; Sa 09:00-18:00"}},
         kindId("Аптеки"), "Mo-Fr 08:00-20:00; Sa 09:00-18:00"},
        {{{"amenity", "fuel"}, {"shop", "convenience"}, {"name", "АЗС"}, {"opening_hours", "24/7"}}, kindId("АЗС"),
         "24/7"},
        {{{"amenity", "cafe"}, {"name", "Кафе"}, {"opening_hours", "9-18"}}, kindId("Кафе"), "9-18"},
        {{{"amenity", "unheard_of"}, {"name", "Что-то"}, {"opening_hours", tooLong}}, kOtherKind, ""},
        {{{"shop", "bakery"}, {"name", "Хлеб"}}, kindId("Пекарни и кондитерские"), ""},
    };
    OsmFixture f;
    f.square(1, 10, 0, 0, 50, {{"building", "yes"}, {"addr:street", "Бутырская улица"}, {"addr:housenumber", "1"}});
    for (std::size_t i = 0; i < orgs.size(); ++i)
        f.node(std::int64_t(100 + i), 5 + 5 * double(i), 5, orgs[i].tags);
    f.node(200, 600, 600, {{"amenity", "bank"}, {"name", "Банк"}});
    const ImportedTown town = import(f);
    EXPECT_EQ(town.report.orgsWithKind, 5u);
    EXPECT_EQ(town.report.orgsWithHours, 3u);
    EXPECT_EQ(town.report.hoursReadable, 2u);
    EXPECT_EQ(town.report.hoursDropped, 1u);

    TempDir dir;
    writeTownFolder(town, dir.file("town"), "test.osm");
    const OrgDirectory directory = readOrgDirectoryFile(dir.file("town/data.tmd"));
    const std::optional<OrgPlaces> places = readOrgPlacesFile(dir.file("town/orgplaces.dat"));
    ASSERT_TRUE(places);
    EXPECT_NO_THROW(validateOrgPlaces(*places, directory.records.size(), town.model.houses.size()));
    ASSERT_EQ(places->entries.size(), directory.records.size());
    ASSERT_EQ(places->entries.size(), orgs.size() + 1);
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        SCOPED_TRACE(directory.records[i].name);
        EXPECT_EQ(places->entries[i].place, OrgPlace::Place::House);
        EXPECT_EQ(places->entries[i].house, 0u);
        EXPECT_EQ(places->entries[i].kind, orgs[i].kind);
        EXPECT_EQ(places->entries[i].hours, orgs[i].hours);
    }
    EXPECT_EQ(places->entries.back().place, OrgPlace::Place::Point);
    EXPECT_EQ(places->entries.back().kind, kindId("Банки"));
}
