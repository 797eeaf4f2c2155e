#pragma once

#include "candidate.h"

#include <cstdint>
#include <string>
#include <vector>

// The order the grid's exchange sort leaves: ascending keys, rows of equal keys in the order that
// sort's exchanges give them (not in general their present order). order[k] is the present index
// of the row that ends at index k. O(n log n).
TRowOrder ExchangeSortOrder(const std::vector<double> &keys);

// SortStateD and SortStateRa, shared by both candidate grids: 0 unsorted, 1 ascending,
// 2 descending; at most one of them is not 0.
struct TSortState
{
    int sortStateD = 0;
    int sortStateRa = 0;
};

struct TSortClick
{
    bool sorted = false; // the rows were sorted or reversed; the save button is enabled
    std::string status; // the page's status label, black
    bool selectFirstRow = false;
    bool setHeaders = false; // the d and Ra headers change to the texts below
    std::string dHeader; // padded on the left to a display width of 8
    std::string raHeader;
};

// A click on header `column` of a candidate grid: sorts by d (column 2) or Ra (column 4), or
// reverses the rows when that column is sorted already.
TSortClick ClickHeader(TCandidateTable &table, TSortState &state, int column);
