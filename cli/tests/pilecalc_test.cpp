#include "pilecalc_runner.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(Pilecalc, CalcWithoutInputPrintsTheDefaultPile)
{
    const TRun run = RunPilecalc("calc --format json");
    ASSERT_EQ(run.exitCode, 0);
    const auto results = nlohmann::json::parse(run.out);
    ASSERT_EQ(results.size(), 1u);
    const auto &pile = results[0];
    EXPECT_EQ(pile["ok"], true);
    EXPECT_EQ(pile["pile"], "ZH1");
    EXPECT_EQ(pile["raText"], "10367");
    EXPECT_EQ(pile["percentText"], "68%");
    EXPECT_NEAR(pile["Ra"].get<double>(), 10367.2557, 1e-4);
    EXPECT_EQ(pile["status"]["kind"], "none");
    EXPECT_EQ(pile["rock"][0]["remark"], "较软岩,岩体较完整");
}

TEST(Pilecalc, FailedPileGetsNoNumberAndExitOne)
{
    const std::string input = WriteTemp("piles.json", R"([{}, {"d": "0"}, {"rounding": 0}])");
    const TRun run = RunPilecalc("calc --format json - < " + input);
    EXPECT_EQ(run.exitCode, 1);
    const auto results = nlohmann::json::parse(run.out);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0]["pile"], "ZH1");
    EXPECT_EQ(results[1], nlohmann::json::parse(R"({"ok": false, "message": "桩身直径数据有错"})"));
    EXPECT_EQ(results[2]["pile"], "ZH2");
    EXPECT_EQ(results[2]["raText"], "10367.26");
    EXPECT_EQ(run.err, "pile 2: 桩身直径数据有错\n");
}

TEST(Pilecalc, UnusableInputExitsTwo)
{
    const std::pair<std::string, std::string> cases[] = {
        {"calc - < " + WriteTemp("unknown.json", R"({"x": 1})"),
         "pilecalc: pile 1: unknown key \"x\"\n"},
        {"calc " + WriteTemp("broken.json", "{"), ""},
        {"calc /nonexistent/pile.json",
         "pilecalc: /nonexistent/pile.json: cannot be opened: No such file or directory\n"},
        {"calc --format xml", ""},
        {"calc --out /nonexistent/book.txt",
         "pilecalc: /nonexistent/book.txt: No such file or directory\n"},
        {"calc --format json --out " + TestTempPath("never.json"),
         "pilecalc: --out saves the book or the table; --format json prints to standard output "
         "only\n"},
        {"calc --timestamp \"$(printf '2024/3/5\\n14:07:09')\"",
         "pilecalc: --timestamp must be a single line\n"},
        {"frobnicate", ""},
    };
    for (const auto &[arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        const TRun run = RunPilecalc(arguments);
        EXPECT_EQ(run.exitCode, 2);
        if (!message.empty())
            EXPECT_EQ(run.err, message);
        else
            EXPECT_FALSE(run.err.empty());
    }
}

std::string GoldenReport(const std::string &name)
{
    return ReadFile(std::string(PILECALC_TEST_DATA) + "/reports/" + name);
}

// Standard output is UTF-8 with "\n" line ends: the reports exactly as the golden files hold them.
TEST(Pilecalc, ReportsOfTheDefaultPile)
{
    const TRun book = RunPilecalc("calc --timestamp '2024/3/5 14:07:09'");
    EXPECT_EQ(book.exitCode, 0);
    EXPECT_EQ(book.out, GoldenReport("book_default.txt"));
    const TRun table = RunPilecalc("calc --format table --timestamp '2024/3/5 14:07:09'");
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.out, GoldenReport("table_default.txt"));
}

TEST(Pilecalc, SeveralPilesGiveOneBookAndAFailedPileNoNumber)
{
    const std::string input =
        WriteTemp("book_piles.json", R"([{}, {"d": "0"}, {"soil": []}, {"rounding": 0}])");
    const TRun run = RunPilecalc("calc --timestamp T " + input);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "pile 2: 桩身直径数据有错\n");
    std::vector<std::string> numbers;
    int stamps = 0;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("1.基桩编号: "))
            numbers.push_back(line);
        stamps += line.starts_with("计算时间：");
    }
    EXPECT_EQ(numbers,
              (std::vector<std::string> {"1.基桩编号: ZH1", "1.基桩编号: ZH2", "1.基桩编号: ZH3"}));
    EXPECT_EQ(stamps, 1);
    EXPECT_TRUE(
        run.out.ends_with("==================================================\n计算时间：T\n"));
}

TEST(Pilecalc, OutSavesTheBookAsTheDesktopProgramDoes)
{
    const std::string path = TestTempPath("书.txt");
    std::remove(path.c_str());
    const TRun run = RunPilecalc("calc --timestamp '2024/3/5 14:07:09' --out " + path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile(path), GoldenReport("book_default_gbk.txt"));
    std::remove(path.c_str());
}

} // namespace
