#pragma once

#include "base/ByteWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Where an organisation is on the map, what kind it is and when it is open:
// one entry of the optional orgplaces.dat beside data.tmd.
struct OrgPlace {
    enum class Place : std::uint8_t {
        None = 0,  // no place: the directory's join by address, as without the file
        House = 1, // the house `house` in data.mod's house order
        Point = 2, // the point (x, y) in map units
    };

    Place place = Place::None;
    std::uint32_t house = 0; // House only
    float x = 0;             // Point only
    float y = 0;
    // An id of the kinds table (OrgKinds); 0 is "Прочее". Stored as is.
    std::uint16_t kind = 0;
    // The OpenStreetMap opening_hours text as written, UTF-8; empty = unknown.
    std::string hours;

    bool operator==(const OrgPlace&) const = default;
};

// The entries by the organisations' index in data.tmd: entries[i] belongs to
// the directory's record i. A directory may have more records than there
// are entries; the rest have no place, kind 0 and unknown hours.
struct OrgPlaces {
    std::vector<OrgPlace> entries;

    bool operator==(const OrgPlaces&) const = default;
};

namespace orgplaces {
// "QVOP", a version, a count of entries.
inline constexpr char kMagic[4] = {'Q', 'V', 'O', 'P'};
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 10;
// Place kind, org kind, hours length: an entry of no place and no hours.
inline constexpr std::size_t kMinEntrySize = 5;
inline constexpr std::size_t kMaxEntries = 10'000'000;
inline constexpr std::size_t kMaxHoursBytes = 255;
inline constexpr const char* kFileName = "orgplaces.dat";

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF).
bool isUtf8(std::string_view text);
} // namespace orgplaces

// Writes the whole file. An entry the reader would refuse (a place kind out
// of range, a point not finite, hours longer than 255 bytes or not UTF-8)
// raises std::invalid_argument naming it: a file written is always readable.
ByteWriter writeOrgPlaces(const OrgPlaces& places);

// The parts, for fixtures: the header with any count and version, one entry
// as it is (unchecked).
void writeOrgPlacesHeader(ByteWriter& out, std::uint32_t count, std::uint16_t version = orgplaces::kVersion);
void writeOrgPlace(ByteWriter& out, const OrgPlace& entry);
