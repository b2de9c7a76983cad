// Loading the organisations' places file of 100,000 entries (houses, points
// and a few without a place; hours as towns write them, some in Cyrillic).
// Target: under 50 ms. Beside it, the machine's own limit measured in the
// same run: the same file read into memory and every byte of it summed
// once; `ratio` is the load's time over that pass.
#include "PlainPass.h"
#include "data/OrgPlacesReader.h"
#include "data/OrgPlacesWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {

constexpr int kEntries = 100000;

const std::string& placesFile()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        static const char* const hours[] = {"",
                                            "24/7",
                                            "Mo-Fr 09:00-18:00",
                                            "Mo-Fr 09:00-18:00; Sa 10:00-16:00; Su off",
                                            "Mo-Fr 08:00-20:00; Sa,Su 10:00-18:00; PH off",
                                            "Mo-Th 10:00-22:00; Fr,Sa 10:00-02:00; Su 12:00-22:00",
                                            "пн-пт 9:00-18:00, обед 13:00-14:00",
                                            "Mo-Sa 09:00-13:00,14:00-19:00; Jan 01 off; \"по записи\""};
        std::mt19937 rng(5);
        OrgPlaces places;
        places.entries.resize(kEntries);
        for (OrgPlace& p : places.entries) {
            const unsigned roll = rng() % 10;
            if (roll < 6) {
                p.place = OrgPlace::Place::House;
                p.house = rng() % 20000;
            } else if (roll < 9) {
                p.place = OrgPlace::Place::Point;
                p.x = float(int(rng() % 94000) - 47000) / 100.0f;
                p.y = float(int(rng() % 94000) - 47000) / 100.0f;
            }
            p.kind = static_cast<std::uint16_t>(rng() % 90);
            p.hours = hours[rng() % std::size(hours)];
        }
        const std::string file = dir.filePath("orgplaces.dat").toStdString();
        writeOrgPlaces(places).saveTo(file);
        return file;
    }();
    return path;
}

void BM_ReadOrgPlacesFile(benchmark::State& state)
{
    const std::string& path = placesFile();
    using Clock = std::chrono::steady_clock;
    Clock::duration loading{}, plain{};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const std::optional<OrgPlaces> places = readOrgPlacesFile(path);
        benchmark::DoNotOptimize(places->entries.size());
        const auto t1 = Clock::now();
        bytes = plainPassOverFile(path);
        loading += t1 - t0;
        plain += Clock::now() - t1;
    }
    const double n = double(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(loading).count() / n;
    const double limit = std::chrono::duration<double, std::milli>(plain).count() / n;
    state.counters["load_ms"] = ms;
    state.counters["plain_pass_ms"] = limit;
    state.counters["ratio"] = ms / limit;
    state.counters["entries"] = kEntries;
    state.counters["file_mb"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ReadOrgPlacesFile)->Unit(benchmark::kMillisecond);

} // namespace
