#include "directory/RoutePlan.h"

#include "base/Cp1251.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const RouteEnd kA{{1, 2}, "улица Садовая, 1"};
const RouteEnd kB{{30, 2}, "улица Мира, 3"};
const RouteEnd kIsland{{90, 90}, "Островная улица, 5"};

// Finds a straight way of 100 m per 10 units of x, 1 minute per 100 m,
// except to or from the island, which no road reaches; records each search.
struct FakeRoads {
    struct Search {
        RoutePoint from, to;
        TravelMode mode;
        bool operator==(const Search&) const = default;
    };
    std::vector<Search> searches;

    RoutePlan::Finder finder()
    {
        return [this](RoutePoint from, RoutePoint to, TravelMode mode) -> std::optional<Route> {
            searches.push_back({from, to, mode});
            if (from == kIsland.at || to == kIsland.at)
                return std::nullopt;
            Route r;
            r.points = {from, to};
            r.metres = std::abs(to.x - from.x) * 10;
            r.seconds = r.metres * (mode == TravelMode::Foot ? 0.6 : 0.1);
            if (from.x != to.x)
                r.streets = {"улица Садовая", "улица Мира"};
            return r;
        };
    }
};

TEST(RoutePlan, FindsTheWayOnceBothEndsAreSetAndAgainOnEveryChange)
{
    FakeRoads roads;
    RoutePlan plan(roads.finder());
    ASSERT_TRUE(plan.Available());
    EXPECT_TRUE(plan.UnavailableReason().isEmpty());

    struct Step {
        const char* what;
        std::function<bool(RoutePlan&)> act;
        bool changes;
        int searches;      // made so far
        bool way;
        const char* summary;
    };
    const Step steps[] = {
        {"nothing yet", [](RoutePlan&) { return false; }, false, 0, false, ""},
        {"from alone", [](RoutePlan& p) { return p.SetFrom(kA); }, true, 0, false,
         "Откуда: улица Садовая, 1. Куда?"},
        {"then to", [](RoutePlan& p) { return p.SetTo(kB); }, true, 1, true, "290 м · 3 мин пешком"},
        {"the same end again", [](RoutePlan& p) { return p.SetTo(kB); }, false, 1, true, "290 м · 3 мин пешком"},
        {"by car", [](RoutePlan& p) { return p.SetMode(TravelMode::Car); }, true, 2, true, "290 м · 1 мин на машине"},
        {"by car again", [](RoutePlan& p) { return p.SetMode(TravelMode::Car); }, false, 2, true,
         "290 м · 1 мин на машине"},
        {"to a place no road reaches", [](RoutePlan& p) { return p.SetTo(kIsland); }, true, 3, false,
         "Маршрут не найден: на машине туда по дорогам не проехать"},
        {"on foot", [](RoutePlan& p) { return p.SetMode(TravelMode::Foot); }, true, 4, false,
         "Маршрут не найден: пешком туда по дорогам не пройти"},
        {"from replaced", [](RoutePlan& p) { return p.SetFrom(kB); }, true, 5, false,
         "Маршрут не найден: пешком туда по дорогам не пройти"},
        {"to replaced", [](RoutePlan& p) { return p.SetTo(kA); }, true, 6, true, "290 м · 3 мин пешком"},
        {"cleared", [](RoutePlan& p) { return p.Clear(); }, true, 6, false, ""},
        {"cleared again", [](RoutePlan& p) { return p.Clear(); }, false, 6, false, ""},
        {"to alone", [](RoutePlan& p) { return p.SetTo(kB); }, true, 6, false,
         "Куда: улица Мира, 3. Откуда?"},
        {"from the same place", [](RoutePlan& p) { return p.SetFrom(kB); }, true, 7, true, "0 м · 0 мин пешком"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.act(plan), s.changes);
        EXPECT_EQ(int(roads.searches.size()), s.searches);
        EXPECT_EQ(plan.Way().has_value(), s.way);
        EXPECT_EQ(plan.Summary().toStdString(), s.summary);
        EXPECT_EQ(plan.Active(), *s.summary != '\0');
    }
    // Each search went from the from end to the to end in the mode of the moment.
    EXPECT_EQ(roads.searches[0], (FakeRoads::Search{kA.at, kB.at, TravelMode::Foot}));
    EXPECT_EQ(roads.searches[1], (FakeRoads::Search{kA.at, kB.at, TravelMode::Car}));
    EXPECT_EQ(roads.searches[4], (FakeRoads::Search{kB.at, kIsland.at, TravelMode::Foot}));
    // The mode outlives a clear.
    plan.Clear();
    plan.SetMode(TravelMode::Car);
    plan.Clear();
    EXPECT_EQ(plan.Mode(), TravelMode::Car);
}

TEST(RoutePlan, DescriptionNamesBothEnds)
{
    FakeRoads roads;
    RoutePlan plan(roads.finder());
    EXPECT_TRUE(plan.Description().isEmpty());
    plan.SetTo(kB);
    EXPECT_EQ(plan.Description().toStdString(), "Откуда: не выбрано; куда: улица Мира, 3. "
                                                "Откуда — «Маршрут отсюда» в меню дома или места на карте");
    plan.SetFrom(RouteEnd::OfPoint({5, 6}));
    EXPECT_EQ(plan.Description().toStdString(),
              "Откуда: точка на карте; куда: улица Мира, 3; по улицам: улица Садовая, улица Мира");
    plan.SetTo(kIsland);
    EXPECT_EQ(plan.Description().toStdString(), "Откуда: точка на карте; куда: Островная улица, 5");
}

TEST(RoutePlan, WithoutANetworkNothingCanBeSetAndTheReasonIsGiven)
{
    const struct {
        const char* what;
        QString given;
        const char* reason;
    } cases[] = {
        {"no file", {}, RoutePlan::kNoNetwork},
        {"a damaged file", QStringLiteral("Файл дорог повреждён"), "Файл дорог повреждён"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RoutePlan plan({}, c.given);
        EXPECT_FALSE(plan.Available());
        EXPECT_EQ(plan.UnavailableReason().toStdString(), c.reason);
        EXPECT_FALSE(plan.SetFrom(kA));
        EXPECT_FALSE(plan.SetTo(kB));
        EXPECT_FALSE(plan.SetMode(TravelMode::Car));
        EXPECT_FALSE(plan.Active());
        EXPECT_TRUE(plan.Summary().isEmpty());
    }
}

TEST(RouteEnd, AHouseIsItsFootprintCentreNamedByItsAddress)
{
    TGxScene scene;
    const struct {
        const char* number;
        const char* name;
    } cases[] = {{"12а", "Садовая, 12а"}, {"0", "Садовая"}};
    for (const auto& c : cases) {
        auto* house = scene.ObjectRoot()->SpawnChild<Thouse>();
        for (auto [x, y] : {std::pair{10.0f, 20.0f}, {14.0f, 20.0f}, {14.0f, 23.0f}, {10.0f, 23.0f}})
            house->AppendNode(x, y, 0);
        house->SetParam(0, cp1251::fromUtf8("Садовая"));
        house->SetParam(1, cp1251::fromUtf8(c.number));
        const RouteEnd end = RouteEnd::OfHouse(*house);
        EXPECT_EQ(end.at, (RoutePoint{12, 21.5f}));
        EXPECT_EQ(end.name.toStdString(), c.name);
    }
}

} // namespace
