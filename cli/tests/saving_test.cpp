#include "pilecalc_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Precious = "PRECIOUS\r\n";

struct TKeptCase
{
    std::string arguments; // before --out FILE
    int exitCode;
    std::string reason; // the end of the "nothing saved" line
};

// A run that fails, or that has nothing to save, leaves the --out file byte for byte as it was
// and says so.
TEST(PilecalcSaving, RunsWithNothingToSaveLeaveTheFileAsItWas)
{
    const std::string allFail = WriteTemp("all_fail.json", R"([{"d":"x"},{"d":"-5"}])");
    const std::string none = WriteTemp("none.json", "[]");
    const std::string header = WriteTemp("header.csv", "桩号,截面类型,d\r\n");
    const std::string blank = WriteTemp("blank.csv", "桩号,截面类型,d\r\n,,\r\n\r\n,\r\n");
    const std::string badOption =
        WriteTemp("bad_option.json", R"({"options":{"1":["abc","2000","250"]}})");
    const std::string tooMany =
        WriteTemp("too_many.json", R"({"options":{"1":["1","100000","0.001"]}})");
    const std::string failing = WriteTemp(
        "failing.json", R"({"options": {"0": ["1", "2", "1"], "2": ["0", "1000", "500"]}})");
    const std::string badBound = WriteTemp("bad_bound.json", R"({"options":{"14":["abc","0"]}})");
    const std::string noneKept = WriteTemp("none_kept.json", R"({"options":{"14":["1e9","0"]}})");
    std::vector<TKeptCase> cases = {
        {"calc " + allFail, 1, "no pile succeeded"},
        {"calc --format table " + allFail, 1, "no pile succeeded"},
        {"calc " + none, 1, "the file holds no pile"},
        {"calc --format table " + header, 1, "the file holds no pile"},
        {"calc " + blank, 1, "the file holds no pile"},
        {"piles --to csv " + none, 1, "the file holds no pile"},
        {"piles --to json " + blank, 1, "the file holds no pile"},
        {"sweep --filter " + badBound, 1, "the sweep failed"},
        {"sweep --filter " + noneKept, 0, "no candidate is on show"},
        {"sweep --filter --format count " + noneKept, 0, "no candidate is on show"},
        {"sweep " + tooMany, 1, "the sweep failed"},
        {"sweep --format csv " + failing, 1, "the sweep failed"},
    };
    for (const char *format : {"table", "csv", "json", "count"})
        cases.push_back(
            {std::string("sweep --format ") + format + " " + badOption, 1, "the sweep failed"});
    for (const TKeptCase &c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string kept = WriteTemp("kept.txt", Precious);
        const TRun run = RunPilecalc(c.arguments + " --out " + kept);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(ReadFile(kept), Precious);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("pilecalc: nothing saved, " + kept
                               + " is left as it was: " + c.reason + "\n"),
                  std::string::npos)
            << run.err;
    }
    // A file that cannot be used is exit 2 and leaves the file too.
    const std::string kept = WriteTemp("kept.txt", Precious);
    const TRun unusable = RunPilecalc("piles --to json --out " + kept + " "
                                      + WriteTemp("unusable.csv", "d,直径\r\n1,2\r\n"));
    EXPECT_EQ(unusable.exitCode, 2);
    EXPECT_EQ(ReadFile(kept), Precious);
}

// Some piles succeeding is a book to keep: it is saved, and the run still exits 1.
TEST(PilecalcSaving, TheBookOfThePilesThatSucceededIsSaved)
{
    const std::string out = WriteTemp("book.txt", Precious);
    const TRun run = RunPilecalc("calc --format table --timestamp T --out " + out + " "
                                 + WriteTemp("some.json", R"([{"d":"x"},{}])"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "pile 1: 桩身直径数据有错\n");
    const std::string saved = ReadFile(out);
    EXPECT_NE(saved.find("ZH1"), std::string::npos);
    EXPECT_EQ(saved.find("ZH2"), std::string::npos);
}

TEST(PilecalcSaving, TablesConvertBothWaysAndTheirFailuresNameTheCell)
{
    const std::string json = WriteTemp(
        "piles.json",
        R"([{"d": "1200", "rock": [{"hi": "1.00", "weathering": "中风化", "grade": "较完整",)"
        R"( "kv": "0.75", "frk": "30", "c1": "0.5", "c2": "0.04"}, {}]}, {"section": 1, "c": 500}])");
    const TRun csv = RunPilecalc("piles --to csv " + json);
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::string table = WriteTemp("piles.csv", csv.out);
    const TRun back = RunPilecalc("piles --to json " + table);
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(RunPilecalc("piles --to json " + WriteTemp("again.json", back.out)).out, back.out);
    // The empty second rock layer stays, so the pile fails in both formats alike.
    const TRun fromJson = RunPilecalc("calc --format table --timestamp T " + json);
    const TRun fromTable = RunPilecalc("calc --format table --timestamp T " + table);
    EXPECT_EQ(fromJson.exitCode, 1);
    EXPECT_EQ(fromTable.out, fromJson.out);
    EXPECT_EQ(fromJson.err, "pile 1: 第2层岩石单轴抗压强度值错\n");
    EXPECT_EQ(fromTable.err, "pile 1: row 2, column AL (岩层2 frk): 第2层岩石单轴抗压强度值错\n");

    const TRun bad = RunPilecalc("calc --format table "
                                 + WriteTemp("bad.csv", "桩号,截面类型,d\r\n1,圆桩,abc\r\n"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "pile 1: row 2, column C (d): 桩身直径数据有错\n");
}

// Memory follows the pile being worked on, not the file: under a limit of virtual memory a long
// file is still converted and calculated, and where memory runs out the tool ends with a message
// and exit code 2, never by a signal.
TEST(PilecalcSaving, LongFilesUnderAMemoryLimit)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more virtual memory than any limit allows";
#else
    std::string piles = "[";
    for (int i = 0; i < 100000; ++i)
        piles += i ? ",{}" : "{}";
    const std::string json = WriteTemp("long.json", piles + "]");
    const std::string exe = PILECALC_EXE;
    constexpr int LimitKb = 200000; // the tool and its libraries need about 90,000 to start
    constexpr int StarvedKb = 85000;
    for (const std::string command : {"piles --to json", "piles --to csv", "calc --format table"}) {
        SCOPED_TRACE(command);
        const TRun run = RunShell("ulimit -v " + std::to_string(LimitKb) + "; " + exe + " "
                                  + command + " " + json + " | tail -c 3 | od -An -c");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out, "") << run.err;
    }
    for (const int limitKb : {StarvedKb, StarvedKb + 10000, StarvedKb + 20000}) {
        for (const std::string command : {"piles --to json", "calc --format table"}) {
            SCOPED_TRACE(command + " under " + std::to_string(limitKb) + " kB");
            const TRun run = RunShell("ulimit -v " + std::to_string(limitKb) + "; " + exe + " "
                                      + command + " " + json + " >/dev/null; echo $?");
            if (run.out == "127\n" && run.err.find("error while loading") != std::string::npos)
                continue; // too little to start at all on this system
            EXPECT_TRUE(run.out == "0\n" || run.out == "2\n") << run.out << run.err;
            if (run.out == "2\n")
                EXPECT_NE(run.err.find("pilecalc: "), std::string::npos);
        }
    }
#endif
}

} // namespace
