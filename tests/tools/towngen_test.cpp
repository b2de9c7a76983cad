#include "TownGenerator.h"

#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "data/OpeningHours.h"
#include "data/OrgKinds.h"
#include "data/OrgPlacesReader.h"
#include "OrgPlaceGenerator.h"
#include "data/LandmarkListReader.h"
#include "map/TownBuilder.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/scene/GxScene.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

namespace {
std::uint64_t checksum(const std::vector<char>& bytes)
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (char c : bytes)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

const char* const kFiles[] = {"data.mod", "data.modt", "fl.dat", "data.tmd", "orgplaces.dat"};

std::map<std::string, std::uint64_t> checksumsOf(const TownOptions& options, const TempDir& dir)
{
    writeTownFiles(generateTown(options), dir.path());
    std::map<std::string, std::uint64_t> sums;
    for (const char* f : kFiles)
        sums[f] = checksum(ByteReader::readFile(dir.file(f)));
    return sums;
}

// A text field as stored: the raw length byte must not exceed the capacity.
std::string field(ByteReader& r, std::size_t capacity)
{
    const std::uint8_t length = r.uint8();
    EXPECT_LE(length, capacity) << "at byte " << r.position() - 1 << " of " << r.fileName();
    return r.bytes(capacity).substr(0, std::min<std::size_t>(length, capacity));
}

struct ReadHouse {
    Polygon outline;
    std::string street, number, floors;
};

struct ReadTown {
    std::vector<ReadHouse> houses;
    std::vector<std::vector<std::array<float, 3>>> roads;
    std::set<std::string> planeMaterials;
    std::set<std::string> libraryMaterials;
    int landmarks = 0;
    OrgRecords orgs;
};

// Reads the four files back the way the program will, checking every field
// against the capacity and the layout that the readers expect.
ReadTown readTown(const std::string& folder)
{
    ReadTown t;
    ByteReader mod = ByteReader::fromFile(folder + "/data.mod");
    const std::int32_t houses = mod.int32();
    mod.requireRecords(houses, 12);
    for (std::int32_t i = 0; i < houses; ++i) {
        ReadHouse h;
        const std::int32_t nodes = mod.int32();
        mod.requireRecords(nodes, 8);
        for (std::int32_t k = 0; k < nodes; ++k) {
            const float x = mod.float32();
            h.outline.push_back({x, mod.float32()});
        }
        EXPECT_EQ(mod.int32(), 3) << "house " << i;
        h.street = field(mod, 30);
        h.number = field(mod, 30);
        h.floors = field(mod, 30);
        mod.int32();
        t.houses.push_back(std::move(h));
    }
    const std::int32_t roads = mod.int32();
    mod.requireRecords(roads, 12);
    for (std::int32_t i = 0; i < roads; ++i) {
        std::vector<std::array<float, 3>> nodes(std::size_t(std::max(0, mod.int32())));
        for (auto& n : nodes)
            for (float& c : n)
                c = mod.float32();
        const std::int32_t texts = mod.int32();
        for (std::int32_t k = 0; k < texts; ++k)
            field(mod, 30);
        mod.int32();
        t.roads.push_back(std::move(nodes));
    }
    const std::int32_t planes = mod.int32();
    mod.requireRecords(planes, 55);
    for (std::int32_t i = 0; i < planes; ++i) {
        mod.skip(44);
        t.planeMaterials.insert(field(mod, 10));
    }
    mod.int32();
    EXPECT_TRUE(mod.atEnd());

    // The material library, read by the program's own reader.
    TGxMaterialLibrary library;
    library.LoadFromFile(folder + "/data.modt");
    for (int i = 0; i < library.Materials().Count(); ++i) {
        const TGxLibMaterial& m = library.Materials().Items(i);
        t.libraryMaterials.insert(m.Name());
        EXPECT_GE(m.TextureScale()[0], 1.0f) << m.Name() << ": the picture repeats across the plane";
    }

    // The landmarks, read by the program's own reader.
    TGxScene scene;
    LoadLandmarks(scene, folder, library);
    t.landmarks = scene.ObjectRoot()->Count();

    ByteReader tmd = ByteReader::fromFile(folder + "/data.tmd");
    const std::int32_t count = tmd.int32();
    tmd.skip(20);
    EXPECT_EQ(tmd.remaining(), std::size_t(count) * OrgRecord::kRecordSize);
    for (std::int32_t i = 0; i < count; ++i) {
        OrgRecord r;
        r.name = field(tmd, OrgRecord::kNameCapacity);
        r.phone = field(tmd, OrgRecord::kPhoneCapacity);
        r.streetName = field(tmd, OrgRecord::kStreetCapacity);
        r.email = field(tmd, OrgRecord::kEmailCapacity);
        r.houseNo = field(tmd, OrgRecord::kHouseNoCapacity);
        r.web = field(tmd, OrgRecord::kWebCapacity);
        tmd.skip(OrgRecord::kReservedSize);
        t.orgs.push_back(std::move(r));
    }
    return t;
}

class TownFiles : public ::testing::TestWithParam<TownOptions> {};
} // namespace

