#pragma once

#include "calculation.h"
#include "pile_input.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
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

// The document read from a file, "-" for standard input.
nlohmann::json ReadJsonDocument(const std::string &path);

// The result of one pile: "ok", its name and every figure, or the failure message.
nlohmann::ordered_json OutcomeToJson(const TPileInput &input, const TCalcOutcome &outcome,
                                     int pileNumber);
