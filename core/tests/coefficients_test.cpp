#include "coefficients.h"
#include "soil_factor.h"

#include <gtest/gtest.h>

namespace {

TEST(Coefficients, HardnessClassUpperBoundsInclusive)
{
    const std::pair<double, std::string_view> cases[] = {
        {2, "极软岩"},  {5, "极软岩"},  {5.01, "软岩"},    {15, "软岩"},    {15.01, "较软岩"},
        {30, "较软岩"}, {60, "较硬岩"}, {60.01, "坚硬岩"}, {150, "坚硬岩"},
    };
    for (const auto &[frk, expected] : cases) {
        SCOPED_TRACE(frk);
        EXPECT_EQ(HardnessClass(frk), expected);
    }
}

TEST(Coefficients, ByGradeMatchesExactTextOnly)
{
    const struct
    {
        const char *grade;
        double c1, c2;
        const char *text;
    } cases[] = {
        {"完整", 0.6, 0.05, "岩体完整"},     {"较完整", 0.6, 0.05, "岩体较完整"},
        {"较破碎", 0.5, 0.04, "岩体较破碎"}, {"破碎", 0.4, 0.03, "岩体破碎"},
        {"极破碎", 0.4, 0.03, "岩体极破碎"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.grade);
        const auto coefficients = CoefficientsByGrade(c.grade);
        ASSERT_TRUE(coefficients);
        EXPECT_EQ(coefficients->c1, c.c1);
        EXPECT_EQ(coefficients->c2, c.c2);
        EXPECT_EQ(coefficients->integrityText, c.text);
    }
    EXPECT_FALSE(CoefficientsByGrade(""));
    EXPECT_FALSE(CoefficientsByGrade("完整 "));
    EXPECT_FALSE(CoefficientsByGrade("岩体完整"));
}

TEST(Coefficients, ByIndexClassesAndLines)
{
    const struct
    {
        double kv, c1, c2;
        const char *text;
    } cases[] = {
        {1, 0.6, 0.05, "岩体完整"},        {0.7500011, 0.6, 0.05, "岩体完整"},
        {0.75, 0.6, 0.05, "岩体较完整"}, // on the limit: the lower class, on its line
        {0.65, 0.55, 0.045, "岩体较完整"}, {0.55, 0.5, 0.04, "岩体较破碎"},
        {0.45, 0.45, 0.035, "岩体较破碎"}, {0.3501, 0.40005, 0.030005, "岩体较破碎"},
        {0.35, 0.4, 0.03, "岩体破碎"},     {0.15001, 0.4, 0.03, "岩体破碎"},
        {0.15, 0.4, 0.03, "岩体极破碎"},   {0.01, 0.4, 0.03, "岩体极破碎"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kv);
        const TAutoCoefficients coefficients = CoefficientsByIndex(c.kv);
        EXPECT_NEAR(coefficients.c1, c.c1, 1e-12);
        EXPECT_NEAR(coefficients.c2, c.c2, 1e-12);
        EXPECT_EQ(coefficients.integrityText, c.text);
    }
}

TEST(Coefficients, ReductionsInOrder)
{
    const struct
    {
        const char *name;
        double h;
        const char *weathering;
        bool bored;
        double c1, c2;
    } cases[] = {
        {"moderate, bored", 1.0, "中风化", true, 0.36, 0.03},
        {"slight, not bored", 1.0, "微风化", false, 0.6, 0.05},
        {"thin socket", 0.4, "微风化", false, 0.45, 0},
        {"thin, moderate, bored", 0.4, "中风化", true, 0.27, 0},
        {"weathering text with a blank is not reduced", 1.0, "中风化 ", false, 0.6, 0.05},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        double c1 = 0.6;
        double c2 = 0.05;
        ReduceCoefficients(c1, c2, c.h, c.weathering, c.bored);
        EXPECT_NEAR(c1, c.c1, 1e-15);
        EXPECT_NEAR(c2, c.c2, 1e-15);
    }
    double c1 = 0.5;
    double c2 = 0.04;
    ReduceCoefficients(c1, c2, 0.4, "中风化", true);
    EXPECT_NEAR(c1, 0.225, 1e-15);
    EXPECT_EQ(c2, 0);
}

TEST(SoilFactor, PiecewiseLinearInTipStrength)
{
    const std::pair<double, double> cases[] = {
        {2, 1.0}, {8.5, 0.9}, {15, 0.8}, {25, 0.6}, {30, 0.5}, {40, 0.4}, {60, 0.2}, {150, 0.2},
    };
    for (const auto &[frk, zeta] : cases) {
        SCOPED_TRACE(frk);
        EXPECT_NEAR(SoilFactor(frk), zeta, 1e-15);
    }
}

} // namespace
