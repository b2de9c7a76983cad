#pragma once

#include "data/OpeningHours.h"
#include "data/OrgPlacesWriter.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the optional orgplaces.dat says of each organisation of the
// directory: its place (a house of the map or a point), its kind and its
// opening hours read once. Without the file every organisation has no
// place, the kind "Прочее" and unknown hours.
class OrgFacts {
public:
    OrgFacts() = default;
    // `places` already checked against the directory and the town.
    OrgFacts(const OrgPlaces& places, std::size_t orgCount, std::size_t houseCount);

    // Whether a places file was read: only then are kinds and hours shown.
    bool Loaded() const { return m_loaded; }

    // The organisation's place; Place::None for one past the file's entries.
    const OrgPlace& PlaceOf(std::size_t org) const;
    // An id of the kinds table; "Прочее" for an id the table does not know.
    int KindOf(std::size_t org) const;
    const OpeningHours& HoursOf(std::size_t org) const;
    // Organisations share hours: each distinct text is read once. Its index
    // (0: unknown) and the hours of an index, for work done once per text.
    std::size_t HoursIndexOf(std::size_t org) const { return org < m_hoursOf.size() ? m_hoursOf[org] : 0; }
    std::size_t DistinctHours() const { return m_hours.size(); }
    const OpeningHours& Hours(std::size_t index) const { return m_hours[index]; }

    // The organisations placed in the house (its index in data.mod's house
    // order), in file order.
    std::span<const std::uint32_t> PlacedIn(std::size_t house) const;

    // How many organisations of the directory's `orgCount` have each kind,
    // by kind id (the vector covers every id of the table).
    std::vector<std::size_t> KindCounts() const;

private:
    bool m_loaded = false;
    std::size_t m_orgCount = 0;
    std::vector<OrgPlace> m_places;         // hours left empty: they live in m_hours
    std::vector<std::uint32_t> m_hoursOf;   // index into m_hours; many share a text
    std::vector<OpeningHours> m_hours{OpeningHours::parse({})}; // [0] is "unknown"
    std::vector<std::uint16_t> m_kinds;     // ids the table knows
    std::vector<std::uint32_t> m_houseStart; // organisations of house h: m_placed[start[h], start[h + 1])
    std::vector<std::uint32_t> m_placed;
};

// Reads orgplaces.dat from the town folder for a directory of `orgCount`
// organisations and a town of `houseCount` houses. No file: an empty
// OrgFacts. A damaged one, or one that does not fit the directory or the
// town, raises the damaged-file error naming it.
OrgFacts LoadOrgFacts(const std::string& townFolder, std::size_t orgCount, std::size_t houseCount);
