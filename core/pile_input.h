#pragma once

#include <string>
#include <vector>

// The input of one single-pile calculation. Numeric fields hold the text of their field or grid
// cell exactly as the input page shows it; the calculation reads them with the plain decimal
// reader when it needs them, so a malformed text is reported at the check of its own field.

enum class TSectionType { Circle = 0, Ellipse = 1, Rectangle = 2, Square = 3 };

// A square is calculated as a rectangle with equal sides.
inline bool IsRectangular(TSectionType type)
{
    return type == TSectionType::Rectangle || type == TSectionType::Square;
}

enum class TCoefMode { Specified = 0, Interpolated = 1, LargerOfBoth = 2, SmallerOfBoth = 3 };

enum class TInterpBasis { IntegrityGrade = 0, IntegrityIndex = 1 };

enum class TRoundingMode { TwoDecimals = 0, OneDecimal = 1, Units = 2, Tens = 3, Hundreds = 4 };

struct TSoilLayer
{
    std::string li; // m, thickness
    std::string qik; // kPa, characteristic side resistance

    friend bool operator==(const TSoilLayer &, const TSoilLayer &) = default;
};

struct TRockLayer
{
    std::string hi; // m, socket thickness in this layer
    std::string weathering; // "微风化" or "中风化"
    std::string integrityGrade; // "完整" … "极破碎"
    std::string integrityIndex; // Kv
    std::string frk; // MPa, uniaxial compressive strength
    std::string c1Specified;
    std::string c2Specified;

    friend bool operator==(const TRockLayer &, const TRockLayer &) = default;
};

struct TPileInput
{
    TSectionType sectionType = TSectionType::Circle;
    std::string d = "1000"; // mm; long side a of a rectangle
    std::string c = "0"; // mm; straight length of an ellipse, short side b of a rectangle
    std::vector<TSoilLayer> soilLayers {{"5.00", "200.00"}}; // top down, 0 to 9
    std::vector<TRockLayer> rockLayers {{"1.00", "中风化", "较完整", "0.75", "25.00", "0.50",
                                         "0.04"}}; // top down, 1 to 9; the last one carries the tip
    TCoefMode coefMode = TCoefMode::Interpolated;
    TInterpBasis interpBasis = TInterpBasis::IntegrityGrade;
    bool boredPile = true;
    TRoundingMode rounding = TRoundingMode::Units;
    std::string load; // kN, design axial compressive force N on the pile top; empty: no load check
    std::string gammaR = "1.0"; // resistance factor γR of the load check: capacity = γR·Ra

    friend bool operator==(const TPileInput &, const TPileInput &) = default;
};

constexpr int MaxSoilLayers = 9;
constexpr int MaxRockLayers = 9;
