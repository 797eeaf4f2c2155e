#include "calculation.h"
#include "page_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(PageTexts, ShowWhatTheInputPageShowsAfterTheCalculation)
{
    TPileInput input;
    input.sectionType = TSectionType::Rectangle;
    input.d = "1000";
    input.c = "1500.0";
    input.soilLayers = {{"5.00", "200.00"}, {" 3", "80"}};
    input.rockLayers.push_back({"2", "微风化", "完整", "0.9", "40", "", ""});
    input.coefMode = TCoefMode::SmallerOfBoth;
    input.interpBasis = TInterpBasis::IntegrityIndex;
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok()) << outcome.failure->message;

    const TPageTexts texts = PageTextsOf(input, outcome.result);
    EXPECT_EQ(texts.dText, "1500"); // exchanged, in general form
    EXPECT_EQ(texts.cText, "1000");
    EXPECT_EQ(texts.soilCountText, "2");
    EXPECT_EQ(texts.rockCountText, "2");
    EXPECT_EQ(texts.coefModeText, "自动插值与人工指定取小值");
    EXPECT_EQ(texts.basisText, "岩体完整性指数");
    ASSERT_EQ(texts.soilCells.size(), 2u);
    EXPECT_EQ(texts.soilCells[1], (std::array<std::string, 3> {"2", " 3", "80"}));
    ASSERT_EQ(texts.rockCells.size(), 2u);
    EXPECT_EQ(texts.rockCells[1],
              (std::array<std::string, 6> {"2", "2", "微风化", "完整", "0.9", "40"}));

    // Sizes that were not exchanged stay as typed.
    TPileInput circle;
    circle.d = "1200.50";
    const TPageTexts circleTexts = PageTextsOf(circle, Calculate(circle).result);
    EXPECT_EQ(circleTexts.dText, "1200.50");
    EXPECT_EQ(circleTexts.cText, "0");
}

} // namespace
