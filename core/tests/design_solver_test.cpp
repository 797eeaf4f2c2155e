#include "calculation.h"
#include "decimal_reader.h"
#include "design_load.h"
#include "design_solver.h"
#include "messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

std::string Fixed(double value, int decimals = 2)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Piles over every section, coefficient mode and basis, 0 to 3 soil and 1 to 3 rock layers, some
// of them with a socket below 0.5 m, loaded between a third and three times their Ra.
std::vector<TPileInput> RandomPiles(int count, unsigned seed)
{
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char *grades[] = {"完整", "较完整", "较破碎", "破碎", "极破碎"};
    std::vector<TPileInput> piles;
    while (static_cast<int>(piles.size()) < count) {
        TPileInput pile;
        pile.sectionType = static_cast<TSectionType>(pick(4));
        pile.d = Fixed(uniform(600, 2500), 0);
        pile.c = Fixed(uniform(300, 2000), 0);
        pile.coefMode = static_cast<TCoefMode>(pick(4));
        pile.interpBasis = static_cast<TInterpBasis>(pick(2));
        pile.boredPile = pick(2) == 0;
        pile.soilLayers.clear();
        for (int j = pick(4); j > 0; --j)
            pile.soilLayers.push_back({Fixed(uniform(0.5, 8)), Fixed(uniform(20, 300))});
        pile.rockLayers.clear();
        for (int j = pick(3) + 1; j > 0; --j) {
            pile.rockLayers.push_back({Fixed(uniform(0.05, pick(2) ? 0.3 : 2.5)),
                                       pick(2) ? "微风化" : "中风化", grades[pick(5)],
                                       Fixed(uniform(0.05, 1)), Fixed(uniform(2, 90)),
                                       Fixed(uniform(0.35, 0.65)), Fixed(uniform(0.02, 0.06), 3)});
        }
        const TCalcOutcome outcome = Calculate(pile);
        if (!outcome.ok())
            continue;
        pile.load = Fixed(outcome.result.Ra * uniform(0.33, 3));
        pile.gammaR = pick(2) ? "1.0" : "1.25";
        piles.push_back(pile);
    }
    return piles;
}

// Whether the pile with the value carries its load, by the calculation and the check alone.
bool Carries(const TPileInput &pile, TDesignFor target, const std::string &value)
{
    const TPileInput changed = WithDesignValue(pile, target, value);
    const TCalcOutcome outcome = Calculate(changed);
    if (!outcome.ok())
        return false;
    const auto check = CheckPileLoad(changed, outcome.result);
    return check->made() && check->ok;
}

// The texts of a grid as the solver writes them, with as many decimals as the step has (0.1,
// 0.01, or whole millimetres).
std::string GridText(TDesignFor target, double step, int k)
{
    const double lowest = target == TDesignFor::SocketDepth ? 0 : 100;
    return Fixed(lowest + k * step, step < 0.1 ? 2 : (step < 1 ? 1 : 0));
}

TEST(DesignSolver, AnswersCarryTheLoadAndOneStepLessDoesNot)
{
    const std::pair<TDesignFor, double> targets[] = {{TDesignFor::SocketDepth, 0.01},
                                                     {TDesignFor::Size, 10}};
    int answered = 0;
    for (const TPileInput &pile : RandomPiles(300, 22)) {
        for (const auto &[target, step] : targets) {
            SCOPED_TRACE(::testing::Message()
                         << pile.load << " " << pile.d << " for " << static_cast<int>(target));
            const TDesignAnswer answer = SolveDesign(pile, target, step);
            EXPECT_LE(answer.calculations, 17); // two ends and a bisection of at most 10,001 values
            if (!answer.ok) {
                EXPECT_EQ(answer.message,
                          target == TDesignFor::SocketDepth ? Messages::DepthBeyondLimit
                                                            : Messages::SizeBeyondLimit);
                EXPECT_FALSE(Carries(pile, target, GridText(target, step, 100 * 100)))
                    << "the top of the range carries";
                continue;
            }
            ++answered;
            const TPileInput changed = WithDesignValue(pile, target, answer.value);
            const TCalcOutcome outcome = Calculate(changed);
            ASSERT_TRUE(outcome.ok());
            EXPECT_EQ(outcome.result.Ra, answer.Ra);
            EXPECT_EQ(outcome.result.h, answer.h);
            EXPECT_EQ(answer.capacity, CheckPileLoad(changed, outcome.result)->capacity);
            EXPECT_TRUE(Carries(pile, target, answer.value));
            const double value = *ReadDecimal(answer.value);
            const double lowest = target == TDesignFor::SocketDepth ? 0 : 100;
            const int k = static_cast<int>(std::lround((value - lowest) / step));
            EXPECT_EQ(answer.value, GridText(target, step, k));
            if (k > 0) {
                EXPECT_FALSE(Carries(pile, target, GridText(target, step, k - 1)));
            }
        }
    }
    EXPECT_GT(answered, 300); // most random piles have an answer in both ways
}

// Every value of a coarse grid calculated: the solver's answer is the least that carries, so
// carrying is monotone over the grid as the search assumes.
TEST(DesignSolver, AnswerIsTheLeastOfAFullScan)
{
    const std::pair<TDesignFor, double> targets[] = {{TDesignFor::SocketDepth, 0.1},
                                                     {TDesignFor::Size, 100}};
    for (const TPileInput &pile : RandomPiles(40, 7)) {
        for (const auto &[target, step] : targets) {
            const TDesignAnswer answer = SolveDesign(pile, target, step);
            std::string least;
            for (int k = 0; k <= (target == TDesignFor::SocketDepth ? 1000 : 99); ++k) {
                const std::string value = GridText(target, step, k);
                if (Carries(pile, target, value)) {
                    least = value;
                    break;
                }
            }
            EXPECT_EQ(answer.ok ? answer.value : std::string(), least)
                << pile.load << " for " << static_cast<int>(target);
        }
    }
}

