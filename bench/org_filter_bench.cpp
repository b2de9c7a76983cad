// "Рубрика" and "Открыто сейчас" over a town of 20,000 houses and 100,000
// organisations: choosing a kind, turning "open now" on and off, each with
// the results tree and the houses' colours brought up to date. Target:
// under 100 ms. Beside each figure, in the same run: a plain name search on
// the same town (the organisation's house red, flown to, its organisations
// listed), which the user already waits for; `ratio` is the filter's time
// over that search's. Times are the thread's processor time.
#include "base/Cp1251.h"
#include "data/OrgKinds.h"
#include "directory/OrgFacts.h"
#include "directory/OrgFilter.h"
#include "directory/ResultsTree.h"
#include "directory/SearchPanel.h"
#include "directory/Selection.h"
#include "directory/SortedComboBox.h"
#include "directory/WidgetSearchControls.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"
#include "map/MapState.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <random>

namespace {

constexpr int kHouses = 20000;
constexpr int kOrgs = 100000;

// The town, the directory and its places, and the window's search controls.
struct Town {
    TGxScene scene;
    MapState state;
    OrgRecords records;
    OrgFacts facts;
    std::unique_ptr<OrgFilter> filter;
    SortedComboBox orgName, street, houseEdit;
    ResultsTree tree;
    WidgetSearchControls controls{orgName, street, houseEdit, tree};
    std::unique_ptr<Selection> selection;
    std::unique_ptr<SearchPanel> panel;
    std::string searchedName;

