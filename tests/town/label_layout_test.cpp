// Where street names and house numbers go: along their street and never
// upside down, upright where the street runs away from the camera, never
// over each other or a reserved part of the view, faded and then left out
// as they shrink with distance, each street named once before any repeats.
#include "map/LabelLayout.h"
#include "map/StreetLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace labels;

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 440;
constexpr float kPi = 3.14159265f;

// Letters (two bytes each in UTF-8) about 0.6 as wide as high, and the picture's margins.
float fakeAspect(LabelKind, const std::string& text)
{
    return 0.3f * float(text.size()) + 0.3f;
}

LabelView topDown(float height, int width = kWidth)
{
    return LabelView::LookAt({0, 0, height}, {0, 0, 0}, 45, width, kHeight);
}

StreetLine straight(const std::string& name, P2 from, P2 to)
{
    return {name, {from, to}};
}

StreetLine throughOrigin(const std::string& name, float degrees, float halfLength = 30)
{
    const float a = degrees * kPi / 180;
    return straight(name, {-std::cos(a) * halfLength, -std::sin(a) * halfLength},
                    {std::cos(a) * halfLength, std::sin(a) * halfLength});
}

float screenDegrees(P2 from, P2 to)
{
    return std::atan2(to.y - from.y, to.x - from.x) * 180 / kPi;
}

// The text runs left to right and its top is above its bottom.
void expectReadable(const PlacedLabel& l)
{
    EXPECT_GT(l.screen[1].x, l.screen[0].x);
    EXPECT_GT(l.screen[2].x, l.screen[3].x);
    EXPECT_GT(l.screen[3].y, l.screen[0].y);
    EXPECT_GT(l.screen[2].y, l.screen[1].y);
}

int countOf(const std::vector<PlacedLabel>& placed, LabelKind kind, int text = -1)
{
    int n = 0;
    for (const PlacedLabel& l : placed)
        n += l.kind == kind && (text < 0 || l.text == text);
    return n;
}

TEST(LabelLayout, NamesFollowTheirStreetInEveryQuadrantAndNeverTurnUpsideDown)
{
    struct Case {
        float streetDegrees;
        LabelPose pose;
        float textDegrees; // the baseline on the screen
    };
    const Case cases[] = {
        {15, LabelPose::Ground, 15},   {165, LabelPose::Ground, -15}, {195, LabelPose::Ground, 15},
        {345, LabelPose::Ground, -15}, {0, LabelPose::Ground, 0},     {180, LabelPose::Ground, 0},
        {60, LabelPose::Upright, 0},   {120, LabelPose::Upright, 0},  {240, LabelPose::Upright, 0},
        {300, LabelPose::Upright, 0},  {90, LabelPose::Upright, 0},   {270, LabelPose::Upright, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.streetDegrees);
        LabelLayout layout({throughOrigin("Ленина", c.streetDegrees)}, {}, fakeAspect);
        const auto& placed = layout.Place(topDown(60));
        ASSERT_FALSE(placed.empty());
        for (const PlacedLabel& l : placed) {
            EXPECT_EQ(l.pose, c.pose);
            expectReadable(l);
            EXPECT_NEAR(screenDegrees(l.screen[0], l.screen[1]), c.textDegrees, 0.5f);
        }
    }
}

TEST(LabelLayout, ReadableFromATiltedCameraWhateverTheStreetsCourse)
{
    // The start-up view of the program: high, from the south-east.
    const LabelView view = LabelView::LookAt({37.2f, -41.2f, 40.2f}, {0, 0, 0}, 45, kWidth, kHeight);
    for (float degrees = 0; degrees < 360; degrees += 7.5f) {
        SCOPED_TRACE(degrees);
        LabelLayout layout({throughOrigin("Ленина", degrees, 60)}, {}, fakeAspect);
        const auto& placed = layout.Place(view);
        ASSERT_FALSE(placed.empty());
        for (const PlacedLabel& l : placed) {
            expectReadable(l);
            if (l.pose == LabelPose::Ground)
                EXPECT_LE(std::fabs(screenDegrees(l.screen[0], l.screen[1])), layout.Style().alongDegrees + 0.5f);
            else
                EXPECT_NEAR(screenDegrees(l.screen[0], l.screen[1]), 0, 0.5f);
        }
    }
}

