#include "app/MapContextMenu.h"

#include "app/RouteTool.h"
#include "directory/RoutePlan.h"

#include <QMenu>
#include <QWidget>

#include <cstdlib>

MapContextMenu::MapContextMenu(QWidget& view, RouteTool& routes, Services services)
    : m_view(view), m_routes(routes), m_services(std::move(services))
{
}

MapContextMenu::~MapContextMenu() = default;

void MapContextMenu::Pressed(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::RightButton)
        m_rightPress = QPoint(x, y);
}

void MapContextMenu::Released(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::RightButton || !m_rightPress)
        return;
    const QPoint pressed = *m_rightPress;
    m_rightPress.reset();
    if (std::abs(x - pressed.x()) <= kStill && std::abs(y - pressed.y()) <= kStill)
        OpenAt(x, y);
}

void MapContextMenu::MenuKey()
{
    if (Thouse* house = m_services.ChosenHouse ? m_services.ChosenHouse() : nullptr) {
        const QPoint at = m_services.PixelOf(*house);
        OpenAt(at.x(), at.y(), house);
        return;
    }
    OpenAt(m_view.width() / 2, m_view.height() / 2);
}

void MapContextMenu::OpenAt(int x, int y, Thouse* house)
{
    if (!house && m_services.HouseAt)
        house = m_services.HouseAt(x, y);
    std::optional<RouteEnd> end;
    if (house)
        end = RouteEnd::OfHouse(*house);
    else if (const std::optional<RoutePoint> ground = m_services.GroundAt ? m_services.GroundAt(x, y) : std::nullopt)
        end = RouteEnd::OfPoint(*ground);

    delete m_menu;
    m_menu = new QMenu(&m_view);
    m_menu->setObjectName("MapMenu");
    if (end)
        m_menu->addSection(end->name);
    m_routes.AddMenuEntries(*m_menu, end, QStringLiteral("Здесь нет земли: выберите место на карте"));
    m_menu->popup(m_view.mapToGlobal(QPoint(x, y)));
}
