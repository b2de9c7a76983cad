#include "platform/ScreenCentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ScreenCentre, CentresAWindowOnThePrimaryScreen)
{
    QWidget window;
    window.move(330, 183);
    window.resize(870, 527);
    CentreOnPrimaryScreen(window);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    const QPoint windowCentre = window.frameGeometry().center();
    EXPECT_LE(std::abs(screenCentre.x() - windowCentre.x()), 1);
    EXPECT_LE(std::abs(screenCentre.y() - windowCentre.y()), 1);
}
