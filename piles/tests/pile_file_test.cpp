#include "pile_file.h"

#include "pile_file_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace {

const std::string Data = std::string(PILECALC_TEST_DATA) + "/piles/";

std::string Written(const std::string &name, const std::string &bytes)
{
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(PileFile, TheNameTellsTheFormat)
{
    EXPECT_EQ(PileFileFormatOf("piles.csv"), TPileFileFormat::Csv);
    EXPECT_EQ(PileFileFormatOf("桩.CSV"), TPileFileFormat::Csv);
    EXPECT_EQ(PileFileFormatOf("piles.json"), TPileFileFormat::Json);
    EXPECT_EQ(PileFileFormatOf("csv"), TPileFileFormat::Json);
    EXPECT_EQ(PileFileFormatOf("-"), TPileFileFormat::Json);
}

TEST(PileFile, JsonThroughCsvComesBackIdentical)
{
    std::ifstream file(Data + "piles.json", std::ios::binary);
    const std::string json {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::vector<TPileInput> piles = ReadPileFile(Data + "piles.json");
    ASSERT_EQ(piles.size(), 3u);
    const std::string csv =
        Written("piles_through.csv", PileFileBytes(piles, TPileFileFormat::Csv));
    EXPECT_EQ(PileFileBytes(ReadPileFile(csv), TPileFileFormat::Json), json);
    // The table of the file is the one Excel's table gives, read in either encoding.
    EXPECT_EQ(piles, ReadPileFile(Data + "excel_gbk.csv"));
    // A byte-order mark before JSON is passed over.
    EXPECT_EQ(ReadPileFile(Written("piles_bom.json", "\xEF\xBB\xBF" + json)), piles);
}

TEST(PileFile, MessagesNameTheFile)
{
    const std::string table = Written("bad.csv", "d,截面类型\r\n1000,方桩\r\n");
    const std::string missing = testing::TempDir() + "missing.csv";
    const std::pair<std::string, std::string> cases[] = {
        {table, table + ": row 2, column B (截面类型): \"方桩\" is not one of"},
        {missing, missing + ": cannot be opened: No such file or directory"},
        {Written("bad.json", "[{\"d\": 1}, {\"e\": 1}]"), "pile 2: unknown key \"e\""},
    };
    for (const auto &[path, message] : cases) {
        try {
            ReadPileFile(path);
            ADD_FAILURE() << "accepted " << path;
        } catch (const TPileFileError &error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(message)) << error.what();
        }
    }
}

TEST(PileFile, FilesWithoutPilesAndFilesThatCannotBeReadInChinese)
{
    const std::string missing = testing::TempDir() + "missing.json";
    const std::string folder = testing::TempDir();
    const std::pair<std::string, std::string> cases[] = {
        {Written("none.json", "[]"), "：文件中没有桩"},
        {Written("header.csv", "桩号,d\r\n"), "：文件中没有桩"},
        {Written("blank.csv", "桩号,d\r\n,\r\n\r\n,,,\r\n"), "：文件中没有桩"},
        {missing, "：无法打开：文件或文件夹不存在"},
        {folder, "：无法读取：这是一个文件夹，不是文件"},
    };
    for (const auto &[path, reason] : cases) {
        SCOPED_TRACE(path);
        try {
            ReadPileFile(path);
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_EQ(error.Chinese(), path + reason);
            if (reason == "：文件中没有桩")
                EXPECT_EQ(std::string(error.what()), path + ": holds no pile");
        }
    }
    EXPECT_EQ(ChineseSystemReason(ENOSPC), "磁盘空间不足");
    EXPECT_EQ(ChineseSystemReason(99999), "系统错误 99999");
}

TEST(PileFile, TheWriterGivesTheFileAPileAtATime)
{
    const std::vector<TPileInput> piles(3);
    for (const TPileFileFormat format : {TPileFileFormat::Json, TPileFileFormat::Csv}) {
        std::vector<std::string> parts;
        TPileFileWriter writer(format,
                               [&parts](std::string_view part) { parts.emplace_back(part); });
        for (const TPileInput &pile : piles)
            writer.Add(pile);
        writer.Finish();
        std::string joined;
        for (const std::string &part : parts)
            joined += part;
        EXPECT_GE(parts.size(), 4u);
        EXPECT_EQ(joined, PileFileBytes(piles, format));
        EXPECT_EQ(PilesFromFileText(joined, format, "f"), piles);
    }
}

} // namespace