TEST(LabelLayout, NamesTooFlatOnTheGroundStandUp)
{
    // A street across the view, seen from ever lower: lying on the ground
    // while it keeps half its height, standing once it would not.
    LabelLayout layout({straight("Ленина", {-100, 0}, {100, 0})}, {}, fakeAspect);
    struct Case {
        float eyeHeight;
        LabelPose pose;
    };
    for (const Case& c : {Case{40, LabelPose::Ground}, Case{25, LabelPose::Ground}, Case{4, LabelPose::Upright}}) {
        SCOPED_TRACE(c.eyeHeight);
        const auto& placed = layout.Place(LabelView::LookAt({0, -30, c.eyeHeight}, {0, 0, 0}, 45, kWidth, kHeight));
        ASSERT_FALSE(placed.empty());
        // The first is the one nearest the middle; towards the sides the
        // perspective slants the letters, and those may stand up sooner.
        EXPECT_EQ(placed.front().pose, c.pose);
        for (const PlacedLabel& l : placed)
            expectReadable(l);
    }
}

TEST(LabelLayout, LabelsNeverOverlapEachOtherNorReservedParts)
{
    // Twelve streets through one crossing, and the search's address label over part of it.
    std::vector<StreetLine> streets;
    for (int i = 0; i < 12; ++i)
        streets.push_back(throughOrigin("Улица " + std::to_string(i), float(i) * 15.0f));
    std::vector<HouseMark> houses;
    for (int i = 0; i < 40; ++i)
        houses.push_back({std::to_string(i + 1), {float(i % 8) * 1.5f - 6, float(i / 8) * 1.5f - 3, 1.2f}});
    LabelLayout layout(streets, houses, fakeAspect);
    struct Case {
        const char* what;
        float height;
        std::vector<ScreenRect> reserved;
    };
    const Case cases[] = {
        {"far", 60, {}},
        {"close, numbers too", 12, {}},
        {"address label in the middle", 60, {{kWidth / 2.0f - 75, kHeight / 2.0f - 10, kWidth / 2.0f + 75, kHeight / 2.0f + 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LabelView view = topDown(c.height);
        view.reserved = c.reserved;
        const auto& placed = layout.Place(view);
        ASSERT_GE(placed.size(), 2u);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j)
                EXPECT_FALSE(placed[i].bounds.Meets(placed[j].bounds)) << i << " and " << j;
            for (const ScreenRect& r : c.reserved)
                EXPECT_FALSE(placed[i].bounds.Meets(r));
            EXPECT_GE(placed[i].bounds.left, 0);
            EXPECT_LE(placed[i].bounds.right, float(kWidth));
        }
    }
}

TEST(LabelLayout, SmallNamesFadeThenVanishAndCloseOnesStopGrowing)
{
    LabelLayout layout({throughOrigin("Ленина", 0, 200)}, {{"12", {0, 5, 1.2f}}}, fakeAspect);
    const LabelStyle& style = layout.Style();
    const float focal = topDown(1).focalPixels;
    // The camera height at which the name's picture is `px` pixels high.
    const auto heightFor = [&](float px, float worldHeight) { return worldHeight * focal / px; };
    struct Case {
        float px; // unlimited height of the street's name at the camera's distance
        int names;
        float alphaMin, alphaMax;
        float drawnPx;
    };
    const Case cases[] = {
        {style.minPixels * 0.9f, 0, 0, 0, 0},
        {(style.minPixels + style.fullPixels) / 2, 1, 0.3f, 0.7f, (style.minPixels + style.fullPixels) / 2},
        {style.fullPixels + 1, 1, 1, 1, style.fullPixels + 1},
        {style.maxStreetPixels * 3, 1, 1, 1, style.maxStreetPixels},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.px);
        const auto& placed = layout.Place(topDown(heightFor(c.px, style.streetHeight)));
        ASSERT_GE(countOf(placed, LabelKind::Street), c.names);
        if (c.names == 0) {
            EXPECT_EQ(countOf(placed, LabelKind::Street), 0);
            continue;
        }
        for (const PlacedLabel& l : placed)
            if (l.kind == LabelKind::Street) {
                EXPECT_GE(l.alpha, c.alphaMin);
                EXPECT_LE(l.alpha, c.alphaMax);
                EXPECT_NEAR(l.bounds.top - l.bounds.bottom, c.drawnPx, 0.5f);
            }
    }
    // A house number needs a closer camera than a street name.
    EXPECT_EQ(countOf(layout.Place(topDown(heightFor(style.fullPixels + 1, style.streetHeight))), LabelKind::Number), 0);
    EXPECT_EQ(countOf(layout.Place(topDown(heightFor(style.fullPixels + 1, style.numberHeight))), LabelKind::Number), 1);
    // Switched off: none of either.
    LabelView off = topDown(heightFor(style.fullPixels + 1, style.numberHeight));
    off.streets = false;
    off.numbers = false;
    EXPECT_TRUE(layout.Place(off).empty());
}

