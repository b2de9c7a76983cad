#pragma once

#include "AddressForms.h"
#include "Geometry.h"
#include "HouseGrid.h"
#include "ImportReport.h"
#include "MapProjection.h"
#include "OsmExtract.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A house of the map made from a building of the extract.
struct ImportedHouse {
    Polygon outline;
    std::string street;       // written form (Windows-1251); empty without an address
    std::string number = "0"; // written form; "0" without an address, so no organisation joins it
    int floors = 1;
    bool addressed = false;
};

struct ImportedBuildings {
    std::vector<ImportedHouse> houses;
    HouseGrid grid; // every house outline, by index into `houses`
    // The houses made from each building object ('w' or 'r', id).
    std::map<std::pair<char, std::int64_t>, std::vector<std::size_t>> bySource;
};

// Floors from building:levels: the largest of several values ("5;9" → 9),
// fractions rounded ("3.5" → 4); none for zero, negative or no number.
std::optional<int> floorsFromLevels(std::string_view levels);
// Floors from a height in metres (feet with "ft" or "'"), 3 m a storey, at least one.
std::optional<int> floorsFromHeight(std::string_view height);
// The floors of a building of this type when the extract gives none.
int defaultFloors(std::string_view buildingType);

// The street of an address: addr:street, else addr:place (villages number
// their houses by the place).
std::string_view addressStreet(const OsmTags& tags);

ImportedBuildings extractBuildings(const OsmExtract& osm, const MapProjection& projection, TextStandIns& text,
                                   HouseNumberBook& numbers, ImportReport& report);

// A ring of the extract on the map.
Polygon projectRing(const MapProjection& projection, const OsmRing& ring);
