#include "decimal_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

namespace {

struct TReadCase
{
    const char *text;
    std::optional<double> expected;
};

TEST(DecimalReader, ReadsPlainDecimalsAndRejectsEverythingElse)
{
    const TReadCase cases[] = {
        {"", 0.0},
        {"   ", 0.0},
        {"100", 100.0},
        {"  100", 100.0},
        {"100  ", 100.0},
        {"-2.5", -2.5},
        {"+2.5", 2.5},
        {"0.75", 0.75},
        {".5", 0.5},
        {"5.", 5.0},
        {"1.5E-6", 1.5e-6},
        {"1e3", 1000.0},
        {"2.5e+2", 250.0},
        {"1e-400", 0.0}, // underflows to zero
        {"abc", std::nullopt},
        {"1,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12x", std::nullopt},
        {"1e999", std::nullopt}, // overflows to infinity
        {"-1e999", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"1 000", std::nullopt},
    };
    for (const TReadCase &c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(ReadDecimal(c.text), c.expected);
    }
}

TEST(DecimalReader, ReadsTheNearestDouble)
{
    EXPECT_EQ(*ReadDecimal("2356.19449019235"), 2356.19449019235);
    EXPECT_EQ(*ReadDecimal("1.7976931348623157e308"), 1.7976931348623157e308);
    EXPECT_TRUE(std::signbit(*ReadDecimal("-0")));
}

// Digits before the exponent move the decimal point as far as the exponent does: millions of them
// must not turn an overflow into an underflow, or the other way round.
TEST(DecimalReader, LongDigitRunsDoNotHideTheMagnitude)
{
    const std::string zeros(3000000, '0');
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"0." + zeros + "1e20000000", std::nullopt}, // about 1e16999999
        {"-0." + zeros + "1e20000000", std::nullopt},
        {"0." + zeros + "1e2999990", 1e-11},
        {"1" + zeros + "e-20000000", 0.0}, // about 1e-17000000
        {"1" + zeros + "e-2999990", 1e10},
        {"1" + zeros, std::nullopt},
        {"0." + zeros + "1", 0.0},
        {"1e" + std::string(30, '9'), std::nullopt},
        {"1e-" + std::string(30, '9'), 0.0},
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 12) + "…" + text.substr(text.size() - 12));
        const std::optional<double> value = ReadDecimal(text);
        ASSERT_EQ(value.has_value(), expected.has_value());
        if (expected)
            EXPECT_DOUBLE_EQ(*value, *expected);
    }
}

} // namespace

// Short texts are read by a shortcut; every text reads as the conversion of the standard library
// gives it, whatever the number of digits on either side of the point.
TEST(DecimalReader, ShortTextsReadAsTheStandardConversionReadsThem)
{
    std::mt19937_64 random(25);
    for (int i = 0; i < 20000; ++i) {
        const int before = static_cast<int>(random() % 12);
        const int after = static_cast<int>(random() % 12);
        std::string text = random() % 2 ? "-" : "";
        for (int k = 0; k < before; ++k)
            text += static_cast<char>('0' + random() % 10);
        if (after > 0 || random() % 2)
            text += '.';
        for (int k = 0; k < after; ++k)
            text += static_cast<char>('0' + random() % 10);
        if (before + after == 0)
            continue;
        double expected = 0;
        std::from_chars(text.data() + (text[0] == '-'), text.data() + text.size(), expected);
        if (text[0] == '-')
            expected = -expected;
        const auto read = ReadDecimal(text);
        ASSERT_TRUE(read) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*read), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}
