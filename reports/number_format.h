#pragma once

#include <string>

// The one fixed-point format of reports and files: the value rounded to the fewer of `precision`
// significant digits (taken as 2 to 18) and `decimals` digits after the point, half away from zero
// on its first 18 significant digits, written with exactly `decimals` decimals. A value that rounds
// to zero has no minus sign; one whose integer part needs more than `precision` digits is written
// in the general form of that precision instead.
std::string FormatFixed(double value, int precision, int decimals);
// The same text appended to `text`.
void AppendFixed(std::string &text, double value, int precision, int decimals);
// The same text worked out digit by digit from the 18-digit expansion, as FormatFixed does where
// its binary shortcut does not hold.
std::string FormatFixedByExpansion(double value, int precision, int decimals);

// The shortest general form: up to `precision` significant digits, no trailing zeros; scientific
// ("1.5E-6", "1E20") below 0.00001 in magnitude or with more than `precision` digits before the
// point. With the default precision it is the text a grid cell receives.
std::string GeneralText(double value, int precision = 15);

// A value as it comes back from its grid cell: its general form read again.
double CellValue(double value);
