#include "text_file.h"

#include <gtest/gtest.h>

#include <fstream>

#ifdef _WIN32
#include "windows_text.h"

#include <windows.h>
#endif

namespace {

std::vector<std::string> DataLines(const std::string &name)
{
    std::ifstream file(std::string(PILECALC_TEST_DATA) + "/reports/" + name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

#ifdef _WIN32
// The Windows conversion follows the system's ANSI code page; the tests expect a simplified-Chinese
// system.
TEST(SystemCodePage, IsGbk)
{
    EXPECT_EQ(GetACP(), 936u);
}

// A code page without Chinese would turn every character of a report into "?": such a system
// writes GBK, one that holds all of GBK's characters keeps its own.
TEST(SystemCodePage, FilesAreGbkWhereTheCodePageLacksChinese)
{
    const std::pair<unsigned, unsigned> cases[] = {
        {936, 936}, {54936, 54936}, {65001, 65001}, {1252, 936},
        {437, 936}, {932, 936},     {950, 936},     {1251, 936},
    };
    for (const auto &[system, file] : cases)
        EXPECT_EQ(FileCodePage(system), file) << system;
}
#endif

// Every character that the reports, messages and saved files use, one a line, and the bytes iconv
// gives for each on Linux: the conversion gives these bytes on every platform.
TEST(SystemCodePage, ReportCharactersHaveTheirGbkBytes)
{
    const std::vector<std::string> characters = DataLines("report_characters.txt");
    const std::vector<std::string> expected = DataLines("report_characters_gbk.txt");
    ASSERT_GT(characters.size(), 200u);
    ASSERT_EQ(characters.size(), expected.size());
    for (std::size_t i = 0; i < characters.size(); ++i)
        EXPECT_EQ(ToSystemCodePage(characters[i]), expected[i]) << characters[i];
}

// A character that code page 936 lacks is one "?", never a look-alike, whatever its length.
TEST(SystemCodePage, MissingCharacterBecomesOneQuestionMark)
{
    const std::pair<std::string, std::string> cases[] = {
        {"m²", "m?"},        {"\u00A5", "?"},    {"\uFB01", "?"},
        {"\u2022", "?"},     {"\u00BD", "?"},    {"a\U0001F600b", "a?b"},
        {"\U00020000", "?"}, {"\u20AC", "\x80"}, {"桩\u00A5桩", "\xD7\xAE?\xD7\xAE"},
    };
    for (const auto &[text, bytes] : cases)
        EXPECT_EQ(ToSystemCodePage(text), bytes) << text;
}

} // namespace
