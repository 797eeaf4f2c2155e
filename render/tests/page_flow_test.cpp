#include "page_flow.h"
#include "sample_piles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool IsDashes(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string::npos && line.find_first_not_of('-', first) == std::string::npos;
}

TEST(TableBreaks, NoBreakInsideAnyTableOfEveryKindOfSection)
{
    const TPileReports reports = SamplePiles::AllSections();
    const std::vector<std::string> &lines = reports.BookLines();
    const std::vector<TBreak> breaks = TableBreaks(lines);
    ASSERT_EQ(breaks.size(), lines.size());
    const auto rule = [&](std::size_t i) { return i < lines.size() && IsDashes(lines[i]); };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // No page starts with a rule, nor with a header line or row under a rule that another
        // rule follows; only the header of a table continuing another may, poorly.
        if (rule(i)) {
            EXPECT_NE(breaks[i], TBreak::Good) << "line " << i + 1 << ": " << lines[i];
        }
        const bool indented = lines[i].find_first_not_of(' ') >= 6;
        if (!rule(i) && rule(i - 1) && indented && rule(i + 1)) {
            EXPECT_EQ(breaks[i], TBreak::Never) << "line " << i + 1 << ": " << lines[i];
        }
        if (!rule(i) && rule(i - 1) && indented && !rule(i + 1) && rule(i + 2)) {
            EXPECT_NE(breaks[i], TBreak::Good) << "line " << i + 1 << ": " << lines[i];
        }
    }
    // Ordinary lines break well: the section titles, the formula, the totals.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].rfind("3.采用规范及公式", 0) == 0 || lines[i].rfind("  4.4 ", 0) == 0
            || lines[i].rfind("  4.3 ", 0) == 0 || lines[i].rfind("====", 0) == 0) {
            EXPECT_EQ(breaks[i], TBreak::Good) << "line " << i + 1 << ": " << lines[i];
        }
    }
}

TEST(TableBreaks, FindsEveryTableOfTheLargerOfBothSection)
{
    // Soil input, the two coefficient tables, the three rock tables, the two soil tables and the
    // three summary tables: each begins where a rule stands over two header lines and a rule.
    const TPileReports reports = SamplePiles::AllSections();
    const std::vector<std::string> &lines = reports.BookLines();
    const std::vector<TBreak> breaks = TableBreaks(lines);
    const std::size_t first = reports.Piles()[4].firstBookLine;
    const std::size_t last = reports.Piles()[5].firstBookLine;
    int starts = 0;
    for (std::size_t i = first; i + 1 < last; ++i)
        if (breaks[i] != TBreak::Never && breaks[i + 1] == TBreak::Never)
            ++starts;
    EXPECT_EQ(starts, 11);
}

std::vector<TFlowItem> Flow(const std::vector<TBreak> &breaks, double height = 1)
{
    std::vector<TFlowItem> flow;
    for (std::size_t i = 0; i < breaks.size(); ++i)
        flow.push_back({false, i, height, breaks[i]});
    return flow;
}

std::vector<std::size_t> PageStarts(const std::vector<std::vector<TFlowItem>> &pages)
{
    std::vector<std::size_t> starts;
    for (const auto &page : pages)
        starts.push_back(page.front().index);
    return starts;
}

TEST(BreakPages, EndsPagesAtTheBestBreakThatFits)
{
    using enum TBreak;
    struct TCase
    {
        const char *name;
        std::vector<TBreak> breaks;
        double pageHeight;
        std::vector<std::size_t> starts;
    } cases[] = {
        {"full pages", {Good, Good, Good, Good, Good}, 2, {0, 2, 4}},
        {"table moves to the next page", {Good, Good, Never, Never, Good}, 3, {0, 1, 4}},
        {"poor break when no good one fits", {Good, Never, Poor, Never, Never}, 4, {0, 2}},
        {"good break preferred to a later poor one on a page three quarters full",
         {Good, Good, Good, Good, Good, Good, Good, Good, Good, Poor, Never, Never},
         10,
         {0, 8}},
        {"poor break where the good one leaves most of the page blank",
         {Good, Good, Never, Poor, Never, Never},
         5,
         {0, 3}},
        {"a table taller than a page is cut where full", {Good, Never, Never, Never}, 2, {0, 2}},
        {"forced break", {Good, Good, Forced, Good}, 10, {0, 2}},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(PageStarts(BreakPages(Flow(c.breaks), c.pageHeight)), c.starts) << c.name;
    }
}

TEST(BreakPages, AFigureThatMayShrinkFillsThePageRest)
{
    std::vector<TFlowItem> flow = Flow({TBreak::Good, TBreak::Good, TBreak::Good});
    flow.push_back({true, 0, 5, TBreak::Good, 2});
    flow.push_back({false, 3, 1, TBreak::Good});
    const auto pages = BreakPages(flow, 6);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].size(), 4u);
    EXPECT_TRUE(pages[0].back().figure);
    EXPECT_DOUBLE_EQ(pages[0].back().height, 3);
    EXPECT_EQ(pages[1].front().index, 3u);
    // Where even its smallest height does not fit, it starts the next page at full height.
    flow[3].minHeight = 4;
    const auto moved = BreakPages(flow, 6);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_TRUE(moved[1].front().figure);
    EXPECT_DOUBLE_EQ(moved[1].front().height, 5);
}

TEST(BreakPages, AFigureTooTallForThePageRestStartsTheNext)
{
    std::vector<TFlowItem> flow = Flow({TBreak::Good, TBreak::Good, TBreak::Good});
    flow.push_back({true, 0, 5, TBreak::Good});
    const auto pages = BreakPages(flow, 6);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 3u);
    EXPECT_TRUE(pages[1].front().figure);
}

} // namespace
