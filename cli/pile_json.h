#pragma once

#include "calculation.h"
#include "pile_input.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Input that cannot be used: a key, a value or a document the batch tool does not accept.
class TUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One pile from its JSON object; a missing key takes the input page's default. `where` names the
// pile in messages ("pile 2").
TPileInput PileFromJson(const nlohmann::json &object, const std::string &where);

// One pile object or an array of them.
std::vector<TPileInput> PilesFromJson(const nlohmann::json &document);

// The largest input the batch tool reads; a larger one is refused before it fills the memory.
inline constexpr std::size_t MaxInputBytes = std::size_t {256} << 20;

// The name of an input in messages: the path, "standard input" for "-".
std::string InputName(const std::string &path);

// The bytes of a file, "-" for standard input. A file that cannot be opened or read, or one
// larger than MaxInputBytes, is refused with the system's reason.
std::string ReadInputText(const std::string &path);

// Parses a JSON document. Refused, naming `source`: what is not JSON, a key given twice in one
// object, a number too large for a double, nesting deeper than piles ever need. When
// `takeElement` is given, every element of a top-level array goes to it as soon as it is complete
// (with its 0-based index) and is not kept in the document: a long array of piles then never
// stands in memory as JSON.
nlohmann::json
ParseJsonText(std::string_view text, const std::string &source,
              const std::function<void(std::size_t, const nlohmann::json &)> &takeElement = {});

// The document of a file, "-" for standard input.
nlohmann::json ReadJsonDocument(const std::string &path);

// The piles of a JSON text: one pile object or an array of them.
std::vector<TPileInput> PilesFromText(std::string_view text, const std::string &source);

// The result of one pile: "ok", its name and every figure, or the failure message.
nlohmann::ordered_json OutcomeToJson(const TPileInput &input, const TCalcOutcome &outcome,
                                     int pileNumber);
