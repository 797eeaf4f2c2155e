#pragma once

#include "pile_input.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// One pile in the pile format of the batch tool: every key, texts exactly as they stand in the
// page's fields and cells, combo boxes by item text.
nlohmann::ordered_json PileToJson(const TPileInput &input);

// The piles as a pile file: an array of pile objects, pretty-printed UTF-8, "\n" line ends.
std::string PilesToJsonText(const std::vector<TPileInput> &piles);
