#pragma once

#include "ImportReport.h"
#include "MapProjection.h"
#include "OsmExtract.h"
#include "TextStandIns.h"

#include "data/RoadNetworkWriter.h"

#include <optional>

// Who may use a highway way and how, from its tags; none for a way that is
// no road for a person or a car (under construction, a platform, a raceway,
// or closed to both).
struct RoadRules {
    RoadClass roadClass = RoadClass::Residential;
    std::uint8_t flags = 0; // RoadPiece::Flag
    bool reversed = false;  // oneway=-1: one-way against the way's direction
};
std::optional<RoadRules> roadRules(const OsmTags& tags);

// The road network of the extract's highways inside the map's square (a piece
// with one end outside is kept whole): ways meet where they share a node;
// names are written as the houses' street names are.
// Counts what it made in `report`.
RoadNetwork extractRoadNetwork(const OsmExtract& osm, const MapProjection& projection, TextStandIns& text,
                               ImportReport& report);