TEST(DesignSolver, ThinSocketJump)
{
    // Default pile: Ra 10367 at h = 1 m. Below 0.5 m there is no socket side resistance and c1
    // is lowered, so a load just above the thin socket's Ra needs 0.50 m at once.
    TPileInput pile;
    pile.rockLayers[0].hi = "0.49";
    const double thinRa = Calculate(pile).result.Ra;
    pile.rockLayers[0].hi = "0.50";
    const double thickRa = Calculate(pile).result.Ra;
    ASSERT_GT(thickRa, thinRa * 1.2);
    pile.load = Fixed(thinRa + 1);
    const TDesignAnswer answer = SolveDesign(pile, TDesignFor::SocketDepth, 0.01);
    ASSERT_TRUE(answer.ok) << answer.message;
    EXPECT_EQ(answer.value, "0.50");
    EXPECT_EQ(answer.Ra, thickRa);
    pile.load = Fixed(thinRa - 1);
    EXPECT_EQ(SolveDesign(pile, TDesignFor::SocketDepth, 0.01).value, "0.00");

    // An upper layer of negative thickness makes the step to 0.5 m lower Ra: the thin socket's
    // Ra then carries what the thicker sockets just above 0.5 m do not.
    TPileInput negative;
    negative.rockLayers.insert(negative.rockLayers.begin(),
                               {"-2.00", "微风化", "完整", "", "60", "", ""});
    negative.rockLayers[1].hi = "0";
    const double zeroRa = Calculate(negative).result.Ra;
    negative.rockLayers[1].hi = "2.50";
    ASSERT_LT(Calculate(negative).result.Ra, zeroRa);
    negative.load = Fixed(zeroRa - 1);
    EXPECT_EQ(SolveDesign(negative, TDesignFor::SocketDepth, 0.01).value, "0.00");
}

TEST(DesignSolver, GridTextsAndSteps)
{
    TPileInput pile;
    pile.load = "20000";
    const struct
    {
        TDesignFor target;
        double step;
        const char *value;
    } cases[] = {
        {TDesignFor::SocketDepth, 0.01, "5.09"}, {TDesignFor::SocketDepth, 0.5, "5.5"},
        {TDesignFor::SocketDepth, 1, "6"},       {TDesignFor::SocketDepth, 0.001, "5.089"},
        {TDesignFor::Size, 10, "1470"},          {TDesignFor::Size, 0.5, "1465.0"},
        {TDesignFor::Size, 250, "1600"},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.step);
        const TDesignAnswer answer = SolveDesign(pile, testCase.target, testCase.step);
        ASSERT_TRUE(answer.ok) << answer.message;
        EXPECT_EQ(answer.value, testCase.value);
    }
    const std::pair<TDesignFor, double> badSteps[] = {
        {TDesignFor::SocketDepth, 0},
        {TDesignFor::SocketDepth, -0.01},
        {TDesignFor::SocketDepth, 0.0000001},
        {TDesignFor::SocketDepth, 101},
        {TDesignFor::Size, 9901},
        {TDesignFor::Size, std::nan("")},
    };
    for (const auto &[target, step] : badSteps) {
        EXPECT_FALSE(IsDesignStep(target, step)) << step;
        EXPECT_EQ(SolveDesign(pile, target, step).message, Messages::StepError);
    }
    EXPECT_TRUE(IsDesignStep(TDesignFor::SocketDepth, 100));
    EXPECT_TRUE(IsDesignStep(TDesignFor::Size, 0.000001));
}

TEST(DesignSolver, NoAnswerSaysWhy)
{
    const auto pile = [](const char *load, const char *gammaR = "1.0") {
        TPileInput input;
        input.load = load;
        input.gammaR = gammaR;
        return input;
    };
    TPileInput failing = pile("8000");
    failing.rockLayers[0].frk = "1.5";
    TPileInput badSize = pile("8000");
    badSize.d = "x"; // solving for the size replaces it; solving for the depth does not
    const struct
    {
        TPileInput input;
        TDesignFor target;
        std::string message;
    } cases[] = {
        {pile(""), TDesignFor::SocketDepth, std::string(Messages::NoLoad)},
        {pile("abc"), TDesignFor::Size, std::string(Messages::LoadError)},
        {pile("8000", "0"), TDesignFor::SocketDepth, std::string(Messages::GammaRError)},
        {failing, TDesignFor::SocketDepth, Messages::FrkBelowTwo(1)},
        {badSize, TDesignFor::SocketDepth, std::string(Messages::DiameterError)},
        {pile("1e9"), TDesignFor::SocketDepth, std::string(Messages::DepthBeyondLimit)},
        {pile("1e12"), TDesignFor::Size, std::string(Messages::SizeBeyondLimit)},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.message);
        const TDesignAnswer answer = SolveDesign(
            testCase.input, testCase.target,
            testCase.target == TDesignFor::SocketDepth ? DefaultDepthStep : DefaultSizeStep);
        EXPECT_FALSE(answer.ok);
        EXPECT_EQ(answer.message, testCase.message);
        EXPECT_EQ(answer.value, "");
    }
    EXPECT_TRUE(SolveDesign(badSize, TDesignFor::Size, 10).ok);
}

} // namespace
