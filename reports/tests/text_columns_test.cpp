#include "text_columns.h"

#include <gtest/gtest.h>

namespace {

TEST(TextColumns, DisplayWidth)
{
    const std::pair<const char *, int> cases[] = {
        {"", 0},
        {"ZH12", 4},
        {"圆  桩", 6},
        {"计算时间：", 9}, // the full-width colon counts one
        {"①", 2},
        {"∑", 2},
        {"《》", 4},
        {"μ", 1},
        {"ζs", 2},
        {"\U0001F600", 2}, // outside the Basic Multilingual Plane
        {"\u0FFF\u1000\u9FA5\u9FA6", 6},
    };
    for (const auto &[text, width] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DisplayWidth(text), width);
    }
}

TEST(TextColumns, Padding)
{
    EXPECT_EQ(PadCenter("圆  桩", " ", 8), " 圆  桩 ");
    EXPECT_EQ(PadCenter("合规", " ", 8), "  合规  ");
    EXPECT_EQ(PadCenter("0.75", " ", 8), "  0.75  ");
    EXPECT_EQ(PadCenter("-", " ", 8), "    -   ");
    EXPECT_EQ(PadLeft("7", "0", 2), "07");
    EXPECT_EQ(PadLeft("12", "0", 1), "12");
    EXPECT_EQ(PadLeft("68.18%", " ", 7), " 68.18%");
    EXPECT_EQ(PadRight("ZH12", " ", 6), "ZH12  ");
    EXPECT_EQ(PadLeft("Ra(kN)", " ", 8), "  Ra(kN)");
    EXPECT_EQ(PadLeft("截面类型", " ", 8), "截面类型");
    for (const int width : {4, 3, 0, -2}) {
        SCOPED_TRACE(width);
        EXPECT_EQ(PadLeft("abcd", " ", width), "abcd");
        EXPECT_EQ(PadRight("abcd", " ", width), "abcd");
        EXPECT_EQ(PadCenter("abcd", " ", width), "abcd");
    }
    EXPECT_EQ(Spaces(3), "   ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(-1), "");
}

} // namespace
