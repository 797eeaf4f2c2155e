#include "sweep.h"

#include "coefficients.h"
#include "decimal_reader.h"
#include "geometry.h"
#include "messages.h"
#include "number_format.h"
#include "pile_items.h"
#include "result_texts.h"
#include "soil_factor.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

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

// The coefficients of one innermost value under one weathering and socket depth class, as the
// calculation finds them; `usable` is false when the value fails its check.
struct TCoefficientSlot
{
    bool usable = false;
    double c1 = 0;
    double c2 = 0; // 0 in a thin socket, as the calculation leaves it
    std::uint32_t pair = 0; // into the store's list of pairs
};

// What the candidates of one sweep share beyond the ranges: the coefficients of every innermost
// value under each weathering, for a socket of at least and of less than 0.5 m (the only way the
// depth reaches them), and the soil layers read once.
class TSweepTables
{
public:
    TSweepTables(const TSweepAxes &axes, const TPileInput &page, TCandidateStore &store)
        : m_innerCount(axes.InnerCount())
    {
        std::map<std::array<std::uint64_t, 2>, std::uint32_t> pairs;
        for (int w = 0; w < axes.WeatheringCount(); ++w) {
            for (const bool thin : {false, true}) {
                for (int slot = 0; slot < m_innerCount; ++slot) {
                    const TSweepPosition p = axes.InnerPosition(w, slot);
                    TCoefficientSlot coefficients = Coefficients(axes, p, thin, page.boredPile);
                    if (coefficients.usable) {
                        const std::array<std::uint64_t, 2> key {
                            std::bit_cast<std::uint64_t>(coefficients.c1),
                            std::bit_cast<std::uint64_t>(coefficients.c2)};
                        const auto [it, added] = pairs.try_emplace(
                            key, static_cast<std::uint32_t>(store.CoefficientCount()));
                        if (added)
                            store.AddCoefficients(coefficients.c1, coefficients.c2);
                        coefficients.pair = it->second;
                    }
                    m_slots.push_back(coefficients);
                }
            }
        }
        for (const TSoilLayer &layer : page.soilLayers) {
            const auto li = ReadDecimal(layer.li);
            const auto qik = ReadDecimal(layer.qik);
            if (!li || *li < 0 || !qik || *qik < 0)
                m_soilUsable = false;
            m_soil.push_back({li.value_or(0), qik.value_or(0)});
        }
    }

    // The slots of the innermost values under one weathering, by InnerSlot.
    const TCoefficientSlot *Slots(int weathering, bool thin) const
    {
        return m_slots.data() + (weathering * 2 + thin) * m_innerCount;
    }
    bool SoilUsable() const { return m_soilUsable; }

    // The overburden's side resistance, kN, as the calculation sums it.
    double SoilSide(double tipFrk, double u) const
    {
        if (m_soil.empty())
            return 0;
        const double zetaS = SoilFactor(tipFrk);
        double sum = 0;
        for (const auto &[li, qik] : m_soil)
            sum += static_cast<double>(0.5L * zetaS * u * li * qik);
        return sum;
    }

private:
    static TCoefficientSlot Coefficients(const TSweepAxes &axes, const TSweepPosition &p, bool thin,
                                         bool boredPile)
    {
        TAutoCoefficients automatic;
        if (axes.Basis(p) == 1) {
            automatic = *CoefficientsByGrade(PileItems::Grades.at(axes.Grade(p) - 1));
        } else {
            const auto kv = ReadDecimal(Fixed2(axes.Index(p)));
            if (!kv || *kv <= 0 || *kv > 1)
                return {};
            automatic = CoefficientsByIndex(*kv);
        }
        // Any depth on the side of 0.5 m that `thin` stands for.
        ReduceCoefficients(automatic.c1, automatic.c2, thin ? 0 : 1,
                           PileItems::Weatherings.at(axes.Weathering(p) - 1), boredPile);
        return {true, automatic.c1, thin ? 0 : automatic.c2, 0};
    }

