#include "locale_numbers.h"
#include "opt_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template<typename T>
std::vector<T> Values(const TOptRange<T> &range)
{
    std::vector<T> values;
    ForEachValue(range, [&values](T value) { values.push_back(value); });
    return values;
}

TOptionsReading ReadWith(int row, const std::string &minimum, const std::string &maximum,
                         const std::string &step)
{
    TOptionTable table = DefaultOptionTable();
    table[row].minimum = minimum;
    table[row].maximum = maximum;
    table[row].step = step;
    return ReadOptions(table);
}

TEST(Options, DefaultTableReadsIntoItsRanges)
{
    const TOptionsReading reading = ReadOptions(DefaultOptionTable());
    ASSERT_TRUE(reading.settings) << reading.failure->message;
    const TOptSettings &s = *reading.settings;
    EXPECT_EQ(Values(s.sectionTypes), (std::vector<int> {1, 2, 3, 4}));
    EXPECT_EQ(Values(s.diameter), (std::vector<double> {1000, 1500, 2000}));
    EXPECT_EQ(Values(s.ellipseLength), (std::vector<double> {1000, 1500, 2000}));
    EXPECT_EQ(Values(s.rectLong), (std::vector<double> {2000, 2500, 3000}));
    EXPECT_EQ(Values(s.rectShort), (std::vector<double> {1000, 1500, 2000}));
    EXPECT_EQ(Values(s.squareSide), (std::vector<double> {1000, 1500, 2000}));
    EXPECT_TRUE(s.socketDepthInMultiples);
    EXPECT_EQ(Values(s.socketDepth), (std::vector<double> {1, 2, 3}));
    EXPECT_EQ(Values(s.frkRange), (std::vector<double> {35, 40}));
    EXPECT_EQ(Values(s.weatheringCodes), (std::vector<int> {1, 2}));
    EXPECT_EQ(Values(s.basisCodes), (std::vector<int> {1, 2}));
    EXPECT_EQ(Values(s.gradeCodes), (std::vector<int> {1, 2, 3}));
    EXPECT_EQ(s.indexRange.count, 5);
    EXPECT_FALSE(s.includeOverburden);

    const TOptionTable table = DefaultOptionTable();
    EXPECT_EQ(table[6].note, "矩形为短边倍数,也可直接输入数值(不可混用)");
    EXPECT_EQ(table[12].maximum, "");
    EXPECT_EQ(table[13].item, "");
    EXPECT_EQ(table[14].item, "筛选 Ra(kN)");
}

TEST(Options, NormalizeRangeVisitsByClampedAddition)
{
    struct TCase
    {
        double minimum, maximum, step;
        std::vector<double> values;
    };
    const TCase cases[] = {
        {1000, 2000, 500, {1000, 1500, 2000}},
        {1000, 2000, 400, {1000, 1400, 1800, 2000}}, // 2.5 rounds up: the last sum is clamped
        {1000, 2000, 300, {1000, 1300, 1600, 1900}}, // 3.33 rounds down: short of the maximum
        {1000, 2000, 0, {1000, 2000}},
        {1000, 2000, -5, {1000, 2000}},
        {1000, 2000, 1500, {1000, 2000}},
        {2000, 1000, 7, {2000}},
        {1000, 1000, 7, {1000}},
    };
    for (const TCase &c : cases) {
        const TOptValueRange range = NormalizeRange(c.minimum, c.maximum, c.step);
        EXPECT_EQ(Values(range), c.values) << c.minimum << " " << c.maximum << " " << c.step;
        EXPECT_EQ(range.count, static_cast<int>(c.values.size()));
    }
    // Decimal values are added one after another in double precision (not minimum + k·step).
    const std::vector<double> kv = Values(NormalizeRange(0.4, 0.8, 0.1));
    ASSERT_EQ(kv.size(), 5u);
    EXPECT_EQ(kv[3], 0.4 + 0.1 + 0.1 + 0.1);
    EXPECT_EQ(kv[4], 0.4 + 0.1 + 0.1 + 0.1 + 0.1);
    EXPECT_NE(kv[4], 0.4 + 4 * 0.1);

    EXPECT_EQ(Values(NormalizeRange(1, 5, 3)), (std::vector<int> {1, 4}));
    EXPECT_EQ(Values(NormalizeRange(1, 5, 2)), (std::vector<int> {1, 3, 5}));
    EXPECT_EQ(Values(NormalizeRange(3, 3, 9)), (std::vector<int> {3}));
    // A step far below its span saturates the count instead of wrapping it.
    EXPECT_EQ(NormalizeRange(0.0, 1e300, 1e-300).count, 2147483647);
}

TEST(Options, CodesAreClampedWithoutMessage)
{
    const auto sections = [](const char *minimum, const char *maximum, const char *step) {
        return Values(ReadWith(0, minimum, maximum, step).settings->sectionTypes);
    };
    EXPECT_EQ(sections("0", "9", "1"), (std::vector<int> {1, 2, 3, 4}));
    EXPECT_EQ(sections("3", "3", "9"), (std::vector<int> {3}));
    EXPECT_EQ(sections("4", "1", "1"), (std::vector<int> {4}));
    EXPECT_EQ(Values(ReadWith(10, "-3", "8", "2").settings->gradeCodes),
              (std::vector<int> {1, 3, 5}));
}

