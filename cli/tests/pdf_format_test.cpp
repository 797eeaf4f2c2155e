#include "pilecalc_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// Three piles, the second failing: the PDF holds the book of the two that succeeded.
const char *Piles = R"([
  {},
  {"d": "0"},
  {"section": 1, "d": "1200", "c": "600",
   "soil": [{"li": "3.50", "qik": "120"}, {"li": "6.00", "qik": "80.5"}],
   "rock": [{"hi": "1.00", "weathering": "中风化", "grade": "较破碎", "kv": "0.3", "frk": "12.5",
             "c1": "0.5", "c2": "0.04"},
            {"hi": "2.00", "weathering": "微风化", "grade": "较完整", "kv": "0.6", "frk": "30",
             "c1": "0.5", "c2": "0.04"}]}
])";

std::string PdfText(const std::string &pdf)
{
    // pdftotext through the shell, the way RunPilecalc runs the tool.
    std::string out;
    if (FILE *pipe = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

TEST(PilecalcPdf, BookOfTheSucceededPilesWithTheirProfilesWithoutADisplay)
{
    const std::string input = WriteTemp("piles.json", Piles);
    const std::string pdf = TestTempPath("book.pdf");
    // No display and a platform that would need one: the tool draws offscreen all the same.
    const std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const TRun run =
        RunPilecalc("calc --format pdf --timestamp '2024/3/5 14:07:09' --out " + pdf + " " + input);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!display.empty())
        setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "pile 2: 桩身直径数据有错\n");
    ASSERT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
    const std::string text = PdfText(pdf);
    for (const char *expected : {"1.基桩编号: ZH1", "1.基桩编号: ZH2", "基桩ZH1 剖面图",
                                 "基桩ZH2 剖面图", "计算时间：2024/3/5 14:07:09"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(text.find("ZH3"), std::string::npos);
}

TEST(PilecalcPdf, TableToStandardOutputAndSavingFailures)
{
    const TRun table = RunPilecalc("calc --format table-pdf");
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.err, "");
    ASSERT_EQ(table.out.substr(0, 5), "%PDF-");
    const std::string pdf = WriteTemp("table.pdf", table.out);
    EXPECT_NE(PdfText(pdf).find("ZH1"), std::string::npos);

    // A file that cannot be written leaves the previous one as it was.
    const TRun missing = RunPilecalc("calc --format pdf --out /nonexistent/book.pdf");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "pilecalc: /nonexistent/book.pdf: No such file or directory\n");
}

// The project of a JSON file goes on the cover and atop the pages; with --timestamp two runs give
// the same bytes.
TEST(PilecalcPdf, TheFilesProjectOnTheCoverAndTheSameBytesForTheSameTimeStamp)
{
    const std::string input = WriteTemp("project.json", R"({
  "project": {"name": "沿江高速公路二期", "structure": "3#墩", "bookNo": "JS-2024-017",
              "designer": "张明", "checker": "李华", "reviewer": "王强"},
  "piles": [{}, {"d": "1500"}]
})");
    const std::string command = "calc --format pdf --timestamp '2024/3/5 14:07:09' " + input;
    const TRun first = RunPilecalc(command);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    sleep(1);
    const TRun second = RunPilecalc(command);
    EXPECT_TRUE(first.out == second.out) << "two runs differ";
    const std::string text = PdfText(WriteTemp("project.pdf", first.out));
    for (const char *expected :
         {"沿江高速公路二期", "3#墩", "JS-2024-017", "张明", "李华", "王强", "基桩ZH2", "系数取值"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

} // namespace
