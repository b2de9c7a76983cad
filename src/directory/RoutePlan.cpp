#include "directory/RoutePlan.h"

#include "base/Cp1251.h"
#include "map/House.h"
#include "routing/RouteSummary.h"

#include <QStringList>

RouteEnd RouteEnd::OfHouse(const Thouse& house)
{
    const QString street = cp1251::decode(house.params()[0]);
    const std::string& number = house.params()[1];
    // A house without a number ("0") is named by its street; the street's
    // name says itself whether it is a street, a lane or an avenue.
    return {{house.CenterX(), house.CenterY()}, number == "0" ? street : street + ", " + cp1251::decode(number)};
}

RouteEnd RouteEnd::OfPoint(RoutePoint point)
{
    return {point, QStringLiteral("точка на карте")};
}

RoutePlan::RoutePlan(Finder finder, QString unavailable)
    : m_finder(std::move(finder)),
      m_unavailable(m_finder ? QString() : unavailable.isEmpty() ? QString::fromUtf8(kNoNetwork) : unavailable)
{
}

bool RoutePlan::SetFrom(const RouteEnd& end)
{
    return setEnd(m_from, end);
}

bool RoutePlan::SetTo(const RouteEnd& end)
{
    return setEnd(m_to, end);
}

bool RoutePlan::setEnd(std::optional<RouteEnd>& slot, const RouteEnd& end)
{
    if (!Available() || slot == end)
        return false;
    slot = end;
    find();
    return true;
}

bool RoutePlan::SetMode(TravelMode mode)
{
    if (!Available() || m_mode == mode)
        return false;
    m_mode = mode;
    find();
    return true;
}

bool RoutePlan::Clear()
{
    if (!Active())
        return false;
    m_from.reset();
    m_to.reset();
    m_way.reset();
    return true;
}

void RoutePlan::find()
{
    m_way.reset();
    if (m_from && m_to)
        m_way = m_finder(m_from->at, m_to->at, m_mode);
}

QString RoutePlan::Summary() const
{
    if (m_from && m_to) {
        if (m_way)
            return QString::fromStdString(routeSummary(*m_way, m_mode));
        return m_mode == TravelMode::Foot ? QStringLiteral("Маршрут не найден: пешком туда по дорогам не пройти")
                                          : QStringLiteral("Маршрут не найден: на машине туда по дорогам не проехать");
    }
    if (m_from)
        return QStringLiteral("Откуда: %1. Куда?").arg(m_from->name);
    if (m_to)
        return QStringLiteral("Куда: %1. Откуда?").arg(m_to->name);
    return {};
}

QString RoutePlan::Description() const
{
    if (!Active())
        return {};
    const auto name = [](const std::optional<RouteEnd>& end) {
        return end ? end->name : QStringLiteral("не выбрано");
    };
    QString text = QStringLiteral("Откуда: %1; куда: %2").arg(name(m_from), name(m_to));
    if (m_way && !m_way->streets.empty()) {
        QStringList streets;
        for (const std::string& street : m_way->streets)
            streets << QString::fromStdString(street);
        text += QStringLiteral("; по улицам: ") + streets.join(QStringLiteral(", "));
    }
    if (!m_from)
        text += QStringLiteral(". Откуда — «%1» в меню дома или места на карте").arg(QString::fromUtf8(kFromHere));
    else if (!m_to)
        text += QStringLiteral(". Куда — «%1» в меню дома или места на карте").arg(QString::fromUtf8(kToHere));
    return text;
}
