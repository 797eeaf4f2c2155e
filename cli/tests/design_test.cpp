#include "pilecalc_runner.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>

namespace {

using nlohmann::json;

TEST(PilecalcDesign, CalcJsonAddsTheLoadCheckToPilesWithALoad)
{
    const std::string input =
        WriteTemp("loads.json", R"([{}, {"load": "10367"}, {"load": 12960, "gammaR": "1.25"},
                          {"load": "8000", "gammaR": "0"}, {"d": "0", "load": "8000"}])");
    const TRun run = RunPilecalc("calc --format json " + input);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "pile 4: 抗力系数γR数据有错\npile 5: 桩身直径数据有错\n");
    const json results = json::parse(run.out);
    ASSERT_EQ(results.size(), 5u);
    EXPECT_FALSE(results[0].contains("loadCheck"));
    const json &carried = results[1]["loadCheck"];
    EXPECT_EQ(carried["N"], 10367.0);
    EXPECT_EQ(carried["gammaR"], 1.0);
    EXPECT_EQ(carried["capacity"], results[1]["Ra"]);
    EXPECT_DOUBLE_EQ(carried["utilization"].get<double>(), 10367 / results[1]["Ra"].get<double>());
    EXPECT_EQ(carried["ok"], true);
    const json &notCarried = results[2]["loadCheck"];
    EXPECT_NEAR(notCarried["capacity"].get<double>(), 1.25 * 10367.2557, 1e-3);
    EXPECT_EQ(notCarried["ok"], false); // 12960 > 12959.07
    EXPECT_EQ(results[3]["ok"], true); // Ra stands
    EXPECT_EQ(results[3]["loadCheck"],
              json::parse(R"({"ok": false, "message": "抗力系数γR数据有错"})"));
    EXPECT_EQ(results[4], json::parse(R"({"ok": false, "message": "桩身直径数据有错"})"));
}

TEST(PilecalcDesign, SolvesEachPileForDepthOrSize)
{
    const std::string input =
        WriteTemp("design.json", R"([{"load": "20000"}, {}, {"load": "1e9"}, {"load": "8000",
                                     "rock": [{"hi": "1", "frk": "1.5"}]}])");
    const TRun table = RunPilecalc("design " + input);
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_EQ(table.out,
              "1 h 5.09 h=5.09 Ra=20004.09 capacity=20004.09\n"
              "2 h - 未给出桩顶轴力N，无法求解\n"
              "3 h - 最后一层岩石嵌岩厚度至100m仍不满足桩顶轴力N\n"
              "4 h - 第1层岩石单轴抗压强度值小于2MPa\n");
    EXPECT_EQ(table.err,
              "pile 2: 未给出桩顶轴力N，无法求解\n"
              "pile 3: 最后一层岩石嵌岩厚度至100m仍不满足桩顶轴力N\n"
              "pile 4: 第1层岩石单轴抗压强度值小于2MPa\n");

    const TRun sizes = RunPilecalc("design --for d --format json " + input);
    EXPECT_EQ(sizes.exitCode, 1);
    const json answers = json::parse(sizes.out);
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0]["pile"], 1);
    EXPECT_EQ(answers[0]["ok"], true);
    EXPECT_EQ(answers[0]["for"], "d");
    EXPECT_EQ(answers[0]["value"], "1470");
    EXPECT_EQ(answers[0]["h"], 1.0);
    EXPECT_GE(answers[0]["capacity"].get<double>(), 20000);
    EXPECT_EQ(answers[0]["message"], "");
    EXPECT_EQ(answers[2], json::parse(R"({"pile": 3, "ok": false, "for": "d",
                                          "message": "桩身尺寸至10000mm仍不满足桩顶轴力N"})"));

    // Every answer is the calculation's own: calc gives the same Ra for the pile with the value.
    const TRun check = RunPilecalc("calc --format json "
                                   + WriteTemp("answer.json", R"({"load": "20000", "d": "1470"})"));
    EXPECT_EQ(json::parse(check.out)[0]["Ra"], answers[0]["Ra"]);
    EXPECT_EQ(json::parse(check.out)[0]["loadCheck"]["ok"], true);

    const TRun coarse = RunPilecalc("design --step 0.5 " + input);
    EXPECT_TRUE(coarse.out.starts_with("1 h 5.5 h=5.5 ")) << coarse.out;
}

TEST(PilecalcDesign, UnusableArgumentsExitTwo)
{
    const std::string input = WriteTemp("one.json", R"({"load": "20000"})");
    const std::string cases[] = {
        "design",
        "design " + input + " --for c",
        "design " + input + " --step 0",
        "design " + input + " --step 101",
        "design " + input + " --for d --step 9901",
        "design " + input + " --step 0.0000001",
        "design " + input + " --format book",
        "design ''",
    };
    for (const std::string &arguments : cases) {
        SCOPED_TRACE(arguments);
        const TRun run = RunPilecalc(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
