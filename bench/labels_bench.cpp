// The layout of the street names and house numbers of a generated town in
// one view, as each frame lays them out: the start-up view (names only),
// the highest view the camera reaches and a close one (numbers too).
// Streets and houses come from the town's records as the program takes
// them from its scene.
#include "TownGenerator.h"
#include "map/LabelLayout.h"
#include "map/StreetLines.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace labels;

constexpr int kViewWidth = 593;
constexpr int kViewHeight = 440;
constexpr float kFieldOfView = 60.4f; // the map camera's, vertically, at the view's size

struct TownLabels {
    std::unique_ptr<LabelLayout> layout;
    std::size_t streets = 0, houses = 0;
};

const TownLabels& townLabels(std::size_t count)
{
    static std::map<std::size_t, TownLabels> made;
    TownLabels& town = made[count];
    if (town.layout)
        return town;
    TownOptions options;
    options.houses = count;
    options.organisations = 10;
    const TownModel model = generateTown(options).model;
    std::vector<AddressedPoint> addresses;
    std::vector<HouseMark> numbers;
    for (const TownHouseRecord& h : model.houses) {
        P2 c;
        for (const auto& n : h.nodes) {
            c.x += n[0] / float(h.nodes.size());
            c.y += n[1] / float(h.nodes.size());
        }
        addresses.push_back({h.texts.at(0), c});
        numbers.push_back({h.texts.at(1), {c.x, c.y, 1.2f}});
    }
    std::vector<StreetLine> roads;
    for (const TownRoadRecord& r : model.roads) {
        if (r.texts.empty())
            continue;
        std::vector<P2> outline;
        for (const auto& n : r.nodes)
            outline.push_back({n[0], n[1]});
        roads.push_back({r.texts[0], BandCentreLine(outline)});
    }
    std::vector<StreetLine> lines = MergeStreetLines(std::move(roads), LinesFromHouses(addresses));
    town.streets = lines.size();
    town.houses = numbers.size();
    // About 0.6 of the height per letter: the layout's cost does not depend on the fonts.
    town.layout = std::make_unique<LabelLayout>(std::move(lines), std::move(numbers),
                                                [](LabelKind, const std::string& text) {
                                                    return 0.6f * float(text.size()) + 0.3f;
                                                });
    return town;
}

void BM_LabelLayout(benchmark::State& state)
{
    const TownLabels& town = townLabels(std::size_t(state.range(0)));
    const int view = int(state.range(1));
    const P3 target{0, 0, 0};
    const P3 eyes[] = {{37.2f, -41.2f, 40.2f}, {60, -66, 120}, {3, -9, 7}};
    const LabelView v = LabelView::LookAt(eyes[view], target, kFieldOfView, kViewWidth, kViewHeight);
    std::size_t placed = 0;
    for (auto _ : state)
        placed = town.layout->Place(v).size();
    state.counters["labels"] = double(placed);
    state.counters["streets"] = double(town.streets);
    state.counters["houses"] = double(town.houses);
}
BENCHMARK(BM_LabelLayout)
    ->ArgNames({"houses", "view"})
    ->Args({1000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Unit(benchmark::kMillisecond);

} // namespace
