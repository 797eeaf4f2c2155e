#include "calculation.h"
#include "page_texts.h"
#include "pile_reports.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void AddPile(TPileReports &reports, const TPileInput &input)
{
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok());
    reports.WriteReports(input, outcome.result, PageTextsOf(input, outcome.result),
                         "2024/3/5 1:02:03");
}

// Each record names its pile's section in the book: its first line is the section title and the
// line before it closes the previous section.
void ExpectRecordsInStep(const TPileReports &reports)
{
    ASSERT_EQ(reports.Piles().size(), std::size_t(reports.PileCount()));
    for (std::size_t k = 0; k < reports.Piles().size(); ++k) {
        const std::size_t first = reports.Piles()[k].firstBookLine;
        ASSERT_LT(first + 1, reports.BookLines().size());
        EXPECT_EQ(reports.BookLines()[first], "================== 嵌岩桩计算书 ==================");
        EXPECT_EQ(reports.BookLines()[first + 1], "1.基桩编号: ZH" + std::to_string(k + 1));
    }
}

TEST(PileRecords, FollowWritingAndDeletingPiles)
{
    TPileInput ellipse;
    ellipse.sectionType = TSectionType::Ellipse;
    ellipse.c = "500";
    TPileInput bare;
    bare.soilLayers.clear();

    TPileReports reports;
    AddPile(reports, TPileInput {});
    AddPile(reports, ellipse);
    AddPile(reports, bare);
    ExpectRecordsInStep(reports);
    EXPECT_EQ(reports.Piles()[0].firstBookLine, 0u);
    EXPECT_EQ(reports.Piles()[1].input.sectionType, TSectionType::Ellipse);
    EXPECT_EQ(reports.Piles()[1].texts.cText, "500");
    EXPECT_TRUE(reports.Piles()[2].input.soilLayers.empty());
    EXPECT_DOUBLE_EQ(reports.Piles()[2].result.Ra, Calculate(bare).result.Ra);

    reports.DeleteLastPile();
    ExpectRecordsInStep(reports);
    EXPECT_EQ(reports.Piles().back().input.sectionType, TSectionType::Ellipse);
    AddPile(reports, bare); // takes ZH3 again, after the kept time-stamp line is replaced
    ExpectRecordsInStep(reports);

    reports.DeleteLastPile();
    reports.DeleteLastPile();
    reports.DeleteLastPile();
    EXPECT_TRUE(reports.Piles().empty());
    AddPile(reports, ellipse);
    ExpectRecordsInStep(reports);
}

} // namespace
