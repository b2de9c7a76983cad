#pragma once

#include "Geometry.h"

#include <cstdint>
#include <optional>
#include <vector>

// Outlines in a uniform grid over the map square, to find the outline that
// holds a point without testing every one.
class HouseGrid {
public:
    explicit HouseGrid(float cellSize = 4.0f);
    void add(std::size_t index, const Polygon& outline);
    // The smallest outline holding the point (a building inside a courtyard
    // of another is the one meant); none when no outline does.
    std::optional<std::size_t> find(Vec2 point) const;
    // The outline nearest the point that comes within `reach` of it (0 when
    // it holds the point); of two as near, the smaller. None when none does.
    std::optional<std::size_t> nearest(Vec2 point, float reach) const;

private:
    struct Entry {
        std::size_t index;
        Polygon outline;
        Box box;
        double area;
    };
    int cellOf(float v) const;
    float m_cell;
    int m_cells;
    std::vector<Entry> m_entries;
    std::vector<std::vector<std::uint32_t>> m_grid;
};
