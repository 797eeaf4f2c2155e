#include "pile_reports.h"

#include "calculation_book.h"
#include "summary_table.h"

void TPileReports::WriteReports(const TPileInput &input, const TPileResult &result,
                                const TPageTexts &texts, std::string_view timeStamp)
{
    const int n = ++m_pileCount;

    // Table: the header once, the pile line in place of the previous closing lines.
    if (n == 1)
        AppendSummaryHeader(m_table);
    else
        m_table.resize(m_table.size() - SummaryClosingLineCount);
    m_table.push_back(SummaryPileLine(n, input, result, texts));
    AppendSummaryClosing(m_table, timeStamp);

    // Book: the new section takes the place of the previous time-stamp line.
    if (n > 1 && !m_book.empty())
        m_book.pop_back();
    m_piles.push_back({input, result, texts, m_book.size()});
    AppendBookSection(m_book, n, input, result, texts, timeStamp);
}

void TPileReports::DeleteLastPile()
{
    if (m_pileCount < 2) {
        m_pileCount = 0;
        m_table.clear();
        m_book.clear();
        m_piles.clear();
        return;
    }
    --m_pileCount;
    m_piles.pop_back();
    // The last pile line stands just above the closing lines, which stay.
    m_table.erase(m_table.end() - (SummaryClosingLineCount + 1));
    RemoveLastBookSection();
}

void TPileReports::RemoveLastBookSection()
{
    // Everything between the previous section's closing line and the time-stamp line goes; the
    // time-stamp line of the deleted pile stays last.
    if (m_book.size() < 2)
        return;
    m_book.erase(m_book.end() - 2);
    while (m_book.size() >= 2 && m_book[m_book.size() - 2] != BookSectionEnd)
        m_book.erase(m_book.end() - 2);
}
