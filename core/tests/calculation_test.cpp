#include "calculation.h"
#include "messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

TPileInput WithSecondRockLayer()
{
    TPileInput input;
    input.rockLayers.push_back({"1.50", "微风化", "完整", "0.75", "40.00", "0.50", "0.04"});
    return input;
}

TEST(Calculation, DefaultPile)
{
    const TCalcOutcome outcome = Calculate(TPileInput {});
    ASSERT_TRUE(outcome.ok());
    const TPileResult &r = outcome.result;
    EXPECT_DOUBLE_EQ(r.u, pi);
    EXPECT_DOUBLE_EQ(r.Ap, pi / 4);
    EXPECT_EQ(r.h, 1.0);
    EXPECT_EQ(r.ls, 5.0);
    ASSERT_EQ(r.rockResults.size(), 1u);
    const TRockLayerResult &rock = r.rockResults[0];
    EXPECT_EQ(rock.hardnessClass, "较软岩");
    EXPECT_EQ(rock.remark, "较软岩,岩体较完整");
    EXPECT_NEAR(rock.c1, 0.36, 1e-15);
    EXPECT_NEAR(rock.c2, 0.03, 1e-15);
    EXPECT_EQ(rock.c1Interpolated, rock.c1);
    EXPECT_NEAR(rock.qpa, 9000, 1e-9);
    EXPECT_NEAR(rock.qra, 750, 1e-9);
    EXPECT_NEAR(rock.Rria, 750 * pi, 1e-9);
    EXPECT_EQ(rock.sumRria, rock.Rria);
    EXPECT_NEAR(rock.share, 100.0 * 750 / 3300, 1e-9);
    EXPECT_NEAR(r.socketTip, 2250 * pi, 1e-9);
    EXPECT_NEAR(r.socketTotal, 3000 * pi, 1e-9);
    EXPECT_EQ(r.socketSide, rock.Rria);
    EXPECT_NEAR(r.zetaS, 0.6, 1e-15);
    ASSERT_EQ(r.soilResults.size(), 1u);
    EXPECT_NEAR(r.soilResults[0].Rsik, 300 * pi, 1e-9);
    EXPECT_NEAR(r.soilResults[0].share, 100.0 * 300 / 3300, 1e-9);
    EXPECT_NEAR(r.Ra, 10367.2557, 1e-4);
    EXPECT_NEAR(r.tipShare, 68.1818, 1e-4);
    EXPECT_EQ(r.specifiedAdopted, 0);
    EXPECT_TRUE(r.compliant);
    EXPECT_EQ(r.statusText, "");
    EXPECT_EQ(r.statusKind, TStatusKind::None);
}

TEST(Calculation, TipFromTheLastRockLayerOnly)
{
    const TCalcOutcome outcome = Calculate(WithSecondRockLayer());
    ASSERT_TRUE(outcome.ok());
    const TPileResult &r = outcome.result;
    ASSERT_EQ(r.rockResults.size(), 2u);
    EXPECT_NEAR(r.rockResults[1].c1, 0.48, 1e-15);
    EXPECT_NEAR(r.rockResults[1].c2, 0.04, 1e-15);
    EXPECT_NEAR(r.zetaS, 0.4, 1e-15);
    EXPECT_NEAR(r.socketTip, 15079.64, 0.005);
    EXPECT_NEAR(r.rockResults[0].Rria, 2356.19, 0.005);
    EXPECT_NEAR(r.rockResults[1].Rria, 7539.82, 0.005);
    EXPECT_NEAR(r.rockResults[1].sumRria, 2356.19 + 7539.82, 0.01);
    EXPECT_NEAR(r.soilSide, 628.32, 0.005);
    EXPECT_NEAR(r.Ra, 25603.98, 0.005);
    EXPECT_NEAR(r.tipShare, 58.90, 0.005);
    EXPECT_NEAR(r.rockResults[0].share, 9.20, 0.005);
    EXPECT_NEAR(r.rockResults[1].share, 29.45, 0.005);
    EXPECT_NEAR(r.soilResults[0].share, 2.45, 0.005);
}

