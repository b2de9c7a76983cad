#include "OsmFixture.h"
#include "RoadNetworkExtract.h"

#include "base/Cp1251.h"
#include "data/RoadNetworkReader.h"
#include "routing/Router.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint8_t kFoot = RoadPiece::Foot, kCar = RoadPiece::Car, kOneWay = RoadPiece::OneWay;

OsmTags tagsOf(const OsmFixture::Tags& list)
{
    OsmTags tags;
    for (const auto& [k, v] : list)
        tags.add(k, v);
    return tags;
}

TEST(Osm2TownRoads, WhoMayUseAHighwayAndWhichWay)
{
    const struct {
        OsmFixture::Tags tags;
        std::optional<RoadRules> rules; // nullopt: not in the network
    } cases[] = {
        {{{"highway", "residential"}}, RoadRules{RoadClass::Residential, kFoot | kCar, false}},
        {{{"highway", "motorway"}}, RoadRules{RoadClass::Motorway, kCar | kOneWay, false}},
        {{{"highway", "motorway_link"}, {"oneway", "no"}}, RoadRules{RoadClass::Motorway, kCar, false}},
        {{{"highway", "trunk"}}, RoadRules{RoadClass::Trunk, kFoot | kCar, false}},
        {{{"highway", "footway"}}, RoadRules{RoadClass::Footway, kFoot, false}},
        {{{"highway", "steps"}}, RoadRules{RoadClass::Steps, kFoot, false}},
        {{{"highway", "pedestrian"}, {"motor_vehicle", "destination"}},
         RoadRules{RoadClass::Pedestrian, kFoot | kCar, false}},
        {{{"highway", "secondary"}, {"oneway", "yes"}}, RoadRules{RoadClass::Secondary, kFoot | kCar | kOneWay, false}},
        {{{"highway", "tertiary"}, {"oneway", "-1"}}, RoadRules{RoadClass::Tertiary, kFoot | kCar | kOneWay, true}},
        {{{"highway", "primary"}, {"junction", "roundabout"}}, RoadRules{RoadClass::Primary, kFoot | kCar | kOneWay, false}},
        {{{"highway", "service"}, {"oneway", "reversible"}}, RoadRules{RoadClass::Service, kFoot, false}},
        {{{"highway", "service"}, {"access", "private"}}, std::nullopt},
        {{{"highway", "service"}, {"access", "private"}, {"foot", "yes"}}, RoadRules{RoadClass::Service, kFoot, false}},
        {{{"highway", "residential"}, {"foot", "no"}}, RoadRules{RoadClass::Residential, kCar, false}},
        {{{"highway", "residential"}, {"motor_vehicle", "no"}}, RoadRules{RoadClass::Residential, kFoot, false}},
        {{{"highway", "residential"}, {"vehicle", "no"}, {"motorcar", "yes"}},
         RoadRules{RoadClass::Residential, kFoot | kCar, false}},
        {{{"highway", "footway"}, {"access", "no"}}, std::nullopt},
        {{{"highway", "construction"}}, std::nullopt},
        {{{"highway", "platform"}}, std::nullopt},
        {{{"waterway", "river"}}, std::nullopt},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.tags.front().second + (test.tags.size() > 1 ? " " + test.tags[1].first : ""));
        const std::optional<RoadRules> rules = roadRules(tagsOf(test.tags));
        ASSERT_EQ(rules.has_value(), test.rules.has_value());
        if (!rules)
            continue;
        EXPECT_EQ(rules->roadClass, test.rules->roadClass);
        EXPECT_EQ(int(rules->flags), int(test.rules->flags));
        EXPECT_EQ(rules->reversed, test.rules->reversed);
    }
}

// Two streets crossing at a shared node, a one-way street against its
// drawing (oneway=-1), a private drive, a footway and a street with a letter
// Windows-1251 lacks; then the folder's roads.dat.
TEST(Osm2TownRoads, TheNetworkJoinsWaysAtSharedNodes)
{
    OsmFixture f;
    f.node(1, 0, 0).node(2, 100, 0).node(3, 200, 0).node(4, 100, -100).node(5, 100, 100).node(6, 150, 50);
    f.node(7, 0, 100).node(8, 100, 200).node(9, 9000, 9000).node(10, 12000, 12000);
    f.way(20, {1, 2, 3}, {{"highway", "residential"}, {"name", "Hohensteinstraße"}});
    f.way(21, {4, 2, 5}, {{"highway", "tertiary"}, {"name", "Поперечная улица"}});
    f.way(22, {5, 6, 3}, {{"highway", "residential"}, {"oneway", "-1"}, {"name", "Обратная улица"}});
    f.way(23, {7, 5}, {{"highway", "service"}, {"access", "private"}});
    f.way(24, {1, 7}, {{"highway", "footway"}});
    f.way(25, {5, 8}, {{"highway", "footway"}, {"foot", "no"}});
    f.way(26, {9, 10}, {{"highway", "residential"}}); // far outside the map's square
    const ImportedTown town = importTown(f.xml(), OsmFixture::options());
    const RoadNetwork& network = town.network;

    EXPECT_EQ(network.nodes.size(), 7u);  // 1-7: the drive's 7 is still the footway's end
    EXPECT_EQ(network.pieces.size(), 7u); // 2 + 2 + 2 + the footway's 1
    EXPECT_EQ(town.report.networkPieces, 7u);
    EXPECT_EQ(town.report.networkNodes, 7u);
    EXPECT_EQ(town.report.networkFootOnly, 1u);
    EXPECT_EQ(town.report.networkCarOnly, 0u);
    EXPECT_EQ(town.report.networkOneWay, 2u);
    std::vector<std::string> names;
    for (const std::string& name : network.names)
        names.push_back(cp1251::decode(name).toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"Hohensteinstrasse", "Поперечная улица", "Обратная улица"}));

    const Router router(network);
    const auto at = [](double east, double north) {
        return RoutePoint{float(east * kUnitsPerMetre), float(north * kUnitsPerMetre)};
    };
    // Through the shared node 2.
    const auto across = router.route(at(0, 0), at(100, -100), TravelMode::Foot);
    ASSERT_TRUE(across);
    EXPECT_NEAR(across->metres, 200, 0.5);
    EXPECT_EQ(across->streets, (std::vector<std::string>{"Hohensteinstrasse", "Поперечная улица"}));
    // The one-way street runs from 3 by 6 to 5: a car from 5 to 3 goes round by 2.
    const auto drive = router.route(at(100, 100), at(200, 0), TravelMode::Car);
    ASSERT_TRUE(drive);
    EXPECT_NEAR(drive->metres, 200, 0.5);
    EXPECT_EQ(drive->streets, (std::vector<std::string>{"Поперечная улица", "Hohensteinstrasse"}));
    const auto back = router.route(at(200, 0), at(100, 100), TravelMode::Car);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->metres, 100 * std::sqrt(2.0), 0.5);
    EXPECT_EQ(back->streets, std::vector<std::string>{"Обратная улица"});
    // On foot the footway from 1 to 7 is no way on to 5: the drive is private.
    const auto walk = router.route(at(0, 100), at(100, 100), TravelMode::Foot);
    ASSERT_TRUE(walk);
    EXPECT_NEAR(walk->metres, 100 + 100 + 100, 0.5);

    TempDir dir;
    writeTownFolder(town, dir.file("town"), "test.osm");
    EXPECT_EQ(readRoadNetworkFile(dir.file("town/roads.dat")), network);
}
} // namespace
