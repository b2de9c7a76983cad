#pragma once

#include "data/RoadNetworkWriter.h"
#include "map/LabelLayout.h"

#include <string>
#include <vector>

// The streets' centre lines that the names are written along, from what the
// town's data says of them: named road bands where there are any, else the
// houses that give the street as their address.
namespace labels {

// The middle of a road drawn as a band around its centre line (one side
// forward, the other back, as the road pieces are made): the midpoints of
// nodes i and n - 1 - i. Empty when the outline is no such band (odd or
// fewer than four nodes).
std::vector<P2> BandCentreLine(const std::vector<P2>& outline);

struct AddressedPoint {
    std::string street; // Windows-1251
    P2 at;
};

// One line per stretch of each street named by the points: the points
// ordered along the street's main direction and averaged over short
// lengths (houses on both sides give the middle of the street); a gap
// longer than `gap` map units starts another stretch. A street of one
// point gets a line of that point; houses without a street have none.
std::vector<StreetLine> LinesFromHouses(const std::vector<AddressedPoint>& houses, float gap = 40.0f);

// The named pieces of a road network chained into lines, one per run of
// pieces of one name joined end to end: a line ends where the street does
// or where three or more of its pieces meet; a ring closes on its first
// point. Unnamed pieces and pieces whose ends are one node give none. Work
// grows with the pieces, whatever their shape.
std::vector<StreetLine> LinesFromNetwork(const RoadNetwork& network);

// The lines of named roads (this town's road pieces, or a road network
// when there is one) and, for streets no road names, the houses' lines.
std::vector<StreetLine> MergeStreetLines(std::vector<StreetLine> roads, std::vector<StreetLine> fromHouses);

} // namespace labels
