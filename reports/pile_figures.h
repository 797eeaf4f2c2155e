#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <string_view>

// Figures that the book and the table print alike.

// A rectangle whose sides are equal after the exchange is labelled a square.
inline bool IsSquare(const TPileInput &input, const TPileResult &result)
{
    return IsRectangular(input.sectionType) && result.d == result.c;
}

// The section label of the table and of the book's summary.
inline std::string_view SectionLabel(const TPileInput &input, const TPileResult &result)
{
    if (IsSquare(input, result))
        return "方  桩";
    if (IsRectangular(input.sectionType))
        return "矩形桩";
    return input.sectionType == TSectionType::Ellipse ? "椭圆桩" : "圆  桩";
}

// Shares of Ra, %. The socket side is what neither the tip nor the soil carries.
inline double SocketSideShare(const TPileResult &result)
{
    return (1 - (result.soilSide + result.socketTip) / result.Ra) * 100;
}

inline double SoilShare(const TPileResult &result)
{
    return 100 * result.soilSide / result.Ra;
}
