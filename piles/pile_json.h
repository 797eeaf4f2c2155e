#pragma once

#include "pile_csv.h"
#include "pile_input.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The pile file in JSON: one pile object or an array of them. Everything refused throws
// TPileFileError with a message that names the pile and the key.

// The piles of a JSON text (UTF-8), given to `take` one by one as they are read, without ever
// holding the document; gives their number. Refused as well, naming `source`: what is not JSON, a
// key given twice in one object, a number too large for a double, nesting deeper than 32 levels.
std::size_t ReadJsonPiles(std::string_view text, const std::string &source, const TPileSink &take);

// The piles of a JSON text: one pile object or an array of them.
std::vector<TPileInput> PilesFromText(std::string_view text, const std::string &source);

// One pile from its JSON object; a missing key takes the input page's default. `where` names the
// pile in messages ("pile 2").
TPileInput PileFromJson(const nlohmann::json &object, const std::string &where);

// One pile object or an array of them.
std::vector<TPileInput> PilesFromJson(const nlohmann::json &document);

// One pile in the pile format: every key, texts exactly as they stand in the page's fields and
// cells, combo boxes by item text.
nlohmann::ordered_json PileToJson(const TPileInput &input);

// Parses a JSON document that is not a pile file (a sweep request). Refused, naming `source`:
// what is not JSON, a key given twice in one object, a number too large for a double, nesting
// deeper than 32 levels.
nlohmann::json ParseJsonText(std::string_view text, const std::string &source);
