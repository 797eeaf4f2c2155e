#pragma once

#include "page_texts.h"
#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <string_view>
#include <vector>

// The line that closes every book section: only the last section keeps the time-stamp line after
// it.
inline constexpr std::string_view BookSectionEnd =
    "==================================================";

// Appends the section of pile ZH`n` to the book lines, ending with its time-stamp line. Per-layer
// figures are printed as their grid cells hold them; totals come from the result.
void AppendBookSection(std::vector<std::string> &lines, int n, const TPileInput &input,
                       const TPileResult &result, const TPageTexts &texts,
                       std::string_view timeStamp);
