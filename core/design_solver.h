#pragma once

#include "pile_input.h"

#include <string>

// The least socket depth or section size that carries a pile's design load, found over the
// calculation itself.

enum class TDesignFor {
    SocketDepth, // the thickness of the last rock layer, m, on a grid from 0 up to 100 m
    Size // d of a circle, the long side a of an ellipse or rectangle (c kept), mm, from 100 mm up
         // to 10,000 mm
};

inline constexpr double DefaultDepthStep = 0.01; // m
inline constexpr double DefaultSizeStep = 10; // mm

struct TDesignAnswer
{
    bool ok = false; // an answer was found
    std::string value; // the text of the new thickness or size
    double h = 0; // m, total socket depth of the pile with the answer
    double Ra = 0; // kN, as calculated with the answer, not rounded
    double capacity = 0; // kN, γR·Ra
    std::string message; // why there is no answer; empty with an answer
    int calculations = 0; // how many calculations the search ran
};

// Whether a step can make the grid: positive, with at most six decimals, and not beyond the range.
bool IsDesignStep(TDesignFor target, double step);

// The least value on the grid of `step` (m for the socket depth, mm for the size) whose pile, all
// else as entered, has γR·Ra ≥ N: the calculation's own Ra at that value, and one step less does
// not carry N. No answer for a pile without a load or with an unusable load text, a pile that
// fails its checks (the calculation's message), a bad step, or no value within the range.
TDesignAnswer SolveDesign(const TPileInput &input, TDesignFor target, double step);

// The pile with a value written in: the last rock layer's thickness or d.
TPileInput WithDesignValue(const TPileInput &input, TDesignFor target, const std::string &value);
