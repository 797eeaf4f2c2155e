#pragma once

#include <optional>
#include <string_view>

// Rock hardness class by frk (MPa), upper bounds inclusive.
std::string_view HardnessClass(double frk);

struct TAutoCoefficients
{
    double c1 = 0;
    double c2 = 0;
    std::string_view integrityText; // "岩体完整" … "岩体极破碎", the second half of the remark
};

// Automatic coefficients by the exact grade text; none for any other text.
std::optional<TAutoCoefficients> CoefficientsByGrade(std::string_view grade);

// Automatic coefficients by the integrity index Kv, 0 < Kv ≤ 1.
TAutoCoefficients CoefficientsByIndex(double kv);

// The reductions of automatic coefficients, in order: thin socket (total depth h < 0.5 m),
// "中风化", bored pile.
void ReduceCoefficients(double &c1, double &c2, double h, std::string_view weathering,
                        bool boredPile);