TEST(LabelLayout, EveryStreetInViewIsNamedOnceBeforeLongOnesRepeat)
{
    // A long avenue across the whole view and short side streets off it.
    std::vector<StreetLine> streets{straight("Проспект Мира", {-200, 0}, {200, 0})};
    for (int i = 0; i < 4; ++i) {
        const float x = -30 + 20 * float(i);
        streets.push_back(straight("Переулок " + std::to_string(i), {x, 3}, {x, 12}));
    }
    LabelLayout layout(streets, {}, fakeAspect);
    const LabelView view = topDown(70, 1200);
    const auto& placed = layout.Place(view);
    for (int i = 0; i < int(streets.size()); ++i)
        EXPECT_GE(countOf(placed, LabelKind::Street, i), 1) << streets[std::size_t(i)].name;
    // The avenue again, its copies far apart.
    std::vector<P2> avenue;
    for (const PlacedLabel& l : placed)
        if (l.text == 0)
            avenue.push_back({(l.bounds.left + l.bounds.right) / 2, (l.bounds.bottom + l.bounds.top) / 2});
    ASSERT_GE(avenue.size(), 2u);
    for (std::size_t i = 0; i < avenue.size(); ++i)
        for (std::size_t j = i + 1; j < avenue.size(); ++j)
            EXPECT_GE(std::hypot(avenue[i].x - avenue[j].x, avenue[i].y - avenue[j].y), layout.Style().repeatPixels);
}

TEST(LabelLayout, NothingBehindTheCameraOrOutsideTheView)
{
    // Streets only behind the camera and far to the side.
    LabelLayout layout({straight("Сзади", {-10, -80}, {10, -80}), straight("Сбоку", {40, -40}, {45, -40})},
                       {{"5", {0, -60, 1}}}, fakeAspect);
    const LabelView view = LabelView::LookAt({0, -50, 5}, {0, 0, 0}, 45, kWidth, kHeight);
    EXPECT_TRUE(layout.Place(view).empty());
}

TEST(StreetLines, CentreLinesFromRoadBandsAndFromHouses)
{
    // A band around (0,0)-(10,0)-(20,5), one side forward and the other back.
    const std::vector<P2> band{{0, -1}, {10, -1}, {20, 4}, {20, 6}, {10, 1}, {0, 1}};
    const std::vector<P2> centre = BandCentreLine(band);
    ASSERT_EQ(centre.size(), 3u);
    EXPECT_NEAR(centre[0].y, 0, 1e-5f);
    EXPECT_NEAR(centre[1].x, 10, 1e-5f);
    EXPECT_NEAR(centre[2].y, 5, 1e-5f);
    EXPECT_TRUE(BandCentreLine({{0, 0}, {1, 0}, {1, 1}}).empty());

    // Houses on both sides of a street along y = 2x, and a second stretch far away.
    std::vector<AddressedPoint> houses;
    for (int i = 0; i < 10; ++i) {
        const float t = float(i) * 4;
        houses.push_back({"Садовая", {t - 2, 2 * t + 1}});
        houses.push_back({"Садовая", {t + 2, 2 * t - 1}});
    }
    houses.push_back({"Садовая", {500, 1000}});
    houses.push_back({"Тихая", {7, 7}});
    houses.push_back({"", {9, 9}}); // no address: no street
    const std::vector<StreetLine> lines = LinesFromHouses(houses);
    ASSERT_EQ(lines.size(), 3u);
    const StreetLine& main = lines[0].points.size() > 1 ? lines[0] : lines[1];
    EXPECT_EQ(main.name, "Садовая");
    for (const P2& p : main.points)
        EXPECT_NEAR(p.y, 2 * p.x, 1.5f);
    EXPECT_EQ(lines[2].name, "Тихая");
    EXPECT_EQ(lines[2].points.size(), 1u);

    // A street a road names keeps the road's line only.
    const auto merged = MergeStreetLines({straight("Тихая", {0, 0}, {1, 0})}, lines);
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_EQ(merged[0].points.size(), 2u);
    for (std::size_t i = 1; i < merged.size(); ++i)
        EXPECT_EQ(merged[i].name, "Садовая");
}

