#include "pilecalc_runner.h"

#include "calculation.h"
#include "outcome_json.h"
#include "page_texts.h"
#include "pile_json.h"
#include "pile_reports.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

struct TRefusal
{
    std::string arguments;
    std::string message; // a part of standard error
};

void ExpectRefused(const std::vector<TRefusal> &cases)
{
    for (const TRefusal &c : cases) {
        SCOPED_TRACE(c.arguments);
        const TRun run = RunPilecalc(c.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.err.starts_with("pilecalc: ")) << run.err;
    }
}

TEST(PilecalcHardening, NumbersTooLargeForADoubleAreRefused)
{
    ExpectRefused({
        {"calc - < " + WriteTemp("plus.json", R"({"d":1e400})"), "number overflow parsing '1e400'"},
        {"calc - < " + WriteTemp("minus.json", R"([{}, {"d":-1e309}])"),
         "number overflow parsing '-1e309'"},
        {"calc " + WriteTemp("digits.json", "{\"d\":" + std::string(400, '9') + "}"),
         "number overflow parsing '999"},
        {"sweep - < " + WriteTemp("options.json", R"({"options":{"1":["1000",1e400,"1"]}})"),
         "number overflow parsing '1e400'"},
        {"sweep - < " + WriteTemp("base.json", R"({"base":{"d":1e999}})"),
         "number overflow parsing '1e999'"},
    });
}

TEST(PilecalcHardening, FilesThatCannotBeReadAreRefusedWithTheSystemsReason)
{
    ExpectRefused({
        {"calc /tmp", "pilecalc: /tmp: cannot be read: Is a directory\n"},
        {"sweep /tmp", "pilecalc: /tmp: cannot be read: Is a directory\n"},
        {"calc /proc/self/mem", "pilecalc: /proc/self/mem: cannot be read: Input/output error\n"},
        {"calc /nonexistent/pile.json",
         "pilecalc: /nonexistent/pile.json: cannot be opened: No such file or directory\n"},
        {"calc /dev/zero", "pilecalc: /dev/zero: larger than 256 MB, the limit of an input file\n"},
        {"calc - < /dev/zero", "pilecalc: standard input: larger than 256 MB"},
    });
}

TEST(PilecalcHardening, EmptyFileOrOutNamesAreUsageErrors)
{
    ExpectRefused({
        {"calc ''", "pilecalc: FILE must not be empty\n"},
        {"sweep ''", "pilecalc: FILE must not be empty\n"},
        {"calc --out ''", "pilecalc: --out must not be empty\n"},
        {"sweep --out ''", "pilecalc: --out must not be empty\n"},
    });
}

