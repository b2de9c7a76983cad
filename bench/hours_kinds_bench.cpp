// Opening hours and kinds over 100,000 organisations: reading their values
// once, keeping those open at a moment ("Открыто сейчас"), their state texts,
// and their kinds from tags. Beside each figure, the machine's own limit
// measured in the same run: one plain pass over the same values' bytes;
// `ratio` is the work's time over that pass.
#include "data/OpeningHours.h"
#include "data/OrgKinds.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kOrgs = 100000;

const std::vector<std::string>& values()
{
    static const std::vector<std::string> list = [] {
        static const char* const forms[] = {
            "Mo-Fr %-%; Sa %-%", "Mo-Su %-%", "24/7", "Mo-Fr %-%,%-%; Sa,Su off", "Mo-Fr %-%; Sa %-%; Su %-%",
            "Mo,Th-Fr %-%; Sa-Su %-%", "%-%", "Mo-Su %-%; PH off", "Apr-Oct Mo-Su %-%; Nov-Mar Mo-Fr %-%",
            "Mo-Fr %-% \"по записи\"", "Fr-Sa %-%", "Mo-Fr 9-18", "sunrise-sunset", "",
        };
        std::mt19937 rng(5);
        std::vector<std::string> out;
        for (int i = 0; i < kOrgs; ++i) {
            std::string v = forms[rng() % std::size(forms)];
            for (std::size_t at; (at = v.find('%')) != std::string::npos;) {
                char clock[8];
                std::snprintf(clock, sizeof clock, "%02d:%02d", int(rng() % 24), int(rng() % 4) * 15);
                v.replace(at, 1, clock);
            }
            out.push_back(v);
        }
        return out;
    }();
    return list;
}

const std::vector<OpeningHours>& parsed()
{
    static const std::vector<OpeningHours> list = [] {
        std::vector<OpeningHours> out;
        for (const std::string& v : values())
            out.push_back(OpeningHours::parse(v));
        return out;
    }();
    return list;
}

std::size_t plainPass()
{
    std::size_t n = 0;
    for (const std::string& v : values())
        for (char c : v)
            n += c == ';';
    return n;
}

using Clock = std::chrono::steady_clock;

template <class Work>
void measure(benchmark::State& state, const char* counter, Work work)
{
    Clock::duration working{}, plain{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(work());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(plainPass());
        working += t1 - t0;
        plain += Clock::now() - t1;
    }
    const double n = double(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(working).count() / n;
    const double limit = std::chrono::duration<double, std::milli>(plain).count() / n;
    state.counters[counter] = ms;
    state.counters["plain_pass_ms"] = limit;
    state.counters["ratio"] = ms / limit;
}

const QDateTime kMoment(QDate(2026, 12, 11), QTime(10, 30));
const QDate kDate = kMoment.date();
const QTime kTime = kMoment.time();

void BM_OpeningHoursParse(benchmark::State& state)
{
    measure(state, "parse_ms", [] {
        std::size_t readable = 0;
        for (const std::string& v : values())
            readable += OpeningHours::parse(v).readable;
        return readable;
    });
}
BENCHMARK(BM_OpeningHoursParse)->Unit(benchmark::kMillisecond);

void BM_OpenNow(benchmark::State& state)
{
    parsed();
    measure(state, "open_now_ms", [] {
        std::size_t open = 0;
        for (const OpeningHours& h : parsed())
            open += h.stateOnlyAt(kDate, kTime) == HoursState::Open;
        return open;
    });
}
BENCHMARK(BM_OpenNow)->Unit(benchmark::kMillisecond);

void BM_HoursStateTexts(benchmark::State& state)
{
    parsed();
    measure(state, "state_texts_ms", [] {
        std::size_t length = 0;
        for (const OpeningHours& h : parsed())
            length += std::size_t(h.stateAt(kMoment).text.size());
        return length;
    });
}
BENCHMARK(BM_HoursStateTexts)->Unit(benchmark::kMillisecond);

void BM_KindOf(benchmark::State& state)
{
    static const std::vector<std::vector<OrgTag>> tags = [] {
        static const OrgTag kinds[] = {{"amenity", "pharmacy"}, {"shop", "convenience"}, {"amenity", "cafe"},
                                       {"office", "company"},   {"shop", "yes"},         {"amenity", "bench"},
                                       {"amenity", "fuel"},     {"tourism", "hotel"},    {"craft", "plumber"}};
        std::mt19937 rng(7);
        std::vector<std::vector<OrgTag>> out;
        for (int i = 0; i < kOrgs; ++i) {
            std::vector<OrgTag> t = {{"name", "x"}, kinds[rng() % std::size(kinds)], {"opening_hours", "24/7"}};
            if (rng() % 4 == 0)
                t.push_back(kinds[rng() % std::size(kinds)]);
            out.push_back(t);
        }
        return out;
    }();
    measure(state, "kinds_ms", [] {
        std::size_t sum = 0;
        for (const auto& t : tags)
            sum += std::size_t(kindOf(t));
        return sum;
    });
}
BENCHMARK(BM_KindOf)->Unit(benchmark::kMillisecond);

} // namespace
