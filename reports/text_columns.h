#pragma once

#include <string>
#include <string_view>

// Fixed-width text in UTF-8. A code point from U+1000 to U+9FA5 counts two columns, as does one
// outside the Basic Multilingual Plane (two UTF-16 code units); everything else counts one.
int DisplayWidth(std::string_view text);

// The text followed by, preceded by, or centred between fillers up to the display width; the odd
// filler of a centred text goes to the left. A text as wide as the width or wider is unchanged.
std::string PadRight(std::string_view text, std::string_view filler, int width);
std::string PadLeft(std::string_view text, std::string_view filler, int width);
std::string PadCenter(std::string_view text, std::string_view filler, int width);

// count blanks; empty for count ≤ 0.
std::string Spaces(int count);
