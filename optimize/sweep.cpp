#include "sweep.h"

#include "messages.h"
#include "number_format.h"
#include "pile_items.h"
#include "result_texts.h"

#include <limits>
#include <numeric>

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

// The enumeration writes each value into the one candidate input at the level where it changes, as
// the input page's controls would hold it, so that a cell the present basis does not read keeps
// what an earlier candidate left there.
class TSweep
{
public:
    TSweep(const TOptSettings &settings, const TPileInput &base, std::int64_t total,
           const TSweepProgress &progress)
        : m_settings(settings)
        , m_total(total)
        , m_progress(progress)
    {
        m_page = base;
        if (!settings.includeOverburden)
            m_page.soilLayers.clear();
        m_page.rockLayers.resize(1);
        m_page.coefMode = TCoefMode::Interpolated;
        m_result.table.context.rounding = base.rounding;
        m_result.table.context.withOverburden = settings.includeOverburden;
        m_store.reserve(static_cast<std::size_t>(total));
    }

    TSweepResult Run()
    {
        const bool complete = Sections();
        TCandidateTable &table = m_result.table;
        table.order.resize(m_store.size());
        std::iota(table.order.begin(), table.order.end(), 0u);
        table.store = std::make_shared<const TCandidateStore>(std::move(m_store));
        if (complete) {
            m_result.end = TSweepEnd::Complete;
            if (table.Empty()) {
                m_result.status = "调整优化项重新计算";
            } else {
                table.context.labelDigits = DecimalDigits(static_cast<std::int64_t>(table.Size()));
                m_result.status = "计算完成，桩数：" + std::to_string(table.Size()) + " 根";
            }
        }
        if (m_calculated) {
            const auto [d, c] = ShownSizeTexts(m_page, m_outcome.result);
            m_page.d = d;
            m_page.c = c;
            m_result.pageInput = std::move(m_page);
            m_result.pageOutcome = std::move(m_outcome);
        }
        return std::move(m_result);
    }

private:
    TRockLayer &Rock() { return m_page.rockLayers.front(); }

    bool Sections()
    {
        bool ok = true;
        ForEachValue(m_settings.sectionTypes, [&](int code) {
            if (!ok)
                return;
            m_section = static_cast<TOptSection>(code);
            m_page.sectionType = code == 1 ? TSectionType::Circle
                : code == 2                ? TSectionType::Ellipse
                                           : TSectionType::Rectangle;
            ok = Sizes();
        });
        return ok;
    }

    bool Sizes()
    {
        bool ok = true;
        const auto each = [&ok](const TOptValueRange &range, auto &&visit) {
            ForEachValue(range, [&](double value) {
                if (ok)
                    visit(value);
            });
        };
        switch (m_section) {
        case TOptSection::Circle:
            each(m_settings.diameter, [&](double d) {
                m_page.d = GeneralText(d);
                m_page.c = "0";
                ok = Depths(d);
            });
            break;
        case TOptSection::Ellipse:
            each(m_settings.diameter, [&](double d) {
                m_page.d = GeneralText(d);
                each(m_settings.ellipseLength, [&](double c) {
                    m_page.c = GeneralText(c);
                    ok = Depths(d);
                });
            });
            break;
        case TOptSection::Rectangle:
            each(m_settings.rectLong, [&](double a) {
                const std::string aText = GeneralText(a);
                each(m_settings.rectShort, [&](double b) {
                    // Both sides are written anew: the calculation puts the longer side first.
                    m_page.d = aText;
                    m_page.c = GeneralText(b);
                    ok = Depths(a < b ? a : b);
                });
            });
            break;
        case TOptSection::Square:
            each(m_settings.squareSide, [&](double side) {
                m_page.d = GeneralText(side);
                m_page.c = m_page.d;
                ok = Depths(side);
            });
            break;
        }
        return ok;
    }

