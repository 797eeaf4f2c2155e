#include "gbk_text.h"
#include "pile_file_error.h"
#include "text_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, Utf8IsTakenAsItStandsAndAnythingElseAsGbk)
{
    const std::string utf8 = "岩层1 frk";
    const std::string gbk = "\xD1\xD2\xB2\xE3"
                            "1 frk"; // 岩层 in code page 936
    EXPECT_EQ(TextAsUtf8(utf8), utf8);
    EXPECT_EQ(TextAsUtf8("\xEF\xBB\xBF" + utf8), utf8);
    EXPECT_EQ(TextAsUtf8(gbk), utf8);
    EXPECT_EQ(TextAsUtf8(""), "");
    EXPECT_EQ(GbkToUtf8("\x80"), "€"); // what Windows' code page 936 has at 0x80
}

TEST(TextEncoding, BytesThatAreNoTextAreRefused)
{
    const std::pair<std::string, const char *> cases[] = {
        {"d\xFF\xFF", "the text is neither UTF-8 nor GBK"},
        {"d\xD1", "the text is neither UTF-8 nor GBK"}, // a GBK character cut off
        {"\xEF\xBB\xBF\xD1\xD2", "the text begins as UTF-8 but holds bytes that are not UTF-8"},
    };
    for (const auto &[bytes, message] : cases) {
        try {
            TextAsUtf8(bytes);
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(TextEncoding, Utf8Check)
{
    const std::pair<const char *, bool> cases[] = {
        {"abc", true},
        {"桩号", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\xAF", false},
        {"\xE0\x80\xAF", false}, // overlong
        {"\xED\xA0\x80", false}, // a surrogate
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\xE6\xA1", false}, // cut off
        {"\x80", false},
    };
    for (const auto &[bytes, valid] : cases)
        EXPECT_EQ(IsUtf8(bytes), valid) << bytes;
}

} // namespace
