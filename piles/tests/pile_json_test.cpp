#include "pile_json.h"

#include "pile_file_error.h"

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
    EXPECT_EQ(input.load, ""); // files from before the load: no check
    EXPECT_EQ(input.gammaR, "1.0");
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
    const TPileInput loaded = PileFromJson(json {{"load", 8000.5}, {"gammaR", "1.25"}}, "pile 1");
    EXPECT_EQ(loaded.load, "8000.5");
    EXPECT_EQ(loaded.gammaR, "1.25");
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
        {R"({"load": [8000]})", "pile 1: \"load\" must be a text or a number"},
        {R"({"gammaR": null})", "pile 1: \"gammaR\" is null"},
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

} // namespace
