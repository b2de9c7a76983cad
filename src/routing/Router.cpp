#include "routing/Router.h"

#include "base/Cp1251.h"
#include "data/TownScale.h"
#include "routing/RoadSpeeds.h"

#include <cmath>
#include <limits>
#include <queue>

namespace {
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kPassedMetres = 1.0;

double metresPerSecond(double kmh)
{
    return kmh / 3.6;
}

// A stretch of one piece that a route uses: `share` of its length.
struct Leg {
    std::uint32_t piece;
    double share;
};
} // namespace

Router::Router(RoadNetwork network) : m_network(std::move(network)), m_grid(m_network)
{
    m_pieceMetres.reserve(m_network.pieces.size());
    for (const RoadPiece& piece : m_network.pieces) {
        const RoadNode& a = m_network.nodes[piece.from];
        const RoadNode& b = m_network.nodes[piece.to];
        m_pieceMetres.push_back(std::hypot(double(b.x) - a.x, double(b.y) - a.y) / kUnitsPerMetre);
    }
    m_foot = buildGraph(TravelMode::Foot);
    m_car = buildGraph(TravelMode::Car);
}

bool Router::usable(const RoadPiece& piece, TravelMode mode) const
{
    return piece.allows(mode == TravelMode::Foot ? RoadPiece::Foot : RoadPiece::Car);
}

bool Router::forward(const RoadPiece& piece, TravelMode mode) const
{
    return usable(piece, mode);
}

bool Router::backward(const RoadPiece& piece, TravelMode mode) const
{
    return usable(piece, mode) && (mode == TravelMode::Foot || !piece.allows(RoadPiece::OneWay));
}

double Router::cost(std::uint32_t piece, TravelMode mode) const
{
    if (mode == TravelMode::Foot)
        return m_pieceMetres[piece];
    return m_pieceMetres[piece] / metresPerSecond(carSpeedKmh(m_network.pieces[piece].roadClass));
}

Router::Graph Router::buildGraph(TravelMode mode) const
{
    Graph graph;
    graph.start.assign(m_network.nodes.size() + 1, 0);
    const auto forEachArc = [&](auto&& visit) {
        for (std::uint32_t i = 0; i < m_network.pieces.size(); ++i) {
            const RoadPiece& piece = m_network.pieces[i];
            if (forward(piece, mode))
                visit(piece.from, Arc{piece.to, i, cost(i, mode)});
            if (backward(piece, mode))
                visit(piece.to, Arc{piece.from, i, cost(i, mode)});
        }
    };
    forEachArc([&](std::uint32_t node, const Arc&) { ++graph.start[node + 1]; });
    for (std::size_t i = 1; i < graph.start.size(); ++i)
        graph.start[i] += graph.start[i - 1];
    graph.arcs.resize(graph.start.back());
    std::vector<std::uint32_t> fill(graph.start.begin(), graph.start.end() - 1);
    forEachArc([&](std::uint32_t node, const Arc& arc) { graph.arcs[fill[node]++] = arc; });
    return graph;
}

std::optional<PieceSnap> Router::snap(RoutePoint point, TravelMode mode) const
{
    return m_grid.nearest(m_network, point, [&](std::uint32_t piece) { return usable(m_network.pieces[piece], mode); });
}

