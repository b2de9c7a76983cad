#include "platform/ScreenCentring.h"

#include <gtest/gtest.h>

TEST(ScreenCentring, RoundsHalfToEven)
{
    const struct {
        double value;
        int rounded;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {272.5, 272}, {273.5, 274},
                 {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7.0, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(ScreenCentring, CentresTheOuterSizeOnTheScreen)
{
    const struct {
        QSize screen, window;
        QPoint corner;
    } cases[] = {
        {{1280, 1024}, {870, 527}, {205, 248}},  // 248.5 -> 248
        {{1280, 1024}, {862, 493}, {209, 266}},  // 265.5 -> 266
        {{1280, 1024}, {632, 479}, {324, 272}},  // 272.5 -> 272
        {{1024, 768}, {312, 240}, {356, 264}},
        {{1023, 767}, {312, 240}, {356, 264}},   // 355.5 -> 356, 263.5 -> 264
        {{800, 600}, {1000, 700}, {-100, -50}},  // larger than the screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(centredPosition(c.screen, c.window), c.corner)
            << c.screen.width() << "x" << c.screen.height() << " " << c.window.width() << "x" << c.window.height();
}
