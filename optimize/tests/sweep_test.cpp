#include "sweep.h"

#include "decimal_reader.h"
#include "number_format.h"
#include "pile_items.h"
#include "result_texts.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <tuple>
#include <vector>

namespace {

using namespace CandidateColumn;

static_assert(sizeof(TOptCandidate) <= 128, "a candidate must stay compact");

// The table with some rows replaced: {row, {minimum, maximum, step}}.
TOptionTable Options(std::initializer_list<std::pair<int, std::vector<std::string>>> rows)
{
    TOptionTable table = DefaultOptionTable();
    for (const auto &[row, cells] : rows) {
        table[row].minimum = cells.at(0);
        if (cells.size() > 1)
            table[row].maximum = cells[1];
        if (cells.size() > 2)
            table[row].step = cells[2];
    }
    return table;
}

std::vector<TOptCandidate> Candidates(const TCandidateTable &table)
{
    std::vector<TOptCandidate> rows;
    for (std::size_t k = 0; k < table.Size(); ++k)
        rows.push_back(table.Row(k));
    return rows;
}

std::vector<TCandidateTexts> AllTexts(const TCandidateTable &table)
{
    std::vector<TCandidateTexts> texts;
    for (const TOptCandidate &row : Candidates(table))
        texts.push_back(CandidateTexts(row, table.context));
    return texts;
}

// One candidate family: circles of d 1000 only, one depth, one strength, grade 1 only.
TOptionTable OneCircle(std::initializer_list<std::pair<int, std::vector<std::string>>> more = {})
{
    TOptionTable table = Options({{0, {"1", "1", "1"}},
                                  {1, {"1000", "1000", "0"}},
                                  {6, {"1.0d", "1.0d", "0d"}},
                                  {7, {"35", "35", "0"}},
                                  {8, {"1", "1", "0"}},
                                  {9, {"1", "1", "0"}},
                                  {10, {"1", "1", "0"}}});
    for (const auto &[row, cells] : more) {
        table[row].minimum = cells.at(0);
        table[row].maximum = cells.at(1);
        table[row].step = cells.at(2);
    }
    return table;
}

TEST(Sweep, DefaultOptionsGive2304NumberedCandidates)
{
    const TSweepResult sweep = RunSweep(DefaultOptionTable(), TPileInput {});
    ASSERT_EQ(sweep.end, TSweepEnd::Complete);
    EXPECT_EQ(sweep.status, "计算完成，桩数：2304 根");
    EXPECT_FALSE(sweep.statusRed);
    EXPECT_FALSE(sweep.errorBox);
    const std::vector<TCandidateTexts> rows = AllTexts(sweep.table);
    ASSERT_EQ(rows.size(), 2304u);

    // c1 = 0.6·0.8 and c2 = 0.05·0.8 for intact slightly weathered rock in a bored pile.
    EXPECT_EQ(rows[0],
              (TCandidateTexts {"ZH-0001", "圆  桩", "1000",  "-",     "17593", "1.00", "35.00",
                                "微风化",  "1",      "完整",  "0.480", "0.040", "4398", "25%",
                                "13195",   "75%",    "17593", "-",     "-",     ""}));
    EXPECT_EQ(rows[1][Integrity], "较完整");
    EXPECT_EQ(rows[2][Integrity], "较破碎");
    const char *kv[] = {"0.40", "0.50", "0.60", "0.70", "0.80"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[3 + i][Basis], "2");
        EXPECT_EQ(rows[3 + i][Integrity], kv[i]);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(rows[8 + i][Weathering], "中风化");
        EXPECT_EQ(rows[8 + i][Integrity], rows[i][Integrity]);
    }
    EXPECT_EQ(rows[16][Frk], "40.00");
    EXPECT_EQ(rows[2303],
              (TCandidateTexts {"ZH-2304", "方  桩", "2000",   "2000",  "115200", "6.00",  "40.00",
                                "中风化",  "2",      "0.80",   "0.360", "0.030",  "57600", "50%",
                                "57600",   "50%",    "115200", "-",     "-",      ""}));
    EXPECT_EQ(rows[999][Number], "ZH-1000");

