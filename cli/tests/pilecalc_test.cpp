#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct TRun
{
    int exitCode = -1;
    std::string out;
};

// Runs pilecalc with the arguments (a shell fragment) and standard error into `errFile`.
TRun RunPilecalc(const std::string &arguments, const std::string &errFile = "/dev/null")
{
    const std::string command = std::string(PILECALC_EXE) + " " + arguments + " 2>" + errFile;
    TRun run;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer {};
    std::size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), read);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string WriteTemp(const std::string &name, const std::string &content)
{
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

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
    const std::string errFile = testing::TempDir() + "pilecalc_failed_err.txt";
    const std::string input = WriteTemp("piles.json", R"([{}, {"d": "0"}, {"rounding": 0}])");
    const TRun run = RunPilecalc("calc --format json - < " + input, errFile);
    EXPECT_EQ(run.exitCode, 1);
    const auto results = nlohmann::json::parse(run.out);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0]["pile"], "ZH1");
    EXPECT_EQ(results[1], nlohmann::json::parse(R"({"ok": false, "message": "桩身直径数据有错"})"));
    EXPECT_EQ(results[2]["pile"], "ZH2");
    EXPECT_EQ(results[2]["raText"], "10367.26");
    EXPECT_EQ(ReadFile(errFile), "pile 2: 桩身直径数据有错\n");
}

TEST(Pilecalc, UnusableInputExitsTwo)
{
    const std::string errFile = testing::TempDir() + "pilecalc_usage_err.txt";
    const std::pair<std::string, std::string> cases[] = {
        {"calc - < " + WriteTemp("unknown.json", R"({"x": 1})"),
         "pilecalc: pile 1: unknown key \"x\"\n"},
        {"calc " + WriteTemp("broken.json", "{"), ""},
        {"calc /nonexistent/pile.json", "pilecalc: /nonexistent/pile.json: cannot be opened\n"},
        {"calc --format xml", ""},
        {"frobnicate", ""},
    };
    for (const auto &[arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(RunPilecalc(arguments, errFile).exitCode, 2);
        if (!message.empty())
            EXPECT_EQ(ReadFile(errFile), message);
        else
            EXPECT_FALSE(ReadFile(errFile).empty());
    }
}

} // namespace
