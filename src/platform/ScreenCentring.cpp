#include "platform/ScreenCentring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

int roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    return static_cast<int>(result);
}

QPoint centredPosition(QSize screenSize, QSize outerSize)
{
    return {roundHalfEven(screenSize.width() / 2.0 - outerSize.width() / 2.0),
            roundHalfEven(screenSize.height() / 2.0 - outerSize.height() / 2.0)};
}

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // move() places the frame's corner, so the frame's size is the one to centre.
    window.move(centredPosition(screen->geometry().size(), window.frameGeometry().size()));
}
