#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <utility>

// Decimals of a precision mode: 2, 1, then 0 for units, tens and hundreds.
int ModeDecimals(TRoundingMode mode);

// The value cut toward zero to a multiple of `step`. It cuts the value's grid-cell form, so that an
// exact multiple computed with binary noise (21839.999999999996) stays itself.
double TruncateToStep(double value, double step);

// A force in a precision mode: fixed with the mode's decimals, or cut to tens or hundreds.
std::string PrecisionText(double value, TRoundingMode mode, int precision);

// The texts of the Ra field and of the tip-share field ("68%") on the input page.
std::string RaText(double Ra, TRoundingMode mode);
std::string TipShareText(double tipShare, TRoundingMode mode);

// The d and c texts the input page shows after the calculation: a rectangle whose sides were
// exchanged shows the exchanged numbers in general form; otherwise the texts stay as typed.
std::pair<std::string, std::string> ShownSizeTexts(const TPileInput &input,
                                                   const TPileResult &result);