    // The input page is left with the last candidate and its result.
    ASSERT_TRUE(sweep.pageInput && sweep.pageOutcome);
    const TPileInput &page = *sweep.pageInput;
    EXPECT_EQ(page.sectionType, TSectionType::Rectangle);
    EXPECT_EQ(page.d, "2000");
    EXPECT_EQ(page.c, "2000");
    EXPECT_TRUE(page.soilLayers.empty());
    ASSERT_EQ(page.rockLayers.size(), 1u);
    EXPECT_EQ(page.rockLayers[0].hi, "6.00");
    EXPECT_EQ(page.rockLayers[0].integrityIndex, "0.80");
    EXPECT_EQ(page.rockLayers[0].integrityGrade, "较破碎"); // left by the last grade candidate
    EXPECT_EQ(page.interpBasis, TInterpBasis::IntegrityIndex);
    EXPECT_EQ(page.coefMode, TCoefMode::Interpolated);
    ASSERT_TRUE(sweep.pageOutcome->ok());
    EXPECT_DOUBLE_EQ(sweep.pageOutcome->result.Ra, sweep.table.Row(sweep.table.Size() - 1).Ra);
}

// The on-demand texts are the same whether made one by one, a row at a time or in a long run
// that reuses the texts of its neighbours.
TEST(Sweep, TextsOnDemandAreTheSameEveryWay)
{
    TPileInput base;
    base.rounding = TRoundingMode::TwoDecimals;
    const TSweepResult sweep = RunSweep(Options({{12, {"1"}}}), base);
    ASSERT_EQ(sweep.table.Size(), 2304u);
    TCandidateTextMaker maker(sweep.table.context);
    for (std::size_t i = 0; i < sweep.table.Size(); ++i) {
        const TOptCandidate &row = sweep.table.Row(i);
        const TCandidateTexts &texts = maker.Texts(row);
        ASSERT_EQ(texts, CandidateTexts(row, sweep.table.context)) << i;
        for (int column = 0; column < Count; ++column)
            ASSERT_EQ(texts[column], CandidateText(row, sweep.table.context, column)) << i;
    }
}

TEST(Sweep, CirclesAloneAreNumberedByTheDigitsOfTheirCount)
{
    const TSweepResult sweep = RunSweep(Options({{0, {"1", "1", "1"}}}), TPileInput {});
    ASSERT_EQ(sweep.table.Size(), 288u);
    EXPECT_EQ(CandidateText(sweep.table.Row(0), sweep.table.context, Number), "ZH-001");
    EXPECT_EQ(CandidateText(sweep.table.Row(sweep.table.Size() - 1), sweep.table.context, Number),
              "ZH-288");
}

TEST(Sweep, RectanglesShowTheLongerSideFirst)
{
    // Equal sides from code 3 stay "矩形桩": the label follows the code, not the shape.
    TSweepResult sweep = RunSweep(
        OneCircle({{0, {"3", "3", "1"}}, {3, {"1000", "1000", "0"}}, {4, {"1000", "2000", "500"}}}),
        TPileInput {});
    std::vector<TCandidateTexts> rows = AllTexts(sweep.table);
    ASSERT_EQ(rows.size(), 3u);
    const std::pair<const char *, const char *> sizes[] = {
        {"1000", "1000"}, {"1500", "1000"}, {"2000", "1000"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i][Section], "矩形桩");
        EXPECT_EQ(rows[i][SizeD], sizes[i].first);
        EXPECT_EQ(rows[i][SizeC], sizes[i].second);
        EXPECT_EQ(rows[i][Hr], "1.00"); // 1.0 times the shorter side
    }
    EXPECT_EQ(sweep.pageInput->d, "2000");
    EXPECT_EQ(sweep.pageInput->c, "1000");

    struct TCase
    {
        const char *a, *b, *sizeD, *sizeC, *hr;
    };
    for (const TCase &c : {TCase {"2000", "1200", "2000", "1200", "1.80"},
                           TCase {"800", "1200", "1200", "800", "1.20"}}) {
        sweep = RunSweep(OneCircle({{0, {"3", "3", "1"}},
                                    {3, {c.a, c.a, "0"}},
                                    {4, {c.b, c.b, "0"}},
                                    {6, {"1.5d", "1.5d", "0d"}}}),
                         TPileInput {});
        rows = AllTexts(sweep.table);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][SizeD], c.sizeD);
        EXPECT_EQ(rows[0][SizeC], c.sizeC);
        EXPECT_EQ(rows[0][Hr], c.hr);
    }

    sweep = RunSweep(OneCircle({{0, {"4", "4", "1"}}, {5, {"1200", "1200", "0"}}}), TPileInput {});
    rows = AllTexts(sweep.table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][Section], "方  桩");
    EXPECT_EQ(rows[0][SizeD], "1200");
    EXPECT_EQ(rows[0][SizeC], "1200");
}

