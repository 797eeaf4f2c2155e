// The optimization page's costs from the clicks a user makes: the default sweep from "计算" to the
// filled grid, and a sweep of a million or ten million candidates with the window kept painting,
// then a sort by Ra, a filter and a save of the list on show, with the longest pause of the GUI
// thread in each, and the program's peak memory after it.
#include "candidate_grid.h"
#include "candidate_model.h"
#include "main_window.h"
#include "optimization_page.h"
#include "options_table.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

// The program's peak resident memory so far, MiB.
double PeakMemory()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    }
    return 0;
}

class TPage
{
public:
    explicit TPage(const std::filesystem::path &folder)
        : m_folder(folder)
    {
        m_window.SetDocumentsFolder([this] { return m_folder; });
        m_window.SetMessageSink([](const QString &) {});
        m_window.show();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qWarning("the window was not exposed");
        Click("cbt_YouHua");
    }

    template<typename T = QWidget>
    T *Find(const char *name) const
    {
        return m_window.findChild<T *>(name);
    }

    void Click(const char *name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

    void EditOption(int row, int column, const QString &text)
    {
        auto *options = Find<TOptionsGrid>("Grid1_Youhuaxuanxiang");
        const QModelIndex index = options->model()->index(row, column);
        options->setCurrentIndex({});
        options->setCurrentIndex(index);
        auto *editor = qobject_cast<QLineEdit *>(options->indexWidget(index));
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    void ClickHeader(const char *grid, int column)
    {
        QHeaderView *header = Find<TCandidateGrid>(grid)->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // Runs the event loop as the program would until the sweep or save has ended; gives the longest
    // time the GUI thread spent between two turns of its loop, ms.
    double RunUntilDone()
    {
        auto *page = Find<TOptimizationPage>("YouHuaFormLayer");
        QElapsedTimer turn;
        turn.start();
        double longest = 0;
        while (page->Busy()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            longest = std::max(longest, turn.nsecsElapsed() / 1e6);
            turn.restart();
        }
        return longest;
    }

    // Carries out `action` (a click), runs the event loop until the work it started has ended and
    // paints `grid` as the next frame would; gives the longest time the GUI thread was held in one
    // go, the click's own handling and the paint included, ms.
    double LongestPause(const std::function<void()> &action, const char *grid)
    {
        QElapsedTimer turn;
        turn.start();
        action();
        double longest = turn.nsecsElapsed() / 1e6;
        longest = std::max(longest, RunUntilDone());
        turn.restart();
        Repaint(grid);
        QApplication::processEvents();
        return std::max(longest, turn.nsecsElapsed() / 1e6);
    }

    // Paints the grid on show now, as the next frame would.
    void Repaint(const char *grid) { Find<QWidget>(grid)->repaint(); }

    TVXR_FRM_MDLF1 m_window {1.0};
    std::filesystem::path m_folder;
};

std::filesystem::path BenchFolder()
{
    const auto folder = std::filesystem::temp_directory_path() / "pilecalc_optimization_bench";
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_DefaultSweepFromClick(benchmark::State &state)
{
    TPage page(BenchFolder());
    auto *compute = page.Find<QPushButton>("cbt_YHcompute");
    for (auto _ : state) {
        compute->setEnabled(true); // a finished sweep waits for an edited option
        page.Click("cbt_YHcompute");
        page.RunUntilDone();
        page.Repaint("Grid2_Youhuajieguo");
    }
    state.counters["rows"] = page.Find<TCandidateGrid>("Grid2_Youhuajieguo")->Model()->Rows();
}
BENCHMARK(BM_DefaultSweepFromClick)->Unit(benchmark::kMillisecond);

// One run of each step on a million candidates (argument 1000) or ten million (10000): the sweep
// from click to filled grid with the loop turning, a sort by Ra, a save of the raw list, a filter
// and a save of the filtered list, each from click to updated grid (or file), and for each the
// longest time the GUI thread was held in one go.
void BM_Candidates(benchmark::State &state)
{
    const double memoryBefore = PeakMemory();
    TPage page(BenchFolder());
    page.EditOption(0, 1, "1");
    page.EditOption(0, 2, "1");
    page.EditOption(1, 1, "1000");
    page.EditOption(1, 2, QString::number(999 + state.range(0)));
    page.EditOption(1, 3, "1");
    page.EditOption(6, 1, "1.0d");
    page.EditOption(6, 2, "5.5d");
    page.EditOption(6, 3, "0.5d");
    page.EditOption(7, 1, "20");
    page.EditOption(7, 2, "40");
    page.EditOption(7, 3, "5");
    page.EditOption(10, 1, "1");
    page.EditOption(10, 2, "5");
    page.EditOption(11, 1, "0.2");
    page.EditOption(11, 2, "1.0");
    page.EditOption(11, 3, "0.2");
    page.EditOption(14, 1, "20000");
    page.EditOption(14, 2, "30000");
    auto *progress = page.Find<QProgressBar>("pb_YH_jingdu");
    int progressSeen = 0;
    QObject::connect(progress, &QProgressBar::valueChanged, [&progressSeen] { ++progressSeen; });
    const char *raw = "Grid2_Youhuajieguo";
    const char *filtered = "Grid3_Youhuasaixuan";

    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        state.counters["sweep_pause_ms"] =
            page.LongestPause([&page] { page.Click("cbt_YHcompute"); }, raw);
        state.counters["sweep_ms"] = clock.nsecsElapsed() / 1e6;
        state.counters["progress_updates"] = progressSeen;
        state.counters["peak_after_sweep_MiB"] = PeakMemory();

        clock.restart();
        state.counters["sort_ra_pause_ms"] =
            page.LongestPause([&page, raw] { page.ClickHeader(raw, 4); }, raw);
        state.counters["sort_ra_ms"] = clock.nsecsElapsed() / 1e6;

        clock.restart();
        state.counters["save_raw_pause_ms"] =
            page.LongestPause([&page] { page.Click("cbt_YHsave"); }, raw);
        state.counters["save_raw_ms"] = clock.nsecsElapsed() / 1e6;
        std::filesystem::remove_all(BenchFolder()); // the raw list runs to gigabytes
        std::filesystem::create_directories(BenchFolder());

        clock.restart();
        state.counters["filter_pause_ms"] =
            page.LongestPause([&page] { page.Click("cbt_YHsaixuan"); }, filtered);
        state.counters["filter_ms"] = clock.nsecsElapsed() / 1e6;

        clock.restart();
        state.counters["save_filtered_pause_ms"] =
            page.LongestPause([&page] { page.Click("cbt_YHsave"); }, filtered);
        state.counters["save_filtered_ms"] = clock.nsecsElapsed() / 1e6;
    }
    state.counters["rows"] = page.Find<TCandidateGrid>(raw)->Model()->Rows();
    state.counters["kept"] = page.Find<TCandidateGrid>(filtered)->Model()->Rows();
    state.counters["peak_MiB"] = PeakMemory();
    state.counters["peak_before_MiB"] = memoryBefore;
    std::filesystem::remove_all(BenchFolder());
}
BENCHMARK(BM_Candidates)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
