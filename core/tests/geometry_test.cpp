#include "geometry.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

struct TGeometryCase
{
    const char *name;
    TSectionType type;
    double d, c;
    double expectedD, expectedC;
    bool exchanged;
    double Ap, u;
};

TEST(SectionGeometry, AreaPerimeterAndExchange)
{
    const TGeometryCase cases[] = {
        {"circle", TSectionType::Circle, 1000, 0, 1000, 0, false, pi / 4, pi},
        {"circle ignores c", TSectionType::Circle, 1000, 700, 1000, 0, false, pi / 4, pi},
        {"ellipse", TSectionType::Ellipse, 1000, 500, 1000, 500, false, pi / 4 + 0.5, pi + 1},
        {"rectangle long side first", TSectionType::Rectangle, 1500, 1000, 1500, 1000, false, 1.5,
         5},
        {"rectangle exchanged", TSectionType::Rectangle, 1000, 1500, 1500, 1000, true, 1.5, 5},
        {"equal sides are exchanged too", TSectionType::Rectangle, 1200, 1200, 1200, 1200, true,
         1.44, 4.8},
        {"square", TSectionType::Square, 1000, 1000, 1000, 1000, true, 1, 4},
    };
    for (const TGeometryCase &c : cases) {
        SCOPED_TRACE(c.name);
        const TSectionGeometry g = SectionGeometry(c.type, c.d, c.c);
        EXPECT_EQ(g.d, c.expectedD);
        EXPECT_EQ(g.c, c.expectedC);
        EXPECT_EQ(g.sidesExchanged, c.exchanged);
        EXPECT_DOUBLE_EQ(g.Ap, c.Ap);
        EXPECT_DOUBLE_EQ(g.u, c.u);
    }
}

TEST(InterpolateLinear, FollowsTheLineWithoutClamping)
{
    EXPECT_DOUBLE_EQ(InterpolateLinear(0.55, 0.5, 0.75, 0.6, 0.65), 0.55);
    EXPECT_DOUBLE_EQ(InterpolateLinear(2, 1, 15, 0.8, 2), 1);
    EXPECT_DOUBLE_EQ(InterpolateLinear(0, 0, 1, 1, 2), 2);
    EXPECT_DOUBLE_EQ(InterpolateLinear(30, 0.5, 60, 0.2, 40), 0.4);
}

} // namespace
