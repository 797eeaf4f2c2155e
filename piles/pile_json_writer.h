#pragma once

#include "pile_input.h"
#include "project_info.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// One pile in the pile format of the batch tool: every key, texts exactly as they stand in the
// page's fields and cells, combo boxes by item text.
nlohmann::ordered_json PileToJson(const TPileInput &input);

// The piles as a pile file: an array of pile objects, pretty-printed UTF-8, "\n" line ends.
std::string PilesToJsonText(const std::vector<TPileInput> &piles);

// The piles with their project: {"project": {…}, "piles": [...]}, written like the plain list.
std::string PileDocumentToJsonText(const TProjectInfo &project,
                                   const std::vector<TPileInput> &piles);
