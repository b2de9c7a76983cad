// Importing a town-sized OpenStreetMap extract must take seconds: the import
// beside the time libosmium alone needs to read the same file.
#include "TownImporter.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <osmium/io/any_input.hpp>

#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>

namespace {

// VmHWM, the process's resident peak, in MB.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// A grid town: `buildings` footprints with addresses (some in the long
// Russian forms), levels on a third of them, a street along every row and
// column, organisations in and beside the houses with their opening hours, parks.
std::string syntheticExtract(int buildings)
{
    const int side = int(std::ceil(std::sqrt(double(buildings))));
    constexpr double kCell = 25; // metres
    constexpr double kLat = 55.8, kLon = 37.6;
    const double perDegree = 6371008.8 * std::numbers::pi / 180;
    auto lat = [&](double north) { return kLat + north / perDegree; };
    auto lon = [&](double east) { return kLon + east / (perDegree * std::cos(kLat * std::numbers::pi / 180)); };
    const double half = side * kCell / 2;
    std::string nodes, ways;
    nodes.reserve(std::size_t(buildings) * 600);
    std::int64_t nextNode = 1, nextWay = 1;
    char buf[256];
    auto node = [&](double east, double north, const std::string& tags = {}) {
        std::snprintf(buf, sizeof buf, " <node id=\"%lld\" version=\"1\" lat=\"%.7f\" lon=\"%.7f\"",
                      (long long)nextNode, lat(north - half), lon(east - half));
        nodes += buf;
        nodes += tags.empty() ? "/>\n" : ">\n" + tags + " </node>\n";
        return nextNode++;
    };
    auto tag = [](const char* k, const std::string& v) { return std::string("  <tag k=\"") + k + "\" v=\"" + v + "\"/>\n"; };
    auto way = [&](const std::vector<std::int64_t>& refs, const std::string& tags) {
        ways += " <way id=\"" + std::to_string(nextWay++) + "\" version=\"1\">\n";
        for (std::int64_t r : refs)
            ways += "  <nd ref=\"" + std::to_string(r) + "\"/>\n";
        ways += tags + " </way>\n";
    };
    int made = 0;
    for (int row = 0; row < side && made < buildings; ++row) {
        const std::string street = "улица Строителей " + std::to_string(row + 1);
        for (int col = 0; col < side && made < buildings; ++col, ++made) {
            const double x = col * kCell + 5, y = row * kCell + 5;
            const std::int64_t a = node(x, y), b = node(x + 15, y), c = node(x + 15, y + 10), d = node(x, y + 10);
            std::string tags = tag("building", made % 7 == 0 ? "apartments" : "yes");
            tags += tag("addr:street", street);
            tags += tag("addr:housenumber", col % 9 == 0 ? std::to_string(col + 1) + " к2 с1" : std::to_string(col + 1));
            if (made % 3 == 0)
                tags += tag("building:levels", std::to_string(2 + made % 12));
            way({a, b, c, d, a}, tags);
            if (made % 7 == 3) // an organisation inside the house, without an address of its own
                node(x + 7, y + 5, tag("shop", "convenience") + tag("name", "Магазин №" + std::to_string(made))
                                       + tag("phone", "+7 495 123-45-67; +7 495 765-43-21")
                                       + tag("opening_hours", "Mo-Fr 09:00-21:00; Sa,Su 10:00-20:00"));
            if (made % 7 == 5) // one beside the house, placed in the nearest
                node(x + 19, y + 5, tag("amenity", "pharmacy") + tag("name", "Аптека №" + std::to_string(made))
                                        + tag("opening_hours", "Mo-Fr 08:00-13:00,14:00-20:00; Su off; PH off"));
        }
    }
    for (int i = 0; i <= side; ++i) {
        std::vector<std::int64_t> row, col;
        for (int j = 0; j <= side; ++j) {
            row.push_back(node(j * kCell, i * kCell));
            col.push_back(node(i * kCell, j * kCell));
        }
        way(row, tag("highway", i % 10 == 0 ? "primary" : "residential"));
        way(col, tag("highway", "residential"));
    }
    for (int p = 0; p < 30; ++p) {
        const double x = (p * 7919 % side) * kCell, y = (p * 104729 % side) * kCell;
        const std::int64_t a = node(x, y), b = node(x + 200, y), c = node(x + 200, y + 150), d = node(x, y + 150);
        way({a, b, c, d, a}, tag("leisure", "park"));
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" generator=\"bench\">\n" + nodes + ways
           + "</osm>\n";
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

static void BM_Osm2TownImport(benchmark::State& state)
{
    const std::string xml = syntheticExtract(int(state.range(0)));
    QTemporaryDir dir;
    const std::string file = dir.filePath("extract.osm").toStdString();
    std::ofstream(file, std::ios::binary) << xml;
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts afresh here
    const double before = peakMegabytes();
    double importSeconds = 0, readSeconds = 0;
    std::size_t houses = 0;
    for (auto _ : state) {
        // The machine's limit: libosmium reading the same file, nothing done with it.
        auto start = std::chrono::steady_clock::now();
        {
            osmium::io::Reader reader(file, osmium::io::read_meta::no);
            std::size_t bytes = 0;
            while (osmium::memory::Buffer buffer = reader.read())
                bytes += buffer.committed();
            reader.close();
            benchmark::DoNotOptimize(bytes);
        }
        readSeconds += secondsSince(start);
        // The whole import: read, build, write the folder.
        start = std::chrono::steady_clock::now();
        const ImportedTown town = importTownFile(file);
        writeTownFolder(town, dir.filePath("town").toStdString(), "extract.osm");
        importSeconds += secondsSince(start);
        houses = town.model.houses.size();
    }
    const double n = double(state.iterations());
    state.counters["houses"] = double(houses);
    state.counters["import_s"] = importSeconds / n;
    state.counters["read_only_s"] = readSeconds / n;
    state.counters["import_per_read"] = importSeconds / readSeconds;
    state.counters["file_MB"] = double(xml.size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["peak_rise_MB"] = peakMegabytes() - before;
}
BENCHMARK(BM_Osm2TownImport)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);
