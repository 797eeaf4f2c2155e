#pragma once

#include "page_texts.h"
#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <string_view>
#include <vector>

// The summary table: five header lines, one line of 19 columns per pile (190 display columns while
// no content outgrows its cell) and four closing lines that end with the time stamp.

inline constexpr int SummaryHeaderLineCount = 5;
inline constexpr int SummaryClosingLineCount = 4;

void AppendSummaryHeader(std::vector<std::string> &lines);

// The line of pile ZH`n`, in the precision of the input.
std::string SummaryPileLine(int n, const TPileInput &input, const TPileResult &result,
                            const TPageTexts &texts);

void AppendSummaryClosing(std::vector<std::string> &lines, std::string_view timeStamp);
