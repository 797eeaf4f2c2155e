#include "pilecalc_runner.h"
#include "text_file.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

TRun Sweep(const std::string &arguments)
{
    return RunPilecalc("sweep " + arguments);
}

std::string Golden(const std::string &name)
{
    return ReadFile(std::string(PILECALC_TEST_DATA) + "/optimize/" + name);
}

// Every section once (two rectangles) under both bases: ten candidates.
const std::string MixedOptions = R"("0": ["1", "4", "1"], "1": ["1000", "1000", "0"],
    "2": ["500", "500", "0"], "3": ["2000", "2000", "0"], "4": ["1000", "1500", "500"],
    "5": ["1200", "1200", "0"], "6": ["1.0d", "1.0d", "0d"], "7": ["35", "35", "0"],
    "8": ["2", "2", "0"], "9": ["1", "2", "1"], "10": ["2", "2", "0"], "11": ["0.75", "0.75", "0"])";

TEST(PilecalcSweep, DefaultTableCounts)
{
    const TRun run = Sweep("--format count");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "计算完成，桩数：2304 根\n");
    EXPECT_EQ(run.err, "");
}

TEST(PilecalcSweep, TablesAreTheCandidateFiles)
{
    const std::string raw = WriteTemp("sweep_raw.json", "{\"options\": {" + MixedOptions + "}}");
    TRun run = Sweep(raw + " --timestamp '2024/3/5 14:07:09'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Golden("raw_candidates.txt"));
    EXPECT_EQ(run.err, "计算完成，桩数：10 根\n");

    const std::string filtered =
        WriteTemp("sweep_filtered.json",
                  "{\"options\": {" + MixedOptions + R"(, "12": ["1"], "14": ["10000", "30000"]},
            "base": {"soil": [{"li": "5.00", "qik": "200.00"}, {"li": "3.50", "qik": "120"}]}})");
    run = Sweep("--filter --timestamp '2024/3/5 14:07:09' - < " + filtered);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Golden("filtered_candidates.txt"));
    EXPECT_EQ(run.err, "筛选完成，桩数：6 根\n");

    // Saved like every file: the system code page and CR LF.
    const std::string out = TestTempPath("候选.txt");
    std::remove(out.c_str());
    run = Sweep(raw + " --timestamp '2024/3/5 14:07:09' --out " + out);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    std::string expected;
    std::istringstream lines(Golden("raw_candidates.txt"));
    for (std::string line; std::getline(lines, line);)
        expected += ToSystemCodePage(line) + "\r\n";
    EXPECT_EQ(ReadFile(out), expected);
    std::remove(out.c_str());
}

TEST(PilecalcSweep, SortsCsvAndJson)
{
    const std::string raw = WriteTemp("sweep_sort.json", "{\"options\": {" + MixedOptions + "}}");
    TRun run = Sweep(raw + " --sort ra,ra --format csv");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "Ra降序排列完成\n");
    std::istringstream csv(run.out);
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line,
              "桩编号,截面类型,d|a(mm),c|b(mm),Ra(kN),hr(m),frk(MPa),风化程度,插值依据,"
              "完整程度,系数 c1,系数 c2,Qsr(kN),侧阻占比,Qpr(kN),端阻占比,Qrk(kN),"
              "Rsk(kN),土侧阻占比,备注");
    // The two rectangles of equal Ra end in the exchange sort's order, here reversed. The "-" of
    // the soil columns is kept from a spreadsheet's formulas by an apostrophe.
    std::getline(csv, line);
    EXPECT_EQ(line,
              "ZH-08,矩形桩,2000,1500,48825,1.50,35.00,中风化,2,0.75,0.360,0.030,11025,"
              "23%,37800,77%,48825,'-,'-,");

    run = Sweep(raw + " --sort d --format json");
    EXPECT_EQ(run.exitCode, 0);
    const auto document = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(document.begin().key(), "ok");
    EXPECT_EQ(document["ok"], true);
    EXPECT_EQ(document["status"], "d升序排列完成");
    EXPECT_FALSE(document.contains("message"));
    ASSERT_EQ(document["rows"].size(), 10u);
    EXPECT_EQ(document["rows"][0][0], "ZH-01");
    EXPECT_EQ(document["rows"][9][2], "2000");
}

TEST(PilecalcSweep, FailuresExitOneAndKeepTheirRows)
{
    // The first ellipse has c = 0: the circles before it stay, unnumbered and unfiltered.
    const std::string failing = WriteTemp(
        "sweep_failing.json", R"({"options": {"0": ["1", "2", "1"], "2": ["0", "1000", "500"]}})");
    TRun run = Sweep(failing + " --filter --format json");
    EXPECT_EQ(run.exitCode, 1);
    auto document = nlohmann::json::parse(run.out);
    EXPECT_EQ(document["ok"], false);
    EXPECT_EQ(document["status"], "运行中止，主界面可查看中止位置、原因");
    EXPECT_EQ(document["message"], "椭圆直段长度数据有错");
    ASSERT_EQ(document["rows"].size(), 288u);
    EXPECT_EQ(document["rows"][287][0], "288");

    run = Sweep(failing + " --timestamp T");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "运行中止，主界面可查看中止位置、原因\n椭圆直段长度数据有错\n");
    EXPECT_NE(run.out.find("\n  ZH-288    圆  桩 "), std::string::npos);

    const std::string badBound =
        WriteTemp("sweep_bound.json", R"({"options": {"14": ["1e4", "x"]}})");
    run = Sweep(badBound + " --filter --format count");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "计算完成，桩数：2304 根\n");
    EXPECT_EQ(run.err, "'x' is not a valid floating point value.\n");

    const std::string tooMany =
        WriteTemp("sweep_many.json", R"({"options": {"1": ["0", "2000", "0.001"]}})");
    run = Sweep(tooMany);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "候选桩数超过10000000根，请调整优化项\n");

    const std::string negative =
        WriteTemp("sweep_negative.json", R"({"options": {"7": ["-1", "40", "5"]}})");
    run = Sweep(negative + " --format count");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "岩石单轴抗压强度不能为负值\n");
}

TEST(PilecalcSweep, UnusableInputExitsTwo)
{
    for (const std::string document :
         {R"({"options": {"13": ["1", "2", "3"]}})", R"({"options": {"12": ["1", "2"]}})",
          R"({"options": {"1": [1000, 2000, 500]}})", R"({"option": {}})",
          R"({"base": {"d": null}})", R"([])"}) {
        const TRun run = Sweep(WriteTemp("sweep_unusable.json", document));
        EXPECT_EQ(run.exitCode, 2) << document;
        EXPECT_NE(run.err.find("pilecalc: "), std::string::npos) << document << run.err;
    }
    EXPECT_EQ(Sweep("--sort d,x").exitCode, 2);
    EXPECT_EQ(Sweep("--format xml").exitCode, 2);
    EXPECT_EQ(Sweep("--out /nonexistent/sweep.txt").exitCode, 2);
}

} // namespace
