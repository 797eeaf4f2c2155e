#include "sweep.h"

#include "messages.h"
#include "number_format.h"
#include "pile_items.h"
#include "result_texts.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <limits>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

std::int64_t SaturatingProduct(std::int64_t a, std::int64_t b)
{
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    if (a != 0 && b > most / a)
        return most;
    return a * b;
}

std::int64_t SaturatingSum(std::int64_t a, std::int64_t b)
{
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    return a > most - b ? most : a + b;
}

std::string Fixed2(double value)
{
    return CandidateFixed(value, 2);
}

// Levels of the enumeration, outermost first: a value written at one level stands until that level
// moves on.
enum TLevel {
    SectionLevel,
    SizeLevel,
    DepthLevel,
    FrkLevel,
    WeatheringLevel,
    BasisLevel,
    InnerLevel
};

TLevel FirstChange(const TSweepPosition &a, const TSweepPosition &b)
{
    if (a.section != b.section)
        return SectionLevel;
    if (a.size != b.size || a.size2 != b.size2)
        return SizeLevel;
    if (a.depth != b.depth)
        return DepthLevel;
    if (a.frk != b.frk)
        return FrkLevel;
    if (a.weathering != b.weathering)
        return WeatheringLevel;
    if (a.basis != b.basis)
        return BasisLevel;
    return InnerLevel;
}

// How a worker's run through its block ended.
enum class TBlockEnd { Complete, Failed, Stopped };

// The state shared by the workers of one sweep.
struct TShared
{
    TShared(const TSweepAxes &axes, TCandidateStore &store, TRowOrder &order, std::int64_t total,
            const TSweepProgress &progress)
        : axes(axes)
        , store(store)
        , order(order)
        , total(total)
        , progress(progress)
    { }

    const TSweepAxes &axes;
    TCandidateStore &store;
    TRowOrder &order; // the raw grid's rows: the candidates in sweep order
    const std::int64_t total;
    const TSweepProgress &progress;
    std::atomic<bool> stop = false; // cancelled
    std::atomic<std::int64_t> firstFailure = std::numeric_limits<std::int64_t>::max();
    std::atomic<std::int64_t> done = 0;
    std::mutex progressMutex; // the callback is called by one worker at a time
};

// One contiguous block of the candidates, calculated in order on one thread. The worker writes
// each value into its own candidate input at the level where it changes, as the input page's
// controls would hold it, and starts from the input as the candidates before its block left it,
// so that a cell the present basis does not read keeps what an earlier candidate left there.
class TBlockWorker
{
public:
    TBlockWorker(TShared &shared, const TPileInput &page, std::int64_t begin, std::int64_t end)
        : m_shared(shared)
        , m_page(page)
        , m_begin(begin)
        , m_end(end)
        , m_reached(begin)
    { }

    void Run()
    {
        const TSweepAxes &axes = m_shared.axes;
        TSweepPosition previous;
        for (std::int64_t i = m_begin; i < m_end; ++i) {
            // The first block heeds a cancel only at its own reports (below), so that a cancel
            // keeps at least the rows up to one of them.
            if ((m_begin > 0 && m_shared.stop.load(std::memory_order_relaxed))
                || i > m_shared.firstFailure.load(std::memory_order_relaxed)) {
                m_blockEnd = TBlockEnd::Stopped;
                return;
            }
            const TSweepPosition p = axes.Position(i);
            if (i == m_begin)
                WriteFrom(SectionLevel, p, i);
            else
                WriteFrom(FirstChange(previous, p), p, i);
            previous = p;
            m_outcome = Calculate(m_page);
            m_calculated = true;
            if (!m_outcome.ok()) {
                std::int64_t first = m_shared.firstFailure.load();
                while (i < first && !m_shared.firstFailure.compare_exchange_weak(first, i)) { }
                m_blockEnd = TBlockEnd::Failed;
                return;
            }
            const TPileResult &r = m_outcome.result;
            const TRockLayerResult &rock = r.rockResults.front();
            m_shared.store.Put(static_cast<std::size_t>(i), r.socketSide, r.socketTip, r.soilSide,
                               Coefficients(rock.c1, rock.c2));
            m_shared.order[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i);
            m_reached = i + 1;
            if (!Report()) {
                m_shared.stop = true;
                if (i + 1 < m_end) {
                    m_blockEnd = TBlockEnd::Stopped;
                    return;
                }
            }
        }
        m_blockEnd = TBlockEnd::Complete;
    }

