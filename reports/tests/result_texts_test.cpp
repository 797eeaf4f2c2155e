#include "calculation.h"
#include "result_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultTexts, DefaultPileInEveryPrecisionMode)
{
    const TCalcOutcome outcome = Calculate(TPileInput {});
    ASSERT_TRUE(outcome.ok());
    const struct
    {
        TRoundingMode mode;
        const char *ra, *share;
    } cases[] = {
        {TRoundingMode::TwoDecimals, "10367.26", "68.18%"},
        {TRoundingMode::OneDecimal, "10367.3", "68.2%"},
        {TRoundingMode::Units, "10367", "68%"},
        {TRoundingMode::Tens, "10360", "68%"},
        {TRoundingMode::Hundreds, "10300", "68%"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ra);
        EXPECT_EQ(RaText(outcome.result.Ra, c.mode), c.ra);
        EXPECT_EQ(TipShareText(outcome.result.tipShare, c.mode), c.share);
    }
}

TEST(ResultTexts, UnitsRoundWhileTensAndHundredsCut)
{
    EXPECT_EQ(RaText(10367.5, TRoundingMode::Units), "10368");
    EXPECT_EQ(RaText(10369.9, TRoundingMode::Tens), "10360");
    EXPECT_EQ(RaText(10369.9, TRoundingMode::Hundreds), "10300");
    EXPECT_EQ(TipShareText(68.9, TRoundingMode::Units), "69%");
    EXPECT_EQ(TipShareText(68.9, TRoundingMode::Tens), "68%");
    // An exact multiple with binary noise stays itself.
    EXPECT_EQ(RaText(21839.999999999996, TRoundingMode::Tens), "21840");
    EXPECT_EQ(RaText(21839.999999999996, TRoundingMode::Hundreds), "21800");
    EXPECT_EQ(TipShareText(68.99999999999999, TRoundingMode::Hundreds), "69%");
    EXPECT_EQ(PrecisionText(9424.77796076938, TRoundingMode::Hundreds, 10), "9400");
}

TEST(ResultTexts, ShownSizeTextsAfterTheExchange)
{
    TPileInput input;
    input.sectionType = TSectionType::Rectangle;
    input.d = "1000";
    input.c = "1500.0";
    const TCalcOutcome exchanged = Calculate(input);
    ASSERT_TRUE(exchanged.ok());
    EXPECT_EQ(ShownSizeTexts(input, exchanged.result),
              std::make_pair(std::string("1500"), std::string("1000")));

    input.d = "1500.0";
    input.c = "1000";
    const TCalcOutcome kept = Calculate(input);
    EXPECT_EQ(ShownSizeTexts(input, kept.result),
              std::make_pair(std::string("1500.0"), std::string("1000")));
}

} // namespace
