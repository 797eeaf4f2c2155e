#pragma once

#include "calculation.h"
#include "page_texts.h"
#include "pile_reports.h"

#include <stdexcept>
#include <vector>

// Piles for the rendering tests and the benchmark, calculated as the compute button does.
namespace SamplePiles {

inline TRockLayer Rock(const char *hi, const char *weathering, const char *grade, const char *kv,
                       const char *frk, const char *c1 = "0.5", const char *c2 = "0.04")
{
    return {hi, weathering, grade, kv, frk, c1, c2};
}

inline TPileInput Circle()
{
    return TPileInput {};
}

// Two soil layers and three rock layers under an ellipse.
inline TPileInput Ellipse()
{
    TPileInput in;
    in.sectionType = TSectionType::Ellipse;
    in.d = "1200";
    in.c = "600";
    in.soilLayers = {{"3.50", "120"}, {"6.00", "80.5"}};
    in.rockLayers = {Rock("1.00", "中风化", "较破碎", "0.3", "12.5"),
                     Rock("2.00", "微风化", "较完整", "0.6", "30"),
                     Rock("1.50", "微风化", "完整", "0.8", "60")};
    in.rounding = TRoundingMode::TwoDecimals;
    return in;
}

// A square in a socket far thinner than the overburden, under several soil layers.
inline TPileInput ThinSocketSquare()
{
    TPileInput in;
    in.sectionType = TSectionType::Rectangle;
    in.d = "1000";
    in.c = "1000";
    in.soilLayers = {{"8.00", "60"}, {"0.40", "150"}, {"12.00", "90"}};
    in.rockLayers = {Rock("0.20", "中风化", "较破碎", "0.4", "8"),
                     Rock("0.30", "微风化", "较完整", "0.7", "40")};
    in.interpBasis = TInterpBasis::IntegrityIndex;
    in.coefMode = TCoefMode::SmallerOfBoth;
    return in;
}

// The modes and layers the three piles above leave out.
inline std::vector<TPileInput> OtherSections()
{
    TPileInput specified;
    specified.coefMode = TCoefMode::Specified;
    specified.soilLayers.clear();
    TPileInput larger;
    larger.sectionType = TSectionType::Rectangle;
    larger.d = "800";
    larger.c = "1500";
    larger.coefMode = TCoefMode::LargerOfBoth;
    larger.boredPile = false;
    larger.rockLayers = {Rock("1.00", "中风化", "较完整", "0.6", "20"),
                         Rock("1.20", "微风化", "完整", "0.8", "45")};
    larger.rounding = TRoundingMode::Hundreds;
    TPileInput nine;
    nine.soilLayers.assign(9, {"1.10", "70"});
    nine.rockLayers.assign(9, Rock("0.50", "中风化", "较完整", "0.6", "20"));
    nine.rockLayers.back() = Rock("1.00", "微风化", "完整", "0.8", "50");
    nine.rounding = TRoundingMode::Tens;
    return {specified, larger, nine};
}

inline void Add(TPileReports &reports, const TPileInput &input,
                const char *stamp = "2024/3/5 14:07:09")
{
    const TCalcOutcome outcome = Calculate(input);
    if (!outcome.ok())
        throw std::runtime_error(outcome.failure->message);
    reports.WriteReports(input, outcome.result, PageTextsOf(input, outcome.result), stamp);
}

// The circle, the ellipse and the thin-socketed square.
inline TPileReports ThreePiles()
{
    TPileReports reports;
    Add(reports, Circle());
    Add(reports, Ellipse());
    Add(reports, ThinSocketSquare());
    return reports;
}

// The three piles and the others: every kind of section of the book.
inline TPileReports AllSections()
{
    TPileReports reports = ThreePiles();
    for (const TPileInput &input : OtherSections())
        Add(reports, input);
    return reports;
}

} // namespace SamplePiles
