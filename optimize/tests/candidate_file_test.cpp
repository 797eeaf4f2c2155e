#include "candidate_file.h"
#include "candidate_filter.h"
#include "file_names.h"
#include "sweep.h"
#include "text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Golden(const std::string &name)
{
    return ReadFile(std::filesystem::path(PILECALC_TEST_DATA) / "optimize" / name);
}

std::string Lines(const TCandidateFile &file)
{
    std::string text;
    ForEachCandidateFileLine(file, [&text](std::string_view line) {
        text += line;
        text += '\n';
    });
    return text;
}

// Every section once (two rectangles), each under both bases: ten candidates, "ZH-01" to "ZH-10".
TOptionTable MixedSections()
{
    TOptionTable options = DefaultOptionTable();
    const auto set = [&options](int row, const char *minimum, const char *maximum,
                                const char *step) {
        options[row].minimum = minimum;
        options[row].maximum = maximum;
        options[row].step = step;
    };
    set(0, "1", "4", "1");
    set(1, "1000", "1000", "0");
    set(2, "500", "500", "0");
    set(3, "2000", "2000", "0");
    set(4, "1000", "1500", "500");
    set(5, "1200", "1200", "0");
    set(6, "1.0d", "1.0d", "0d");
    set(7, "35", "35", "0");
    set(8, "2", "2", "0");
    set(9, "1", "2", "1");
    set(10, "2", "2", "0");
    set(11, "0.75", "0.75", "0");
    return options;
}

TEST(CandidateFile, RawFileWithoutOverburden)
{
    const TOptionTable options = MixedSections();
    const TSweepResult sweep = RunSweep(options, TPileInput {});
    ASSERT_EQ(sweep.table.Size(), 10u);
    TCandidateFile file;
    file.table = &sweep.table;
    file.soilAppendix = WantsSoilAppendix(options);
    file.timeStamp = "2024/3/5 14:07:09";
    EXPECT_EQ(Lines(file), Golden("raw_candidates.txt"));
}

TEST(CandidateFile, FilteredFileWithTheSoilAppendix)
{
    TOptionTable options = MixedSections();
    options[OptionRow::Overburden].minimum = "1";
    options[OptionRow::RaWindow].minimum = "10000";
    options[OptionRow::RaWindow].maximum = "30000";
    TPileInput base;
    base.soilLayers = {{"5.00", "200.00"}, {"3.50", "120"}};
    const TSweepResult sweep = RunSweep(options, base);
    const TFilterResult filter = FilterCandidates(sweep.table, options);
    ASSERT_EQ(filter.status, "筛选完成，桩数：6 根");
    TCandidateFile file;
    file.kind = TCandidateFileKind::Filtered;
    file.table = &filter.filtered;
    file.soilAppendix = WantsSoilAppendix(options);
    file.soilLayers = base.soilLayers;
    file.timeStamp = "2024/3/5 14:07:09";
    EXPECT_EQ(Lines(file), Golden("filtered_candidates.txt"));
}

TEST(CandidateFile, SavedInTheSystemCodePageUnderItsName)
{
    const TSweepResult sweep = RunSweep(MixedSections(), TPileInput {});
    TCandidateFile file;
    file.table = &sweep.table;
    file.timeStamp = "2024/3/5 14:07:09";
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / "pilecalc_candidate_file";
    std::filesystem::create_directories(folder);
    ASSERT_EQ(SaveCandidateFile(folder, file), std::nullopt);

    std::string expected;
    ForEachCandidateFileLine(
        file, [&expected](std::string_view line) { expected += ToSystemCodePage(line) + "\r\n"; });
    EXPECT_EQ(ReadFile(FilePath(folder, FileNames::RawCandidates)), expected);

    const auto failure = SaveCandidateFile(folder / "missing", file);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("No such file or directory"), std::string::npos) << *failure;
    std::filesystem::remove_all(folder);
}

} // namespace