    std::int64_t Begin() const { return m_begin; }
    std::int64_t End() const { return m_end; }
    std::int64_t Reached() const { return m_reached; } // candidates before it were kept
    TBlockEnd BlockEnd() const { return m_blockEnd; }
    bool Calculated() const { return m_calculated; }
    TPileInput &Page() { return m_page; }
    TCalcOutcome &Outcome() { return m_outcome; }
    const std::vector<std::array<double, 2>> &CoefficientList() const { return m_list; }

private:
    TRockLayer &Rock() { return m_page.rockLayers.front(); }

    void WriteFrom(TLevel level, const TSweepPosition &p, std::int64_t index)
    {
        const TSweepAxes &axes = m_shared.axes;
        if (level <= SectionLevel)
            m_page.sectionType = axes.SectionType(p);
        if (level <= SizeLevel) {
            const auto [first, second] = axes.Sizes(p);
            m_page.d = GeneralText(first);
            switch (p.code) {
            case TOptSection::Circle:
                m_page.c = "0";
                break;
            case TOptSection::Square:
                m_page.c = m_page.d;
                break;
            default:
                m_page.c = GeneralText(second);
                break;
            }
        }
        if (level <= DepthLevel)
            Rock().hi = m_hiTexts.Text(axes.Thickness(p), Fixed2);
        if (level <= FrkLevel)
            Rock().frk = m_frkTexts.Text(axes.Frk(p), Fixed2);
        if (level <= WeatheringLevel)
            Rock().weathering = PileItems::Weatherings.at(axes.Weathering(p) - 1);
        const int basis = axes.Basis(p);
        if (level <= BasisLevel)
            m_page.interpBasis = static_cast<TInterpBasis>(basis - 1);
        if (level == SectionLevel) {
            // The first candidate of the block: the other basis's cell as it was left before it.
            int grade = 0;
            double kv = 0;
            if (basis == 2 && axes.LeftGrade(index, p, grade))
                Rock().integrityGrade = PileItems::Grades.at(grade - 1);
            if (basis == 1 && axes.LeftIndex(index, p, kv))
                Rock().integrityIndex = m_kvTexts.Text(kv, Fixed2);
        }
        if (basis == 1)
            Rock().integrityGrade = PileItems::Grades.at(axes.Grade(p) - 1);
        else
            Rock().integrityIndex = m_kvTexts.Text(axes.Index(p), Fixed2);
    }

    // The worker's own list of coefficient pairs; the store's indexes are shifted when the blocks
    // are joined.
    std::uint32_t Coefficients(double c1, double c2)
    {
        const std::array<std::uint64_t, 2> key {std::bit_cast<std::uint64_t>(c1),
                                                std::bit_cast<std::uint64_t>(c2)};
        if (m_lastFilled && key == m_lastKey)
            return m_lastIndex;
        const auto [it, added] =
            m_known.try_emplace(key, static_cast<std::uint32_t>(m_list.size()));
        if (added)
            m_list.push_back({c1, c2});
        m_lastFilled = true;
        m_lastKey = key;
        m_lastIndex = it->second;
        return it->second;
    }

    // Tells the progress every ProgressInterval candidates of this block, all blocks' count given;
    // the report after the last candidate of all is left to the sweep. False: cancelled.
    bool Report()
    {
        if (++m_count % ProgressInterval != 0)
            return true;
        const std::int64_t done =
            m_shared.done.fetch_add(ProgressInterval, std::memory_order_relaxed) + ProgressInterval;
        if (m_begin == 0 && m_shared.stop.load(std::memory_order_relaxed))
            return false; // cancelled at another block's report
        if (!m_shared.progress || done == m_shared.total)
            return true;
        const std::lock_guard lock(m_shared.progressMutex);
        return m_shared.progress(m_shared.done.load(std::memory_order_relaxed), m_shared.total);
    }