TEST(PilecalcHardening, KeysGivenTwiceAreRefusedByName)
{
    ExpectRefused({
        {"calc - < " + WriteTemp("pile.json", R"({"d":"abc","d":"1500"})"),
         "pilecalc: standard input: the key \"d\" is given twice in one object\n"},
        {"calc " + WriteTemp("layer.json", R"([{}, {"rock":[{"hi":"1","frk":"30","hi":"2"}]}])"),
         "the key \"hi\" is given twice in one object"},
        {"sweep - < "
             + WriteTemp("row.json", R"({"options":{"1":["1","2","1"],"1":["1","3","1"]}})"),
         "the key \"1\" is given twice in one object"},
        {"sweep - < " + WriteTemp("sweep.json", R"({"base":{},"base":{}})"),
         "the key \"base\" is given twice in one object"},
    });
    // The same key in different objects is no duplicate.
    const TRun run = RunPilecalc("calc --format json "
                                 + WriteTemp("two.json", R"([{"d":"1200"},{"d":"1500"}])"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(PilecalcHardening, NestingDeeperThanPilesNeedIsRefused)
{
    ExpectRefused({{"calc " + WriteTemp("deep.json", std::string(100000, '[')),
                    "nested deeper than 32 levels"}});
}

TEST(PilecalcHardening, FailedWritesToStandardOutputExitTwo)
{
    for (const std::string arguments :
         {"calc", "calc --format table", "calc --format json", "sweep", "sweep --format csv",
          "sweep --format json", "sweep --format count", "calc --help"}) {
        SCOPED_TRACE(arguments);
        const TRun run = RunPilecalc(arguments + " > /dev/full");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("pilecalc: standard output: No space left on device\n"),
                  std::string::npos)
            << run.err;
    }
}

TEST(PilecalcHardening, FailedWritesToAFileExitTwo)
{
    const TRun calc = RunPilecalc("calc --out /dev/full");
    EXPECT_EQ(calc.exitCode, 2);
    EXPECT_EQ(calc.err, "pilecalc: /dev/full: No space left on device\n");
    const TRun sweep = RunPilecalc("sweep --out /dev/full");
    EXPECT_EQ(sweep.exitCode, 2);
    EXPECT_NE(sweep.err.find("pilecalc: /dev/full: No space left on device\n"), std::string::npos)
        << sweep.err;
}

// An overflow behind millions of leading zeros is an overflow, not a zero: the layer's check
// fails.
TEST(PilecalcHardening, OverflowBehindLeadingZerosFailsTheField)
{
    const std::string li = "0." + std::string(3000000, '0') + "1e20000000";
    const TRun run = RunPilecalc("calc --format json "
                                 + WriteTemp("zeros.json", R"({"soil":[{"li":")" + li + R"("}]})"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "pile 1: 第1层土厚度错\n");
}

TEST(PilecalcHardening, SavesUnderTheLongestNameTheFileSystemTakes)
{
    for (const std::size_t length : {243u, 250u, 255u}) {
        const std::string path = testing::TempDir() + std::string(length - 4, 'n') + ".txt";
        std::filesystem::remove(path);
        const TRun run = RunPilecalc("calc --format table --out " + path);
        EXPECT_EQ(run.exitCode, 0) << length << ": " << run.err;
        EXPECT_TRUE(std::filesystem::exists(path)) << length;
        std::filesystem::remove(path);
    }
}

// The reports printed a pile at a time are the reports the desktop program holds.
TEST(PilecalcHardening, StreamedReportsEqualTheHeldReports)
{
    const std::string piles =
        R"([{}, {"d": "0"}, {"section": 2, "d": 1000, "c": 1500}, {"rounding": 0}, {"soil": []}])";
    const std::string input = WriteTemp("piles.json", piles);
    TPileReports reports;
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    for (const TPileInput &pile : PilesFromText(piles, "piles")) {
        const TCalcOutcome outcome = Calculate(pile);
        if (outcome.ok())
            reports.WriteReports(pile, outcome.result, PageTextsOf(pile, outcome.result), "T");
        results.push_back(OutcomeToJson(pile, outcome, reports.PileCount()));
    }
    const auto joined = [](const std::vector<std::string> &lines) {
        std::string text;
        for (const std::string &line : lines)
            text += line + "\n";
        return text;
    };
    EXPECT_EQ(RunPilecalc("calc --timestamp T " + input).out, joined(reports.BookLines()));
    EXPECT_EQ(RunPilecalc("calc --format table --timestamp T " + input).out,
              joined(reports.TableLines()));
    EXPECT_EQ(RunPilecalc("calc --format json " + input).out, results.dump(2) + "\n");
    const TRun none = RunPilecalc("calc --format json " + WriteTemp("none.json", "[]"));
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("none.json: holds no pile\n"), std::string::npos) << none.err;
}

// Broken, cut and retyped inputs: the tool always ends with 0, 1 or 2, never by a signal, and
// explains a 2 on standard error.
TEST(PilecalcHardening, MalformedInputsNeverEndTheToolAbnormally)
{
    const std::string pile =
        R"([{ "section": "圆桩", "d": "1200", "soil": [ { "li": "5.00", "qik": "200.00" } ],)"
        R"( "rock": [ { "hi": "1.00", "weathering": "中风化", "grade": "较完整", "kv": "0.75",)"
        R"( "frk": "25.00", "c1": "0.50", "c2": "0.04" } ], "coefMode": 2, "basis": 1,)"
        R"( "boredPile": true, "rounding": "个位取整" }, { "section": 2, "c": 1500 }])";
    const std::string sweep =
        R"({ "options": { "0": ["1", "1", "1"], "1": ["1000", "1500", "500"], "12": ["1"],)"
        R"( "14": ["10000", "0"] }, "base": { "soil": [ { "li": "5", "qik": "200" } ] } })";
    const std::vector<std::string> pieces = {"",
                                             "\"",
                                             "{",
                                             "}",
                                             "[",
                                             "]",
                                             ",",
                                             ":",
                                             "null",
                                             "true",
                                             "-1",
                                             "1e308",
                                             "1e999",
                                             "-0",
                                             "18446744073709551616",
                                             "0.5",
                                             "\"\"",
                                             "\"\\u0000\"",
                                             "\"\\ud800\"",
                                             "\xff\xfe",
                                             "[]",
                                             "{}",
                                             "\"中风化\"",
                                             "\"1e999999\"",
                                             "\"nan\"",
                                             "\"-inf\"",
                                             "\"9\""};
    std::mt19937 random(9);
    int runs = 0;
    for (const auto &[command, text] :
         {std::pair<std::string, std::string> {"calc", pile}, {"sweep --format count", sweep}}) {
        for (int variant = 0; variant < 36; ++variant) {
            std::string broken = text;
            if (variant < 6) {
                broken.resize(random() % text.size()); // cut short
            } else {
                for (int edit = 0; edit < 1 + variant % 3; ++edit) {
                    const std::size_t at = random() % broken.size();
                    const std::size_t length = random() % 8;
                    broken.replace(at, std::min(length, broken.size() - at),
                                   pieces[random() % pieces.size()]);
                }
            }
            const std::string input = WriteTemp("broken.json", broken);
            SCOPED_TRACE(command + " " + broken);
            const TRun run = RunPilecalc(command + " --timestamp T " + input);
            ++runs;
            EXPECT_GE(run.exitCode, 0);
            EXPECT_LE(run.exitCode, 2);
            if (run.exitCode != 0)
                EXPECT_FALSE(run.err.empty());
        }
    }
    EXPECT_EQ(runs, 72);
}

} // namespace
