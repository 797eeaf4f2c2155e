// Opening a long pile file in the desktop program: from the call until the window is idle again,
// the reports, the page and the failure list complete. One pile in ten fails its check of frk.
#include "main_window.h"

#include "pile_file.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path PileFileOf(int count)
{
    std::vector<TPileInput> piles(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        piles[i].d = std::to_string(1000 + 10 * (i % 50));
        if (i % 10 == 9)
            piles[i].rockLayers[0].frk = "1.5";
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path()
        / ("pilecalc_open_bench_" + std::to_string(count) + ".json");
    std::ofstream(path, std::ios::binary) << PileFileBytes(piles, TPileFileFormat::Json);
    return path;
}

void BM_OpenPileFile(benchmark::State &state)
{
    const std::filesystem::path path = PileFileOf(static_cast<int>(state.range(0)));
    const QString name = QString::fromStdString(path.string());
    for (auto _ : state) {
        TVXR_FRM_MDLF1 window(1.0);
        window.SetMessageSink([](const QString &) {});
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
        benchmark::DoNotOptimize(window.OpenPileFile(name));
        state.counters["piles"] = window.PileCount();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenPileFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
