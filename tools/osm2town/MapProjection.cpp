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
    const double east = (lon - m_lon0) * kRadians * kEarthRadius * m_cosLat0;
    const double north = (lat - m_lat0) * kRadians * kEarthRadius;
    return {float(east * mapscale::kUnitsPerMetre), float(north * mapscale::kUnitsPerMetre)};
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