TEST(TownGenerator, SameSeedGivesTheSameFilesAndAnotherSeedAnotherTown)
{
    TempDir a, b, c;
    const auto first = checksumsOf(TownOptions{}, a);
    EXPECT_EQ(checksumsOf(TownOptions{}, b), first);
    TownOptions other;
    other.seed = 7;
    const auto third = checksumsOf(other, c);
    EXPECT_NE(third.at("data.mod"), first.at("data.mod"));
    EXPECT_NE(third.at("data.tmd"), first.at("data.tmd"));
    EXPECT_NE(third.at("orgplaces.dat"), first.at("orgplaces.dat"));
}

TEST_P(TownFiles, EveryFieldFitsAndEveryOutlineIsASimpleCounterClockwiseRing)
{
    TempDir dir;
    writeTownFiles(generateTown(GetParam()), dir.path());
    const ReadTown t = readTown(dir.path());
    EXPECT_EQ(t.houses.size(), GetParam().houses);
    EXPECT_EQ(t.orgs.size(), GetParam().organisations);
    // The church needs a central park that the tightest street grids of
    // very large towns leave too small; the others always stand.
    if (GetParam().houses <= 10000)
        EXPECT_EQ(t.landmarks, 7);
    else
        EXPECT_EQ(t.landmarks, 4);
    for (const ReadHouse& h : t.houses) {
        ASSERT_GE(h.outline.size(), 4u);
        EXPECT_TRUE(isSimple(h.outline)) << h.street << " " << h.number;
        EXPECT_GT(signedArea(h.outline), 0) << h.street << " " << h.number;
        EXPECT_LE(h.street.size(), OrgRecord::kStreetCapacity);
        EXPECT_LE(h.number.size(), OrgRecord::kHouseNoCapacity);
        const int floors = std::stoi(h.floors);
        EXPECT_TRUE(floors >= 1 && floors <= 16) << h.floors;
        for (Vec2 v : h.outline)
            EXPECT_TRUE(std::fabs(v.x) < 470 && std::fabs(v.y) < 470);
    }
    for (const auto& road : t.roads) {
        EXPECT_GE(road.size(), 3u);
        for (const auto& n : road)
            EXPECT_TRUE(n[2] > 0 && n[2] < 0.05f) << "areas lie just above the ground planes";
    }
    for (const std::string& m : t.planeMaterials)
        EXPECT_TRUE(t.libraryMaterials.count(m)) << m;
    // Lossy conversion to Windows-1251 would leave question marks; a text cut
    // to its field would lose its ending.
    auto endsWith = [](const std::string& s, const std::string& end) {
        return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
    };
    for (const OrgRecord& r : t.orgs) {
        for (const std::string* s : {&r.name, &r.phone, &r.streetName, &r.email, &r.houseNo, &r.web})
            EXPECT_EQ(s->find('?'), std::string::npos) << cp1251::decode(*s).toStdString();
        EXPECT_TRUE(r.email.empty() || (r.email.find('@') != std::string::npos && endsWith(r.email, ".ru"))) << r.email;
        EXPECT_TRUE(r.web.empty() || endsWith(r.web, ".ru")) << r.web;
        EXPECT_TRUE(r.phone.empty() || std::isdigit(static_cast<unsigned char>(r.phone.back()))) << r.phone;
    }
}

