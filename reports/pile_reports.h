#pragma once

#include "page_texts.h"
#include "pile_input.h"
#include "pile_result.h"

#include <string>
#include <string_view>
#include <vector>

// Both reports of the calculated piles, the calculation book and the summary table, as ordered
// lists of lines, with the pile counter that names the piles ZH1, ZH2, … in both. The desktop
// program holds one and shows its lines in the two memos; the batch tool uses it the same way.
class TPileReports
{
public:
    int PileCount() const { return m_pileCount; }
    const std::vector<std::string> &BookLines() const { return m_book; }
    const std::vector<std::string> &TableLines() const { return m_table; }

    // Adds a successfully calculated pile: raises PileCount, then the table step, then the book
    // step. Costs the same however many piles the reports hold.
    void WriteReports(const TPileInput &input, const TPileResult &result, const TPageTexts &texts,
                      std::string_view timeStamp);

    // Removes the last pile from both reports; with one pile left empties both. The closing lines
    // with the time stamp of the deleted pile stay.
    void DeleteLastPile();

private:
    void RemoveLastBookSection();

    int m_pileCount = 0;
    std::vector<std::string> m_book;
    std::vector<std::string> m_table;
};
