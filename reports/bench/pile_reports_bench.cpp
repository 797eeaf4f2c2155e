// Appending a pile to the reports must cost the same however many piles they already hold:
// compare the 1st pile with the 1000th.

#include "calculation.h"
#include "page_texts.h"
#include "pile_reports.h"

#include <benchmark/benchmark.h>

namespace {

void AppendPile(benchmark::State &state)
{
    const int before = static_cast<int>(state.range(0));
    const TPileInput input;
    const TCalcOutcome outcome = Calculate(input);
    const TPageTexts texts = PageTextsOf(input, outcome.result);
    TPileReports reports;
    for (int i = 0; i < before; ++i)
        reports.WriteReports(input, outcome.result, texts, "2024/3/5 14:07:09");

    state.counters["bookLinesBefore"] = static_cast<double>(reports.BookLines().size());
    for (auto _ : state) {
        reports.WriteReports(input, outcome.result, texts, "2024/3/5 14:07:09");
        state.PauseTiming();
        reports.DeleteLastPile();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(AppendPile)->ArgName("pilesBefore")->Arg(0)->Arg(999)->Unit(benchmark::kMicrosecond);
