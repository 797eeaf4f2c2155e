// A book of 100 piles to PDF, profiles included, must take well under 3 s; the summary table of
// the same piles for comparison.

#include "report_pages.h"
#include "sample_piles.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

TPileReports HundredPiles()
{
    TPileReports reports;
    const TPileInput kinds[] = {SamplePiles::Circle(), SamplePiles::Ellipse(),
                                SamplePiles::ThinSocketSquare(), SamplePiles::OtherSections()[2]};
    for (int k = 0; k < 100; ++k)
        SamplePiles::Add(reports, kinds[k % 4]);
    return reports;
}

void BM_BookPdfOfHundredPiles(benchmark::State &state)
{
    const TPileReports reports = HundredPiles();
    for (auto _ : state) {
        const QByteArray pdf = BookPdf(reports);
        benchmark::DoNotOptimize(pdf.data());
        state.counters["bytes"] = double(pdf.size());
    }
}
BENCHMARK(BM_BookPdfOfHundredPiles)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TablePdfOfHundredPiles(benchmark::State &state)
{
    const TPileReports reports = HundredPiles();
    for (auto _ : state) {
        const QByteArray pdf = TablePdf(reports);
        benchmark::DoNotOptimize(pdf.data());
    }
}
BENCHMARK(BM_TablePdfOfHundredPiles)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