TEST(Sweep, DepthsInMillimetresAndThinSockets)
{
    TSweepResult sweep = RunSweep(Options({{6, {"1500", "1500", "0"}}}), TPileInput {});
    ASSERT_EQ(sweep.end, TSweepEnd::Complete);
    for (const TOptCandidate &row : Candidates(sweep.table))
        ASSERT_EQ(CandidateText(row, sweep.table.context, Hr), "1.50");

    // 0.4 m of socket: no side resistance of the rock, and the page keeps the note.
    sweep = RunSweep(OneCircle({{6, {"0.4d", "0.4d", "0d"}}}), TPileInput {});
    const std::vector<TCandidateTexts> rows = AllTexts(sweep.table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][Hr], "0.40");
    EXPECT_EQ(rows[0][C2], "0.000");
    EXPECT_EQ(rows[0][Qsr], "0");
    EXPECT_EQ(rows[0][SideShare], "0%");
    EXPECT_EQ(rows[0][TipShare], "100%");
    EXPECT_EQ(sweep.pageOutcome->result.statusText, "桩身嵌岩深度<0.5m，不计嵌岩段侧阻力");
}

TEST(Sweep, OverburdenAddsTheSoilColumnsAndSharesMakeOneHundred)
{
    TPileInput base;
    base.soilLayers = {{"5.00", "200.00"}, {"3.50", "120"}};
    TSweepResult sweep = RunSweep(DefaultOptionTable(), base);
    EXPECT_TRUE(sweep.pageInput->soilLayers.empty());
    for (const TCandidateTexts &texts : AllTexts(sweep.table)) {
        ASSERT_EQ(texts[Rsk], "-");
        ASSERT_EQ(texts[SoilShare], "-");
    }

    sweep = RunSweep(Options({{12, {"1"}}}), base);
    ASSERT_EQ(sweep.table.Size(), 2304u);
    EXPECT_EQ(sweep.pageInput->soilLayers.size(), 2u);
    for (const TCandidateTexts &texts : AllTexts(sweep.table)) {
        ASSERT_NE(texts[Rsk], "-");
        const auto percent = [](const std::string &text) {
            EXPECT_EQ(text.back(), '%');
            return ReadDecimal(text.substr(0, text.size() - 1)).value();
        };
        ASSERT_EQ(percent(texts[SideShare]) + percent(texts[TipShare]) + percent(texts[SoilShare]),
                  100)
            << texts[Number];
    }

    // With the option but no soil rows the candidates carry a soil resistance of 0.
    base.soilLayers.clear();
    sweep = RunSweep(OneCircle({{12, {"1", "", ""}}}), base);
    const std::vector<TCandidateTexts> rows = AllTexts(sweep.table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][Rsk], "0");
    EXPECT_EQ(rows[0][SoilShare], "0%");
}

