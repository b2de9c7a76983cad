#include "platform/ScreenCentre.h"

#include <gtest/gtest.h>

TEST(ScreenCentre, HalfTheScreenMinusHalfTheWindowTiesToEven)
{
    const struct {
        QSize window, screen;
        QPoint expected;
    } cases[] = {
        {{870, 527}, {1280, 1024}, {205, 248}},  // 248.5 rounds down to even
        {{871, 527}, {1366, 768}, {248, 120}},   // 247.5 rounds up, 120.5 down
        {{2000, 1200}, {1280, 1024}, {-360, -88}}, // larger than the screen: negative
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredTopLeft(c.window, c.screen), c.expected) << c.window.width() << "x" << c.window.height();
}
