#pragma once

#include "pile_input.h"
#include "project_info.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The pile file in JSON: one pile object or an array of them. Everything refused throws
// TPileFileError with a message that names the pile and the key.

// One pile from its JSON object; a missing key takes the input page's default. `where` names the
// pile in messages ("pile 2").
TPileInput PileFromJson(const nlohmann::json &object, const std::string &where);

// One pile object or an array of them.
std::vector<TPileInput> PilesFromJson(const nlohmann::json &document);

// Parses a JSON document. Refused, naming `source`: what is not JSON, a key given twice in one
// object, a number too large for a double, nesting deeper than piles ever need. When
// `takeElement` is given, every element of a top-level array goes to it as soon as it is complete
// (with its 0-based index) and is not kept in the document: a long array of piles then never
// stands in memory as JSON.
nlohmann::json
ParseJsonText(std::string_view text, const std::string &source,
              const std::function<void(std::size_t, const nlohmann::json &)> &takeElement = {});

// The piles of a JSON text: one pile object or an array of them.
std::vector<TPileInput> PilesFromText(std::string_view text, const std::string &source);

// A pile file with its project: the plain forms above (no project), or an object
// {"project": {…}, "piles": [...]}, the project's keys name, structure, bookNo, designer, checker
// and reviewer, each a text and each optional.
struct TPileDocument
{
    TProjectInfo project;
    std::vector<TPileInput> piles;
};

TPileDocument PileDocumentFromText(std::string_view text, const std::string &source);
