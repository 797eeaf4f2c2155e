#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <vector>

// The derivation of a calculated pile's coefficients and of Ra, for a checker to follow by hand:
// per rock layer c1 and c2 with the chain that made them (table value or interpolation, each
// reduction with its reason, or the value as typed), ζs with its interpolation, and the formula
// of Ra with every symbol named once and the values put in. The printed book places these lines
// after the pile's section; the text book has none of them.
std::vector<std::string> CoefficientBlockLines(const TPileInput &input, const TPileResult &result);

// A coefficient as the block prints it: at least three decimals, up to six where they matter.
std::string CoefficientText(double value);