TEST(Calculation, ThinSocketDropsSideResistance)
{
    TPileInput input;
    input.rockLayers[0].hi = "0.40";
    input.rockLayers[0].integrityGrade = "较破碎";
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok());
    const TRockLayerResult &rock = outcome.result.rockResults[0];
    EXPECT_NEAR(rock.c1, 0.225, 1e-15);
    EXPECT_EQ(rock.c2, 0);
    EXPECT_EQ(rock.qra, 0);
    EXPECT_EQ(rock.Rria, 0);
    EXPECT_DOUBLE_EQ(outcome.result.Ra, outcome.result.socketTip + outcome.result.soilSide);
    EXPECT_EQ(outcome.result.statusText, Messages::ThinSocketNote);
    EXPECT_EQ(outcome.result.statusKind, TStatusKind::Note);
}

TEST(Calculation, NoSoilLayers)
{
    TPileInput input;
    input.soilLayers.clear();
    input.rockLayers[0].frk = "100";
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.zetaS, 0);
    EXPECT_EQ(outcome.result.soilSide, 0);
    EXPECT_EQ(outcome.result.ls, 0);
    EXPECT_TRUE(outcome.result.soilResults.empty());
    EXPECT_EQ(outcome.result.Ra, outcome.result.socketTotal);
}

struct TModeCase
{
    const char *name;
    std::function<void(TPileInput &)> change;
    std::vector<std::pair<double, double>> c1c2; // per rock layer
    int specifiedAdopted;
    std::string statusText;
    TStatusKind statusKind;
};