    int m_innerCount = 0;
    std::vector<TCoefficientSlot> m_slots;
    bool m_soilUsable = true;
    std::vector<std::array<double, 2>> m_soil; // li m, qik kPa
};

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
    std::optional<TSweepTables> tables;
    std::atomic<bool> stop = false; // cancelled
    std::atomic<std::int64_t> firstFailure = std::numeric_limits<std::int64_t>::max();
    std::atomic<std::int64_t> done = 0;
    std::mutex progressMutex; // the callback is called by one worker at a time

    // A pair the tables do not hold, added while the workers run.
    std::uint32_t AddCoefficients(double c1, double c2)
    {
        const std::lock_guard lock(coefficientMutex);
        return store.AddCoefficients(c1, c2);
    }
    std::mutex coefficientMutex;
};

// One contiguous block of the candidates, calculated in order on one thread.
//
// A candidate is calculated from the values of its position, read from their texts once where a
// loop moves on, with the arithmetic of the calculation in its order, so that its figures are
// those the calculation gives for the input page. A candidate that could fail or come out of the
// usual range goes through the calculation itself, from its input page as the candidates before
// it left it: every value as the input page's controls would hold it, and a cell the present basis
// does not read as an earlier candidate left it. The page and the calculation of the block's last
// candidate are made the same way when they are asked for.
class TBlockWorker
{
public:
    TBlockWorker(TShared &shared, const TPileInput &page, std::int64_t begin, std::int64_t end)
        : m_shared(shared)
        , m_base(page)
        , m_begin(begin)
        , m_end(end)
        , m_reached(begin)
    { }

