#pragma once

#include "pile_input.h"
#include "pile_result.h"

#include <optional>
#include <string>
#include <string_view>

// The design load of a pile and its check against the calculated Ra.

struct TDesignLoad
{
    double N = 0; // kN, design axial compressive force on the pile top, > 0
    double gammaR = 1; // resistance factor, > 0
};

// The pile's load texts read with the plain decimal reader: no load when the N text is empty or
// blank (γR is then not read), else the load or the message of the first unusable text.
struct TLoadReading
{
    std::optional<TDesignLoad> load;
    std::string error; // empty when the texts are usable

    bool ok() const { return error.empty(); }
};

TLoadReading ReadDesignLoad(const TPileInput &input);

struct TLoadCheck
{
    std::string error; // why the check could not be made; empty when it was made
    double N = 0; // kN
    double gammaR = 1;
    double capacity = 0; // kN, γR·Ra with Ra as calculated, not rounded
    double utilization = 0; // N / capacity
    bool ok = false; // N ≤ capacity

    bool made() const { return error.empty(); }
};

// capacity = γR·Ra, utilization = N / capacity, ok when N ≤ capacity; a figure that leaves the
// range of a double gives the out-of-range message instead.
TLoadCheck CheckLoad(const TDesignLoad &load, double Ra);

// The check of a calculated pile: nothing when it has no load, the message of an unusable load
// text, else CheckLoad with the result's Ra.
std::optional<TLoadCheck> CheckPileLoad(const TPileInput &input, const TPileResult &result);

// "满足" or "不满足".
std::string_view LoadVerdictText(bool ok);
