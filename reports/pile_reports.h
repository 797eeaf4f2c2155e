#pragma once

#include "page_texts.h"
#include "pile_input.h"
#include "pile_result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One calculated pile of the reports: what it was calculated from, what came out, and where its
// section starts in the book. The drawings of the piles and the saving of the piles as a pile file
// read these; the text reports never do.
struct TPileRecord
{
    TPileInput input;
    TPileResult result;
    TPageTexts texts;
    std::size_t firstBookLine = 0; // index of the section's title line in BookLines()
};

// Both reports of the calculated piles, the calculation book and the summary table, as ordered
// lists of lines, with the pile counter that names the piles ZH1, ZH2, … in both. The desktop
// program holds one and shows its lines in the two memos; the batch tool uses it the same way.
class TPileReports
{
public:
    int PileCount() const { return m_pileCount; }
    const std::vector<std::string> &BookLines() const { return m_book; }
    const std::vector<std::string> &TableLines() const { return m_table; }
    // One record per pile, ZH1 first; always PileCount() of them.
    const std::vector<TPileRecord> &Piles() const { return m_piles; }

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
    std::vector<TPileRecord> m_piles;
};
