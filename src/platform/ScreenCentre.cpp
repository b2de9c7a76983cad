#include "platform/ScreenCentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

int halfDifference(int screen, int window)
{
    // Round-to-nearest is the default floating-point mode: ties go to even.
    return static_cast<int>(std::nearbyint(screen / 2.0 - window / 2.0));
}

} // namespace

QPoint CentredTopLeft(QSize window, QSize screen)
{
    return {halfDifference(screen.width(), window.width()), halfDifference(screen.height(), window.height())};
}

void CentreOnPrimaryScreen(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window.move(area.topLeft() + CentredTopLeft(window.frameGeometry().size(), area.size()));
}
