#include "calculation.h"
#include "design_load.h"
#include "messages.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DesignLoad, ReadsTheTextsLikeEveryOtherField)
{
    struct TCase
    {
        const char *load;
        const char *gammaR;
        std::string_view error; // empty: readable
        bool hasLoad;
    };
    const TCase cases[] = {
        {"", "1.0", "", false},
        {"  ", "x", "", false}, // no load: γR is not read
        {"8000", "1.0", "", true},
        {" 8000.5 ", "1.25", "", true},
        {"8e3", "1", "", true},
        {"8,000", "1.0", Messages::LoadError, true},
        {"8000kN", "1.0", Messages::LoadError, true},
        {"0", "1.0", Messages::LoadError, true},
        {"-100", "1.0", Messages::LoadError, true},
        {"1e999", "1.0", Messages::LoadError, true},
        {"8000", "", Messages::GammaRError, true},
        {"8000", "0", Messages::GammaRError, true},
        {"8000", "-1.25", Messages::GammaRError, true},
        {"8000", "1,25", Messages::GammaRError, true},
        {"x", "y", Messages::LoadError, true}, // N is read first
    };
    for (const TCase &testCase : cases) {
        SCOPED_TRACE(std::string(testCase.load) + " / " + testCase.gammaR);
        TPileInput input;
        input.load = testCase.load;
        input.gammaR = testCase.gammaR;
        const TLoadReading reading = ReadDesignLoad(input);
        EXPECT_EQ(reading.error, testCase.error);
        EXPECT_EQ(reading.load.has_value(), testCase.error.empty() && testCase.hasLoad);
    }
    TPileInput input;
    input.load = " 8000.5 ";
    input.gammaR = "1.25";
    const TDesignLoad load = *ReadDesignLoad(input).load;
    EXPECT_EQ(load.N, 8000.5);
    EXPECT_EQ(load.gammaR, 1.25);
}

TEST(DesignLoad, CheckUsesTheUnroundedRa)
{
    TPileInput input;
    const TPileResult result = Calculate(input).result; // Ra = 10367.2557…, shown as 10367
    EXPECT_FALSE(CheckPileLoad(input, result).has_value());

    struct TCase
    {
        const char *load;
        const char *gammaR;
        bool ok;
    };
    const TCase cases[] = {
        {"10367", "1.0", true},     {"10367.26", "1.0", false}, // above the unrounded Ra
        {"12959.06", "1.25", true}, {"12959.08", "1.25", false}, {"100", "0.01", true},
    };
    for (const TCase &testCase : cases) {
        SCOPED_TRACE(testCase.load);
        input.load = testCase.load;
        input.gammaR = testCase.gammaR;
        const auto check = CheckPileLoad(input, result);
        ASSERT_TRUE(check.has_value());
        ASSERT_TRUE(check->made()) << check->error;
        const double gammaR = std::stod(testCase.gammaR);
        EXPECT_EQ(check->gammaR, gammaR);
        EXPECT_DOUBLE_EQ(check->capacity, gammaR * result.Ra);
        EXPECT_DOUBLE_EQ(check->utilization, std::stod(testCase.load) / check->capacity);
        EXPECT_EQ(check->ok, testCase.ok);
    }
    input.load = "bad";
    EXPECT_EQ(CheckPileLoad(input, result)->error, Messages::LoadError);
    EXPECT_FALSE(CheckPileLoad(input, result)->ok);
    EXPECT_EQ(LoadVerdictText(true), "满足");
    EXPECT_EQ(LoadVerdictText(false), "不满足");
}

TEST(DesignLoad, EqualLoadIsCarriedAndFiguresOutOfRangeAreNoVerdict)
{
    const TLoadCheck equal = CheckLoad({5000, 1.0}, 5000);
    EXPECT_TRUE(equal.ok);
    EXPECT_EQ(equal.utilization, 1.0);
    const double huge = std::numeric_limits<double>::max();
    const std::pair<TDesignLoad, double> outOfRange[] = {
        {{1000, huge}, 10000}, // capacity beyond a double
        {{huge, 1e-300}, 1000}, // utilization beyond a double
    };
    for (const auto &[load, Ra] : outOfRange) {
        const TLoadCheck check = CheckLoad(load, Ra);
        EXPECT_EQ(check.error, Messages::OutOfRange);
        EXPECT_FALSE(check.ok);
    }
    EXPECT_EQ(CheckLoad({1000, 1.0}, -5).error, Messages::RaNotPositive);
}

} // namespace
