#include "routing/Route.h"

#include "data/TownScale.h"

#include <cmath>

double polylineMetres(const std::vector<RoutePoint>& points)
{
    double units = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        units += std::hypot(double(points[i].x) - points[i - 1].x, double(points[i].y) - points[i - 1].y);
    return units / kUnitsPerMetre;
}
