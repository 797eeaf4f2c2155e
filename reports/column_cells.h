#pragma once

#include "text_columns.h"

#include <string>
#include <string_view>

// The cells of the fixed-width reports: the content padded with blanks to `width` display columns,
// then `blanks` blanks. CellL right-aligns (L8+2 is CellL(text, 8, 2)), CellR left-aligns, CellC
// centres with the odd blank on the left.
inline std::string CellL(std::string_view text, int width, int blanks = 0)
{
    return PadLeft(text, " ", width) + Spaces(blanks);
}

inline std::string CellR(std::string_view text, int width, int blanks = 0)
{
    return PadRight(text, " ", width) + Spaces(blanks);
}

inline std::string CellC(std::string_view text, int width, int blanks = 0)
{
    return PadCenter(text, " ", width) + Spaces(blanks);
}