    struct TPairHash
    {
        std::size_t operator()(const std::array<std::uint64_t, 2> &key) const
        {
            return std::hash<std::uint64_t> {}(key[0] * 0x9E3779B97F4A7C15ull ^ key[1]);
        }
    };

    TShared &m_shared;
    TPileInput m_page;
    const std::int64_t m_begin;
    const std::int64_t m_end;
    std::int64_t m_reached;
    std::int64_t m_count = 0;
    TBlockEnd m_blockEnd = TBlockEnd::Complete;
    TCalcOutcome m_outcome;
    bool m_calculated = false;
    TValueTexts m_hiTexts, m_frkTexts, m_kvTexts;
    std::unordered_map<std::array<std::uint64_t, 2>, std::uint32_t, TPairHash> m_known;
    std::vector<std::array<double, 2>> m_list;
    bool m_lastFilled = false;
    std::array<std::uint64_t, 2> m_lastKey {};
    std::uint32_t m_lastIndex = 0;
};

// Splits the candidates into one contiguous block per thread and joins the blocks in order: the
// rows kept are those before the first candidate, in sweep order, that failed or was not reached.
class TSweep
{
public:
    TSweep(const TOptSettings &settings, const TPileInput &base, std::int64_t total,
           const TSweepProgress &progress, int threads)
        : m_store(
            std::make_shared<TCandidateStore>(TSweepAxes(settings), settings.includeOverburden))
        , m_shared(m_store->Axes(), *m_store, m_result.table.order, total, progress)
        , m_threads(threads)
    {
        m_page = base;
        if (!settings.includeOverburden)
            m_page.soilLayers.clear();
        m_page.rockLayers.resize(1);
        m_page.coefMode = TCoefMode::Interpolated;
        m_result.table.context.rounding = base.rounding;
        m_result.table.context.withOverburden = settings.includeOverburden;
        // Neither is written here: each worker first touches the memory of its own block.
        m_store->Reserve(static_cast<std::size_t>(total));
        m_result.table.order.resize(static_cast<std::size_t>(total));
    }

