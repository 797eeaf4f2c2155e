#include "calculation.h"

#include <benchmark/benchmark.h>

namespace {

void DefaultPile(benchmark::State &state)
{
    const TPileInput input;
    for (auto _ : state)
        benchmark::DoNotOptimize(Calculate(input));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DefaultPile);

void NineRockAndNineSoilLayers(benchmark::State &state)
{
    TPileInput input;
    input.rockLayers.assign(9, input.rockLayers[0]);
    input.soilLayers.assign(9, input.soilLayers[0]);
    for (auto _ : state)
        benchmark::DoNotOptimize(Calculate(input));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NineRockAndNineSoilLayers);

} // namespace
