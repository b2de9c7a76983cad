// The scale bar's length and text for a camera distance.
#include "directory/ScaleBar.h"

#include "data/TownScale.h"
#include "engine/scene/GxCamera.h"
#include "map/MainScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ScaleBar, ARoundLengthNoLongerThanTheLongestBarForEachCameraDistance)
{
    // The map camera: focal length 50, 96 dots per inch, so a unit at
    // distance d spans 2 x 50 x 96 / (25.4 d) = 377.95 / d pixels, and a
    // metre 30.65 / d.
    const struct {
        double distance;
        double metres;
        const char* text;
    } cases[] = {
        {0.2, 0.5, "50 см"}, {0.5, 1, "1 м"},     {1, 2, "2 м"},       {2.5, 5, "5 м"},
        {5, 10, "10 м"},     {10, 20, "20 м"},    {25, 50, "50 м"},    {68.6, 200, "200 м"},
        {100, 200, "200 м"}, {130, 500, "500 м"}, {300, 1000, "1 км"}, {500, 1000, "1 км"},
        {1000, 2000, "2 км"}, {3000, 10000, "10 км"}, {20000, 50000, "50 км"},
    };
    for (const auto& c : cases) {
        const double perMetre = ScaleBar::PixelsPerMetre(c.distance, 50, 1, 96);
        EXPECT_NEAR(perMetre, 2 * 50 * 96 / (25.4 * c.distance) * kUnitsPerMetre, 1e-9);
        const auto plan = ScaleBar::Choose(perMetre);
        ASSERT_TRUE(plan) << c.distance;
        EXPECT_DOUBLE_EQ(plan->metres, c.metres) << c.distance;
        EXPECT_EQ(plan->text.toStdString(), c.text) << c.distance;
        EXPECT_NEAR(plan->pixels, c.metres * perMetre, 1e-9);
        // The next round length would not fit; this one is never a stub.
        EXPECT_LE(plan->pixels, ScaleBar::kMaxPixels);
        EXPECT_GE(plan->pixels, ScaleBar::kMaxPixels * 2 / 5 - 1e-9) << c.distance;
    }
}

TEST(ScaleBar, AtAPrintersResolutionTheSameLengthIsDrawnLonger)
{
    for (const double distance : {3.0, 68.6, 700.0}) {
        const auto screen = ScaleBar::Choose(ScaleBar::PixelsPerMetre(distance, 50, 1, 96));
        const auto printed = ScaleBar::Choose(ScaleBar::PixelsPerMetre(distance, 50, 1, 300), ScaleBar::kMaxPixels * 3.125);
        ASSERT_TRUE(screen && printed);
        EXPECT_EQ(printed->metres, screen->metres);
        EXPECT_NEAR(printed->pixels, screen->pixels * 3.125, 1e-6);
    }
}

TEST(ScaleBar, ExactlyTheLongestBarStillFitsAndNoScaleGivesNoBar)
{
    const auto edge = ScaleBar::Choose(24.0); // 5 m make exactly the longest bar
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->metres, 5);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const double perMetre : {0.0, -3.0, nan, inf, 2000.0 /* 10 cm = 200 px */})
        EXPECT_FALSE(ScaleBar::Choose(perMetre)) << perMetre;
    EXPECT_EQ(ScaleBar::PixelsPerMetre(0, 50, 1, 96), 0);
    EXPECT_EQ(ScaleBar::PixelsPerMetre(-1, 50, 1, 96), 0);
    // Far out of the town the longest round length is 5,000 km.
    const auto far = ScaleBar::Choose(1e-6);
    ASSERT_TRUE(far);
    EXPECT_EQ(far->text, "5000 км");
}

TEST(ScaleBar, TextsInCentimetresMetresAndKilometres)
{
    const struct {
        double metres;
        const char* text;
    } cases[] = {{0.1, "10 см"}, {0.5, "50 см"}, {1, "1 м"}, {20, "20 м"}, {500, "500 м"}, {1000, "1 км"}, {50000, "50 км"}};
    for (const auto& c : cases)
        EXPECT_EQ(ScaleBar::LengthText(c.metres).toStdString(), c.text);
}

TEST(ScaleBar, ReadsTheDistanceAndLensOfTheMapCamera)
{
    MainScene scene;
    scene.GxFreeCamera->Position().AssignPoint(0, -30, 40); // 50 units from its target
    EXPECT_NEAR(ScaleBar::PixelsPerMetre(*scene.GxFreeCamera, 96), ScaleBar::PixelsPerMetre(50, 50, 1, 96), 1e-6);
    scene.GxFreeCamera->SetFocalLength(100);
    EXPECT_NEAR(ScaleBar::PixelsPerMetre(*scene.GxFreeCamera, 96), ScaleBar::PixelsPerMetre(25, 50, 1, 96), 1e-6);
    // An orthogonal camera has no single scale: no bar.
    scene.GxFreeCamera->SetCameraStyle(csOrthogonal);
    EXPECT_EQ(ScaleBar::PixelsPerMetre(*scene.GxFreeCamera, 96), 0);
}