// A hundred thousand houses no longer fit the town square at full size.
INSTANTIATE_TEST_SUITE_P(DemoAndLarge, TownFiles,
                         ::testing::Values(TownOptions{}, TownOptions{10000, 20000, 3}, TownOptions{100000, 500, 1}),
                         [](const auto& info) {
                             return info.param.houses == TownOptions{}.houses ? "Demo"
                                    : info.param.houses == 10000              ? "TenThousandHouses"
                                                                              : "HundredThousandHouses";
                         });

TEST(TownGenerator, OrganisationsStandAtHousesOrAtTheDeliberatelyMissingAddresses)
{
    const GeneratedTown town = generateTown(TownOptions{});
    std::map<AddressKey, int> houses;
    std::set<std::string> streets;
    bool outbuilding = false, lettered = false;
    std::map<int, int> floors;
    for (const TownHouseRecord& h : town.model.houses) {
        ++houses[{h.texts[0], h.texts[1]}];
        streets.insert(h.texts[0]);
        outbuilding = outbuilding || h.texts[1] == "0";
        lettered = lettered || (h.texts[1].size() > 1 && static_cast<unsigned char>(h.texts[1].back()) >= 0xE0);
        ++floors[std::stoi(h.texts[2])];
    }
    const std::set<AddressKey> missing(town.missingAddresses.begin(), town.missingAddresses.end());
    EXPECT_FALSE(missing.empty());
    std::map<std::string, std::set<AddressKey>> addressesOf;
    std::map<AddressKey, int> tenants;
    int noPhone = 0, noWeb = 0;
    for (const OrgRecord& r : town.organisations) {
        const AddressKey at{r.streetName, r.houseNo};
        if (at == AddressKey{}) // placed by orgplaces.dat alone
            continue;
        EXPECT_TRUE(houses.count(at) != missing.count(at)) << cp1251::decode(r.streetName).toStdString() << ", "
                                                            << cp1251::decode(r.houseNo).toStdString();
        addressesOf[r.name].insert(at);
        ++tenants[at];
        noPhone += r.phone.empty();
        noWeb += r.web.empty();
    }

    // The cases users meet in the demo town.
    EXPECT_TRUE(std::any_of(houses.begin(), houses.end(), [](const auto& h) { return h.second >= 2 && h.first.second != "0"; }))
        << "one address shared by two buildings";
    EXPECT_TRUE(outbuilding);
    EXPECT_TRUE(lettered);
    EXPECT_GE(streets.size(), 15u);
    EXPECT_LE(streets.size(), 25u);
    EXPECT_TRUE(floors.count(1) && floors.rbegin()->first >= 12);
    EXPECT_GT(floors[2] + floors[3] + floors[4] + floors[5], int(town.model.houses.size()) / 2);
    EXPECT_TRUE(std::any_of(addressesOf.begin(), addressesOf.end(), [](const auto& o) { return o.second.size() >= 3; }))
        << "a chain at several addresses";
    EXPECT_TRUE(std::any_of(tenants.begin(), tenants.end(), [](const auto& t) { return t.second >= 5; }))
        << "several organisations in one house";
    EXPECT_GT(noPhone, 0);
    EXPECT_GT(noWeb, 0);
}

