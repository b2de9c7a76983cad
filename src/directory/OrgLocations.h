#pragma once

#include "data/OrgRecord.h"
#include "directory/OrgFacts.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

class Thouse;

// A house without an address: its street is empty or its number "0", so no
// directory entry can name it and it is only ever itself.
bool IsUnaddressed(const Thouse& house);
// An entry that names no house for the same reason.
bool IsUnaddressed(const OrgRecord& entry);

// Where each organisation shows on the map: the house it is placed in, else
// every house at its address (an unaddressed entry has none), or the point
// it is placed at. Worked out once for the town's houses in child order.
class OrgLocations {
public:
    OrgLocations() = default;
    OrgLocations(std::vector<Thouse*> houses, const OrgRecords& records, const OrgFacts& facts);

    // The houses in child order (data.mod's house order).
    const std::vector<Thouse*>& Houses() const { return m_houses; }
    std::optional<std::size_t> IndexOf(const Thouse* house) const;

    // The houses the organisation is shown in, by their index in Houses().
    std::span<const std::uint32_t> HousesOf(std::size_t org) const;
    struct Point {
        float x = 0, y = 0;
    };
    // The point it is placed at, if it is placed at one.
    std::optional<Point> PointOf(std::size_t org) const;

private:
    std::vector<Thouse*> m_houses;
    std::unordered_map<const Thouse*, std::size_t> m_index;
    std::vector<std::uint32_t> m_start; // houses of org i: m_orgHouses[start[i], start[i + 1])
    std::vector<std::uint32_t> m_orgHouses;
    std::vector<std::optional<Point>> m_points;
};
