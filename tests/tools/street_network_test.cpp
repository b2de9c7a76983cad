#include "StreetNetwork.h"
#include "TownGenerator.h"

#include "base/Cp1251.h"
#include "routing/Router.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
RoutePoint middleOf(const TownHouseRecord& house)
{
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
    for (const auto& n : house.nodes) {
        minX = std::min(minX, n[0]);
        maxX = std::max(maxX, n[0]);
        minY = std::min(minY, n[1]);
        maxY = std::max(maxY, n[1]);
    }
    return {(minX + maxX) / 2, (minY + maxY) / 2};
}

// The generated town's streets make one network a person or a car can
// cross from any house to any other, each house beside its own street.
TEST(StreetNetwork, JoinsEveryHouseOfTheGeneratedTown)
{
    for (const std::size_t houses : {300u, 1100u, 6000u}) {
        SCOPED_TRACE(houses);
        TownOptions options;
        options.houses = houses;
        options.organisations = 10;
        const GeneratedTown town = generateTown(options);
        const Router router(town.network);
        ASSERT_FALSE(town.model.houses.empty());
        const RoutePoint first = middleOf(town.model.houses.front());
        std::size_t onOwnStreet = 0, checked = 0;
        for (std::size_t i = 0; i < town.model.houses.size(); i += 7, ++checked) {
            const TownHouseRecord& house = town.model.houses[i];
            const RoutePoint here = middleOf(house);
            const auto snap = router.snap(here, TravelMode::Foot);
            ASSERT_TRUE(snap);
            const std::uint32_t name = town.network.pieces[snap->piece].name;
            onOwnStreet += name != RoadPiece::kNoName && town.network.names[name] == house.texts[0];
            for (const TravelMode mode : {TravelMode::Foot, TravelMode::Car}) {
                const auto route = router.route(first, here, mode);
                ASSERT_TRUE(route) << "house " << i << " unreachable";
                // Along streets, never shorter than the straight line between the snapped ends.
                EXPECT_GE(route->metres * 1.0001 + 0.01, polylineMetres({route->points.front(), route->points.back()}));
            }
        }
        // Most stand nearest their own street; corner houses may stand
        // nearer the side street, and the square's houses have no road of it.
        EXPECT_GT(onOwnStreet, checked * 3 / 4) << onOwnStreet << " of " << checked;
    }
}
} // namespace
