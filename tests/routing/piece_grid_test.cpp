#include "routing/PieceGrid.h"

#include <gtest/gtest.h>

#include <random>

namespace {
// The grid finds the same nearest distance as a look at every piece: for
// points inside the network and far off it, with short pieces and pieces
// across the whole town, and with only some pieces usable.
TEST(PieceGrid, FindsTheNearestPieceAsALookAtEveryPieceDoes)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-400, 400), step(-6, 6);
    RoadNetwork network;
    for (int i = 0; i < 3000; ++i) {
        const RoadNode a{place(random), place(random)};
        const bool across = i % 150 == 0;
        const RoadNode b = across ? RoadNode{-a.x, -a.y} : RoadNode{a.x + step(random), a.y + step(random)};
        network.nodes.push_back(a);
        network.nodes.push_back(b);
        network.pieces.push_back({std::uint32_t(2 * i), std::uint32_t(2 * i + 1), RoadClass::Residential,
                                  std::uint8_t(i % 3 == 0 ? RoadPiece::Foot : RoadPiece::Car), RoadPiece::kNoName});
    }
    const PieceGrid grid(network);
    std::uniform_real_distribution<float> query(-600, 600);
    for (int k = 0; k < 400; ++k) {
        const RoutePoint p = k % 40 == 0 ? RoutePoint{query(random) * 1000, query(random) * 1000}
                                         : RoutePoint{query(random), query(random)};
        for (const std::uint8_t flag : {RoadPiece::Foot, RoadPiece::Car}) {
            const auto usable = [&](std::uint32_t i) { return network.pieces[i].allows(RoadPiece::Flag(flag)); };
            double nearest = 1e300;
            for (std::uint32_t i = 0; i < network.pieces.size(); ++i)
                if (usable(i))
                    nearest = std::min(nearest, snapToSegment(p, network.nodes[network.pieces[i].from],
                                                              network.nodes[network.pieces[i].to])
                                                    .distanceUnits);
            const std::optional<PieceSnap> snap = grid.nearest(network, p, usable);
            ASSERT_TRUE(snap);
            EXPECT_TRUE(usable(snap->piece));
            EXPECT_DOUBLE_EQ(snap->distanceUnits, nearest) << p.x << ", " << p.y;
        }
    }
    EXPECT_FALSE(grid.nearest(network, {0, 0}, [](std::uint32_t) { return false; }));
    const RoadNetwork none;
    EXPECT_FALSE(PieceGrid(none).nearest(none, {0, 0}, [](std::uint32_t) { return true; }));
}
} // namespace
