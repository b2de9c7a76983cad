#pragma once

#include "routing/Route.h"

#include <Qt>
#include <QPoint>

#include <functional>
#include <optional>

class QMenu;
class QWidget;
class RouteTool;
class Thouse;

// The map's context menu: the route commands for the house under the
// pointer, or for the point of the ground there. The right button also
// orbits the map, so the menu opens when it is released where it was
// pressed; the menu key opens it for the chosen house, or for the middle of
// the view when none is chosen.
class MapContextMenu {
public:
    struct Services {
        // The house at a view pixel (top-left origin), or none.
        std::function<Thouse*(int x, int y)> HouseAt;
        // The ground point at a view pixel, or none.
        std::function<std::optional<RoutePoint>(int x, int y)> GroundAt;
        // The chosen house, if any, and where it shows in the view.
        std::function<Thouse*()> ChosenHouse;
        std::function<QPoint(const Thouse&)> PixelOf;
    };

    // A press and release farther apart than this (pixels, either axis) orbited.
    static constexpr int kStill = 3;

    MapContextMenu(QWidget& view, RouteTool& routes, Services services);
    ~MapContextMenu();

    void Pressed(Qt::MouseButton button, int x, int y);
    void Released(Qt::MouseButton button, int x, int y);
    void MenuKey();
    // Fills and opens the menu for the view pixel (x, y); the house, when
    // given, decides over what lies at the pixel.
    void OpenAt(int x, int y, Thouse* house = nullptr);

    // The menu last opened, while it lives (tests).
    QMenu* Menu() const { return m_menu; }

private:
    QWidget& m_view;
    RouteTool& m_routes;
    Services m_services;
    std::optional<QPoint> m_rightPress;
    QMenu* m_menu = nullptr;
};