    Town()
    {
        std::mt19937 rng(7);
        state.CurrentObject = scene.ObjectRoot()->SpawnChild<TGxDummyCube>();
        for (int h = 0; h < kHouses; ++h) {
            auto* house = scene.ObjectRoot()->SpawnChild<Thouse>();
            const float x = float(h % 150) * 6, y = float(h / 150) * 6;
            for (const auto& p : {std::array<float, 2>{0, 0}, {4, 0}, {4, 3}, {0, 3}})
                house->AppendNode(x + p[0], y + p[1], 0);
            // A fifth of the buildings have no address, as in imported towns.
            const bool bare = h % 5 == 0;
            house->SetParam(0, bare ? std::string() : cp1251::fromUtf8("улица ") + std::to_string(h / 40));
            house->SetParam(1, bare ? "0" : std::to_string(h % 40 + 1));
            house->SetParam(2, std::to_string(1 + h % 9));
            house->BuildWalls();
        }
        DeSelectAll(scene);

        static const char* const hours[] = {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", "Mo-Su 08:00-22:00", "24/7",
                                            "Mo-Fr 09:00-13:00,14:00-18:00", "Fr-Sa 18:00-03:00", "", "по записи"};
        std::vector<int> kindIds;
        for (const OrgKind& k : orgKinds())
            kindIds.push_back(k.id);
        OrgPlaces places;
        for (int i = 0; i < kOrgs; ++i) {
            OrgRecord r;
            r.name = cp1251::fromUtf8("Организация ") + std::to_string(i);
            OrgPlace p;
            const int h = int(rng() % kHouses);
            if (i % 10 < 6 && h % 5 != 0) { // joined by its address
                r.streetName = cp1251::fromUtf8("улица ") + std::to_string(h / 40);
                r.houseNo = std::to_string(h % 40 + 1);
            } else if (i % 10 < 9) {
                p.place = OrgPlace::Place::House;
                p.house = std::uint32_t(h);
            } else {
                p.place = OrgPlace::Place::Point;
                p.x = float(rng() % 900);
                p.y = float(rng() % 800);
            }
            p.kind = std::uint16_t(kindIds[rng() % kindIds.size()]);
            p.hours = hours[rng() % std::size(hours)];
            places.entries.push_back(p);
            records.push_back(r);
        }
        searchedName = records[kOrgs / 2].name;
        facts = OrgFacts(places, records.size(), kHouses);
        filter = std::make_unique<OrgFilter>(facts, records.size());
        selection = std::make_unique<Selection>(state, scene, records, controls, Selection::Services{});
        selection->AttachPlaces(facts, *filter);
        panel = std::make_unique<SearchPanel>(*selection);
        selection->Locations(); // made once after loading
    }
};

Town& town()
{
    static Town t;
    return t;
}

// The thread's processor time: on a machine shared with other work the
// wall clock counts their time as well.
struct Clock {
    using duration = std::chrono::nanoseconds;
    static std::chrono::nanoseconds now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
};
double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// What the user waits for already: the name searched, its house shown.
Clock::duration nameSearch(Town& t)
{
    const auto t0 = Clock::now();
    t.orgName.SetRawText(t.searchedName);
    t.panel->OrgNameChange();
    return Clock::now() - t0;
}

void report(benchmark::State& state, Clock::duration work, Clock::duration baseline, std::size_t listed)
{
    const double n = double(state.iterations());
    state.counters["filter_ms"] = ms(work) / n;
    state.counters["name_search_ms"] = ms(baseline) / n;
    state.counters["ratio"] = ms(work) / ms(baseline);
    state.counters["listed"] = double(listed);
}

// Choosing a kind (range 0: one kind, 1: a heading), over the whole town.
void BM_ChooseKind(benchmark::State& state)
{
    Town& t = town();
    const OrgKind& pharmacies = orgKinds()[0];
    const KindChoice choice = state.range(0) == 0 ? KindChoice{KindChoice::Scope::Kind, pharmacies.id}
                                                  : KindChoice{KindChoice::Scope::Heading, pharmacies.heading};
    Clock::duration work{}, baseline{};
    std::size_t listed = 0;
    for (auto _ : state) {
        t.orgName.SetRawText({});
        t.filter->SetKind({});
        t.panel->FilterChanged();
        const auto t0 = Clock::now();
        t.filter->SetKind(choice);
        t.panel->FilterChanged();
        work += Clock::now() - t0;
        listed = t.selection->Listed().size();
        t.filter->SetKind({});
        baseline += nameSearch(t);
    }
    report(state, work, baseline, listed);
    state.SetLabel(state.range(0) == 0 ? "a kind" : "a heading");
}
BENCHMARK(BM_ChooseKind)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// "Открыто сейчас" turned on (range 0) or off (range 1) with every kind:
// the tree lists what is open (up to its limit) and the open houses glow.
void BM_ToggleOpenNow(benchmark::State& state)
{
    Town& t = town();
    const QDateTime evening(QDate(2026, 12, 11), QTime(19, 30));
    const bool on = state.range(0) == 0;
    Clock::duration work{}, baseline{};
    std::size_t listed = 0;
    for (auto _ : state) {
        t.filter->SetKind({});
        t.filter->SetOpenNow(!on, evening);
        t.panel->FilterChanged();
        const auto t0 = Clock::now();
        t.filter->SetOpenNow(on, evening);
        t.panel->FilterChanged();
        work += Clock::now() - t0;
        listed = t.selection->Listed().size();
        t.filter->SetOpenNow(false, evening);
        baseline += nameSearch(t);
    }
    report(state, work, baseline, listed);
    state.SetLabel(on ? "on" : "off");
}
BENCHMARK(BM_ToggleOpenNow)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// What loading the places file adds after reading it: the hours read
// (once per distinct text), kinds checked, the organisations of each house
// gathered. Range: how many distinct hours the 100,000 organisations write
// (a town writes few; here 8, or as many as 15,000). Beside it, in the
// same run, one plain pass over the same hours' bytes.
void BM_LoadOrgFacts(benchmark::State& state)
{
    std::mt19937 rng(3);
    OrgPlaces places;
    const int distinct = int(state.range(0));
    for (int i = 0; i < kOrgs; ++i) {
        OrgPlace p;
        p.place = i % 3 ? OrgPlace::Place::House : OrgPlace::Place::Point;
        p.house = rng() % kHouses;
        p.kind = std::uint16_t(rng() % 90);
        const int v = int(rng() % unsigned(distinct));
        p.hours = "Mo-Fr " + std::to_string(7 + v % 5) + ":00-" + std::to_string(17 + v / 5 % 6) + ":" +
                  std::to_string(10 + v / 30 % 50) + "; Sa 10:00-" + std::to_string(12 + v / 1500 % 10) + ":00";
        places.entries.push_back(std::move(p));
    }
    Clock::duration work{}, plain{};
    std::size_t texts = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        OrgFacts facts(places, kOrgs, kHouses);
        texts = facts.DistinctHours() - 1;
        const auto t1 = Clock::now();
        std::size_t sum = 0;
        for (const OrgPlace& p : places.entries)
            for (char c : p.hours)
                sum += static_cast<unsigned char>(c);
        benchmark::DoNotOptimize(sum);
        work += t1 - t0;
        plain += Clock::now() - t1;
    }
    const double n = double(state.iterations());
    state.counters["distinct_hours"] = double(texts);
    state.counters["load_ms"] = ms(work) / n;
    state.counters["plain_pass_ms"] = ms(plain) / n;
    state.counters["ratio"] = ms(work) / ms(plain);
}
BENCHMARK(BM_LoadOrgFacts)->Arg(8)->Arg(15000)->Unit(benchmark::kMillisecond);

} // namespace