std::optional<Route> Router::route(RoutePoint from, RoutePoint to, TravelMode mode) const
{
    const std::optional<PieceSnap> start = snap(from, mode);
    const std::optional<PieceSnap> end = snap(to, mode);
    if (!start || !end)
        return std::nullopt;
    const RoadPiece& first = m_network.pieces[start->piece];
    const RoadPiece& last = m_network.pieces[end->piece];
    const double firstCost = cost(start->piece, mode);
    const double lastCost = cost(end->piece, mode);

    // Along the one piece both ends lie on, when its direction allows.
    double best = kInfinity;
    std::uint32_t bestVia = kNone; // the node the route leaves the network at; kNone: along one piece
    if (start->piece == end->piece) {
        if (end->along >= start->along && forward(first, mode))
            best = (end->along - start->along) * firstCost;
        if (end->along <= start->along && backward(first, mode))
            best = std::min(best, (start->along - end->along) * firstCost);
    }

    // A* from the start's piece ends to the end's piece ends. The straight
    // line at the fastest speed never overestimates what is left.
    const double unitCost = mode == TravelMode::Foot ? 1.0 : 1.0 / metresPerSecond(maxCarSpeedKmh());
    const auto remaining = [&](std::uint32_t node) {
        const RoadNode& n = m_network.nodes[node];
        return std::hypot(double(n.x) - end->point.x, double(n.y) - end->point.y) / kUnitsPerMetre * unitCost;
    };
    const std::size_t nodeCount = m_network.nodes.size();
    std::vector<double> reached(nodeCount, kInfinity);
    std::vector<std::uint32_t> cameBy(nodeCount, kNone);   // the piece it was reached along
    std::vector<std::uint32_t> cameFrom(nodeCount, kNone); // kNone: from the start's point
    using Entry = std::pair<double, std::uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const auto relax = [&](std::uint32_t node, double g, std::uint32_t piece, std::uint32_t previous) {
        if (g < reached[node]) {
            reached[node] = g;
            cameBy[node] = piece;
            cameFrom[node] = previous;
            open.emplace(g + remaining(node), node);
        }
    };
    // An end on a node of its piece is on that node, whatever the piece's direction.
    if (forward(first, mode) || start->along == 1)
        relax(first.to, (1 - start->along) * firstCost, start->piece, kNone);
    if (backward(first, mode) || start->along == 0)
        relax(first.from, start->along * firstCost, start->piece, kNone);

    const Graph& arcs = graph(mode);
    while (!open.empty()) {
        const auto [estimate, node] = open.top();
        open.pop();
        const double g = reached[node];
        if (estimate > g + remaining(node) + 1e-9)
            continue; // a stale entry
        if (estimate >= best)
            break;
        if (node == last.from && (forward(last, mode) || end->along == 0) && g + end->along * lastCost < best) {
            best = g + end->along * lastCost;
            bestVia = node;
        }
        if (node == last.to && (backward(last, mode) || end->along == 1) && g + (1 - end->along) * lastCost < best) {
            best = g + (1 - end->along) * lastCost;
            bestVia = node;
        }
        for (std::uint32_t k = arcs.start[node]; k < arcs.start[node + 1]; ++k)
            relax(arcs.arcs[k].node, g + arcs.arcs[k].cost, arcs.arcs[k].piece, node);
    }
    if (best == kInfinity)
        return std::nullopt;

    // The legs and points from the end back to the start.
    std::vector<Leg> legs;
    std::vector<RoutePoint> points{end->point};
    if (bestVia == kNone) {
        legs.push_back({start->piece, std::abs(end->along - start->along)});
    } else {
        legs.push_back({end->piece, bestVia == last.from ? end->along : 1 - end->along});
        std::uint32_t node = bestVia;
        while (true) {
            points.push_back({m_network.nodes[node].x, m_network.nodes[node].y});
            const std::uint32_t piece = cameBy[node];
            if (cameFrom[node] == kNone) {
                legs.push_back({piece, node == first.to ? 1 - start->along : start->along});
                break;
            }
            legs.push_back({piece, 1.0});
            node = cameFrom[node];
        }
    }
    points.push_back(start->point);

    Route route;
    route.points.assign(points.rbegin(), points.rend());
    for (auto leg = legs.rbegin(); leg != legs.rend(); ++leg) {
        const RoadPiece& piece = m_network.pieces[leg->piece];
        const double metres = leg->share * m_pieceMetres[leg->piece];
        route.metres += metres;
        const double speed = mode == TravelMode::Foot ? kFootSpeedKmh : carSpeedKmh(piece.roadClass);
        route.seconds += metres / metresPerSecond(speed);
        // A street only touched, as where an end lies on a junction, is not passed.
        if (metres < kPassedMetres || piece.name == RoadPiece::kNoName)
            continue;
        std::string name = cp1251::decode(m_network.names[piece.name]).toStdString();
        if (route.streets.empty() || route.streets.back() != name)
            route.streets.push_back(std::move(name));
    }
    return route;
}
