#pragma once

#include "data/RoadNetworkWriter.h"
#include "routing/PieceGrid.h"
#include "routing/Route.h"

#include <cstdint>
#include <optional>
#include <vector>

// Routes over a town's road network: the shortest way on foot, the fastest
// by car. Each end is first snapped to the nearest road the mode may use.
// Holds its own copy of the network (move one in to spare the copy).
class Router {
public:
    explicit Router(RoadNetwork network);

    // The way from `from` to `to`, or nullopt when there is none: no road the
    // mode may use, or the snapped ends in parts of the network not joined
    // (for a car also by one-way streets).
    std::optional<Route> route(RoutePoint from, RoutePoint to, TravelMode mode) const;

    // The point of the nearest road the mode may use, or nullopt without one.
    std::optional<PieceSnap> snap(RoutePoint point, TravelMode mode) const;

    // Each piece's length in metres on the map's projection.
    double pieceMetres(std::uint32_t piece) const { return m_pieceMetres[piece]; }
    const RoadNetwork& network() const { return m_network; }

private:
    struct Arc {
        std::uint32_t node;  // where it leads
        std::uint32_t piece; // along which piece
        double cost;         // metres on foot, seconds by car
    };
    struct Graph {
        std::vector<std::uint32_t> start; // nodes + 1 offsets into arcs
        std::vector<Arc> arcs;
    };

    bool usable(const RoadPiece& piece, TravelMode mode) const;
    bool forward(const RoadPiece& piece, TravelMode mode) const;  // from -> to
    bool backward(const RoadPiece& piece, TravelMode mode) const; // to -> from
    double cost(std::uint32_t piece, TravelMode mode) const;
    Graph buildGraph(TravelMode mode) const;
    const Graph& graph(TravelMode mode) const { return mode == TravelMode::Foot ? m_foot : m_car; }

    RoadNetwork m_network;
    std::vector<double> m_pieceMetres;
    PieceGrid m_grid;
    Graph m_foot;
    Graph m_car;
};
