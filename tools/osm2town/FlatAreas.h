#pragma once

#include "ImportReport.h"
#include "MapProjection.h"
#include "OsmExtract.h"

#include "data/TownModelWriter.h"

#include <cstdint>
#include <optional>
#include <vector>

// Roads, water and green areas: the flat polygons of the map, each kind at
// its own small height so that overlapping kinds never flicker.
enum class FlatKind { Forest, Green, Pitch, Water, Square, Footway, Road };

struct FlatStyle {
    float z;
    std::int32_t colour; // Windows colour
};
FlatStyle flatStyle(FlatKind kind);

struct FlatLine {
    FlatKind kind;
    float widthMetres;
};
// A highway or waterway drawn as a band; none for other ways, for areas
// and for what runs underground.
std::optional<FlatLine> flatLine(const OsmTags& tags);
// An area drawn as it is mapped; none for other objects.
std::optional<FlatKind> flatArea(const OsmTags& tags);

// Lines longer than this are written in pieces, and areas in tiles of about
// this size, so that each polygon's nodes are near the ground they light.
constexpr float kRoadPiece = 16.0f;
constexpr float kAreaTile = 2 * mapscale::kSquareHalf / 60;

std::vector<TownRoadRecord> extractFlatAreas(const OsmExtract& osm, const MapProjection& projection,
                                             ImportReport& report);