TEST(Sweep, RaTextFollowsThePrecisionOfTheInputPage)
{
    TPileInput base;
    base.rounding = TRoundingMode::Tens;
    TSweepResult sweep = RunSweep(DefaultOptionTable(), base);
    for (const TOptCandidate &row : Candidates(sweep.table)) {
        const std::string ra = CandidateText(row, sweep.table.context, Ra);
        ASSERT_EQ(ra.back(), '0') << ra;
        ASSERT_EQ(RaValue(row, sweep.table.context), ReadDecimal(ra).value());
    }
    base.rounding = TRoundingMode::TwoDecimals;
    sweep = RunSweep(OneCircle(), base);
    EXPECT_EQ(CandidateText(sweep.table.Row(0), sweep.table.context, Ra), "17592.92");
}

TEST(Sweep, CandidateFailureKeepsTheRowsBeforeIt)
{
    const TSweepResult sweep =
        RunSweep(Options({{0, {"1", "2", "1"}}, {2, {"0", "1000", "500"}}}), TPileInput {});
    EXPECT_EQ(sweep.end, TSweepEnd::CandidateFailure);
    EXPECT_EQ(sweep.status, "运行中止，主界面可查看中止位置、原因");
    EXPECT_TRUE(sweep.statusRed);
    ASSERT_EQ(sweep.table.Size(), 288u); // every circle
    EXPECT_EQ(CandidateText(sweep.table.Row(0), sweep.table.context, Number), "1");
    EXPECT_EQ(CandidateText(sweep.table.Row(sweep.table.Size() - 1), sweep.table.context, Number),
              "288");
    ASSERT_TRUE(sweep.pageInput && sweep.pageOutcome);
    EXPECT_EQ(sweep.pageInput->sectionType, TSectionType::Ellipse);
    EXPECT_EQ(sweep.pageInput->d, "1000");
    EXPECT_EQ(sweep.pageInput->c, "0");
    ASSERT_FALSE(sweep.pageOutcome->ok());
    EXPECT_EQ(sweep.pageOutcome->failure->message, "椭圆直段长度数据有错");

    // frk below 2 MPa fails at the first candidate: no row at all.
    const TSweepResult weak = RunSweep(Options({{7, {"1", "40", "5"}}}), TPileInput {});
    EXPECT_EQ(weak.end, TSweepEnd::CandidateFailure);
    EXPECT_TRUE(weak.table.Empty());
    EXPECT_EQ(weak.pageInput->rockLayers[0].frk, "1.00");
}

TEST(Sweep, OptionFailuresCalculateNothing)
{
    TSweepResult sweep = RunSweep(Options({{1, {"-1", "2000", "500"}}}), TPileInput {});
    EXPECT_EQ(sweep.end, TSweepEnd::OptionFailure);
    EXPECT_EQ(sweep.status, "桩径不能为负值");
    EXPECT_TRUE(sweep.statusRed);
    EXPECT_TRUE(sweep.table.Empty());
    EXPECT_FALSE(sweep.pageInput);

    sweep = RunSweep(Options({{7, {"35", "4O", "5"}}}), TPileInput {});
    EXPECT_EQ(sweep.end, TSweepEnd::OptionFailure);
    EXPECT_EQ(sweep.status, "");
    EXPECT_EQ(sweep.errorBox, "'4O' is not a valid floating point value.");
    EXPECT_TRUE(sweep.table.Empty());
}

TEST(Sweep, TooManyCandidatesAreRefusedBeforeCalculating)
{
    EXPECT_EQ(CountCandidates(*ReadOptions(DefaultOptionTable()).settings), 2304);
    // 10,000,001 diameters of circles with one value of everything else.
    TSweepResult sweep = RunSweep(OneCircle({{1, {"0", "10000000", "1"}}}), TPileInput {});
    EXPECT_EQ(sweep.end, TSweepEnd::TooManyCandidates);
    EXPECT_EQ(sweep.status, "候选桩数超过10000000根，请调整优化项");
    EXPECT_TRUE(sweep.statusRed);
    EXPECT_TRUE(sweep.table.Empty());
    EXPECT_FALSE(sweep.pageInput);

    // Counts whose product overflows 64 bits are held at the largest value, never wrapped.
    const TOptionTable huge = Options({{1, {"0", "1e300", "1e-300"}},
                                       {2, {"0", "1e300", "1e-300"}},
                                       {6, {"0", "1e300", "1e-300"}},
                                       {7, {"0", "1e300", "1e-300"}},
                                       {11, {"0.000001", "1", "1e-300"}}});
    EXPECT_EQ(CountCandidates(*ReadOptions(huge).settings), INT64_MAX);
    EXPECT_EQ(RunSweep(huge, TPileInput {}).end, TSweepEnd::TooManyCandidates);
}

