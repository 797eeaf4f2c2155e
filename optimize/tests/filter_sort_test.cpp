#include "candidate_filter.h"
#include "candidate_sort.h"
#include "decimal_reader.h"
#include "pick_back.h"
#include "result_texts.h"
#include "sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace {

// Rows with these Ra (kN, whole numbers so that the Ra text gives them back) and sizes d (mm,
// multiples of 500 from 1000): circles of a store whose candidate of diameter j and depth i stands
// for row i, so that a row's running number tells which row it was.
constexpr int MaxRows = 1000;

TCandidateTable Rows(const std::vector<double> &ra, const std::vector<double> &d = {})
{
    const int n = static_cast<int>(ra.size());
    double largest = 1000;
    for (const double size : d)
        largest = std::max(largest, size);
    TOptSettings settings = *ReadOptions(DefaultOptionTable()).settings;
    settings.sectionTypes = NormalizeRange(1, 1, 1);
    settings.diameter = NormalizeRange(1000.0, largest, 500.0);
    settings.socketDepth = NormalizeRange(1.0, double {MaxRows}, 1.0);
    settings.socketDepthInMultiples = true;
    settings.frkRange = NormalizeRange(35.0, 35.0, 0.0);
    settings.weatheringCodes = settings.basisCodes = settings.gradeCodes = NormalizeRange(1, 1, 1);
    auto store = std::make_shared<TCandidateStore>(TSweepAxes(settings), false);
    store->Reserve(static_cast<std::size_t>(settings.diameter.count * MaxRows));
    const std::uint32_t coefficients = store->AddCoefficients(0.5, 0.04);
    TCandidateTable table;
    table.context.labelDigits = DecimalDigits(n);
    for (int i = 0; i < n; ++i) {
        const double size = d.empty() ? 1000 : d[i];
        const auto position = static_cast<std::uint32_t>((size - 1000) / 500 * MaxRows + i);
        store->Put(position, 0, ra[i], 0, coefficients);
        table.order.push_back(position);
    }
    table.store = store;
    return table;
}

// The rows' numbers (from 1) in the order the table holds them.
std::vector<std::int32_t> Sequence(const TCandidateTable &table)
{
    std::vector<std::int32_t> sequence;
    for (std::size_t k = 0; k < table.Size(); ++k)
        sequence.push_back((table.Row(k).sequence - 1) % MaxRows + 1);
    return sequence;
}

TOptionTable Window(const std::string &lower, const std::string &upper)
{
    TOptionTable options = DefaultOptionTable();
    options[OptionRow::RaWindow].minimum = lower;
    options[OptionRow::RaWindow].maximum = upper;
    return options;
}

TEST(Filter, KeepsTheRowsInsideTheWindowInTheirOrder)
{
    const TCandidateTable raw = Rows({11000, 9999, 10000, 10500, 11001, 10000});
    struct TCase
    {
        const char *lower, *upper;
        std::vector<std::int32_t> kept;
    };
    const TCase cases[] = {
        {"10000", "11000", {1, 3, 4, 6}}, // both bounds inclusive
        {"0", "0", {1, 2, 3, 4, 5, 6}}, // 0 switches a bound off
        {"-5", "10000", {2, 3, 6}},       {"10500", "0", {1, 4, 5}},
        {"11000", "10000", {1}}, // lower above upper: only exactly the lower bound
        {" 1.0e4 ", "1.0e4", {3, 6}},
    };
    for (const TCase &c : cases) {
        const TFilterResult result = FilterCandidates(raw, Window(c.lower, c.upper));
        ASSERT_FALSE(result.errorBox) << *result.errorBox;
        EXPECT_EQ(Sequence(result.filtered), c.kept) << c.lower << " " << c.upper;
        EXPECT_EQ(result.status, "筛选完成，桩数：" + std::to_string(c.kept.size()) + " 根");
        EXPECT_EQ(result.filtered.context.labelDigits, 1);
    }
    // The filtered grid is sorted on its own; the raw grid keeps its order.
    TFilterResult sorted = FilterCandidates(raw, Window("0", "0"));
    TSortState state;
    ClickHeader(sorted.filtered, state, CandidateColumn::Ra);
    EXPECT_EQ(Sequence(sorted.filtered), (std::vector<std::int32_t> {2, 3, 6, 4, 1, 5}));
    EXPECT_EQ(Sequence(raw), (std::vector<std::int32_t> {1, 2, 3, 4, 5, 6}));

    const TFilterResult none = FilterCandidates(raw, Window("12000", "13000"));
    EXPECT_TRUE(none.filtered.Empty());
    EXPECT_EQ(none.status, "无满足条件桩，调整区间再筛选");
}