    void Run()
    {
        const TSweepAxes &axes = m_shared.axes;
        TSweepPosition p = axes.Position(m_begin);
        TSweepPosition previous = p;
        for (std::int64_t i = m_begin; i < m_end; ++i) {
            // The first block heeds a cancel only at its own reports (below), so that a cancel
            // keeps at least the rows up to one of them.
            if ((m_begin > 0 && m_shared.stop.load(std::memory_order_relaxed))
                || i > m_shared.firstFailure.load(std::memory_order_relaxed)) {
                m_blockEnd = TBlockEnd::Stopped;
                return;
            }
            if (i > m_begin) {
                axes.Advance(p);
                ReadValues(FirstChange(previous, p), p);
            } else {
                ReadValues(SectionLevel, p);
            }
            previous = p;
            m_calculated = true;
            m_pageIndex = i;
            if (!QuickCandidate(p, i) && !CalculatedCandidate(p, i)) {
                std::int64_t first = m_shared.firstFailure.load();
                while (i < first && !m_shared.firstFailure.compare_exchange_weak(first, i)) { }
                m_blockEnd = TBlockEnd::Failed;
                return;
            }
            m_shared.order[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i);
            m_largestRa = std::max(m_largestRa, m_shared.store.Ra(static_cast<std::size_t>(i)));
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
    double LargestRa() const { return m_largestRa; } // kN, of the candidates kept
    // The input page of the last candidate calculated (the failing one after a failure) and its
    // calculation.
    TPileInput &Page()
    {
        MakePage();
        return m_page;
    }
    TCalcOutcome &Outcome()
    {
        MakePage();
        return m_outcome;
    }

private:
    // The values that stand from `level` inward, read from the texts the input page would hold.
    void ReadValues(TLevel level, const TSweepPosition &p)
    {
        const TSweepAxes &axes = m_shared.axes;
        if (level <= SizeLevel) {
            const auto [first, second] = axes.SizeCells(p);
            const TSectionType type = axes.SectionType(p);
            m_sizeUsable = std::isfinite(first) && first > 0
                && (type == TSectionType::Circle || (std::isfinite(second) && second > 0));
            const TSectionGeometry geometry = SectionGeometry(type, first, second);
            m_Ap = geometry.Ap;
            m_u = geometry.u;
        }
        if (level <= DepthLevel) {
            const auto hi = ReadDecimal(m_hiTexts.Text(axes.Thickness(p), Fixed2));
            m_hiUsable = hi.has_value();
            m_hi = hi.value_or(0);
        }
        if (level <= FrkLevel) {
            const auto frk = ReadDecimal(m_frkTexts.Text(axes.Frk(p), Fixed2));
            m_frkUsable = frk && *frk >= 2;
            m_frk = frk.value_or(0);
            m_soilSide = m_frkUsable ? m_shared.tables->SoilSide(m_frk, m_u) : 0;
        }
        if (level <= WeatheringLevel)
            m_slots = m_shared.tables->Slots(p.weathering, m_hi < 0.5);
    }

    // The candidate from the values read, when it cannot fail and its figures are in the usual
    // range; false, with nothing stored, otherwise.
    bool QuickCandidate(const TSweepPosition &p, std::int64_t index)
    {
        const TCoefficientSlot &slot = m_slots[m_shared.axes.InnerSlot(p)];
        if (!m_sizeUsable || !m_hiUsable || !m_frkUsable || !slot.usable
            || !m_shared.tables->SoilUsable())
            return false;
        const double qpa = static_cast<double>(static_cast<long double>(slot.c1) * m_frk * 1000);
        const double qra =
            m_hi < 0.5 ? 0 : static_cast<double>(static_cast<long double>(slot.c2) * m_frk * 1000);
        const double Rria = static_cast<double>(static_cast<long double>(qra) * m_hi * m_u);
        double socketSide = 0;
        socketSide += Rria;
        const double socketTip = static_cast<double>(static_cast<long double>(qpa) * m_Ap);
        const double Ra = (socketTip + socketSide) + m_soilSide;
        // Parts that are finite and not negative, and a sum well above the smallest numbers: Ra
        // and every share are finite, and no figure is unusual.
        constexpr double most = std::numeric_limits<double>::max();
        if (!(socketSide >= 0 && socketSide <= most && socketTip >= 0 && socketTip <= most
              && m_soilSide >= 0 && Ra <= most && Ra >= 1e-200))
            return false;
        m_shared.store.Put(static_cast<std::size_t>(index), socketSide, socketTip, m_soilSide,
                           slot.pair);
        return true;
    }

    // The candidate through the calculation of its input page; false when it failed.
    bool CalculatedCandidate(const TSweepPosition &p, std::int64_t index)
    {
        WritePage(p, index);
        if (!m_outcome.ok())
            return false;
        const TPileResult &r = m_outcome.result;
        const TRockLayerResult &rock = r.rockResults.front();
        const TCoefficientSlot &slot = m_slots[m_shared.axes.InnerSlot(p)];
        m_shared.store.Put(static_cast<std::size_t>(index), r.socketSide, r.socketTip, r.soilSide,
                           slot.usable && rock.c1 == slot.c1 && rock.c2 == slot.c2
                               ? slot.pair
                               : m_shared.AddCoefficients(rock.c1, rock.c2));
        return true;
    }

    // The input page of candidate `index` and its calculation.
    void WritePage(const TSweepPosition &p, std::int64_t index)
    {
        m_page = m_base;
        WriteFrom(SectionLevel, p, index);
        m_outcome = Calculate(m_page);
        m_outcomeIndex = index;
    }

    void MakePage()
    {
        if (m_calculated && m_outcomeIndex != m_pageIndex)
            WritePage(m_shared.axes.Position(m_pageIndex), m_pageIndex);
    }

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
            // The other basis's cell as the candidates before this one left it.
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

    TShared &m_shared;
    const TPileInput &m_base;
    const std::int64_t m_begin;
    const std::int64_t m_end;
    std::int64_t m_reached;
    std::int64_t m_count = 0;
    TBlockEnd m_blockEnd = TBlockEnd::Complete;
    bool m_calculated = false;
    std::int64_t m_pageIndex = -1; // the last candidate calculated
    std::int64_t m_outcomeIndex = -1; // the candidate of m_page and m_outcome
    TPileInput m_page;
    TCalcOutcome m_outcome;
    double m_largestRa = 0;
    TValueTexts m_hiTexts, m_frkTexts, m_kvTexts;
    // The values that stand, read where their loop moved on.
    bool m_sizeUsable = false;
    double m_Ap = 0; // m²
    double m_u = 0; // m
    bool m_hiUsable = false;
    double m_hi = 0; // m
    bool m_frkUsable = false;
    double m_frk = 0; // MPa
    double m_soilSide = 0; // kN
    const TCoefficientSlot *m_slots = nullptr;
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
        m_shared.tables.emplace(m_store->Axes(), m_page, *m_store);
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
        double largestRa = 0;
        for (const auto &worker : workers) {
            if (static_cast<std::size_t>(worker->Begin()) < kept)
                largestRa = std::max(largestRa, worker->LargestRa());
        }
        m_store->Finish(kept, largestRa);
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
