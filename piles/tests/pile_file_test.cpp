#include "pile_file.h"

#include "pile_file_error.h"

#include <gtest/gtest.h>

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

} // namespace

namespace {

const TProjectInfo Project {
    "沿江高速公路二期", "K12+300大桥 3#墩", "JS-2024-017", "张明", "李华", "王强"};

// The project is kept in JSON beside the piles and read back with them; a file without one, a
// plain list, reads as before and is written as before.
TEST(PileFile, TheProjectTravelsWithThePilesInJson)
{
    TPileInput second;
    second.d = "1500";
    const TPileDocument document {Project, {TPileInput(), second}};
    const std::string json = PileDocumentBytes(document, TPileFileFormat::Json);
    EXPECT_TRUE(json.starts_with("{\n  \"project\": {\n    \"name\": \"沿江高速公路二期\","))
        << json;
    const TPileDocument back = PileDocumentFromFileText(json, TPileFileFormat::Json, "file");
    EXPECT_EQ(back.project, Project);
    EXPECT_EQ(back.piles, document.piles);
    EXPECT_EQ(PilesFromFileText(json, TPileFileFormat::Json, "file"), document.piles);

    // Without a project the file is today's plain list; a table never holds one.
    EXPECT_EQ(PileDocumentBytes({{}, document.piles}, TPileFileFormat::Json),
              PileFileBytes(document.piles, TPileFileFormat::Json));
    EXPECT_EQ(PileDocumentBytes(document, TPileFileFormat::Csv),
              PileFileBytes(document.piles, TPileFileFormat::Csv));

    // Every project key is optional, and so are the piles.
    const TPileDocument partial = PileDocumentFromFileText(
        R"({"project": {"name": "桥"}, "piles": [{"d": 1200}]})", TPileFileFormat::Json, "file");
    EXPECT_EQ(partial.project.name, "桥");
    EXPECT_TRUE(partial.project.checker.empty());
    ASSERT_EQ(partial.piles.size(), 1u);
    EXPECT_EQ(partial.piles[0].d, "1200");
    EXPECT_TRUE(
        PileDocumentFromFileText(R"({"project": {}})", TPileFileFormat::Json, "f").piles.empty());
}

TEST(PileFile, AnUnusableProjectNamesTheProblem)
{
    const std::pair<const char *, const char *> cases[] = {
        {R"({"project": {"title": "x"}, "piles": []})", "project: unknown key \"title\""},
        {R"({"project": {"name": 5}, "piles": []})", "project: \"name\" must be a text"},
        {R"({"project": {"name": null}})", "project: \"name\" is null"},
        {R"({"project": [], "piles": []})", "project: must be a JSON object"},
        {R"({"piles": {}})", "file: \"piles\" must be an array of piles"},
        {R"({"piles": [], "notes": ""})", "file: unknown key \"notes\""},
        {R"({"project": {}, "piles": [{"d": true}]})", "pile 1: \"d\" must be a text or a number"},
    };
    for (const auto &[text, message] : cases) {
        SCOPED_TRACE(text);
        try {
            PileDocumentFromFileText(text, TPileFileFormat::Json, "file");
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

} // namespace
