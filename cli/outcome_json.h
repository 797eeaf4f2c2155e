#pragma once

#include "calculation.h"
#include "pile_input.h"

#include <nlohmann/json.hpp>

// The result of one pile: "ok", its name and every figure, or the failure message.
nlohmann::ordered_json OutcomeToJson(const TPileInput &input, const TCalcOutcome &outcome,
                                     int pileNumber);
