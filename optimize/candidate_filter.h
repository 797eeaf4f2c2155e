#pragma once

#include "candidate.h"
#include "design_load.h"
#include "opt_options.h"

#include <optional>
#include <string>

// The Ra window of the filter, kN, both bounds inclusive.
struct TRaWindow
{
    double lower = 0;
    double upper = 0;
};

struct TWindowReading
{
    std::optional<TRaWindow> window;
    std::string errorBox; // the error box's text when a bound is not a number
};

// Reads the window from the Ra row: a bound not above 0 has no effect (no upper bound is 1E15),
// and a lower bound above the upper one shrinks the window to that single value.
TWindowReading ReadRaWindow(const TOptionTable &options);

struct TFilterResult
{
    std::optional<std::string> errorBox; // a bound was not a number: nothing changes
    TCandidateTable filtered; // the kept rows in their present order, with the raw context
    std::string status; // the page's status label, black
};

// Filters the raw rows by the Ra window of the options table and, with a load, keeps only the rows
// whose γR·Ra (Ra unrounded) carries N. On success the caller shows the filtered grid and sets the
// sort state back to none.
TFilterResult FilterCandidates(const TCandidateTable &raw, const TOptionTable &options,
                               const std::optional<TDesignLoad> &load = std::nullopt);
