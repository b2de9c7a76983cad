// Suggestions while typing into the name box over 100,000 organisation
// names. Target: within 30 ms of a keystroke. Beside each figure, the
// machine's own limit measured in the same run: one plain pass that looks
// for the typed bytes in the same 100,000 stored names; `ratio` is the
// suggestions' time over that pass.
#include "base/Cp1251.h"
#include "search/NameIndex.h"
#include "directory/SortedListModel.h"

#include "SyllableWords.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {

constexpr int kNames = 100000;

// The names in the list's order, as the name box holds them.
const std::vector<std::string>& names()
{
    static const std::vector<std::string> list = [] {
        static const char* const kinds[] = {"ООО «%»", "Аптека «%»", "Магазин «%»", "Кафе «%»", "ИП %",
                                            "Парикмахерская «%»", "Автосервис «%»", "Детский сад № # «%»"};
        std::mt19937 rng(11);
        std::vector<std::string> raws;
        for (int i = 0; i < kNames; ++i) {
            std::string name = kinds[rng() % std::size(kinds)];
            name.replace(name.find('%'), 1, syllableWord(rng, 2 + int(rng() % 3)) + (rng() % 3 ? "" : " " + syllableWord(rng, 2)));
            if (const auto hash = name.find('#'); hash != std::string::npos)
                name.replace(hash, 1, std::to_string(1 + rng() % 200));
            raws.push_back(cp1251::fromUtf8(name));
        }
        SortedListModel sorted;
        sorted.AddItems(raws);
        std::vector<std::string> out;
        for (int row = 0; row < sorted.Count(); ++row)
            out.push_back(sorted.Raw(row));
        return out;
    }();
    return list;
}

const char* const kTyped[] = {"о", "аптека", "аптека ба", "ба ве", "«кафе» ки", "лозаки", "жумина"};

void BM_SuggestNames(benchmark::State& state)
{
    NameIndex index;
    index.Assign(names());
    const std::string typed = cp1251::fromUtf8(kTyped[state.range(0)]);
    using Clock = std::chrono::steady_clock;
    Clock::duration suggesting{}, plain{};
    std::size_t offered = 0, found = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        offered = index.Suggest(typed).size();
        const auto t1 = Clock::now();
        found = 0;
        for (const std::string& name : names())
            found += name.find(typed) != std::string::npos;
        benchmark::DoNotOptimize(found);
        suggesting += t1 - t0;
        plain += Clock::now() - t1;
    }
    const double n = double(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(suggesting).count() / n;
    const double limit = std::chrono::duration<double, std::milli>(plain).count() / n;
    state.SetLabel(kTyped[state.range(0)]);
    state.counters["suggest_ms"] = ms;
    state.counters["plain_pass_ms"] = limit;
    state.counters["ratio"] = ms / limit;
    state.counters["offered"] = double(offered);
}
BENCHMARK(BM_SuggestNames)->DenseRange(0, int(std::size(kTyped)) - 1)->Unit(benchmark::kMillisecond);

// Done once after loading, before the first keystroke.
void BM_SuggestNamesIndex(benchmark::State& state)
{
    names();
    for (auto _ : state) {
        NameIndex index;
        index.Assign(names());
        benchmark::DoNotOptimize(index.Size());
    }
}
BENCHMARK(BM_SuggestNamesIndex)->Unit(benchmark::kMillisecond);

} // namespace
