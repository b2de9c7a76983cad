// Routes across generated towns' road networks and loading the network file.
//
// RouteAcrossTown/<houses>/<mode>: a route between the town's two houses
// farthest apart (south-west and north-east corners), 0 on foot, 1 by car.
// Beside it, in the same run, a plain breadth-first search over the same
// network from the same start to every node it reaches (no costs, no
// heap): `ratio` is the route's time over that search's. 14,000 houses make
// a network about the size of a small real town's (~7,000 pieces).
//
// RoadNetworkFile: loading the roads.dat of a 100,000-house town beside
// reading the same file into memory and summing its bytes; `build_ms` is
// the router's set-up (graphs and grid) after the load.
#include "TownGenerator.h"

#include "PlainPass.h"
#include "data/RoadNetworkReader.h"
#include "routing/Router.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

namespace {
using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

const RoadNetwork& townNetwork(int houses)
{
    static std::map<int, RoadNetwork> networks;
    auto it = networks.find(houses);
    if (it == networks.end()) {
        TownOptions options;
        options.houses = std::size_t(houses);
        options.organisations = 10;
        it = networks.emplace(houses, generateTown(options).network).first;
    }
    return it->second;
}

// The nodes nearest the south-west and the north-east corner of the network.
std::pair<RoutePoint, RoutePoint> farEnds(const RoadNetwork& network)
{
    RoutePoint low = {1e30f, 1e30f}, high = {-1e30f, -1e30f};
    for (const RoadNode& n : network.nodes) {
        if (n.x + n.y < low.x + low.y)
            low = {n.x, n.y};
        if (n.x + n.y > high.x + high.y)
            high = {n.x, n.y};
    }
    return {low, high};
}

// Nodes reached from `start` along pieces either way, every piece looked at once per end.
std::size_t breadthFirst(const RoadNetwork& network, std::uint32_t start)
{
    std::vector<std::uint32_t> first(network.nodes.size() + 1, 0), next;
    for (const RoadPiece& p : network.pieces)
        ++first[p.from + 1], ++first[p.to + 1];
    for (std::size_t i = 1; i < first.size(); ++i)
        first[i] += first[i - 1];
    next.resize(first.back());
    std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
    for (const RoadPiece& p : network.pieces)
        next[fill[p.from]++] = p.to, next[fill[p.to]++] = p.from;
    std::vector<char> seen(network.nodes.size(), 0);
    std::vector<std::uint32_t> queue{start};
    seen[start] = 1;
    for (std::size_t k = 0; k < queue.size(); ++k)
        for (std::uint32_t e = first[queue[k]]; e < first[queue[k] + 1]; ++e)
            if (!seen[next[e]]) {
                seen[next[e]] = 1;
                queue.push_back(next[e]);
            }
    return queue.size();
}

void BM_RouteAcrossTown(benchmark::State& state)
{
    const RoadNetwork& network = townNetwork(int(state.range(0)));
    const TravelMode mode = state.range(1) == 0 ? TravelMode::Foot : TravelMode::Car;
    const Router router(network);
    const auto [from, to] = farEnds(network);
    const std::uint32_t startNode = router.network().pieces[router.snap(from, mode)->piece].from;
    Clock::duration routing{}, plain{};
    double metres = 0;
    std::size_t reached = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const std::optional<Route> route = router.route(from, to, mode);
        const auto t1 = Clock::now();
        reached = breadthFirst(network, startNode);
        benchmark::DoNotOptimize(reached);
        plain += Clock::now() - t1;
        routing += t1 - t0;
        if (!route) {
            state.SkipWithError("no route across the town");
            return;
        }
        metres = route->metres;
    }
    const double n = double(state.iterations());
    state.counters["route_ms"] = ms(routing) / n;
    state.counters["bfs_ms"] = ms(plain) / n;
    state.counters["ratio"] = ms(routing) / ms(plain);
    state.counters["pieces"] = double(network.pieces.size());
    state.counters["route_km"] = metres / 1000;
}
BENCHMARK(BM_RouteAcrossTown)
    ->ArgsProduct({{14000, 100000}, {0, 1}})
    ->ArgNames({"houses", "car"})
    ->Unit(benchmark::kMillisecond);

void BM_RoadNetworkFile(benchmark::State& state)
{
    static QTemporaryDir dir;
    const std::string path = dir.filePath("roads.dat").toStdString();
    writeRoadNetwork(townNetwork(100000)).saveTo(path);
    Clock::duration loading{}, building{}, plain{};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::optional<RoadNetwork> network = readRoadNetworkFile(path);
        const auto t1 = Clock::now();
        const Router router(std::move(*network));
        benchmark::DoNotOptimize(router.pieceMetres(0));
        const auto t2 = Clock::now();
        bytes = plainPassOverFile(path);
        plain += Clock::now() - t2;
        loading += t1 - t0;
        building += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["load_ms"] = ms(loading) / n;
    state.counters["build_ms"] = ms(building) / n;
    state.counters["plain_pass_ms"] = ms(plain) / n;
    state.counters["ratio"] = ms(loading) / ms(plain);
    state.counters["file_mb"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_RoadNetworkFile)->Unit(benchmark::kMillisecond);

} // namespace
