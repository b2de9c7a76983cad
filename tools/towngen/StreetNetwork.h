#pragma once

#include "TownPlan.h"

#include "data/RoadNetworkWriter.h"

// The road network of the plan's streets (roads.dat): each street's centre
// line, cut where it crosses another, and a street that ends at or just short
// of another joined to it. Every street is open to people on foot and cars
// both ways; its class follows its kind (an avenue is a primary road).
RoadNetwork streetNetwork(const TownPlan& plan);
