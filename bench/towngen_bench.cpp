// Generating large towns for tests and benchmarks must take seconds, not minutes.
#include "TownGenerator.h"

#include <benchmark/benchmark.h>

static void BM_GenerateTown(benchmark::State& state)
{
    TownOptions options;
    options.houses = std::size_t(state.range(0));
    options.organisations = 100000;
    for (auto _ : state) {
        GeneratedTown town = generateTown(options);
        benchmark::DoNotOptimize(town.model.houses.data());
    }
}
BENCHMARK(BM_GenerateTown)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
