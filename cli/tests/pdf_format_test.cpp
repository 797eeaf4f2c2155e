#include "pilecalc_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

    // Without a pile that succeeded there is no document to save: the file stays as it was.
    const std::string allFail = WriteTemp("all_fail.json", R"([{"d":"x"},{"d":"-5"}])");
    for (const char *format : {"pdf", "table-pdf"}) {
        SCOPED_TRACE(format);
        const std::string kept = WriteTemp("kept.pdf", "PRECIOUS\r\n");
        const TRun run =
            RunPilecalc(std::string("calc --format ") + format + " --out " + kept + " " + allFail);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(ReadFile(kept), "PRECIOUS\r\n");
        EXPECT_NE(run.err.find("pilecalc: nothing saved, " + kept
                               + " is left as it was: no pile succeeded\n"),
                  std::string::npos)
            << run.err;
    }
}

} // namespace
