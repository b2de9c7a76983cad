#include "routing/RoadFixture.h"
#include "routing/RoadSpeeds.h"
#include "routing/RouteSummary.h"
#include "routing/Router.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {
constexpr std::uint8_t kBoth = RoadPiece::Foot | RoadPiece::Car;

// A block of 100 m with a one-way side, a footway across it, a car-only
// drive across the other way, a one-way stub into a dead end, and an island
// of road that nothing joins:
//
//   D(0,100) ---Северная--- C(100,100)
//     |   \             /     |
//  Западная   (footway)     Восточная
//     |   Проезд (car)        |
//   A(0,0) --Односторонняя--> B(100,0) --Тупиковая--> G(200,0)
//                                                     P(500,500) --Островная-- Q(600,500)
struct Block : RoadFixture {
    std::uint32_t a = node(0, 0), b = node(100, 0), c = node(100, 100), d = node(0, 100), g = node(200, 0),
                  p = node(500, 500), q = node(600, 500);
    Block()
    {
        way({a, b}, "Односторонняя улица", RoadClass::Residential, kBoth | RoadPiece::OneWay);
        way({b, c}, "Восточная улица", RoadClass::Residential);
        way({c, d}, "Северная улица", RoadClass::Residential);
        way({d, a}, "Западная улица", RoadClass::Residential);
        way({a, c}, "", RoadClass::Footway, RoadPiece::Foot);
        way({d, b}, "Проезд", RoadClass::Residential, RoadPiece::Car);
        way({b, g}, "Тупиковая улица", RoadClass::Residential, kBoth | RoadPiece::OneWay);
        way({p, q}, "Островная улица", RoadClass::Residential);
    }
};

const double kDiagonal = 100 * std::sqrt(2.0);

struct Case {
    const char* what;
    RoutePoint from, to;
    TravelMode mode;
    std::optional<double> metres; // nullopt: no route
    std::vector<std::string> streets;
};

