#pragma once

#include "Geometry.h"
#include "data/TownScale.h"

// Local metres around the extract's centre, north up, in scene units
// (data/TownScale.h: a metre is kUnitsPerMetre units).
namespace mapscale {
using ::kUnitsPerMetre;
// The map's square: its grid and the camera target stay within ±470 units.
constexpr float kSquareHalf = 470.0f;
} // namespace mapscale

class MapProjection {
public:
    MapProjection(double centreLat, double centreLon);

    Vec2 toMap(double lat, double lon) const;
    double centreLat() const { return m_lat0; }
    double centreLon() const { return m_lon0; }
    // East of the centre in degrees, in (-180, 180].
    double longitudeFromCentre(double lon) const;
    // The middle of an extent from its west to its east end, across the 180th
    // meridian when the extent lies across it; in (-180, 180].
    static double middleLongitude(double minLon, double maxLon);

    static bool insideSquare(Vec2 p);
    static bool insideSquare(const Polygon& p);

private:
    double m_lat0;
    double m_lon0;
    double m_cosLat0;
};
