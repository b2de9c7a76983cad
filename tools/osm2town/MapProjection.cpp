#include "MapProjection.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kEarthRadius = 6371008.8; // mean radius, metres
constexpr double kRadians = std::numbers::pi / 180.0;
} // namespace

MapProjection::MapProjection(double centreLat, double centreLon)
    : m_lat0(centreLat), m_lon0(centreLon), m_cosLat0(std::cos(centreLat * kRadians))
{
}

Vec2 MapProjection::toMap(double lat, double lon) const
{
    // Equirectangular about the centre: within a town's few kilometres its
    // error is far below a metre.
    const double east = longitudeFromCentre(lon) * kRadians * kEarthRadius * m_cosLat0;
    const double north = (lat - m_lat0) * kRadians * kEarthRadius;
    return {float(east * mapscale::kUnitsPerMetre), float(north * mapscale::kUnitsPerMetre)};
}

double MapProjection::longitudeFromCentre(double lon) const
{
    // Across the 180th meridian 179.9 and -179.9 are 0.2 degrees apart, not 359.8.
    double d = std::remainder(lon - m_lon0, 360.0);
    if (d <= -180.0)
        d += 360.0;
    return d;
}

double MapProjection::middleLongitude(double minLon, double maxLon)
{
    // A town is far narrower than half the globe: a wider span (or one whose
    // west end lies east of its east end) is the short way round across 180°.
    const bool across = maxLon < minLon || maxLon - minLon > 180.0;
    double mid = (minLon + maxLon) / 2 + (across ? 180.0 : 0.0);
    if (mid > 180.0)
        mid -= 360.0;
    else if (mid <= -180.0)
        mid += 360.0;
    return mid;
}

bool MapProjection::insideSquare(Vec2 p)
{
    return std::fabs(p.x) <= mapscale::kSquareHalf && std::fabs(p.y) <= mapscale::kSquareHalf;
}

bool MapProjection::insideSquare(const Polygon& p)
{
    for (Vec2 v : p)
        if (!insideSquare(v))
            return false;
    return true;
}
