// The optimization on 1,000,000 candidates (a quarter, a half and all of them for the sweep, to
// show that its cost grows linearly; one thread and every thread): sweep, candidate file, sorts
// and filter, the sorts also on 10,000,000 candidates.

#include "candidate_file.h"
#include "candidate_filter.h"
#include "candidate_sort.h"
#include "million_options.h"
#include "sweep.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const TSweepResult &MillionSweep()
{
    static const TSweepResult sweep = RunSweep(MillionOptions(), TPileInput {});
    return sweep;
}

const TSweepResult &TenMillionSweep()
{
    static const TSweepResult sweep = RunSweep(MillionOptions(10000), TPileInput {});
    return sweep;
}

// Arguments: diameters (1000 for a million candidates), threads (0: every hardware thread).
void Sweep(benchmark::State &state)
{
    const TOptionTable options = MillionOptions(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TSweepResult sweep = RunSweep(options, TPileInput {}, {}, static_cast<int>(state.range(1)));
        if (sweep.end != TSweepEnd::Complete)
            state.SkipWithError("the sweep did not complete");
        benchmark::DoNotOptimize(sweep.table.order.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 1000);
}
BENCHMARK(Sweep)
    ->Args({250, 0})
    ->Args({500, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void WriteRawFile(benchmark::State &state)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "pilecalc_optimize_bench";
    std::filesystem::create_directories(folder);
    TCandidateFile file;
    file.table = &MillionSweep().table;
    file.timeStamp = "2024/3/5 14:07:09";
    for (auto _ : state) {
        if (SaveCandidateFile(folder, file))
            state.SkipWithError("the file could not be written");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(WriteRawFile)->Unit(benchmark::kMillisecond);

// Argument: millions of candidates, 1 or 10.
void SortBy(benchmark::State &state, int column)
{
    const TSweepResult &sweep = state.range(0) == 10 ? TenMillionSweep() : MillionSweep();
    for (auto _ : state) {
        state.PauseTiming();
        TCandidateTable table = sweep.table;
        TSortState sort;
        state.ResumeTiming();
        ClickHeader(table, sort, column);
        benchmark::DoNotOptimize(table.order.data());
    }
}
void SortByRa(benchmark::State &state)
{
    SortBy(state, CandidateColumn::Ra);
}
void SortByD(benchmark::State &state)
{
    SortBy(state, CandidateColumn::SizeD);
}
BENCHMARK(SortByRa)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(SortByD)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void Filter(benchmark::State &state)
{
    TOptionTable options = MillionOptions();
    options[OptionRow::RaWindow].minimum = "20000";
    options[OptionRow::RaWindow].maximum = "60000";
    const TCandidateTable &raw = MillionSweep().table;
    for (auto _ : state) {
        TFilterResult filter = FilterCandidates(raw, options);
        benchmark::DoNotOptimize(filter.filtered.order.data());
        state.counters["kept"] = static_cast<double>(filter.filtered.Size());
    }
}
BENCHMARK(Filter)->Unit(benchmark::kMillisecond);

} // namespace
