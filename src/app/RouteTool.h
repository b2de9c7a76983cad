#pragma once

#include "directory/RoutePlan.h"

#include <QSize>
#include <array>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class MainScene;
class MapBand;
class QMenu;
class RouteBar;
class Router;
struct RoadNetwork;
struct MapState;

// Routes in the main window: the road network of the town folder, the
// commands "Маршрут отсюда" and "Маршрут сюда" of the map's and the results
// tree's menus, the route drawn on the map as a band above the roads and
// framed by the camera, and its line below the map.
class RouteTool {
public:
    static constexpr char kClear[] = "Убрать маршрут";
    // The band's colour, red, green, blue in 0..1.
    static constexpr std::array<float, 3> kColour{0.1f, 0.35f, 0.9f};

    // `viewSize` gives the map view's size, for framing the route.
    RouteTool(MapState& state, MainScene& scene, RouteBar& bar, std::function<QSize()> viewSize);
    ~RouteTool();

    // Reads roads.dat in the town folder. Without it there are no routes;
    // a damaged one leaves none either and raises its error.
    void LoadNetwork(const std::string& townFolder);
    // The network read, or null without one.
    const RoadNetwork* Network() const;

    const RoutePlan& Plan() const { return m_plan; }
    void From(const RouteEnd& end);
    void To(const RouteEnd& end);
    void SetMode(TravelMode mode);
    void Clear();

    // Adds the two route commands for `end` to the menu, and "Убрать
    // маршрут" while there is one. Without a network, or without an end
    // (`missing` says why), the commands are disabled and their tooltip
    // says why.
    void AddMenuEntries(QMenu& menu, const std::optional<RouteEnd>& end, const QString& missing = {});

    // The drawn route, made with the first end (null before).
    const MapBand* Band() const { return m_band; }

private:
    void show(bool frame);

    MapState& m_state;
    MainScene& m_scene;
    RouteBar& m_bar;
    std::function<QSize()> m_viewSize;
    std::unique_ptr<Router> m_router;
    RoutePlan m_plan;
    MapBand* m_band = nullptr;
};
