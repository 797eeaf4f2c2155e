#include "calculation.h"
#include "coefficient_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TRockLayer Rock(const char *hi, const char *weathering, const char *grade, const char *kv,
                const char *frk, const char *c1 = "0.50", const char *c2 = "0.04")
{
    return {hi, weathering, grade, kv, frk, c1, c2};
}

std::string Joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

struct TBlockCase
{
    const char *name;
    TPileInput input;
    std::vector<std::string> shows; // texts the block must hold, in this order
};

TPileInput With(std::vector<TRockLayer> rock, TCoefMode mode = TCoefMode::Interpolated,
                TInterpBasis basis = TInterpBasis::IntegrityGrade, bool bored = true)
{
    TPileInput input;
    input.rockLayers = std::move(rock);
    input.coefMode = mode;
    input.interpBasis = basis;
    input.boredPile = bored;
    return input;
}

class CoefficientBlock : public testing::TestWithParam<TBlockCase>
{ };

// Each chain ends in the coefficient the calculation used, shown to three decimals or more, and
// the figures put into the formula are the calculation's own.
TEST_P(CoefficientBlock, DerivesEveryCoefficientTheCalculationUsed)
{
    const TBlockCase &c = GetParam();
    const TCalcOutcome outcome = Calculate(c.input);
    ASSERT_TRUE(outcome.ok()) << outcome.failure->message;
    const TPileResult &r = outcome.result;
    const std::vector<std::string> lines = CoefficientBlockLines(c.input, r);
    const std::string text = Joined(lines);
    ASSERT_EQ(lines.front(), "系数取值");
    std::size_t at = 0;
    for (const std::string &shown : c.shows) {
        const std::size_t found = text.find(shown, at);
        ASSERT_NE(found, std::string::npos) << "missing after " << at << ": " << shown << "\n"
                                            << text;
        at = found + shown.size();
    }
    // Per rock layer: the reduced automatic value where there is one, then the value used.
    at = 0;
    for (std::size_t i = 0; i < r.rockResults.size(); ++i) {
        const TRockLayerResult &rock = r.rockResults[i];
        at = text.find("  岩层" + std::to_string(i + 1) + "：", at);
        ASSERT_NE(at, std::string::npos) << "layer " << i + 1;
        for (const auto &[name, automatic, used] :
             {std::tuple {"c1", rock.c1Interpolated, rock.c1},
              std::tuple {"c2", rock.c2Interpolated, rock.c2}}) {
            if (c.input.coefMode != TCoefMode::Specified) {
                const std::string reduced = "= " + CoefficientText(automatic) + "\n";
                const std::size_t chain = text.find("    " + std::string(name) + " = ", at);
                const std::size_t taken = text.find(std::string("    采用 ") + name, at);
                ASSERT_LT(chain, taken) << name;
                const std::size_t end = text.find(reduced, chain);
                const std::size_t unreduced = text.find("不折减", chain);
                EXPECT_TRUE(end < taken || unreduced < taken) << name << " of layer " << i + 1;
            }
            const std::string taken =
                std::string("    采用 ") + name + " = " + CoefficientText(used);
            at = text.find(taken, at);
            ASSERT_NE(at, std::string::npos) << taken << "\n" << text;
        }
    }
    char ra[64];
    std::snprintf(ra, sizeof ra, "= %.2f kN\n", r.Ra);
    EXPECT_NE(text.rfind(std::string("  Ra = ")), std::string::npos);
    EXPECT_TRUE(text.ends_with(ra)) << text;
    // One meaning per symbol: each symbol of the formula is named once.
    for (const char *symbol :
         {"c1 ", "Ap ", "frk ", "u ", "c2i ", "hi ", "frki ", "ζs ", "li ", "qik "}) {
        std::size_t count = 0;
        for (const std::string &line : lines)
            count += line.starts_with("  其中 " + std::string(symbol))
                || line.starts_with("       " + std::string(symbol));
        EXPECT_EQ(count, 1u) << symbol;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Piles, CoefficientBlock,
    testing::Values(
        TBlockCase {"grade_moderate_bored",
                    TPileInput {},
                    {"c1 = 0.600：完整程度“较完整”查表", "× 0.75（中风化） × 0.8（钻孔桩） = 0.360",
                     "c2 = 0.050", "= 0.030", "ζs = 0.600：桩端岩层（岩层1）frk=25.00 MPa",
                     "(15, 0.800)与(30, 0.500)间线性插值",
                     "0.360 × 0.7854 × 25.00 × 1000 = 7068.58 kN"}},
        TBlockCase {"slightly_weathered_not_bored",
                    With({Rock("1.00", "微风化", "较完整", "0.75", "25.00")},
                         TCoefMode::Interpolated, TInterpBasis::IntegrityGrade, false),
                    {"c1 = 0.600", "不折减", "采用 c1 = 0.600", "c2 = 0.050", "采用 c2 = 0.050"}},
        TBlockCase {"thin_socket_gives_its_reason",
                    With({Rock("0.40", "中风化", "较破碎", "0.5", "25.00")}),
                    {"c1 = 0.500",
                     "× 0.75（嵌岩深度h=0.40 m<0.5 m） × 0.75（中风化） × 0.8（钻孔桩） = 0.225",
                     "c2 = 0.040", "→ 0（嵌岩深度h=0.40 m<0.5 m，不计嵌岩段侧阻力）",
                     "采用 c2 = 0.000"}},
        TBlockCase {"index_interpolation_with_end_points",
                    With({Rock("1.00", "微风化", "", "0.65", "25.00"),
                          Rock("1.00", "微风化", "", "0.3501", "40")},
                         TCoefMode::Interpolated, TInterpBasis::IntegrityIndex, false),
                    {"c1 = 0.550：Kv=0.65属岩体较完整，在(0.55, 0.500)与(0.75, 0.600)间线性插值",
                     "c2 = 0.045：Kv=0.65属岩体较完整，在(0.55, 0.040)与(0.75, 0.050)间线性插值",
                     "c1 = 0.40005：Kv=0.3501属岩体较破碎", "ζs = 0.400",
                     "(30, 0.500)与(60, 0.200)间线性插值"}},
        TBlockCase {"specified_exactly_as_typed",
                    With({Rock("1.00", "中风化", "较完整", "0.75", "25.00", "0.5", ".045")},
                         TCoefMode::Specified),
                    {"c1 = 0.500：人工指定（输入“0.5”），不折减", "采用 c1 = 0.500",
                     "c2 = 0.045：人工指定（输入“.045”）", "采用 c2 = 0.045"}},
        TBlockCase {"larger_of_both_tie_adopts_specified",
                    With({Rock("1.00", "微风化", "完整", "0.8", "30", "0.6", "0.03")},
                         TCoefMode::LargerOfBoth, TInterpBasis::IntegrityGrade, false),
                    {"人工指定 c1 = 0.600（输入“0.6”） ≥ 0.600，取两者较大者：人工指定值",
                     "人工指定 c2 = 0.030（输入“0.03”） < 0.050，取两者较大者：自动插值",
                     "采用 c2 = 0.050"}},
        TBlockCase {"smaller_of_both_thin_socket",
                    With({Rock("0.20", "中风化", "较破碎", "0.4", "8", "0.3", "0.05")},
                         TCoefMode::SmallerOfBoth),
                    {"人工指定 c1 = 0.300（输入“0.3”） > 0.225，取两者较小者：自动插值",
                     "人工指定 c2 = 0.050（输入“0.05”） > 0.000", "采用 c2 = 0.000"}},
        TBlockCase {"no_soil_no_factor",
                    [] {
                        TPileInput input;
                        input.soilLayers.clear();
                        input.rockLayers = {Rock("1.00", "微风化", "完整", "0.8", "100")};
                        return input;
                    }(),
                    {"ζs：无覆盖土层，不计土的侧阻力", "½·ζs·u·Σli·qik = 0.00 kN"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CoefficientText, ThreeDecimalsAtLeastAndMoreWhereTheyMatter)
{
    const std::pair<double, const char *> cases[] = {
        {0.36, "0.360"},    {0.6 * 0.75 * 0.8, "0.360"}, {0.024, "0.024"},
        {0.0288, "0.0288"}, {0.40005, "0.40005"},        {0, "0.000"},
        {1, "1.000"}};
    for (const auto &[value, text] : cases)
        EXPECT_EQ(CoefficientText(value), text) << value;
}

} // namespace
