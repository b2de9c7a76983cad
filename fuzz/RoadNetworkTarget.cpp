#include "RoadNetworkTarget.h"

#include "TownGenerator.h"

#include "base/ByteReader.h"
#include "data/RoadNetworkReader.h"
#include "routing/Router.h"

#include <stdexcept>

namespace fuzz {

Result runRoadNetwork(std::string_view input)
{
    ByteReader in(std::vector<char>(input.begin(), input.end()), roadnetwork::kFileName);
    return guarded([&] {
        const RoadNetwork network = readRoadNetwork(in);
        const ByteWriter written = writeRoadNetwork(network);
        if (std::string_view(written.data().data(), written.size()) != input)
            throw std::logic_error("roads.dat written back differs from what was read");
        // From the first node to the last, and from far off the map to the middle.
        const Router router(network);
        const RoutePoint first = network.nodes.empty() ? RoutePoint{} : RoutePoint{network.nodes.front().x, network.nodes.front().y};
        const RoutePoint last = network.nodes.empty() ? RoutePoint{} : RoutePoint{network.nodes.back().x, network.nodes.back().y};
        for (const TravelMode mode : {TravelMode::Foot, TravelMode::Car}) {
            router.route(first, last, mode);
            router.route({1e30f, -1e30f}, {0, 0}, mode);
        }
    });
}

Files roadNetworkSeeds()
{
    const auto text = [](const ByteWriter& out) { return std::string(out.data().begin(), out.data().end()); };
    // Every flag, class and name form, a one-way trap and a piece from a node to itself.
    RoadNetwork mixed;
    mixed.nodes = {{0, 0}, {10, 0}, {10, 10}, {-470, 470}, {470, -470}};
    mixed.names = {"\xcb\xe5\xed\xe8\xed\xe0", "", std::string(255, 'x')};
    mixed.pieces = {
        {0, 1, RoadClass::Residential, RoadPiece::Foot | RoadPiece::Car, 0},
        {1, 2, RoadClass::Primary, RoadPiece::Car | RoadPiece::OneWay, 1},
        {2, 3, RoadClass::Steps, RoadPiece::Foot, RoadPiece::kNoName},
        {3, 3, RoadClass::Footway, RoadPiece::Foot, 2},
        {4, 0, RoadClass::Motorway, RoadPiece::Car | RoadPiece::OneWay, RoadPiece::kNoName},
    };
    TownOptions options;
    options.houses = 200;
    options.organisations = 1;
    return {{"mixed", text(writeRoadNetwork(mixed))},
            {"small-town", text(writeRoadNetwork(generateTown(options).network))},
            {"empty", text(writeRoadNetwork({}))}};
}

} // namespace fuzz
