#pragma once

#include "routing/Route.h"

#include <QString>

#include <functional>
#include <optional>

class Thouse;

// One end of a route: a place of the map and how the window names it.
struct RouteEnd {
    RoutePoint at;
    QString name; // "улица Садовая, 1", "точка на карте"

    // The house's footprint centre, named by its address.
    static RouteEnd OfHouse(const Thouse& house);
    // A point of the ground picked on the map.
    static RouteEnd OfPoint(RoutePoint point);
    bool operator==(const RouteEnd&) const = default;
};

// The route the user is building: where from, where to, on foot or by car,
// and the way found between them once both ends are set. Ends are set in
// any order and replaced at will; the way is found again whenever an end or
// the mode changes. Without a road network there are no routes at all.
class RoutePlan {
public:
    using Finder = std::function<std::optional<Route>(RoutePoint from, RoutePoint to, TravelMode mode)>;

    // The commands that set the ends, in the menus of the map and the results.
    static constexpr char kFromHere[] = "Маршрут отсюда";
    static constexpr char kToHere[] = "Маршрут сюда";
    static constexpr char kNoNetwork[] = "В папке города нет файла дорог roads.dat: маршруты не строятся";

    // `finder` finds a way between two points; empty when the town has no
    // road network, and `unavailable` then says why (kNoNetwork by default).
    explicit RoutePlan(Finder finder = {}, QString unavailable = {});

    bool Available() const { return bool(m_finder); }
    // Why the route commands are off; empty while they are on.
    const QString& UnavailableReason() const { return m_unavailable; }

    // Each returns whether anything changed; without a network nothing does.
    bool SetFrom(const RouteEnd& end);
    bool SetTo(const RouteEnd& end);
    bool SetMode(TravelMode mode);
    bool Clear();

    const std::optional<RouteEnd>& From() const { return m_from; }
    const std::optional<RouteEnd>& To() const { return m_to; }
    TravelMode Mode() const { return m_mode; }
    // Set or being set: at least one end chosen.
    bool Active() const { return m_from || m_to; }
    // The way between the ends; none until both are set, or when there is no way.
    const std::optional<Route>& Way() const { return m_way; }

    // The line the window shows: the route's summary ("1,2 км · 15 мин
    // пешком"), that there is no way, or which end is still to be chosen;
    // empty while nothing is set.
    QString Summary() const;
    // Both ends named, "Откуда: …; куда: …", the streets the way passes,
    // and while an end is missing how to choose it.
    QString Description() const;

private:
    bool setEnd(std::optional<RouteEnd>& slot, const RouteEnd& end);
    void find();

    Finder m_finder;
    QString m_unavailable;
    std::optional<RouteEnd> m_from;
    std::optional<RouteEnd> m_to;
    TravelMode m_mode = TravelMode::Foot;
    std::optional<Route> m_way;
};
