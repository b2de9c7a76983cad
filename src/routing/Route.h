#pragma once

#include <string>
#include <vector>

enum class TravelMode { Foot, Car };

// A point of the map, in map units (as data.mod's house nodes).
struct RoutePoint {
    float x = 0;
    float y = 0;

    bool operator==(const RoutePoint&) const = default;
};

// A way along the roads from one snapped end to the other.
struct Route {
    // The line to draw: the start's point on its road, the junctions passed,
    // the end's point on its road. Two equal points when the ends are one place.
    std::vector<RoutePoint> points;
    double metres = 0;  // along the roads, on the map's projection
    double seconds = 0; // on foot at 5 km/h; by car at each road class's speed
    // The named streets passed, in order, each once per stretch; UTF-8.
    std::vector<std::string> streets;
};

// The length of a polyline in metres (the ruler's measure); 0 for fewer than
// two points.
double polylineMetres(const std::vector<RoutePoint>& points);