    TSweepResult Run()
    {
        const std::int64_t total = m_shared.total;
        const std::int64_t blocks =
            std::clamp<std::int64_t>(m_threads, 1, std::max<std::int64_t>(total, 1));
        std::vector<std::unique_ptr<TBlockWorker>> workers;
        for (std::int64_t b = 0; b < blocks; ++b) {
            workers.push_back(std::make_unique<TBlockWorker>(m_shared, m_page, total * b / blocks,
                                                             total * (b + 1) / blocks));
        }
        {
            std::vector<std::jthread> threads;
            for (std::size_t b = 1; b < workers.size(); ++b)
                threads.emplace_back([&worker = *workers[b]] { worker.Run(); });
            workers.front()->Run();
        }

        // The gap-free prefix in sweep order, and the worker whose input page ends it.
        TBlockWorker *last = nullptr;
        bool complete = true;
        for (const auto &worker : workers) {
            if (worker->Reached() > worker->Begin() || worker->BlockEnd() == TBlockEnd::Failed)
                last = worker.get();
            if (worker->BlockEnd() == TBlockEnd::Complete && worker->Reached() == worker->End())
                continue;
            complete = false;
            if (worker->BlockEnd() == TBlockEnd::Failed) {
                m_result.end = TSweepEnd::CandidateFailure;
                m_result.status = Messages::AbortNotice;
                m_result.statusRed = true;
            } else {
                m_result.end = TSweepEnd::Cancelled;
            }
            break;
        }
        const auto kept = static_cast<std::size_t>(last ? last->Reached() : 0);
        for (const auto &worker : workers) {
            if (static_cast<std::size_t>(worker->Begin()) >= kept)
                break;
            const std::uint32_t offset = static_cast<std::uint32_t>(m_store->CoefficientCount());
            for (const auto &[c1, c2] : worker->CoefficientList())
                m_store->AddCoefficients(c1, c2);
            m_store->ShiftCoefficients(static_cast<std::size_t>(worker->Begin()),
                                       static_cast<std::size_t>(worker->Reached()), offset);
        }
        m_store->Finish(kept);
        if (complete && m_shared.progress && total > 0 && !m_shared.progress(total, total)) {
            complete = false;
            m_result.end = TSweepEnd::Cancelled;
        }

        TCandidateTable &table = m_result.table;
        table.order.resize(kept);
        table.order.shrink_to_fit();
        table.store = std::move(m_store);
        if (m_result.end == TSweepEnd::Cancelled) {
            // The rows kept are the first of the whole enumeration: they carry the labels a
            // complete run gives them.
            table.context.labelDigits = DecimalDigits(total);
        }
        if (complete) {
            m_result.end = TSweepEnd::Complete;
            if (table.Empty()) {
                m_result.status = "调整优化项重新计算";
            } else {
                table.context.labelDigits = DecimalDigits(static_cast<std::int64_t>(table.Size()));
                m_result.status = "计算完成，桩数：" + std::to_string(table.Size()) + " 根";
            }
        }
        if (last && last->Calculated()) {
            TPileInput &page = last->Page();
            TCalcOutcome &outcome = last->Outcome();
            const auto [d, c] = ShownSizeTexts(page, outcome.result);
            page.d = d;
            page.c = c;
            m_result.pageInput = std::move(page);
            m_result.pageOutcome = std::move(outcome);
        }
        return std::move(m_result);
    }

private:
    std::shared_ptr<TCandidateStore> m_store;
    TSweepResult m_result;
    TShared m_shared;
    const int m_threads;
    TPileInput m_page;
};

} // namespace

std::int64_t CountCandidates(const TOptSettings &s)
{
    std::int64_t sizes = 0;
    ForEachValue(s.sectionTypes, [&](int code) {
        std::int64_t count = 0;
        switch (code) {
        case 1:
            count = s.diameter.count;
            break;
        case 2:
            count = SaturatingProduct(s.diameter.count, s.ellipseLength.count);
            break;
        case 3:
            count = SaturatingProduct(s.rectLong.count, s.rectShort.count);
            break;
        default:
            count = s.squareSide.count;
            break;
        }
        sizes = SaturatingSum(sizes, count);
    });
    std::int64_t innermost = 0;
    ForEachValue(s.basisCodes, [&](int basis) {
        innermost = SaturatingSum(innermost, basis == 1 ? s.gradeCodes.count : s.indexRange.count);
    });
    std::int64_t total = sizes;
    for (const std::int64_t factor :
         {std::int64_t {s.socketDepth.count}, std::int64_t {s.frkRange.count},
          std::int64_t {s.weatheringCodes.count}, innermost})
        total = SaturatingProduct(total, factor);
    return total;
}

int DefaultSweepThreads()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

TSweepResult RunSweep(const TOptionTable &options, const TPileInput &base,
                      const TSweepProgress &progress, int threads)
{
    TSweepResult result;
    TOptionsReading reading = ReadOptions(options);
    if (!reading.settings) {
        result.end = TSweepEnd::OptionFailure;
        if (reading.failure->kind == TOptFailure::Kind::ErrorBox) {
            result.errorBox = std::move(reading.failure->message);
        } else {
            result.status = std::move(reading.failure->message);
            result.statusRed = true;
        }
        return result;
    }
    const std::int64_t total = CountCandidates(*reading.settings);
    if (total > MaxCandidates) {
        result.end = TSweepEnd::TooManyCandidates;
        result.status = "候选桩数超过10000000根，请调整优化项";
        result.statusRed = true;
        return result;
    }
    return TSweep(*reading.settings, base, total, progress,
                  threads > 0 ? threads : DefaultSweepThreads())
        .Run();
}
