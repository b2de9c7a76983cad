#pragma once

#include "Buildings.h"
#include "ImportReport.h"
#include "OsmExtract.h"

#include "data/OrgPlacesWriter.h"

#include <cstddef>
#include <optional>
#include <vector>

// Where an organisation stands on the map, and what it tells of itself
// beyond the directory's fields: its kind and its opening hours.

// An organisation of the extract before it is written.
struct OrgSource {
    const OsmTags* tags = nullptr;
    std::optional<Vec2> at;                            // where it stands; none for one mapped as a building
    const std::vector<std::size_t>* ownHouses = nullptr; // the houses it is mapped as
};

struct OrgSite {
    enum class How {
        Mapped, // it is a building
        Inside, // it stands in one
        Near,   // the nearest outline within reach
        Point,  // no house: its own point
    };
    How how = How::Point;
    std::size_t house = 0; // unless Point
    Vec2 point;            // Point only
    bool inHouse() const { return how != How::Point; }
};

// Metres of the importer's projection.
inline constexpr float kDefaultAttachDistance = 25;
inline constexpr float kMostAttachDistance = 500;

// The building it is mapped as, else the one it stands in, else the nearest
// outline within `attachUnits` (map units), else its point. Counted in the
// report.
OrgSite placeOrganisation(const OrgSource& org, const HouseGrid& grid, float attachUnits, ImportReport& report);

// A house without an address takes that of an organisation placed in it that
// has one (one standing in it or mapped as it before one merely near it;
// then the first), written as the houses' own are.
void lendOrganisationAddresses(const std::vector<OrgSource>& orgs, const std::vector<OrgSite>& sites,
                               ImportedBuildings& buildings, TextStandIns& text, HouseNumberBook& numbers,
                               ImportReport& report);

// The entry of orgplaces.dat: the site, the kind of its tags and its
// opening_hours as written (left out when longer than the file holds or not
// UTF-8). Counted in the report.
OrgPlace describeOrganisation(const OsmTags& tags, const OrgSite& site, ImportReport& report);
