#include "navigation/Ruler.h"

#include "data/TownScale.h"

#include <gtest/gtest.h>

namespace {

TEST(Ruler, MeasuresTheLineThroughItsPointsInMetres)
{
    const double unit = 1 / kUnitsPerMetre; // metres in a map unit
    const struct {
        const char* what;
        std::vector<Ruler::Point> points;
        double metres;
        const char* text;
    } cases[] = {
        {"no point", {}, 0, ""},
        {"one point", {{5, 5}}, 0, "Линейка: 0\u00A0м"},
        {"a 3-4-5 triangle's side", {{0, 0}, {3, 4}}, 5 * unit, "Линейка: 62\u00A0м"},
        {"a corner adds both legs", {{0, 0}, {3, 4}, {3, 0}}, 9 * unit, "Линейка: 111\u00A0м"},
        {"back and forth counts twice", {{0, 0}, {10, 0}, {0, 0}}, 20 * unit, "Линейка: 247\u00A0м"},
        {"a point clicked twice adds nothing", {{1, 1}, {1, 1}}, 0, "Линейка: 0\u00A0м"},
        {"across the map", {{-470, -470}, {470, -470}, {470, 470}}, 1880 * unit, "Линейка: 23\u00A0181\u00A0м"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ruler ruler;
        for (const Ruler::Point& p : c.points)
            ruler.Add(p);
        EXPECT_NEAR(ruler.Metres(), c.metres, 1e-9 * (1 + c.metres));
        EXPECT_EQ(ruler.Text().toStdString(), c.text);
        EXPECT_EQ(ruler.Empty(), c.points.empty());
    }
}

TEST(Ruler, ClearForgetsEveryPoint)
{
    Ruler ruler;
    ruler.Add({0, 0});
    ruler.Add({8.11f, 0});
    ruler.Clear();
    EXPECT_TRUE(ruler.Empty());
    EXPECT_EQ(ruler.Metres(), 0);
    EXPECT_TRUE(ruler.Text().isEmpty());
    ruler.Add({1, 1});
    EXPECT_EQ(ruler.Points(), (std::vector<Ruler::Point>{{1, 1}}));
}

TEST(Ruler, MetresTextRoundsAndGroupsThousands)
{
    const struct {
        double metres;
        const char* text;
    } cases[] = {
        {0.4, "0\u00A0м"}, {0.5, "1\u00A0м"}, {999.4, "999\u00A0м"}, {999.5, "1\u00A0000\u00A0м"},
        {1234, "1\u00A0234\u00A0м"}, {1234567, "1\u00A0234\u00A0567\u00A0м"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ruler::MetresText(c.metres).toStdString(), c.text) << c.metres;
}

} // namespace
