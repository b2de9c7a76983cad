#include "routing/PieceGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

PieceSnap snapToSegment(RoutePoint p, RoadNode a, RoadNode b)
{
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0)
        t = std::clamp(((double(p.x) - a.x) * dx + (double(p.y) - a.y) * dy) / lengthSquared, 0.0, 1.0);
    PieceSnap snap;
    snap.along = t;
    const double x = a.x + t * dx, y = a.y + t * dy;
    snap.point = {float(x), float(y)};
    snap.distanceUnits = std::hypot(x - p.x, y - p.y);
    return snap;
}

PieceGrid::PieceGrid(const RoadNetwork& network)
{
    if (network.pieces.empty())
        return;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;
    m_minX = m_minY = std::numeric_limits<double>::infinity();
    for (const RoadNode& node : network.nodes) {
        m_minX = std::min(m_minX, double(node.x));
        m_minY = std::min(m_minY, double(node.y));
        maxX = std::max(maxX, double(node.x));
        maxY = std::max(maxY, double(node.y));
    }
    // About two pieces a cell; no more cells than a square of 2048.
    const double width = std::max(maxX - m_minX, 1e-3), height = std::max(maxY - m_minY, 1e-3);
    const double cells = std::clamp(double(network.pieces.size()) / 2.0, 1.0, 2048.0 * 2048.0);
    m_cell = std::max(std::sqrt(width * height / cells), 1e-3);
    const auto count = [&](double extent) { return int(std::clamp(extent / m_cell + 1, 1.0, 4096.0)); };
    m_columns = count(width);
    m_rows = count(height);
    // Cells a little larger, so that the grid covers the whole extent.
    m_cell = std::max(width / (m_columns - 0.5), height / (m_rows - 0.5));
    m_columns = count(width);
    m_rows = count(height);

    // Each piece in every cell its bounding box touches; two passes, counts
    // then places. A piece across many cells is kept aside and always looked
    // at, so that a file of long pieces cannot fill the memory.
    const auto cellsOf = [&](const RoadPiece& piece) {
        const RoadNode& a = network.nodes[piece.from];
        const RoadNode& b = network.nodes[piece.to];
        return std::array<int, 4>{cellX(std::min(a.x, b.x)), cellX(std::max(a.x, b.x)), cellY(std::min(a.y, b.y)),
                                  cellY(std::max(a.y, b.y))};
    };
    const auto isLong = [](const std::array<int, 4>& c) {
        return std::int64_t(c[1] - c[0] + 1) * (c[3] - c[2] + 1) > kMaxCellsOfAPiece;
    };
    const auto forCells = [&](const std::array<int, 4>& c, auto&& visit) {
        for (int y = c[2]; y <= c[3]; ++y)
            for (int x = c[0]; x <= c[1]; ++x)
                visit(std::size_t(y) * m_columns + x);
    };
    m_cellStart.assign(std::size_t(m_columns) * m_rows + 1, 0);
    for (const RoadPiece& piece : network.pieces)
        if (const auto c = cellsOf(piece); !isLong(c))
            forCells(c, [&](std::size_t cell) { ++m_cellStart[cell + 1]; });
    for (std::size_t i = 1; i < m_cellStart.size(); ++i)
        m_cellStart[i] += m_cellStart[i - 1];
    m_pieces.resize(m_cellStart.back());
    std::vector<std::uint32_t> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    for (std::uint32_t i = 0; i < network.pieces.size(); ++i) {
        const auto c = cellsOf(network.pieces[i]);
        if (isLong(c))
            m_long.push_back(i);
        else
            forCells(c, [&](std::size_t cell) { m_pieces[fill[cell]++] = i; });
    }
}

int PieceGrid::cellX(double x) const
{
    // Clamped before the conversion: a point far off the grid is no int.
    return int(std::clamp(std::floor((x - m_minX) / m_cell), 0.0, double(m_columns - 1)));
}

int PieceGrid::cellY(double y) const
{
    return int(std::clamp(std::floor((y - m_minY) / m_cell), 0.0, double(m_rows - 1)));
}

std::optional<PieceSnap> PieceGrid::nearest(const RoadNetwork& network, RoutePoint point,
                                            const std::function<bool(std::uint32_t)>& usable) const
{
    if (m_columns == 0)
        return std::nullopt;
    std::optional<PieceSnap> best;
    const auto consider = [&](std::uint32_t i) {
        if (!usable(i))
            return;
        const RoadPiece& piece = network.pieces[i];
        PieceSnap snap = snapToSegment(point, network.nodes[piece.from], network.nodes[piece.to]);
        if (!best || snap.distanceUnits < best->distanceUnits
            || (snap.distanceUnits == best->distanceUnits && i < best->piece)) {
            snap.piece = i;
            best = snap;
        }
    };
    for (const std::uint32_t i : m_long)
        consider(i);
    const int cx = cellX(point.x), cy = cellY(point.y);
    // The distance from the point to the outside of its own cell's ring r is
    // at least this; once the best is nearer, farther rings cannot beat it.
    const double insideX = std::min(point.x - (m_minX + cx * m_cell), m_minX + (cx + 1) * m_cell - point.x);
    const double insideY = std::min(point.y - (m_minY + cy * m_cell), m_minY + (cy + 1) * m_cell - point.y);
    const double inside = std::max(0.0, std::min(insideX, insideY));
    const int maxRing = std::max(m_columns, m_rows);
    for (int ring = 0; ring <= maxRing; ++ring) {
        for (int y = cy - ring; y <= cy + ring; ++y) {
            if (y < 0 || y >= m_rows)
                continue;
            const bool edgeRow = y == cy - ring || y == cy + ring;
            for (int x = cx - ring; x <= cx + ring; x += edgeRow ? 1 : 2 * ring) {
                if (x >= 0 && x < m_columns) {
                    const std::size_t cell = std::size_t(y) * m_columns + x;
                    for (std::uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k)
                        consider(m_pieces[k]);
                }
                if (ring == 0)
                    break;
            }
        }
        // A point outside the grid is still clamped to its border cells;
        // only rings that cover every cell make the answer sure then.
        const bool outside = point.x < m_minX || point.y < m_minY || point.x > m_minX + m_columns * m_cell
                             || point.y > m_minY + m_rows * m_cell;
        if (best && !outside && best->distanceUnits <= inside + ring * m_cell)
            break;
    }
    return best;
}
