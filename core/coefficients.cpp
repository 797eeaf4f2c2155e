#include "coefficients.h"

#include "geometry.h"

std::string_view HardnessClass(double frk)
{
    if (frk <= 5)
        return "极软岩";
    if (frk <= 15)
        return "软岩";
    if (frk <= 30)
        return "较软岩";
    if (frk <= 60)
        return "较硬岩";
    return "坚硬岩";
}

std::optional<TAutoCoefficients> CoefficientsByGrade(std::string_view grade)
{
    if (grade == "完整")
        return TAutoCoefficients {0.6, 0.05, "岩体完整"};
    if (grade == "较完整")
        return TAutoCoefficients {0.6, 0.05, "岩体较完整"};
    if (grade == "较破碎")
        return TAutoCoefficients {0.5, 0.04, "岩体较破碎"};
    if (grade == "破碎")
        return TAutoCoefficients {0.4, 0.03, "岩体破碎"};
    if (grade == "极破碎")
        return TAutoCoefficients {0.4, 0.03, "岩体极破碎"};
    return std::nullopt;
}

TAutoCoefficients CoefficientsByIndex(double kv)
{
    // The class bounds lie a small margin above the limits, so a value on a limit falls into the
    // lower class; 0.15001 has one decimal fewer than the others.
    if (kv > 0.750001)
        return {0.6, 0.05, "岩体完整"};
    if (kv > 0.550001)
        return {InterpolateLinear(0.55, 0.5, 0.75, 0.6, kv),
                InterpolateLinear(0.55, 0.04, 0.75, 0.05, kv), "岩体较完整"};
    if (kv > 0.350001)
        return {InterpolateLinear(0.35, 0.4, 0.55, 0.5, kv),
                InterpolateLinear(0.35, 0.03, 0.55, 0.04, kv), "岩体较破碎"};
    if (kv >= 0.15001)
        return {0.4, 0.03, "岩体破碎"};
    return {0.4, 0.03, "岩体极破碎"};
}

void ReduceCoefficients(double &c1, double &c2, double h, std::string_view weathering,
                        bool boredPile)
{
    if (h < 0.5) {
        c1 = static_cast<double>(c1 * 0.75L);
        c2 = 0;
    }
    if (weathering == "中风化") {
        c1 = static_cast<double>(c1 * 0.75L);
        c2 = static_cast<double>(c2 * 0.75L);
    }
    if (boredPile) {
        c1 = static_cast<double>(c1 * 0.8L);
        c2 = static_cast<double>(c2 * 0.8L);
    }
}