TEST(Sweep, ProgressCanCancelBetweenCandidates)
{
    std::vector<std::int64_t> reports;
    const TSweepResult all = RunSweep(
        DefaultOptionTable(), TPileInput {},
        [&reports](std::int64_t done, std::int64_t total) {
            EXPECT_EQ(total, 2304);
            reports.push_back(done);
            return true;
        },
        1);
    EXPECT_EQ(all.end, TSweepEnd::Complete);
    EXPECT_EQ(reports, (std::vector<std::int64_t> {1024, 2048, 2304}));

    const TSweepResult cancelled = RunSweep(
        DefaultOptionTable(), TPileInput {}, [](std::int64_t, std::int64_t) { return false; }, 1);
    EXPECT_EQ(cancelled.end, TSweepEnd::Cancelled);
    ASSERT_EQ(cancelled.table.Size(), 1024u);
    EXPECT_EQ(CandidateText(cancelled.table.Row(cancelled.table.Size() - 1),
                            cancelled.table.context, Number),
              "ZH-1024");
    ASSERT_TRUE(cancelled.pageOutcome);
    EXPECT_TRUE(cancelled.pageOutcome->ok());
}

// What the input page holds, as one comparable record.
std::vector<std::string> PageFields(const TPileInput &page)
{
    std::vector<std::string> fields {std::to_string(static_cast<int>(page.sectionType)),
                                     page.d,
                                     page.c,
                                     std::to_string(static_cast<int>(page.interpBasis)),
                                     std::to_string(static_cast<int>(page.coefMode)),
                                     std::to_string(page.soilLayers.size())};
    for (const TRockLayer &rock : page.rockLayers) {
        fields.insert(fields.end(),
                      {rock.hi, rock.weathering, rock.integrityGrade, rock.integrityIndex, rock.frk,
                       rock.c1Specified, rock.c2Specified});
    }
    return fields;
}

void ExpectSameSweep(const TSweepResult &expected, const TSweepResult &actual, int threads)
{
    SCOPED_TRACE("threads " + std::to_string(threads));
    EXPECT_EQ(actual.end, expected.end);
    EXPECT_EQ(actual.status, expected.status);
    EXPECT_EQ(actual.statusRed, expected.statusRed);
    EXPECT_EQ(actual.table.context.labelDigits, expected.table.context.labelDigits);
    ASSERT_EQ(actual.table.Size(), expected.table.Size());
    EXPECT_EQ(AllTexts(actual.table), AllTexts(expected.table));
    ASSERT_EQ(actual.pageInput.has_value(), expected.pageInput.has_value());
    if (expected.pageInput) {
        EXPECT_EQ(PageFields(*actual.pageInput), PageFields(*expected.pageInput));
        EXPECT_EQ(actual.pageOutcome->ok(), expected.pageOutcome->ok());
        EXPECT_EQ(actual.pageOutcome->result.Ra, expected.pageOutcome->result.Ra);
        if (!expected.pageOutcome->ok()) {
            EXPECT_EQ(actual.pageOutcome->failure->message, expected.pageOutcome->failure->message);
        }
    }
}

