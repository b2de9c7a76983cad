#pragma once

#include "data/RoadNetworkWriter.h"

// The speeds a route's time is counted at, in km/h.
inline constexpr double kFootSpeedKmh = 5.0;

// A car's speed on a road of the class (what can be driven in town, not the
// sign's limit). Classes a car may not use still get a walking pace.
double carSpeedKmh(RoadClass roadClass);

// The highest of carSpeedKmh: bounds a car's remaining time from below.
double maxCarSpeedKmh();
