#pragma once

#include "routing/Route.h"

#include <QString>

#include <vector>

// The ruler: points clicked on the ground, joined in the order of the
// clicks, and the length of that line in metres of the town.
class Ruler {
public:
    using Point = RoutePoint;

    void Add(Point point) { m_points.push_back(point); }
    void Clear() { m_points.clear(); }
    bool Empty() const { return m_points.empty(); }
    // Map units, in the order added.
    const std::vector<Point>& Points() const { return m_points; }

    // The line's length: map units / kUnitsPerMetre.
    double Metres() const;
    // What the window shows: "Линейка: 1 234 м"; empty without points.
    QString Text() const;

    // Whole metres with the thousands set apart: "0 м", "1 234 м".
    static QString MetresText(double metres);

private:
    std::vector<Point> m_points;
};