// Blocks joined in order give the rows, the numbers, the end and the input page of one thread:
// blocks start inside the innermost loop, where the integrity cell of the other basis must be
// the one an earlier block left, and a failure in several blocks stops at the first in sweep
// order.
TEST(Sweep, ThreadsGiveTheRowsOfOneThread)
{
    TPileInput withSoil;
    withSoil.soilLayers = {{"3.00", "120.00"}, {"2.50", "80.00"}};
    const std::pair<TOptionTable, TPileInput> cases[] = {
        {DefaultOptionTable(), TPileInput {}},
        {Options({{9, {"2", "1", "1"}}, {12, {"1"}}}), withSoil},
        // Every ellipse with c = 0 fails: the first of them, after the circles, ends the sweep.
        {Options({{0, {"1", "2", "1"}}, {2, {"0", "1000", "500"}}}), TPileInput {}},
    };
    for (const auto &[options, base] : cases) {
        const TSweepResult single = RunSweep(options, base, {}, 1);
        ASSERT_FALSE(single.table.Empty());
        for (const int threads : {2, 3, 7, 64})
            ExpectSameSweep(single, RunSweep(options, base, {}, threads), threads);
    }
}

// A cancel keeps the rows calculated without a gap from the first, labelled as in the complete
// run, and leaves the input page with the last of them.
TEST(Sweep, CancelledThreadsKeepAGapFreePrefix)
{
    // Enough candidates for each thread to report twice.
    const TOptionTable options = Options({{1, {"1000", "2000", "100"}}});
    const TSweepResult single = RunSweep(options, TPileInput {}, {}, 1);
    const std::vector<TCandidateTexts> all = AllTexts(single.table);
    for (const int threads : {2, 3, 5}) {
        SCOPED_TRACE("threads " + std::to_string(threads));
        int calls = 0;
        const TSweepResult cancelled = RunSweep(
            options, TPileInput {},
            [&calls](std::int64_t done, std::int64_t total) {
                EXPECT_LT(done, total);
                return ++calls < 2;
            },
            threads);
        EXPECT_EQ(cancelled.end, TSweepEnd::Cancelled);
        EXPECT_EQ(cancelled.status, "");
        EXPECT_EQ(calls, 2);
        const std::size_t kept = cancelled.table.Size();
        // The first block goes on to its own next report: at least 1024 rows.
        ASSERT_GE(kept, 1024u);
        ASSERT_LT(kept, all.size());
        for (std::size_t k = 0; k < kept; ++k)
            ASSERT_EQ(CandidateTexts(cancelled.table.Row(k), cancelled.table.context), all[k]);
        const TOptCandidate last = cancelled.table.Row(kept - 1);
        ASSERT_TRUE(cancelled.pageInput && cancelled.pageOutcome);
        EXPECT_EQ(cancelled.pageOutcome->result.Ra, last.Ra);
        EXPECT_EQ(cancelled.pageInput->rockLayers[0].hi,
                  CandidateText(last, cancelled.table.context, Hr));
    }
}

} // namespace

