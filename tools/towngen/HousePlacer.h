#pragma once

#include "TownPlan.h"

#include <cstdint>
#include <string>
#include <vector>

enum class BuildingKind { Private, Shed, Cottage, Apartment, Tower, Public, Shop, Industrial, Garage };

struct PlacedHouse {
    Polygon outline;         // counter-clockwise seen from above
    int street = -1;         // index into TownPlan::streets
    std::string number;      // UTF-8: "12", "12а", "0" for an outbuilding
    int floors = 1;
    BuildingKind kind = BuildingKind::Private;
    std::int32_t colour = 0; // Windows colour
    int parent = -1;         // the main house of an outbuilding or yard building
    int road = -1;           // the street whose road the house fronts
    float along = 0;         // where along that street it stands
};

// Lines the plan's streets with houses, nearest the centre first, and numbers
// them. Returns every house the plan has room for (at most `limit`), in
// placement order; `room` receives how many would fit without the limit.
// `scale` shrinks every footprint and the spaces around it, for towns too
// large to fit the town square at full size.
std::vector<PlacedHouse> placeHouses(const TownPlan& plan, std::size_t limit, TownRandom random, std::size_t* room,
                                     float scale = 1);
