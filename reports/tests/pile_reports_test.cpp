#include "calculation.h"
#include "file_names.h"
#include "page_texts.h"
#include "pile_reports.h"
#include "text_file.h"

#include "golden_piles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr const char *Stamp = "2024/3/5 14:07:09";

std::vector<std::string> GoldenLines(const std::string &name)
{
    std::ifstream file(std::string(PILECALC_TEST_DATA) + "/reports/" + name);
    EXPECT_TRUE(file) << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// Whole reports line by line, so a failure names the first line that differs.
void ExpectLines(const std::vector<std::string> &actual, const std::string &golden)
{
    const std::vector<std::string> expected = GoldenLines(golden);
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << golden << " line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size()) << golden;
}

// Calculates the pile as the compute button does and adds it to the reports.
void AddPile(TPileReports &reports, const TPileInput &input, const char *stamp = Stamp)
{
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok()) << outcome.failure->message;
    reports.WriteReports(input, outcome.result, PageTextsOf(input, outcome.result), stamp);
}

void PrintTo(const TPileCase &pile, std::ostream *out)
{
    *out << pile.name;
}

TPileInput PileInput(const TPileCase &pile)
{
    TPileInput input;
    pile.edit(input);
    return input;
}

class BookSection : public testing::TestWithParam<TPileCase>
{ };

TEST_P(BookSection, MatchesItsGoldenBook)
{
    TPileReports reports;
    AddPile(reports, PileInput(GetParam()));
    ExpectLines(reports.BookLines(), std::string("book_") + GetParam().name + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Piles, BookSection, testing::ValuesIn(Piles),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SummaryTable, DefaultPileGivesHeaderLineAndClosing)
{
    TPileReports reports;
    AddPile(reports, TPileInput {});
    ExpectLines(reports.TableLines(), "table_default.txt");
}

// Every section type and precision in one table, one header and one time-stamp line.
TEST(SummaryTable, OneLinePerPileInEverySectionAndPrecision)
{
    TPileReports reports;
    for (const TPileCase &pile : Piles)
        AddPile(reports, PileInput(pile));
    TPileInput hundreds;
    hundreds.rounding = TRoundingMode::Hundreds;
    AddPile(reports, hundreds);
    EXPECT_EQ(reports.PileCount(), 8);
    ExpectLines(reports.TableLines(), "table_all_piles.txt");
}

TEST(PileReports, DeletingTheLastOfSeveralPilesKeepsTheLatestTimeStamp)
{
    TPileReports reports;
    AddPile(reports, PileInput(Piles[0]), "2024/3/6 09:00:01");
    AddPile(reports, PileInput(Piles[1]), "2024/3/6 09:00:02");
    AddPile(reports, PileInput(Piles[2]), "2024/3/6 09:00:03");
    reports.DeleteLastPile();
    EXPECT_EQ(reports.PileCount(), 2);
    ExpectLines(reports.BookLines(), "book_two_piles_after_delete.txt");

    // The table is that of the first two piles, closed with the deleted pile's time stamp.
    TPileReports twoPiles;
    AddPile(twoPiles, PileInput(Piles[0]), "2024/3/6 09:00:01");
    AddPile(twoPiles, PileInput(Piles[1]), "2024/3/6 09:00:03");
    EXPECT_EQ(reports.TableLines(), twoPiles.TableLines());

    // The freed number is taken again, in both reports.
    AddPile(reports, PileInput(Piles[2]), "2024/3/6 09:00:04");
    EXPECT_EQ(reports.PileCount(), 3);
    EXPECT_EQ(reports.TableLines().end()[-5].substr(0, 6), "   ZH3");
    const auto &book = reports.BookLines();
    EXPECT_EQ(std::count(book.begin(), book.end(), "1.基桩编号: ZH3"), 1);
    EXPECT_EQ(std::count_if(book.begin(), book.end(),
                            [](const std::string &line) { return line.starts_with("计算时间："); }),
              1);
    EXPECT_EQ(book.back(), "计算时间：2024/3/6 09:00:04");
}

TEST(PileReports, DeletingTheOnlyPileEmptiesBothReports)
{
    TPileReports reports;
    AddPile(reports, TPileInput {});
    reports.DeleteLastPile();
    EXPECT_EQ(reports.PileCount(), 0);
    EXPECT_TRUE(reports.BookLines().empty());
    EXPECT_TRUE(reports.TableLines().empty());
    reports.DeleteLastPile(); // nothing left: stays empty
    EXPECT_EQ(reports.PileCount(), 0);

    AddPile(reports, TPileInput {});
    ExpectLines(reports.BookLines(), "book_default.txt");
    ExpectLines(reports.TableLines(), "table_default.txt");
}

// The saved book: GBK, CR LF after every line, no byte-order mark. The expected bytes were made
// from the golden book with iconv, independently of the program's own conversion.
TEST(PileReports, SavedBookHasTheBytesOfTheSystemCodePage)
{
    TPileReports reports;
    AddPile(reports, TPileInput {});
    const auto folder = std::filesystem::path(testing::TempDir()) / "pile_reports_saved_book";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ASSERT_EQ(SaveTextFile(folder, FileNames::Book, reports.BookLines()), std::nullopt);

    std::ifstream saved(FilePath(folder, FileNames::Book), std::ios::binary);
    std::ifstream expected(std::string(PILECALC_TEST_DATA) + "/reports/book_default_gbk.txt",
                           std::ios::binary);
    ASSERT_TRUE(saved && expected);
    const std::string bytes {std::istreambuf_iterator<char>(saved), {}};
    EXPECT_EQ(bytes, std::string(std::istreambuf_iterator<char>(expected), {}));
    EXPECT_TRUE(bytes.starts_with("=================="));
    EXPECT_TRUE(bytes.ends_with("14:07:09\r\n"));
    saved.close(); // Windows removes no open file
    std::filesystem::remove_all(folder);
}

} // namespace
