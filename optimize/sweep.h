#pragma once

#include "calculation.h"
#include "candidate.h"
#include "opt_options.h"
#include "pile_input.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// More candidates than this are refused before any is calculated.
inline constexpr std::int64_t MaxCandidates = 10'000'000;

// The number of candidates the settings describe; held at INT64_MAX instead of overflowing.
std::int64_t CountCandidates(const TOptSettings &settings);

// Told how many candidates are done out of how many; returning false cancels the sweep before the
// next candidate. Called from the sweep's threads, one call at a time: after every
// ProgressInterval candidates of a thread (with the count of all threads) and after the last.
using TSweepProgress = std::function<bool(std::int64_t done, std::int64_t total)>;
inline constexpr std::int64_t ProgressInterval = 1024;

enum class TSweepEnd {
    Complete, // every candidate calculated; the rows are numbered "ZH-…"
    OptionFailure, // the options table could not be used; no row
    TooManyCandidates, // nothing calculated; no row
    CandidateFailure, // a candidate failed; the rows before it keep their running numbers
    Cancelled // stopped by the progress callback; the rows calculated without a gap from the first
              // (at least up to the first thread's next report) are labelled as a complete run
              // labels them ("ZH-0001" of 2304) and the status stays empty for the page to fill
};

struct TSweepResult
{
    TSweepEnd end = TSweepEnd::Complete;
    TCandidateTable table; // the raw candidates
    std::string status; // the page's status label
    bool statusRed = false; // red (#FF0000), otherwise black
    std::optional<std::string> errorBox; // the text of an error box (a cell that is not a number)
    // What the input page holds after the sweep, with the sides of a rectangle as the calculation
    // shows them, and that calculation: the last candidate, or the one that failed. Empty when the
    // sweep calculated nothing and the input page stays as it was.
    std::optional<TPileInput> pageInput;
    std::optional<TCalcOutcome> pageOutcome;
};

// Reads the options and calculates every combination from the input page `base`. Its soil layers
// stand for every row of the page's soil grid; a candidate takes all of them with the overburden
// option, none without. From its first rock row a candidate keeps the specified c1 and c2 and the
// integrity cell its basis does not read; its bored-pile flag and precision are those of `base`.
//
// The candidates are split into one contiguous block per thread (`threads`; 0: one per hardware
// thread), and the blocks are joined in order: the rows, their numbers, the candidate that stops a
// failed sweep (the first failing one in sweep order) and the input page are those of one thread.
TSweepResult RunSweep(const TOptionTable &options, const TPileInput &base,
                      const TSweepProgress &progress = {}, int threads = 0);

// The threads a sweep uses by default: one per hardware thread.
int DefaultSweepThreads();