TEST(TownGenerator, LandmarksStandOnFreeGroundFacingTheirWay)
{
    TempDir dir;
    const GeneratedTown town = generateTown(TownOptions{});
    writeTownFiles(town, dir.path());
    TGxScene scene;
    TGxMaterialLibrary library;
    LoadLandmarks(scene, dir.path(), library);
    ASSERT_EQ(scene.ObjectRoot()->Count(), int(town.landmarks.size()));

    auto areaOf = [&](AreaKind kind, Vec2 p) -> const PlanArea* {
        for (const PlanArea& a : town.plan.areas)
            if (a.kind == kind && pointInPolygon(a.outline, p))
                return &a;
        return nullptr;
    };
    std::vector<Polygon> houses;
    for (const PlacedHouse& h : town.houses)
        houses.push_back(convexHull(h.outline));
    std::map<std::string, Vec2> at;
    for (int i = 0; i < scene.ObjectRoot()->Count(); ++i) {
        auto& landmark = dynamic_cast<TGxFreeForm&>(*scene.ObjectRoot()->Children(i));
        const LandmarkRecord& r = town.landmarks[std::size_t(i)];
        SCOPED_TRACE(landmark.Name());
        at[landmark.Name()] = {landmark.Position().X(), landmark.Position().Y()};
        // Turned exactly as written, one component at a time.
        EXPECT_TRUE(VectorNear(landmark.Direction().Vector4(), VectorMake(r.direction[0], r.direction[1], r.direction[2])));
        EXPECT_TRUE(VectorNear(landmark.Up().Vector4(), VectorMake(0, 0, 1)));
        // Its ground plan, from the model's own vertices: no house on it.
        Polygon plan;
        ASSERT_FALSE(landmark.MeshObjects().empty());
        for (const auto& object : landmark.MeshObjects()) {
            EXPECT_FALSE(object->FaceGroups().empty());
            for (const TGxAffineVector& v : object->Vertices) {
                const TGxVector w = VectorTransform(PointMake(v.X, v.Y, v.Z), landmark.ObjectMatrix());
                EXPECT_GT(w.Z, -0.05f) << "nothing below the ground";
                plan.push_back({w.X, w.Y});
            }
        }
        const Polygon hull = convexHull(plan);
        for (const Polygon& house : houses)
            ASSERT_FALSE(convexOverlap(hull, house)) << "a house stands on it";
    }
    EXPECT_TRUE(pointInPolygon(town.plan.square(), at.at("monument")));
    const PlanArea* churchPark = areaOf(AreaKind::Park, at.at("church"));
    const PlanArea* towerPark = areaOf(AreaKind::Park, at.at("water_tower"));
    EXPECT_TRUE(churchPark && towerPark && churchPark != towerPark);
    EXPECT_EQ(areaOf(AreaKind::Pond, at.at("church")), nullptr);
    EXPECT_NE(areaOf(AreaKind::River, at.at("bridge")), nullptr);
    for (const char* part : {"church_roof", "church_domes"})
        EXPECT_EQ(at.at(part).x, at.at("church").x);
    EXPECT_EQ(at.at("water_tank").y, at.at("water_tower").y);
}

