#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <array>
#include <string>
#include <vector>

// The texts of the input page that the reports print as they stand, read after the calculation:
// the desktop program fills them from its controls, the batch tool from the pile input.
struct TPageTexts
{
    std::string dText; // cbe_dd, after a rectangle's exchange
    std::string cText; // cbe_tyzd
    std::string soilCountText; // selected item of cbb_tuchengshu, "0" to "9"
    std::string rockCountText; // selected item of cbb_yanchengshu, "1" to "9"
    std::string coefModeText; // selected item of cbb_chezhuxishu
    std::string basisText; // selected item of cbb_chazhiyiju
    std::vector<std::array<std::string, 3>> soilCells; // per soil layer: number, li, qik
    std::vector<std::array<std::string, 6>> rockCells; // per rock layer: number, hi, weathering,
                                                       // grade, Kv, frk
};

// What the input page shows for a calculated pile input: its texts, the layer numbers from 1, the
// item texts of its combo boxes and the size texts after the exchange.
TPageTexts PageTextsOf(const TPileInput &input, const TPileResult &result);
