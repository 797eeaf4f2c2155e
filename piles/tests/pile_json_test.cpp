#include "pile_json.h"

#include "pile_file_error.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

TEST(PileJson, MissingKeysTakeThePageDefaults)
{
    const TPileInput input = PileFromJson(json::object(), "pile 1");
    const TPileInput defaults;
    EXPECT_EQ(input.d, defaults.d);
    EXPECT_EQ(input.c, "0");
    ASSERT_EQ(input.soilLayers.size(), 1u);
    EXPECT_EQ(input.soilLayers[0].qik, "200.00");
    ASSERT_EQ(input.rockLayers.size(), 1u);
    EXPECT_EQ(input.rockLayers[0].weathering, "中风化");
    EXPECT_EQ(input.coefMode, TCoefMode::Interpolated);
    EXPECT_EQ(input.rounding, TRoundingMode::Units);
    EXPECT_TRUE(input.boredPile);
}

TEST(PileJson, ReadsTextsItemsAndLayers)
{
    const json pile = json::parse(R"({
        "section": "矩形桩", "d": 1200, "coefMode": 0, "basis": "岩体完整性指数",
        "boredPile": false, "rounding": "十位取整",
        "soil": [], "rock": [ { "hi": "2.00", "frk": 30.5 }, { "weathering": "微风化" } ] })");
    const TPileInput input = PileFromJson(pile, "pile 1");
    EXPECT_EQ(input.sectionType, TSectionType::Rectangle);
    EXPECT_EQ(input.d, "1200");
    EXPECT_EQ(input.c, "1000"); // what the page shows for a rectangle
    EXPECT_EQ(input.coefMode, TCoefMode::Specified);
    EXPECT_EQ(input.interpBasis, TInterpBasis::IntegrityIndex);
    EXPECT_FALSE(input.boredPile);
    EXPECT_EQ(input.rounding, TRoundingMode::Tens);
    EXPECT_TRUE(input.soilLayers.empty());
    ASSERT_EQ(input.rockLayers.size(), 2u);
    EXPECT_EQ(input.rockLayers[0].frk, "30.5");
    EXPECT_EQ(input.rockLayers[0].weathering, ""); // a missing key is an empty cell
    EXPECT_EQ(input.rockLayers[1].weathering, "微风化");
    EXPECT_EQ(PileFromJson(json {{"section", 1}}, "pile 1").c, "500");
}

TEST(PileJson, UnusableInputNamesTheProblem)
{
    const std::pair<const char *, const char *> cases[] = {
        {R"({"diameter": 1000})", "pile 1: unknown key \"diameter\""},
        {R"({"d": null})", "pile 1: \"d\" is null"},
        {R"({"d": true})", "pile 1: \"d\" must be a text or a number"},
        {R"({"rock": []})", "pile 1: \"rock\" must hold 1 to 9 layers, not 0"},
        {R"({"soil": [{},{},{},{},{},{},{},{},{},{}]})",
         "pile 1: \"soil\" must hold 0 to 9 layers, not 10"},
        {R"({"rock": [{"hi": "1", "Kv": "0.5"}]})", "pile 1, rock layer 1: unknown key \"Kv\""},
        {R"({"section": 3})",
         "pile 1: \"section\" must be 0 to 2 or one of \"圆桩\", \"椭圆桩\", \"矩形桩\""},
        {R"({"boredPile": 1})", "pile 1: \"boredPile\" must be true or false"},
        {R"([{}, 5])", "pile 2: must be a JSON object"},
    };
    for (const auto &[text, message] : cases) {
        SCOPED_TRACE(text);
        try {
            PilesFromJson(json::parse(text));
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST(PileJson, FileTextIsReadPileByPileWithBothMessages)
{
    std::vector<std::string> seen;
    EXPECT_EQ(ReadJsonPiles(R"([{"d": "1100"}, {"section": 1, "d": 1200.5}])", "f",
                            [&seen](const TPileInput &pile, const TPileOrigin &origin) {
                                EXPECT_EQ(origin.row, 0);
                                seen.push_back(pile.d + "/" + pile.c);
                            }),
              2u);
    EXPECT_EQ(seen, (std::vector<std::string> {"1100/0", "1200.5/500"}));

    struct TCase
    {
        std::string text;
        std::string english; // the beginning of what()
        std::string chinese; // the beginning of Chinese()
    };
    const TCase cases[] = {
        {R"([{"d": "1", "soil": [)", "f: not valid JSON: [json.exception.parse_error.101]",
         "f：不是有效的 JSON：内容在第 1 行第 21 列意外结束"},
        {"[{}]\n{\"d\" 1}",
         "f: not valid JSON: ", "f：不是有效的 JSON：第 2 行第 1 列有误（“{”处）"},
        {R"({"d": 1e400})", "f: not usable JSON: [json.exception.out_of_range.406] number overflow",
         "f：第 1 行第 11 列的数“1e400”超出双精度数的范围"},
        {R"({"d": 1, "d": 2})", "f: the key \"d\" is given twice in one object",
         "f：同一对象中键“d”出现了两次"},
        {"{\"\\u001b[2J\": 1}", "pile 1: unknown key \"\\x1b[2J\"",
         "第 1 根桩：未知的键“\\x1b[2J”"},
        {R"([{}, {"rock": [{"kv": null}]}])", "pile 2, rock layer 1: \"kv\" is null",
         "第 2 根桩第 1 个岩层：“kv”的值为 null"},
        {R"({"d": [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]})",
         "f: nested deeper than 32 levels", "f：嵌套超过 32 层"},
        {R"({"d": {"x": 1}, "e": 1})", "pile 1: \"d\" must be a text or a number",
         "第 1 根桩：“d”须为文本或数"},
        {R"({"soil": [{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, [], 5]})",
         "pile 1: \"soil\" must hold 0 to 9 layers, not 12",
         "第 1 根桩：“soil”须有 0 到 9 层，而不是 12 层"},
        {R"({"rounding": 1.0})", "pile 1: \"rounding\" must be 0 to 4 or one of",
         "第 1 根桩：“rounding”须为 0 到 4 或“两位小数”、"},
        {R"(7)", "pile 1: must be a JSON object", "第 1 根桩：须为 JSON 对象"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            PilesFromText(c.text, "f");
            ADD_FAILURE() << "accepted";
        } catch (const TPileFileError &error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.english)) << error.what();
            EXPECT_TRUE(error.Chinese().starts_with(c.chinese)) << error.Chinese();
            EXPECT_EQ(error.Chinese().find("json.exception"), std::string::npos);
        }
    }
}

TEST(PileJson, WrittenPilesReadBackAndTheWriterKeepsItsKeyOrder)
{
    TPileInput pile;
    pile.sectionType = TSectionType::Square;
    pile.rockLayers.push_back({});
    const nlohmann::ordered_json written = PileToJson(pile);
    std::vector<std::string> keys;
    for (const auto &[key, value] : written.items())
        keys.push_back(key);
    EXPECT_EQ(keys,
              (std::vector<std::string> {"section", "d", "c", "soil", "rock", "coefMode", "basis",
                                         "boredPile", "rounding"}));
    pile.sectionType = TSectionType::Rectangle; // written as the page enters it
    EXPECT_EQ(PileFromJson(json::parse(written.dump()), "pile 1"), pile);
}

} // namespace
