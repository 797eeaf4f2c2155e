#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <vector>

// The check of a calculated pile against its design load for the printed book: N and γR as typed,
// the capacity γR·Ra, the utilization N/(γR·Ra) and the verdict, or "未输入设计荷载" without a
// load.
std::vector<std::string> LoadBlockLines(const TPileInput &input, const TPileResult &result);

// The same as one cell of the printed summary table: the utilization and the verdict, or why
// there is none.
std::string LoadCellText(const TPileInput &input, const TPileResult &result);

inline constexpr const char *NoLoadText = "未输入设计荷载";
