// The window's costs: making and showing it, and one calculation from "计算" while the reports
// already hold many piles (the memos must not grow slower with the reports).
#include "main_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

namespace {

void BM_MakeAndShowWindow(benchmark::State &state)
{
    for (auto _ : state) {
        TVXR_FRM_MDLF1 window(1.0);
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
    }
}
BENCHMARK(BM_MakeAndShowWindow)->Unit(benchmark::kMillisecond);

void BM_CalculationWithPilesInTheReports(benchmark::State &state)
{
    TVXR_FRM_MDLF1 window(1.0);
    window.show();
    for (int pile = 0; pile < state.range(0); ++pile)
        window.cbt_computeClick();
    for (auto _ : state)
        benchmark::DoNotOptimize(window.cbt_computeClick());
    state.counters["piles"] = window.PileCount();
}
BENCHMARK(BM_CalculationWithPilesInTheReports)->Arg(0)->Arg(2000)->Unit(benchmark::kMicrosecond);

} // namespace
