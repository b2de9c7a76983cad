#pragma once

#include "routing/Route.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class RoutePlan;

// The route's line below the map: its summary (a label, so a screen reader
// reads it), on foot or by car, and a button that clears the route. Hidden
// while no end of a route is chosen.
class RouteBar : public QWidget {
    Q_OBJECT
public:
    static constexpr char kFoot[] = "Пешком";
    static constexpr char kCar[] = "На машине";
    static constexpr char kClear[] = "Убрать маршрут";

    explicit RouteBar(QWidget* parent = nullptr);

    // Shows what the plan holds now.
    void Show(const RoutePlan& plan);

    // The user chose a mode or asked to clear the route.
    std::function<void(TravelMode)> ModeChosen;
    std::function<void()> ClearClicked;

    QLabel* Summary() const { return m_summary; }

private:
    QLabel* m_summary;
    QRadioButton* m_foot;
    QRadioButton* m_car;
    QPushButton* m_clear;
};