TEST(Calculation, CoefficientModesHintsAndComplianceCount)
{
    const auto specified = [](const char *c1, const char *c2) {
        return [=](TPileInput &input) {
            input.coefMode = TCoefMode::Specified;
            input.rockLayers[0].c1Specified = c1;
            input.rockLayers[0].c2Specified = c2;
        };
    };
    const auto automaticUnreduced = [](TCoefMode mode, const char *c1, const char *c2) {
        return [=](TPileInput &input) {
            input.coefMode = mode;
            input.boredPile = false;
            input.rockLayers[0] = {"1.00", "微风化", "完整", "0.75", "25.00", c1, c2};
        };
    };
    const TModeCase cases[] = {
        {"interpolated", [](TPileInput &) {}, {{0.36, 0.03}}, 0, "", TStatusKind::None},
        {"specified within the advice",
         specified("0.50", "0.04"),
         {{0.5, 0.04}},
         1,
         "",
         TStatusKind::Hint},
        {"specified c1 0.395 passes without a hint",
         specified("0.395", "0.04"),
         {{0.395, 0.04}},
         1,
         "",
         TStatusKind::Hint},
        {"specified c1 0.385 gives a hint",
         specified("0.385", "0.04"),
         {{0.385, 0.04}},
         1,
         Messages::C1Hint(1),
         TStatusKind::Hint},
        {"specified c1 0.7 gives a hint",
         specified("0.7", "0.04"),
         {{0.7, 0.04}},
         1,
         Messages::C1Hint(1),
         TStatusKind::Hint},
        {"later hint replaces the earlier",
         specified("0.7", "0.06"),
         {{0.7, 0.06}},
         1,
         Messages::C2Hint(1),
         TStatusKind::Hint},
        {"larger of both: a tie adopts and counts",
         automaticUnreduced(TCoefMode::LargerOfBoth, "0.6", "0.04"),
         {{0.6, 0.05}},
         1,
         "",
         TStatusKind::Hint},
        {"larger of both: both adopted",
         automaticUnreduced(TCoefMode::LargerOfBoth, "0.61", "0.051"),
         {{0.61, 0.051}},
         2,
         "",
         TStatusKind::Hint},
        {"smaller of both: automatic values kept",
         automaticUnreduced(TCoefMode::SmallerOfBoth, "0.61", "0.051"),
         {{0.6, 0.05}},
         0,
         "",
         TStatusKind::None},
        {"smaller of both against reduced values",
         [](TPileInput &input) {
             input.coefMode = TCoefMode::SmallerOfBoth;
             input.rockLayers[0].c2Specified = "0.05";
         },
         {{0.36, 0.03}},
         0,
         "",
         TStatusKind::None},
        {"hint shown although the value is not adopted",
         automaticUnreduced(TCoefMode::SmallerOfBoth, "0.7", "0.05"),
         {{0.6, 0.05}},
         1,
         Messages::C1Hint(1),
         TStatusKind::Hint},
        {"index basis adopting a specified value ends with the index hint",
         [](TPileInput &input) {
             input.coefMode = TCoefMode::LargerOfBoth;
             input.interpBasis = TInterpBasis::IntegrityIndex;
             input.rockLayers[0].c1Specified = "0.6";
         },
         {{0.6, 0.04}},
         2,
         std::string(Messages::IndexHint),
         TStatusKind::Hint},
        {"specified with index basis keeps its own status",
         [&](TPileInput &input) {
             specified("0.50", "0.04")(input);
             input.interpBasis = TInterpBasis::IntegrityIndex;
         },
         {{0.5, 0.04}},
         1,
         "",
         TStatusKind::Hint},
        {"thin socket note turns magenta when specified",
         [&](TPileInput &input) {
             specified("0.50", "0.04")(input);
             input.rockLayers[0].hi = "0.4";
         },
         {{0.5, 0}},
         1,
         std::string(Messages::ThinSocketNote),
         TStatusKind::Hint},
        {"adoptions are counted over all layers",
         [](TPileInput &input) {
             input.coefMode = TCoefMode::LargerOfBoth;
             input.rockLayers[0].c1Specified = "0.5";
             input.rockLayers.push_back(input.rockLayers[0]);
         },
         {{0.5, 0.04}, {0.5, 0.04}},
         4,
         "",
         TStatusKind::Hint},
    };
    for (const TModeCase &c : cases) {
        SCOPED_TRACE(c.name);
        TPileInput input;
        c.change(input);
        const TCalcOutcome outcome = Calculate(input);
        ASSERT_TRUE(outcome.ok()) << outcome.failure->message;
        const TPileResult &r = outcome.result;
        ASSERT_EQ(r.rockResults.size(), c.c1c2.size());
        for (std::size_t i = 0; i < c.c1c2.size(); ++i) {
            EXPECT_NEAR(r.rockResults[i].c1, c.c1c2[i].first, 1e-15);
            EXPECT_NEAR(r.rockResults[i].c2, c.c1c2[i].second, 1e-15);
        }
        EXPECT_EQ(r.specifiedAdopted, c.specifiedAdopted);
        EXPECT_EQ(r.compliant, c.specifiedAdopted == 0);
        EXPECT_EQ(r.statusText, c.statusText);
        EXPECT_EQ(r.statusKind, c.statusKind);
        if (input.coefMode == TCoefMode::Specified) {
            EXPECT_EQ(r.rockResults[0].remark, "");
            EXPECT_EQ(r.rockResults[0].c1Interpolated, 0);
        }
    }
}

struct TFailureCase
{
    const char *name;
    std::function<void(TPileInput &)> change;
    std::string message;
    TFailureStage stage;
    int layer;
    TInputField field;
    std::size_t rockLayersBefore;
};

