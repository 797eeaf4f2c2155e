#include "number_format.h"

#include "decimal_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <random>

namespace {

struct TFixedCase
{
    double value;
    int precision, decimals;
    const char *expected;
};

TEST(FormatFixed, RoundsHalfAwayFromZeroWithinPrecision)
{
    const TFixedCase cases[] = {
        {0.785398, 6, 2, "0.79"},
        {12345.678, 6, 2, "12345.70"}, // six significant digits, then padded
        {68.18, 10, 0, "68"},
        {0.125, 10, 2, "0.13"}, // an exact half goes away from zero
        {-0.5, 10, 0, "-1"},
        {0.5, 10, 0, "1"},
        {1, 10, 2, "1.00"},
        {0, 10, 2, "0.00"},
        {1.005, 10, 2, "1.00"}, // 1.00499999999999989… in binary
        {2.675, 10, 2, "2.67"},
        {10367.2557, 7, 0, "10367"},
        {10367.5, 7, 0, "10368"},
        {10367.2557, 7, 2, "10367.26"},
        {10367.2557, 7, 1, "10367.3"},
        {9999.995, 10, 2, "10000.00"}, // 9999.9950000000008… is above the half
        {9.995, 10, 2, "9.99"},
        {99.5, 10, 0, "100"},
        {0.0004, 10, 2, "0.00"},
        {0.004, 10, 2, "0.00"},
        {0.005, 10, 2, "0.01"}, // 0.005000000000000000104… is above the half
        {123.456, 3, 2, "123.00"},
        {123.456, 1, 2, "1.2E2"}, // precision taken as 2: the integer part is too long
        {1e-20, 10, 2, "0.00"},
    };
    for (const TFixedCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " P" << c.precision << " D" << c.decimals);
        EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.expected);
    }
}

TEST(FormatFixed, NeverWritesMinusZero)
{
    EXPECT_EQ(FormatFixed(-0.0, 10, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.004, 10, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.4, 10, 0), "0");
    EXPECT_EQ(FormatFixed(-0.006, 10, 2), "-0.01");
}

TEST(FormatFixed, LongIntegerPartFallsBackToGeneralForm)
{
    EXPECT_EQ(FormatFixed(12345678, 7, 0), "1.234568E7");
    EXPECT_EQ(FormatFixed(9999999.7, 7, 0), "1E7"); // rounding carries into an eighth digit
    EXPECT_EQ(FormatFixed(1234567, 7, 2), "1234567.00");
    EXPECT_EQ(FormatFixed(1e20, 10, 2), "1E20");
}

TEST(GeneralText, ShortestFormUpToFifteenDigits)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {0.36, "0.36"},
        {9000, "9000"},
        {1200, "1200"},
        {2356.19449019235, "2356.19449019235"},
        {750 * 3.141592653589793, "2356.19449019234"},
        {0.1 + 0.2, "0.3"},
        {21839.999999999996, "21840"},
        {-2.5, "-2.5"},
        {0.00001, "0.00001"},
        {0.0000015, "1.5E-6"},
        {-0.0000015, "-1.5E-6"},
        {1e20, "1E20"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e-300, "1E-300"},
    };
    for (const auto &[value, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(GeneralText(value), expected);
    }
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::infinity()), "INF");
}

TEST(GeneralText, CellValueIsTheValueReadBack)
{
    EXPECT_EQ(CellValue(21839.999999999996), 21840.0);
    EXPECT_EQ(CellValue(0.1 + 0.2), 0.3);
    EXPECT_EQ(CellValue(2356.19449019234), 2356.19449019234);
}

} // namespace

// Usual values take a binary shortcut; it gives the texts of the digit-by-digit way for values of
// every size, near halves, whole numbers and powers of ten, with every precision and up to 4
// decimals.
TEST(FormatFixed, ShortcutGivesTheTextsOfTheExpansion)
{
    std::mt19937_64 random(25);
    const double steps[] = {1, 0.5, 0.25, 0.1, 0.05, 0.01, 0.005, 0.001, 0.0005};
    for (int i = 0; i < 40000; ++i) {
        const double magnitude = std::pow(10.0, static_cast<int>(random() % 16) - 5);
        double value = magnitude * std::uniform_real_distribution<double>(0, 10)(random);
        if (i % 3 == 0) // on or next to a half or a step
            value = std::round(value / steps[i % 9]) * steps[i % 9]
                * (1 + static_cast<double>(random() % 3 - 1) * 1e-16);
        if (i % 7 == 1) // just below a power of ten, where rounding adds a digit
            value = magnitude * (1 - static_cast<double>(random() % 1000) * 1e-9);
        if (i % 2)
            value = -value;
        const int precision = 2 + static_cast<int>(random() % 17);
        const int decimals = static_cast<int>(random() % 5);
        ASSERT_EQ(FormatFixed(value, precision, decimals),
                  FormatFixedByExpansion(value, precision, decimals))
            << std::setprecision(17) << value << " " << precision << " " << decimals;
        std::string appended = "x";
        AppendFixed(appended, value, precision, decimals);
        ASSERT_EQ(appended, "x" + FormatFixedByExpansion(value, precision, decimals));
        ASSERT_EQ(std::bit_cast<std::uint64_t>(CellValue(value)),
                  std::bit_cast<std::uint64_t>(ReadDecimal(GeneralText(value)).value()))
            << std::setprecision(17) << value;
    }
}
