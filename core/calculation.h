#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <optional>
#include <string>

enum class TInputField { None, D, C }; // the section field to mark red

// Where the calculation stopped; it tells which grid columns the run had written or cleared.
enum class TFailureStage {
    Section, // a section dimension: nothing else was touched
    SocketDepth, // a hi while the total socket depth was summed: the rock columns were cleared
    RockLayer, // rock layer `layer`: the layers above it are in the result
    SoilLayer, // soil layer `layer`: all rock layers and the soil layers above it are in the result
    Result // Ra itself: every layer is in the result, no share is
};

struct TCalcFailure
{
    std::string message;
    TInputField field = TInputField::None;
    TFailureStage stage = TFailureStage::Section;
    int layer = 0; // 1-based number of the failing rock or soil layer
    std::string layerHardnessClass; // of the failing rock layer, when determined before the failure
};

struct TCalcOutcome
{
    // Complete when the calculation succeeded; after a failure it holds what was evaluated before
    // it (geometry from the socket-depth stage on, the layers named by the failure, no shares).
    TPileResult result;
    std::optional<TCalcFailure> failure;

    bool ok() const { return !failure.has_value(); }
};

// One complete single-pile calculation: checks the input where each value is first needed, finds
// c1, c2 and ζs, and forms Ra, the shares and the verdict. It stops at the first value that fails.
TCalcOutcome Calculate(const TPileInput &input);