TEST(Filter, LoadKeepsTheRowsWhoseCapacityCarriesN)
{
    const TCandidateTable raw = Rows({8000, 9999.6, 10000, 12500, 7999});
    struct TCase
    {
        TDesignLoad load;
        const char *lower, *upper;
        std::vector<std::int32_t> kept;
    };
    const TCase cases[] = {
        {{10000, 1.0}, "0", "0", {3, 4}}, // the unrounded Ra: 9999.6 shows as 10000 but fails
        {{10000, 1.25}, "0", "0", {1, 2, 3, 4}},
        {{10000, 1.25}, "0", "11000", {1, 2, 3}}, // and the Ra window
        {{20000, 1.0}, "0", "0", {}},
    };
    for (const TCase &c : cases) {
        const TFilterResult result = FilterCandidates(raw, Window(c.lower, c.upper), c.load);
        EXPECT_EQ(Sequence(result.filtered), c.kept) << c.load.N << " " << c.load.gammaR;
    }
    // Without a load the window alone counts, as before.
    EXPECT_EQ(Sequence(FilterCandidates(raw, Window("0", "0")).filtered),
              (std::vector<std::int32_t> {1, 2, 3, 4, 5}));
}

TEST(Filter, BoundThatIsNotANumberChangesNothing)
{
    const TCandidateTable raw = Rows({10000});
    for (const auto &[lower, upper, message] :
         {std::tuple {"abc", "11000", "'abc' is not a valid floating point value."},
          {"10000", "", "'' is not a valid floating point value."},
          {"1,5", "x", "'1,5' is not a valid floating point value."}}) {
        const TFilterResult result = FilterCandidates(raw, Window(lower, upper));
        EXPECT_EQ(result.errorBox, message);
        EXPECT_TRUE(result.filtered.Empty());
        EXPECT_EQ(result.status, "");
    }
}

// The grid's exchange sort, exactly as it exchanges rows.
TRowOrder LiteralExchangeSort(const std::vector<double> &keys)
{
    TRowOrder rows(keys.size());
    for (std::uint32_t i = 0; i < rows.size(); ++i)
        rows[i] = i;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        double k = keys[rows[i]];
        for (std::size_t j = i; j < rows.size(); ++j) {
            if (k > keys[rows[j]]) {
                std::swap(rows[i], rows[j]);
                k = keys[rows[i]];
            }
        }
    }
    return rows;
}

TEST(Sort, SameOrderAsTheExchangeSortWithManyTies)
{
    // Keys 1000 (A), 1000 (B), 900 (C) end as C, B, A.
    EXPECT_EQ(ExchangeSortOrder({1000, 1000, 900}), (TRowOrder {2, 1, 0}));
    EXPECT_TRUE(ExchangeSortOrder({}).empty());

    std::mt19937 random(20241205);
    for (int round = 0; round < 3000; ++round) {
        const int n = std::uniform_int_distribution<int>(1, round < 2000 ? 12 : 300)(random);
        const int distinct = std::uniform_int_distribution<int>(1, round % 3 == 0 ? 3 : n)(random);
        std::uniform_int_distribution<int> key(0, distinct - 1);
        std::vector<double> keys(n);
        // Whole hundredths take the packed radix path, thirds the general one.
        const double unit = round % 2 == 0 ? 0.01 : 1.0 / 3;
        for (double &k : keys)
            k = 1000 + 500 * unit * key(random);
        ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeSort(keys)) << "round " << round;
    }
}

// The key of the filter and the Ra sort is the Ra text read back, whatever shortcut gives it:
// random forces, halfway cases and the edges of the digit counts, in every rounding mode.
TEST(Sort, RaKeyIsTheRaTextReadBack)
{
    std::vector<double> values {0.5,     1,         9.995,       99999.995, 999999.5, 1e6,
                                9999999, 9999999.5, 12345678.9,  -3,        1e300,    10,
                                100,     1000.005,  17592.91838, 0};
    std::mt19937 random(20241210);
    std::uniform_real_distribution<double> exponent(-1, 7.5);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::pow(10.0, exponent(random));
        values.push_back(value);
        // Halfway in the last kept decimal, and at a multiple of ten.
        values.push_back((std::floor(value * 100) + 0.5) / 100);
        values.push_back(std::floor(value / 10) * 10);
    }
    for (const TRoundingMode mode :
         {TRoundingMode::TwoDecimals, TRoundingMode::OneDecimal, TRoundingMode::Units,
          TRoundingMode::Tens, TRoundingMode::Hundreds}) {
        for (const double value : values) {
            const double expected = ReadDecimal(RaText(value, mode)).value();
            ASSERT_EQ(RaValue(value, mode), expected)
                << value << " mode " << static_cast<int>(mode);
        }
    }
}

// A real sweep, filtered so that its order is not the store's, sorted by d and by Ra: the rows
// end where a literal exchange sort of their texts' values puts them.
TEST(Sort, SweptRowsEndAsTheLiteralExchangeSortPutsThem)
{
    TOptionTable options = DefaultOptionTable();
    options[OptionRow::Overburden].minimum = "1";
    options[OptionRow::RaWindow].minimum = "20000";
    options[OptionRow::RaWindow].maximum = "0";
    const TSweepResult sweep = RunSweep(options, TPileInput {});
    for (const int column : {CandidateColumn::SizeD, CandidateColumn::Ra}) {
        TCandidateTable table = FilterCandidates(sweep.table, options).filtered;
        ASSERT_GT(table.Size(), 100u);
        std::vector<double> keys;
        for (std::size_t k = 0; k < table.Size(); ++k)
            keys.push_back(ReadDecimal(CandidateText(table.Row(k), table.context, column)).value());
        TRowOrder expected;
        for (const std::uint32_t k : LiteralExchangeSort(keys))
            expected.push_back(table.order[k]);
        TSortState state;
        ClickHeader(table, state, column);
        EXPECT_EQ(table.order, expected) << "column " << column;
    }
}

