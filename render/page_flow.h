#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Page breaking of the printed reports, in plain C++ so it can be tested without painting.

// How welcome a page break is just before an item of the flow.
enum class TBreak {
    Never, // inside a table
    Poor, // between a heading and its table, or between two tables that follow on each other
    Good, // between ordinary lines
    Forced // a new page starts here
};

// One item of a page flow: a text line or a figure, with its height in device units.
struct TFlowItem
{
    bool figure = false;
    std::size_t index = 0; // the line's index, or the figure's pile index
    double height = 0;
    TBreak before = TBreak::Good;
};

// The break before each line of a fixed-width report. A table is a rule line (dashes only), two
// header lines, a rule, its rows and a closing rule; rows may each be followed by a rule, and a
// table whose header lines follow directly on the closing rule of another continues that one. No
// break falls inside a table; a break before a table's header lines when it continues another,
// and between a heading line and the table below it, is poor.
std::vector<TBreak> TableBreaks(const std::vector<std::string> &lines);

// Splits the flow into pages of at most `pageHeight` each: a page ends at the last good break
// that fits, else at the last poor one, else where the page is full; a forced break always ends
// it. An item taller than a page gets a page of its own. Every page after the first keeps
// `repeatHeight` free at its top for lines repeated there.
std::vector<std::vector<TFlowItem>> BreakPages(const std::vector<TFlowItem> &flow,
                                               double pageHeight, double repeatHeight = 0);