TEST(Options, SocketDepthInMultiplesOrMillimetres)
{
    TOptionsReading multiples = ReadWith(6, "1.5d", "2.5d", "0.5d");
    ASSERT_TRUE(multiples.settings);
    EXPECT_TRUE(multiples.settings->socketDepthInMultiples);
    EXPECT_EQ(Values(multiples.settings->socketDepth), (std::vector<double> {1.5, 2.0, 2.5}));

    TOptionsReading millimetres = ReadWith(6, "1500", "3000", "500");
    ASSERT_TRUE(millimetres.settings);
    EXPECT_FALSE(millimetres.settings->socketDepthInMultiples);
    EXPECT_EQ(Values(millimetres.settings->socketDepth),
              (std::vector<double> {1500, 2000, 2500, 3000}));
    // No check on the sign.
    EXPECT_TRUE(ReadWith(6, "-1.0d", "1.0d", "1.0d").settings);
}

// Each failure names the first bad row in table order; later rows are not looked at.
TEST(Options, FailuresInRowOrder)
{
    struct TCase
    {
        int row;
        std::string minimum, maximum, step;
        TOptFailure::Kind kind;
        std::string message;
    };
    using K = TOptFailure::Kind;
    const TCase cases[] = {
        {0, "1.0", "4", "1", K::ErrorBox, "'1.0' is not a valid integer value."},
        {0, "", "4", "1", K::ErrorBox, "'' is not a valid integer value."},
        {1, "-1", "2000", "500", K::Status, "桩径不能为负值"},
        {2, "1000", "-0.5", "500", K::Status, "椭圆直段不能为负值"},
        {3, "-1", "3000", "x", K::ErrorBox, "'x' is not a valid floating point value."},
        {3, "-1", "3000", "500", K::Status, "矩形长边不能为负值"},
        {4, "-1", "2000", "500", K::Status, "矩形短边不能为负值"},
        {5, "-1", "2000", "500", K::Status, "方形边长不能为负值"},
        {6, "1.5d", "3000", "0.5d", K::ErrorBox, "'' is not a valid floating point value."},
        {6, "1.0D", "3.0D", "1.0D", K::ErrorBox, "'1.0D' is not a valid floating point value."},
        {6, "1.0d", "3.0d", "xd", K::ErrorBox, "'x' is not a valid floating point value."},
        {7, "-5", "40", "5", K::Status, "岩石单轴抗压强度不能为负值"},
        {8, "1", "2", "1.5", K::ErrorBox, "'1.5' is not a valid integer value."},
        {11, "0", "0.8", "0.1", K::Status, "岩体完整性指数不能为负值或0"},
        {11, "0.4", "1.2", "0.1", K::Status, "岩体完整性指数不能大于1"},
        {12, "2", "", "", K::Status, "是否考虑覆盖层标记只能是0或1"},
        {12, "1.0", "", "", K::ErrorBox, "'1.0' is not a valid integer value."},
    };
    for (const TCase &c : cases) {
        const TOptionsReading reading = ReadWith(c.row, c.minimum, c.maximum, c.step);
        ASSERT_TRUE(reading.failure) << "row " << c.row << " " << c.minimum;
        EXPECT_FALSE(reading.settings);
        EXPECT_EQ(reading.failure->kind, c.kind) << c.message;
        EXPECT_EQ(reading.failure->message, c.message);
    }

    TOptionTable table = DefaultOptionTable();
    table[7].minimum = "-5";
    table[1].maximum = "-1";
    EXPECT_EQ(ReadOptions(table).failure->message, "桩径不能为负值");
    table = DefaultOptionTable();
    table[11].minimum = "1.00";
    table[11].maximum = "1.00";
    ASSERT_TRUE(ReadOptions(table).settings);
    EXPECT_EQ(Values(ReadOptions(table).settings->indexRange), (std::vector<double> {1.0}));
}

TEST(Options, LocaleNumbers)
{
    EXPECT_EQ(ReadLocaleInteger(" -12 "), -12);
    EXPECT_EQ(ReadLocaleInteger("+3"), 3);
    for (const char *text : {"", " ", "1.0", "1e2", "12a", "+-1", "99999999999"})
        EXPECT_FALSE(ReadLocaleInteger(text)) << text;
    EXPECT_EQ(ReadLocaleFloat(" 1.5e3"), 1500);
    for (const char *text : {"", "  ", "\t", "1,5", "abc"})
        EXPECT_FALSE(ReadLocaleFloat(text)) << text;
    // An overflow behind millions of leading zeros is not a number either.
    EXPECT_FALSE(ReadLocaleFloat("0." + std::string(3000000, '0') + "1e20000000"));
}

TEST(Options, EditableCells)
{
    EXPECT_TRUE(IsEditableOptionCell(0, 1));
    EXPECT_TRUE(IsEditableOptionCell(11, 3));
    EXPECT_TRUE(IsEditableOptionCell(12, 1));
    EXPECT_TRUE(IsEditableOptionCell(14, 2));
    for (const auto &[row, column] : {std::pair {0, 0}, {0, 4}, {12, 2}, {13, 1}, {14, 3}})
        EXPECT_FALSE(IsEditableOptionCell(row, column)) << row << "," << column;
}

} // namespace