TEST(TownGenerator, EveryOrganisationHasThePlaceItsAddressNamesAKindAndHoursThatFitItsName)
{
    TempDir dir;
    const GeneratedTown town = generateTown(TownOptions{});
    writeTownFiles(town, dir.path());
    const std::optional<OrgPlaces> read = readOrgPlacesFile(dir.file("orgplaces.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, town.places);
    EXPECT_NO_THROW(validateOrgPlaces(*read, town.organisations.size(), town.model.houses.size()));
    ASSERT_EQ(read->entries.size(), town.organisations.size());

    const std::set<AddressKey> missing(town.missingAddresses.begin(), town.missingAddresses.end());
    std::size_t unaddressedInHouses = 0, atPoints = 0, roundTheClock = 0, lunchBreaks = 0, closedSunday = 0,
                noHours = 0;
    std::map<std::string, std::set<std::string>> hoursOfName;
    for (std::size_t i = 0; i < read->entries.size(); ++i) {
        const OrgPlace& p = read->entries[i];
        const OrgRecord& r = town.organisations[i];
        SCOPED_TRACE(cp1251::decode(r.name).toStdString());
        const AddressKey at{r.streetName, r.houseNo};
        if (missing.count(at)) {
            EXPECT_EQ(p.place, OrgPlace::Place::None);
        } else if (p.place == OrgPlace::Place::House) {
            const std::vector<std::string>& house = town.model.houses[p.house].texts;
            if (at == AddressKey{}) {
                EXPECT_EQ(house[1], "0") << "an organisation without an address stands in a house no address names";
                ++unaddressedInHouses;
            } else {
                EXPECT_EQ(AddressKey(house[0], house[1]), at);
            }
        } else {
            ASSERT_EQ(p.place, OrgPlace::Place::Point);
            EXPECT_EQ(at, AddressKey{});
            for (const TownHouseRecord& h : town.model.houses) {
                Polygon outline;
                for (const auto& n : h.nodes)
                    outline.push_back({n[0], n[1]});
                EXPECT_FALSE(pointInPolygon(outline, {p.x, p.y}));
            }
            ++atPoints;
        }
        EXPECT_NE(orgKindById(p.kind), nullptr);
        if (!p.hours.empty())
            EXPECT_TRUE(OpeningHours::parse(p.hours).readable) << p.hours;
        roundTheClock += p.hours == "24/7";
        lunchBreaks += p.hours.find(":00,1") != std::string::npos;
        closedSunday += p.hours.find("Su off") != std::string::npos;
        noHours += p.hours.empty();
        hoursOfName[r.name].insert(p.hours);
    }
    EXPECT_GE(unaddressedInHouses, 2u);
    EXPECT_GE(atPoints, 2u);
    EXPECT_GT(roundTheClock, 0u);
    EXPECT_GT(lunchBreaks, 0u);
    EXPECT_GT(closedSunday, 0u);
    EXPECT_GT(noHours, 0u);
    EXPECT_EQ(hoursOfName[cp1251::fromUtf8("Аптека «Здоровье»")].size(), 1u) << "a chain keeps its hours everywhere";
}

TEST(TownGenerator, KindsFollowTheNames)
{
    const struct {
        const char* name;
        const char* kind;
    } cases[] = {
        {"Аптека «Здоровье»", "Аптеки"},
        {"Аптека № 3", "Аптеки"},
        {"Школа № 5", "Школы"},
        {"Детский сад № 2 «Ромашка»", "Детские сады"},
        {"Мебель «Уют»", "Мебель"},
        {"Мебельная мастерская «Уют»", "Ремонт и мастерские"},
        {"Бар «Парус»", "Бары и пабы"},
        {"Банк «Речной», дополнительный офис № 2", "Банки"},
        {"Баня № 1", "Прочее"},
        {"Продукты «Калинка»", "Продукты"},
        {"Универсам «Лидер»", "Супермаркеты"},
        {"Почтовое отделение № 4", "Почта"},
        {"Автосервис «Мастер»", "Автосервисы"},
        {"Гостиница «Садко»", "Гостиницы"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OrgKind* kind = orgKindById(kindOfGeneratedName(c.name));
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(kind->name, c.kind);
    }
    // A pharmacy's hours are a pharmacy's: every one given reads, and some
    // run round the clock.
    TownRandom random(5);
    std::set<std::string> pharmacy;
    for (int i = 0; i < 200; ++i)
        pharmacy.insert(generatedHours(kindOfGeneratedName("Аптека № 1"), random));
    EXPECT_TRUE(pharmacy.count("24/7"));
    for (const std::string& h : pharmacy)
        EXPECT_TRUE(h.empty() || OpeningHours::parse(h).readable) << h;
}