TEST(Calculation, ChecksInTheirOrder)
{
    const auto set = [](std::function<void(TPileInput &)> f) { return f; };
    const TFailureCase cases[] = {
        {"circle d 0", set([](TPileInput &i) { i.d = "0"; }), "桩身直径数据有错",
         TFailureStage::Section, 0, TInputField::D, 0},
        {"circle d malformed", set([](TPileInput &i) { i.d = "1,5"; }), "桩身直径数据有错",
         TFailureStage::Section, 0, TInputField::D, 0},
        {"circle d overflows", set([](TPileInput &i) { i.d = "1e999"; }), "桩身直径数据有错",
         TFailureStage::Section, 0, TInputField::D, 0},
        {"d before frk", set([](TPileInput &i) {
             i.d = "-1";
             i.rockLayers[0].frk = "1";
         }),
         "桩身直径数据有错", TFailureStage::Section, 0, TInputField::D, 0},
        {"ellipse c 0", set([](TPileInput &i) {
             i.sectionType = TSectionType::Ellipse;
             i.c = "0";
         }),
         "椭圆直段长度数据有错", TFailureStage::Section, 0, TInputField::C, 0},
        {"ellipse c malformed", set([](TPileInput &i) {
             i.sectionType = TSectionType::Ellipse;
             i.c = "1.2.3";
         }),
         "椭圆直段长度数据有错", TFailureStage::Section, 0, TInputField::C, 0},
        {"rectangle d 0, short side not checked", set([](TPileInput &i) {
             i.sectionType = TSectionType::Rectangle;
             i.d = "0";
             i.c = "abc";
         }),
         "矩形长边尺寸数据有错", TFailureStage::Section, 0, TInputField::D, 0},
        {"rectangle c empty", set([](TPileInput &i) {
             i.sectionType = TSectionType::Rectangle;
             i.c = "";
         }),
         "矩形短边尺寸数据有错", TFailureStage::Section, 0, TInputField::C, 0},
        {"hi malformed before any layer", set([](TPileInput &i) {
             i.rockLayers[0].frk = "0";
             i.rockLayers.push_back(i.rockLayers[0]);
             i.rockLayers[1].hi = "12x";
         }),
         Messages::SocketThicknessError(2), TFailureStage::SocketDepth, 2, TInputField::None, 0},
        {"frk empty", set([](TPileInput &i) { i.rockLayers[0].frk = ""; }), Messages::FrkError(1),
         TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"frk malformed", set([](TPileInput &i) { i.rockLayers[0].frk = "abc"; }),
         Messages::FrkError(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"frk below 2 in layer 2 of 3", set([](TPileInput &i) {
             i.rockLayers.resize(3, i.rockLayers[0]);
             i.rockLayers[1].frk = "1.99";
         }),
         Messages::FrkBelowTwo(2), TFailureStage::RockLayer, 2, TInputField::None, 1},
        {"grade empty", set([](TPileInput &i) { i.rockLayers[0].integrityGrade = ""; }),
         Messages::GradeUnclear(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"Kv 0", set([](TPileInput &i) {
             i.interpBasis = TInterpBasis::IntegrityIndex;
             i.rockLayers[0].integrityIndex = "0";
         }),
         Messages::IndexError(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"Kv 1.01", set([](TPileInput &i) {
             i.interpBasis = TInterpBasis::IntegrityIndex;
             i.rockLayers[0].integrityIndex = "1.01";
         }),
         Messages::IndexError(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"Kv malformed", set([](TPileInput &i) {
             i.interpBasis = TInterpBasis::IntegrityIndex;
             i.rockLayers[0].integrityIndex = "0.7a";
         }),
         Messages::IndexError(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"specified c1 1.5", set([](TPileInput &i) {
             i.coefMode = TCoefMode::Specified;
             i.rockLayers[0].c1Specified = "1.5";
         }),
         Messages::C1Error(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"specified c1 malformed", set([](TPileInput &i) {
             i.coefMode = TCoefMode::Specified;
             i.rockLayers[0].c1Specified = "0.5x";
         }),
         Messages::C1Error(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"specified c2 malformed after grade check", set([](TPileInput &i) {
             i.coefMode = TCoefMode::LargerOfBoth;
             i.rockLayers[0].c2Specified = "-";
         }),
         Messages::C2Error(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"grade checked before specified values", set([](TPileInput &i) {
             i.coefMode = TCoefMode::SmallerOfBoth;
             i.rockLayers[0].integrityGrade = "x";
             i.rockLayers[0].c1Specified = "5";
         }),
         Messages::GradeUnclear(1), TFailureStage::RockLayer, 1, TInputField::None, 0},
        {"soil li negative", set([](TPileInput &i) { i.soilLayers[0].li = "-1"; }),
         Messages::SoilThicknessError(1), TFailureStage::SoilLayer, 1, TInputField::None, 1},
        {"soil qik malformed in layer 2", set([](TPileInput &i) {
             i.soilLayers.push_back({"1", "abc"});
         }),
         Messages::SoilResistanceError(2), TFailureStage::SoilLayer, 2, TInputField::None, 1},
        {"li checked before qik", set([](TPileInput &i) {
             i.soilLayers[0] = {"x", "y"};
         }),
         Messages::SoilThicknessError(1), TFailureStage::SoilLayer, 1, TInputField::None, 1},
        {"Ra of 0", set([](TPileInput &i) {
             i.coefMode = TCoefMode::Specified;
             i.rockLayers[0].c1Specified = "0";
             i.rockLayers[0].hi = "0.3";
             i.soilLayers.clear();
         }),
         std::string(Messages::RaZero), TFailureStage::Result, 0, TInputField::None, 1},
        {"result beyond the double range", set([](TPileInput &i) { i.d = "1e300"; }),
         std::string(Messages::OutOfRange), TFailureStage::Result, 0, TInputField::None, 1},
    };
    for (const TFailureCase &c : cases) {
        SCOPED_TRACE(c.name);
        TPileInput input;
        c.change(input);
        const TCalcOutcome outcome = Calculate(input);
        ASSERT_FALSE(outcome.ok());
        EXPECT_EQ(outcome.failure->message, c.message);
        EXPECT_EQ(outcome.failure->stage, c.stage);
        EXPECT_EQ(outcome.failure->layer, c.layer);
        EXPECT_EQ(outcome.failure->field, c.field);
        EXPECT_EQ(outcome.result.rockResults.size(), c.rockLayersBefore);
    }
}

TEST(Calculation, WhatIsNotChecked)
{
    const std::pair<const char *, std::function<void(TPileInput &)>> cases[] = {
        {"circle with any c", [](TPileInput &i) { i.c = "abc"; }},
        {"Kv under the grade basis", [](TPileInput &i) { i.rockLayers[0].integrityIndex = "x"; }},
        {"specified values when interpolated",
         [](TPileInput &i) { i.rockLayers[0].c1Specified = "1.2.3"; }},
        {"grade when specified",
         [](TPileInput &i) {
             i.coefMode = TCoefMode::Specified;
             i.rockLayers[0].integrityGrade = "";
         }},
        {"negative hi",
         [](TPileInput &i) {
             i.rockLayers.push_back({"-0.5", "微风化", "完整", "", "30", "", ""});
         }},
        {"frk of exactly 2", [](TPileInput &i) { i.rockLayers[0].frk = "2"; }},
        {"Kv of exactly 1",
         [](TPileInput &i) {
             i.interpBasis = TInterpBasis::IntegrityIndex;
             i.rockLayers[0].integrityIndex = "1";
         }},
        {"zero soil values",
         [](TPileInput &i) {
             i.soilLayers[0] = {"0", ""};
         }},
    };
    for (const auto &[name, change] : cases) {
        SCOPED_TRACE(name);
        TPileInput input;
        change(input);
        const TCalcOutcome outcome = Calculate(input);
        EXPECT_TRUE(outcome.ok()) << outcome.failure->message;
    }
}

TEST(Calculation, NegativeLayerGivesNegativeSideResistance)
{
    TPileInput input = WithSecondRockLayer();
    input.rockLayers[1].hi = "-0.3";
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_TRUE(outcome.ok());
    EXPECT_LT(outcome.result.rockResults[1].Rria, 0);
}

TEST(Calculation, PartialResultsOfAFailure)
{
    TPileInput input = WithSecondRockLayer();
    input.rockLayers[1].integrityGrade = "";
    input.sectionType = TSectionType::Rectangle;
    input.c = "1500";
    const TCalcOutcome outcome = Calculate(input);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.failure->layerHardnessClass, "较硬岩"); // determined before the grade check
    ASSERT_EQ(outcome.result.rockResults.size(), 1u);
    EXPECT_NEAR(outcome.result.rockResults[0].c1, 0.36, 1e-15);
    EXPECT_EQ(outcome.result.rockResults[0].share, 0);
    // the sides were exchanged before the layers were evaluated
    EXPECT_EQ(outcome.result.d, 1500);
    EXPECT_EQ(outcome.result.c, 1000);
    EXPECT_TRUE(outcome.result.sidesExchanged);
}

} // namespace