TEST(Sort, HeaderClicksSortReverseAndMark)
{
    TCandidateTable table = Rows({300, 100, 200, 100}, {1500, 1500, 1000, 2000});
    TSortState state;

    TSortClick click = ClickHeader(table, state, CandidateColumn::SizeD);
    EXPECT_EQ(click.status, "d升序排列完成");
    EXPECT_TRUE(click.sorted && click.selectFirstRow && click.setHeaders);
    EXPECT_EQ(click.dHeader, "d|a(mm)▲");
    EXPECT_EQ(click.raHeader, "  Ra(kN)");
    const std::vector<std::int32_t> ascending = Sequence(table);
    // The two rows of 1500 end exchanged, as the exchanges leave them.
    EXPECT_EQ(ascending, (std::vector<std::int32_t> {3, 2, 1, 4}));

    click = ClickHeader(table, state, CandidateColumn::SizeD);
    EXPECT_EQ(click.status, "d降序排列完成");
    EXPECT_EQ(click.dHeader, "d|a(mm)▼");
    EXPECT_EQ(Sequence(table), (std::vector<std::int32_t> {4, 1, 2, 3})); // the exact reverse
    EXPECT_EQ(state.sortStateD, 2);

    click = ClickHeader(table, state, CandidateColumn::SizeD);
    EXPECT_EQ(click.dHeader, "d|a(mm)▲");
    EXPECT_EQ(Sequence(table), ascending);

    click = ClickHeader(table, state, CandidateColumn::Ra);
    EXPECT_EQ(click.status, "Ra升序排列完成");
    EXPECT_EQ(click.dHeader, " d|a(mm)");
    EXPECT_EQ(click.raHeader, "Ra(kN)▲");
    EXPECT_EQ(state.sortStateD, 0);
    EXPECT_EQ(state.sortStateRa, 1);
    EXPECT_EQ(ClickHeader(table, state, CandidateColumn::Ra).raHeader, "Ra(kN)▼");

    // After the Ra sort a click on d sorts afresh, ascending.
    click = ClickHeader(table, state, CandidateColumn::SizeD);
    EXPECT_EQ(click.status, "d升序排列完成");
    EXPECT_EQ(state.sortStateRa, 0);

    const std::vector<std::int32_t> before = Sequence(table);
    click = ClickHeader(table, state, CandidateColumn::Section);
    EXPECT_EQ(click.status, "仅支持d、Ra排序");
    EXPECT_FALSE(click.sorted || click.setHeaders);
    EXPECT_TRUE(click.selectFirstRow);
    EXPECT_EQ(Sequence(table), before);
    EXPECT_EQ(state.sortStateD, 1);

    TCandidateTable one = Rows({100});
    click = ClickHeader(one, state, CandidateColumn::SizeD);
    EXPECT_EQ(click.status, "无需排序");
    EXPECT_FALSE(click.sorted || click.selectFirstRow);
    EXPECT_EQ(state.sortStateD, 1);
}

TEST(PickBack, GivesTheInputPageTheCandidate)
{
    TPileInput base;
    const TSweepResult sweep = RunSweep(DefaultOptionTable(), base);
    const TCandidateContext &context = sweep.table.context;

    const TPickBack square = PickBack(sweep.table.Row(sweep.table.Size() - 1), context);
    EXPECT_EQ(square.sectionItem, 2); // the section combo has no square
    EXPECT_EQ(square.d, "2000");
    EXPECT_EQ(square.c, "2000");
    EXPECT_EQ(square.rockLayerCount, 1);
    EXPECT_EQ(square.coefMode, TCoefMode::Interpolated);
    EXPECT_EQ(square.basis, TInterpBasis::IntegrityIndex);
    EXPECT_EQ(square.integrityIndex, "0.80");
    EXPECT_FALSE(square.integrityGrade);
    EXPECT_EQ(square.hi, "6.00");
    EXPECT_EQ(square.frk, "40.00");
    EXPECT_EQ(square.weathering, "中风化");
    EXPECT_TRUE(square.noSoilLayers);

    const TPickBack circle = PickBack(sweep.table.Row(1), context);
    EXPECT_EQ(circle.sectionItem, 0);
    EXPECT_EQ(circle.d, "1000");
    EXPECT_EQ(circle.c, "0");
    EXPECT_EQ(circle.basis, TInterpBasis::IntegrityGrade);
    EXPECT_EQ(circle.integrityGrade, "较完整");
    EXPECT_FALSE(circle.integrityIndex);

    TOptionTable withSoil = DefaultOptionTable();
    withSoil[OptionRow::Overburden].minimum = "1";
    const TSweepResult soil = RunSweep(withSoil, base);
    EXPECT_FALSE(PickBack(soil.table.Row(0), soil.table.context).noSoilLayers);
}

} // namespace