// A network of nodes 0..n on a grid and pieces (from, to, name).
struct NetworkCase {
    const char* what;
    std::vector<RoadNode> nodes;
    std::vector<std::array<std::uint32_t, 3>> pieces;
    // The expected lines: name and node indices (a line may run either way).
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> lines;
};

TEST(StreetLines, NetworkPiecesChainedIntoLines)
{
    constexpr std::uint32_t kNone = RoadPiece::kNoName;
    const std::vector<RoadNode> row{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {10, 10}, {10, 20}};
    const std::vector<NetworkCase> cases{
        {"a street of three pieces", row, {{0, 1, 0}, {1, 2, 0}, {2, 3, 0}}, {{"Лесная", {0, 1, 2, 3}}}},
        {"pieces out of order and turned", row, {{3, 2, 0}, {0, 1, 0}, {2, 1, 0}}, {{"Лесная", {3, 2, 1, 0}}}},
        {"two names crossing at a node",
         row,
         {{0, 1, 0}, {1, 2, 0}, {4, 1, 1}, {5, 4, 1}},
         {{"Лесная", {0, 1, 2}}, {"Тихая", {5, 4, 1}}}},
        {"a T-junction of one name ends its lines there",
         row,
         {{0, 1, 0}, {1, 2, 0}, {2, 3, 0}, {1, 4, 0}, {4, 5, 0}},
         {{"Лесная", {0, 1}}, {"Лесная", {1, 2, 3}}, {"Лесная", {1, 4, 5}}}},
        {"a ring closes on its first point",
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
         {{0, 1, 0}, {1, 2, 0}, {2, 3, 0}, {3, 0, 0}},
         {{"Лесная", {0, 1, 2, 3, 0}}}},
        {"unnamed pieces give nothing and break no line",
         row,
         {{0, 1, 0}, {1, 4, kNone}, {1, 2, 0}, {2, 3, kNone}},
         {{"Лесная", {0, 1, 2}}}},
        {"a piece whose ends are one node is left out", row, {{0, 1, 0}, {1, 1, 0}, {1, 2, 0}}, {{"Лесная", {0, 1, 2}}}},
    };
    for (const NetworkCase& c : cases) {
        SCOPED_TRACE(c.what);
        RoadNetwork network{c.nodes, {}, {"Лесная", "Тихая"}};
        for (const auto& [from, to, name] : c.pieces) {
            RoadPiece piece;
            piece.from = from;
            piece.to = to;
            piece.name = name;
            network.pieces.push_back(piece);
        }
        const std::vector<StreetLine> lines = LinesFromNetwork(network);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].name, c.lines[i].first);
            std::vector<P2> expected;
            for (const std::uint32_t node : c.lines[i].second)
                expected.push_back({network.nodes[node].x, network.nodes[node].y});
            const auto same = [&](const std::vector<P2>& a) {
                return a.size() == lines[i].points.size() &&
                       std::equal(a.begin(), a.end(), lines[i].points.begin(),
                                  [](P2 p, P2 q) { return p.x == q.x && p.y == q.y; });
            };
            std::vector<P2> reversed(expected.rbegin(), expected.rend());
            EXPECT_TRUE(same(expected) || same(reversed)) << "line " << i;
        }
    }
}

} // namespace
