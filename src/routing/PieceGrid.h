#pragma once

#include "data/RoadNetworkWriter.h"
#include "routing/Route.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The point of a road piece nearest to a given point.
struct PieceSnap {
    std::uint32_t piece = 0;
    double along = 0;        // 0 at the piece's `from` node, 1 at its `to` node
    RoutePoint point;        // on the piece
    double distanceUnits = 0; // from the given point, map units
};

// A uniform grid over the network's pieces for finding the nearest one.
class PieceGrid {
public:
    explicit PieceGrid(const RoadNetwork& network);

    // The nearest piece of `network` (the one the grid was made of) that
    // `usable` accepts, or nullopt when it accepts none.
    std::optional<PieceSnap> nearest(const RoadNetwork& network, RoutePoint point,
                                     const std::function<bool(std::uint32_t)>& usable) const;

private:
    int cellX(double x) const;
    int cellY(double y) const;

    double m_minX = 0, m_minY = 0, m_cell = 1;
    int m_columns = 0, m_rows = 0;
    std::vector<std::uint32_t> m_cellStart; // m_columns * m_rows + 1 offsets into m_pieces
    std::vector<std::uint32_t> m_pieces;
    std::vector<std::uint32_t> m_long; // pieces across more than kMaxCellsOfAPiece cells
    static constexpr std::int64_t kMaxCellsOfAPiece = 256;
};

// The point of the segment a-b nearest to p, as `along` (0..1) and the point.
PieceSnap snapToSegment(RoutePoint p, RoadNode a, RoadNode b);