TEST(Router, FindsTheShortestWayOnFootAndTheFastestByCar)
{
    const Block block;
    const Router router(block.network);
    using P = RoadFixture;
    const Case cases[] = {
        {"one-way street with the traffic", P::at(0, 0), P::at(100, 0), TravelMode::Car, 100,
         {"Односторонняя улица"}},
        {"one-way street against the traffic: the car drives around by the drive", P::at(100, 0), P::at(0, 0),
         TravelMode::Car, kDiagonal + 100, {"Проезд", "Западная улица"}},
        {"one-way street against the traffic on foot", P::at(100, 0), P::at(0, 0), TravelMode::Foot, 100,
         {"Односторонняя улица"}},
        {"the footway shortcut on foot", P::at(0, 0), P::at(100, 100), TravelMode::Foot, kDiagonal, {}},
        {"no footway by car", P::at(0, 0), P::at(100, 100), TravelMode::Car, 200,
         {"Односторонняя улица", "Восточная улица"}},
        {"the car-only drive is not walked", P::at(0, 100), P::at(100, 10), TravelMode::Foot, 190,
         {"Северная улица", "Восточная улица"}},
        {"the car-only drive by car", P::at(0, 100), P::at(100, 0), TravelMode::Car, kDiagonal, {"Проезд"}},
        {"into the one-way dead end by car", P::at(50, 0), P::at(200, 0), TravelMode::Car, 150,
         {"Односторонняя улица", "Тупиковая улица"}},
        {"out of the one-way dead end by car: trapped", P::at(200, 0), P::at(0, 0), TravelMode::Car,
         std::nullopt, {}},
        {"out of the dead end on foot", P::at(200, 0), P::at(0, 0), TravelMode::Foot, 200,
         {"Тупиковая улица", "Односторонняя улица"}},
        {"to an island nothing joins", P::at(0, 0), P::at(550, 500), TravelMode::Foot, std::nullopt, {}},
        {"beyond a road's end snaps to its end", P::at(450, 480), P::at(650, 510), TravelMode::Foot, 100,
         {"Островная улица"}},
        {"from the middle of a piece to the middle of another", P::at(50, -7), P::at(100, 30), TravelMode::Foot,
         80, {"Односторонняя улица", "Восточная улица"}},
        {"both ends on one piece, with its direction", P::at(20, 3), P::at(70, -3), TravelMode::Car, 50,
         {"Односторонняя улица"}},
        {"both ends on one one-way piece, against it", P::at(70, 0), P::at(20, 0), TravelMode::Car,
         30 + kDiagonal + 100 + 20, {"Односторонняя улица", "Проезд", "Западная улица", "Односторонняя улица"}},
        {"the same place", P::at(50, 0), P::at(50, 0), TravelMode::Foot, 0, {}},
        {"the same place on a junction by car", P::at(100, 100), P::at(100, 100), TravelMode::Car, 0, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const std::optional<Route> route = router.route(test.from, test.to, test.mode);
        ASSERT_EQ(route.has_value(), test.metres.has_value());
        if (!route)
            continue;
        EXPECT_NEAR(route->metres, *test.metres, 0.01);
        EXPECT_EQ(route->streets, test.streets);
        ASSERT_GE(route->points.size(), 2u);
        // The drawn line is as long as the route.
        EXPECT_NEAR(polylineMetres(route->points), route->metres, 0.01);
    }
}

TEST(Router, CountsTimeAtTheModesSpeeds)
{
    const Block block;
    const Router router(block.network);
    const std::optional<Route> walk = router.route(RoadFixture::at(0, 0), RoadFixture::at(0, 100), TravelMode::Foot);
    ASSERT_TRUE(walk);
    EXPECT_NEAR(walk->seconds, 100 / (kFootSpeedKmh / 3.6), 1e-3);
    const std::optional<Route> drive = router.route(RoadFixture::at(0, 100), RoadFixture::at(100, 0), TravelMode::Car);
    ASSERT_TRUE(drive);
    EXPECT_NEAR(drive->seconds, kDiagonal / (carSpeedKmh(RoadClass::Residential) / 3.6), 1e-3);
}

TEST(Router, PrefersTheFasterRoadByCarAndTheShorterOnFoot)
{
    // A straight residential street of 1000 m and a primary road around it of 1400 m.
    RoadFixture town;
    const auto west = town.node(0, 0), east = town.node(1000, 0), north1 = town.node(0, 200),
               north2 = town.node(1000, 200);
    town.way({west, east}, "Тихая улица", RoadClass::Residential);
    town.way({west, north1, north2, east}, "Проспект", RoadClass::Primary);
    const Router router(town.network);
    const auto drive = router.route(RoadFixture::at(0, 0), RoadFixture::at(1000, 0), TravelMode::Car);
    const auto walk = router.route(RoadFixture::at(0, 0), RoadFixture::at(1000, 0), TravelMode::Foot);
    ASSERT_TRUE(drive && walk);
    EXPECT_NEAR(drive->metres, 1400, 0.01);
    EXPECT_EQ(drive->streets, std::vector<std::string>{"Проспект"});
    EXPECT_NEAR(walk->metres, 1000, 0.01);
}

TEST(Router, HasNoRouteWithoutARoadForTheMode)
{
    RoadFixture town;
    town.way({town.node(0, 0), town.node(100, 0)}, "Аллея", RoadClass::Footway, RoadPiece::Foot);
    const Router router(town.network);
    EXPECT_FALSE(router.route(RoadFixture::at(0, 0), RoadFixture::at(100, 0), TravelMode::Car));
    EXPECT_TRUE(router.route(RoadFixture::at(0, 0), RoadFixture::at(100, 0), TravelMode::Foot));

    const RoadNetwork empty;
    EXPECT_FALSE(Router(empty).route(RoadFixture::at(0, 0), RoadFixture::at(1, 1), TravelMode::Foot));
}

TEST(RouteSummary, SaysDistanceTimeAndMode)
{
    struct {
        double metres, seconds;
        TravelMode mode;
        const char* text;
    } const cases[] = {
        {1200, 15 * 60, TravelMode::Foot, "1,2 км · 15 мин пешком"},
        {850.4, 10 * 60 + 10, TravelMode::Foot, "850 м · 10 мин пешком"},
        {999.6, 29, TravelMode::Car, "1,0 км · 1 мин на машине"},
        {12345, 65 * 60, TravelMode::Car, "12,3 км · 1 ч 5 мин на машине"},
        {0, 0, TravelMode::Foot, "0 м · 0 мин пешком"},
    };
    for (const auto& test : cases) {
        Route route;
        route.metres = test.metres;
        route.seconds = test.seconds;
        EXPECT_EQ(routeSummary(route, test.mode), test.text);
    }
    EXPECT_EQ(formatMinutes(65 * 60), "65 мин");
    EXPECT_EQ(formatMinutes(20), "1 мин");
    EXPECT_EQ(formatMetres(1234.4), "1234 м");
}
} // namespace
