#pragma once

// The piles whose calculation books are stored under tests/data/reports as book_<name>.txt (time
// stamp "2024/3/5 14:07:09"): each a change of the input page's defaults.

#include "pile_input.h"

#include <functional>

inline TRockLayer Rock(const char *hi, const char *weathering, const char *grade, const char *kv,
                       const char *frk, const char *c1, const char *c2)
{
    return {hi, weathering, grade, kv, frk, c1, c2};
}

struct TPileCase
{
    const char *name;
    std::function<void(TPileInput &)> edit;
};

inline const TPileCase Piles[] = {
    {"default", [](TPileInput &) {}},
    {"no_soil", [](TPileInput &in) { in.soilLayers.clear(); }},
    {"specified", [](TPileInput &in) { in.coefMode = TCoefMode::Specified; }},
    {"three_rock_layers",
     [](TPileInput &in) {
         in.d = "1200";
         in.rockLayers = {Rock("1.00", "中风化", "较破碎", "0.3", "12.5", "0.45", "0.035"),
                          Rock("2.00", "微风化", "较完整", "0.6", "30", "0.5", "0.05"),
                          Rock("1.50", "微风化", "完整", "0.8", "60", "0.6", "0.04")};
         in.coefMode = TCoefMode::LargerOfBoth;
         in.rounding = TRoundingMode::TwoDecimals;
     }},
    {"square_tens",
     [](TPileInput &in) {
         in.sectionType = TSectionType::Rectangle;
         in.d = "1200";
         in.c = "1200";
         in.coefMode = TCoefMode::SmallerOfBoth;
         in.interpBasis = TInterpBasis::IntegrityIndex;
         in.boredPile = false;
         in.rounding = TRoundingMode::Tens;
     }},
    {"ellipse_hundreds",
     [](TPileInput &in) {
         in.sectionType = TSectionType::Ellipse;
         in.c = "500";
         in.interpBasis = TInterpBasis::IntegrityIndex;
         in.rounding = TRoundingMode::Hundreds;
         in.soilLayers = {{"3.50", "120"}, {"6", "80.5"}};
     }},
    {"rectangle_one_decimal",
     [](TPileInput &in) {
         in.sectionType = TSectionType::Rectangle;
         in.d = "1000";
         in.c = "1500";
         in.rounding = TRoundingMode::OneDecimal;
     }},
};
