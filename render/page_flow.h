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
    double minHeight = 0; // a figure may shrink down to this to fill the rest of a page
    std::size_t pile = 0; // the pile the item belongs to, for the page's header
    bool extra = false; // a line of the printed book's own, not of the text report
};

// The break before each line of a fixed-width report. A table is a rule line (dashes only), two
// header lines, a rule, its rows and a closing rule; rows may each be followed by a rule, and a
// table whose header lines follow directly on the closing rule of another continues that one. No
// break falls inside a table; a break before a table's header lines when it continues another,
// and between a heading line and the table below it, is poor.
std::vector<TBreak> TableBreaks(const std::vector<std::string> &lines);

// Splits the flow into pages of at most `pageHeight` each: a page ends at the last good break
// that fits, unless that leaves more than a quarter of the page blank and a poor break further
// down fits, else at the last poor one, else where the page is full; a forced break always ends
// it. A figure that does not fit the rest of a page fills that rest when its `minHeight` fits
// there; else, like an item taller than a page, it starts the next page. Every page after the
// first keeps `repeatHeight` free at its top for lines repeated there.
std::vector<std::vector<TFlowItem>> BreakPages(const std::vector<TFlowItem> &flow,
                                               double pageHeight, double repeatHeight = 0);