    // `size` is what a multiple refers to: the diameter, the shorter side or the square's side, mm.
    bool Depths(double size)
    {
        bool ok = true;
        ForEachValue(m_settings.socketDepth, [&](double depth) {
            if (!ok)
                return;
            const long double mm =
                m_settings.socketDepthInMultiples ? static_cast<long double>(depth) * size : depth;
            m_hi = static_cast<double>(mm / 1000);
            Rock().hi = m_hiTexts.Text(m_hi, Fixed2);
            ok = Strengths();
        });
        return ok;
    }

    bool Strengths()
    {
        bool ok = true;
        ForEachValue(m_settings.frkRange, [&](double frk) {
            if (!ok)
                return;
            m_frk = frk;
            Rock().frk = m_frkTexts.Text(frk, Fixed2);
            ForEachValue(m_settings.weatheringCodes, [&](int weathering) {
                if (!ok)
                    return;
                m_weathering = static_cast<std::uint8_t>(weathering);
                Rock().weathering = PileItems::Weatherings.at(weathering - 1);
                ok = Bases();
            });
        });
        return ok;
    }

    bool Bases()
    {
        bool ok = true;
        ForEachValue(m_settings.basisCodes, [&](int basis) {
            if (!ok)
                return;
            m_basis = static_cast<std::uint8_t>(basis);
            m_page.interpBasis = static_cast<TInterpBasis>(basis - 1);
            if (basis == 1) {
                ForEachValue(m_settings.gradeCodes, [&](int grade) {
                    if (!ok)
                        return;
                    m_grade = static_cast<std::uint8_t>(grade);
                    Rock().integrityGrade = PileItems::Grades.at(grade - 1);
                    ok = Candidate();
                });
            } else {
                ForEachValue(m_settings.indexRange, [&](double kv) {
                    if (!ok)
                        return;
                    m_kv = kv;
                    Rock().integrityIndex = m_kvTexts.Text(kv, Fixed2);
                    ok = Candidate();
                });
            }
        });
        return ok;
    }

    bool Candidate()
    {
        m_outcome = Calculate(m_page);
        m_calculated = true;
        if (!m_outcome.ok()) {
            m_result.end = TSweepEnd::CandidateFailure;
            m_result.status = Messages::AbortNotice;
            m_result.statusRed = true;
            return false;
        }
        const TPileResult &r = m_outcome.result;
        TOptCandidate row;
        row.d = r.d;
        row.c = r.c;
        row.Ra = r.Ra;
        row.hi = m_hi;
        row.frk = m_frk;
        row.kv = m_kv;
        row.c1 = r.rockResults.front().c1;
        row.c2 = r.rockResults.front().c2;
        row.socketSide = r.socketSide;
        row.socketTip = r.socketTip;
        row.socketTotal = r.socketTotal;
        row.soilSide = r.soilSide;
        row.section = m_section;
        row.weathering = m_weathering;
        row.basis = m_basis;
        row.grade = m_grade;
        row.sequence = static_cast<std::int32_t>(m_store.size() + 1);
        m_store.push_back(row);

        const auto done = static_cast<std::int64_t>(m_store.size());
        if (m_progress && (done % ProgressInterval == 0 || done == m_total)
            && !m_progress(done, m_total)) {
            m_result.end = TSweepEnd::Cancelled;
            return false;
        }
        return true;
    }

    const TOptSettings &m_settings;
    const std::int64_t m_total;
    const TSweepProgress &m_progress;
    TPileInput m_page;
    TCalcOutcome m_outcome;
    bool m_calculated = false;
    TSweepResult m_result;
    TCandidateStore m_store;
    TValueTexts m_hiTexts, m_frkTexts, m_kvTexts;
    TOptSection m_section = TOptSection::Circle;
    double m_hi = 0; // m
    double m_frk = 0; // MPa
    double m_kv = 0;
    std::uint8_t m_weathering = 1;
    std::uint8_t m_basis = 1;
    std::uint8_t m_grade = 1;
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

TSweepResult RunSweep(const TOptionTable &options, const TPileInput &base,
                      const TSweepProgress &progress)
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
    return TSweep(*reading.settings, base, total, progress).Run();
}