namespace {

// The candidates of a sweep as the input page gives them, one after another on one page through
// the calculation: every value written as the page's controls would hold it, the integrity cell
// of the other basis left as the last candidate with that basis wrote it. It stops at the first
// candidate that fails, whose page and calculation it gives.
struct TReferenceSweep
{
    std::vector<TPileResult> results;
    TPileInput page;
    TCalcOutcome outcome;
};

TReferenceSweep ReferenceSweep(const TOptionTable &options, const TPileInput &base)
{
    const TOptSettings settings = *ReadOptions(options).settings;
    const TSweepAxes axes(settings);
    TReferenceSweep reference;
    TPileInput page = base;
    if (!settings.includeOverburden)
        page.soilLayers.clear();
    page.rockLayers.resize(1);
    page.coefMode = TCoefMode::Interpolated;
    TRockLayer &rock = page.rockLayers.front();
    for (std::int64_t i = 0; i < axes.Count(); ++i) {
        const TSweepPosition p = axes.Position(i);
        const auto [first, second] = axes.Sizes(p);
        page.sectionType = axes.SectionType(p);
        page.d = GeneralText(first);
        page.c = p.code == TOptSection::Circle ? "0"
            : p.code == TOptSection::Square    ? page.d
                                               : GeneralText(second);
        rock.hi = FormatFixed(axes.Thickness(p), 10, 2);
        rock.frk = FormatFixed(axes.Frk(p), 10, 2);
        rock.weathering = PileItems::Weatherings.at(axes.Weathering(p) - 1);
        page.interpBasis = static_cast<TInterpBasis>(axes.Basis(p) - 1);
        if (axes.Basis(p) == 1)
            rock.integrityGrade = PileItems::Grades.at(axes.Grade(p) - 1);
        else
            rock.integrityIndex = FormatFixed(axes.Index(p), 10, 2);
        reference.page = page;
        reference.outcome = Calculate(page);
        if (!reference.outcome.ok())
            break;
        reference.results.push_back(reference.outcome.result);
    }
    return reference;
}

// Option tables and input pages drawn at random over what a sweep reads: every section, sizes
// down to zero, depths in multiples and in millimetres (thin sockets too), strengths on both sides
// of 2 MPa, both weatherings and bases in either order, grades and indexes up to their limits,
// the overburden with soil layers that may not read; the bored-pile flag and the precision.
std::pair<TOptionTable, TPileInput> RandomSweep(std::mt19937 &random)
{
    const auto pick = [&random](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    const auto text = [](double value) { return FormatFixed(value, 10, 2); };
    TOptionTable options = DefaultOptionTable();
    const auto set = [&options](int row, std::string minimum, std::string maximum,
                                std::string step) {
        options[row].minimum = std::move(minimum);
        options[row].maximum = std::move(maximum);
        options[row].step = std::move(step);
    };
    const int firstSection = pick(1, 4);
    set(OptionRow::SectionTypes, std::to_string(firstSection),
        std::to_string(pick(firstSection, 4)), std::to_string(pick(1, 2)));
    for (const int row : {OptionRow::Diameter, OptionRow::EllipseLength, OptionRow::RectLong,
                          OptionRow::RectShort, OptionRow::SquareSide}) {
        const int low = pick(0, 3) == 0 ? pick(0, 1) * 300 : pick(2, 30) * 100;
        set(row, std::to_string(low), std::to_string(low + pick(0, 3) * 250),
            std::to_string(pick(1, 3) * 250));
    }
    if (pick(0, 1) == 0) {
        const double low = pick(1, 12) * 0.25;
        set(OptionRow::SocketDepth, text(low) + "d", text(low + pick(0, 4) * 0.5) + "d",
            text(pick(1, 3) * 0.5) + "d");
    } else {
        const int low = pick(1, 40) * 50;
        set(OptionRow::SocketDepth, std::to_string(low), std::to_string(low + pick(0, 4) * 300),
            std::to_string(pick(1, 3) * 300));
    }
    const double frk = pick(0, 5) == 0 ? 1.5 : pick(4, 160) * 0.5;
    set(OptionRow::Frk, text(frk), text(frk + pick(0, 6) * 7.3), "7.3");
    const int weathering = pick(1, 2);
    set(OptionRow::Weathering, std::to_string(weathering), std::to_string(pick(weathering, 2)),
        "1");
    const int basis = pick(1, 2);
    set(OptionRow::Basis, std::to_string(basis), std::to_string(pick(1, 2)), "1");
    const int grade = pick(1, 5);
    set(OptionRow::Grade, std::to_string(grade), std::to_string(pick(grade, 5)), "1");
    const double index = pick(1, 20) * 0.05;
    set(OptionRow::IntegrityIndex, text(index), text(std::min(1.0, index + pick(0, 8) * 0.1)),
        "0.1");
    set(OptionRow::Overburden, std::to_string(pick(0, 1)), "", "");

    TPileInput base;
    base.soilLayers.clear();
    for (int layer = pick(0, 3); layer > 0; --layer) {
        base.soilLayers.push_back(
            {pick(0, 9) == 0 ? "x" : text(pick(0, 40) * 0.25), text(pick(0, 300) * 1.5)});
    }
    base.boredPile = pick(0, 1) == 1;
    base.rounding = static_cast<TRoundingMode>(pick(0, 4));
    return {options, base};
}

} // namespace

// The sweep's candidates are those the calculation gives for their input pages one by one: the
// same figures to the last bit, the same failing candidate and the same input page after it.
TEST(Sweep, CandidatesAreThoseOfTheCalculationOfTheirPages)
{
    std::mt19937 random(25);
    int swept = 0;
    int failed = 0;
    for (int attempt = 0; attempt < 400 && swept < 60; ++attempt) {
        const auto [options, base] = RandomSweep(random);
        const TOptionsReading reading = ReadOptions(options);
        if (!reading.settings || CountCandidates(*reading.settings) > 20000)
            continue;
        ++swept;
        SCOPED_TRACE("case " + std::to_string(swept));
        const TReferenceSweep reference = ReferenceSweep(options, base);
        for (const int threads : {1, 3}) {
            const TSweepResult sweep = RunSweep(options, base, {}, threads);
            ASSERT_EQ(sweep.table.Size(), reference.results.size()) << threads << " threads";
            const bool complete = reference.results.size()
                == static_cast<std::size_t>(CountCandidates(*reading.settings));
            EXPECT_EQ(sweep.end, complete ? TSweepEnd::Complete : TSweepEnd::CandidateFailure);
            for (std::size_t k = 0; k < sweep.table.Size(); ++k) {
                const TOptCandidate row = sweep.table.Row(k);
                const TPileResult &r = reference.results[k];
                ASSERT_EQ(std::bit_cast<std::uint64_t>(row.socketSide),
                          std::bit_cast<std::uint64_t>(r.socketSide))
                    << k;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(row.socketTip),
                          std::bit_cast<std::uint64_t>(r.socketTip))
                    << k;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(row.soilSide),
                          std::bit_cast<std::uint64_t>(r.soilSide))
                    << k;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(row.Ra), std::bit_cast<std::uint64_t>(r.Ra))
                    << k;
                ASSERT_EQ(row.c1, r.rockResults.front().c1) << k;
                ASSERT_EQ(row.c2, r.rockResults.front().c2) << k;
            }
            if (reference.results.empty() && complete) {
                EXPECT_FALSE(sweep.pageInput);
                continue;
            }
            ASSERT_TRUE(sweep.pageInput && sweep.pageOutcome);
            TPileInput page = reference.page;
            const auto [d, c] = ShownSizeTexts(page, reference.outcome.result);
            page.d = d;
            page.c = c;
            if (!reference.outcome.ok()) {
                ++failed;
                EXPECT_EQ(sweep.pageOutcome->failure->message, reference.outcome.failure->message);
            }
            EXPECT_EQ(*sweep.pageInput, page);
            EXPECT_EQ(sweep.pageOutcome->result.statusText, reference.outcome.result.statusText);
        }
    }
    EXPECT_EQ(swept, 60);
    EXPECT_GT(failed, 0); // some of the cases end at a failing candidate
}

TEST(Sweep, AdvanceMovesToTheNextPosition)
{
    std::mt19937 random(7);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto [options, base] = RandomSweep(random);
        const TOptionsReading reading = ReadOptions(options);
        if (!reading.settings || CountCandidates(*reading.settings) > 20000)
            continue;
        const TSweepAxes axes(*reading.settings);
        TSweepPosition p = axes.Count() > 0 ? axes.Position(0) : TSweepPosition {};
        for (std::int64_t i = 1; i < axes.Count(); ++i) {
            axes.Advance(p);
            const TSweepPosition expected = axes.Position(i);
            ASSERT_EQ(std::tie(p.section, p.code, p.size, p.size2, p.depth, p.frk, p.weathering,
                               p.basis, p.inner),
                      std::tie(expected.section, expected.code, expected.size, expected.size2,
                               expected.depth, expected.frk, expected.weathering, expected.basis,
                               expected.inner))
                << i;
        }
    }
}
