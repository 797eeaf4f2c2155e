#include "page_flow.h"

#include <algorithm>

namespace {

bool IsRule(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || line.size() - first < 10)
        return false;
    return line.find_first_not_of('-', first) == std::string::npos;
}

std::size_t Indent(const std::string &line)
{
    return std::min(line.find_first_not_of(' '), line.size());
}

} // namespace

std::vector<TBreak> TableBreaks(const std::vector<std::string> &lines)
{
    const std::size_t n = lines.size();
    std::vector<TBreak> breaks(n, TBreak::Good);
    const auto rule = [&](std::size_t i) { return i < n && IsRule(lines[i]); };
    const auto text = [&](std::size_t i) { return i < n && !IsRule(lines[i]); };
    // Header lines at i, i + 1 over a rule at i + 2, indented like the table's own.
    const auto headerAt = [&](std::size_t i, std::size_t indent) {
        return text(i) && text(i + 1) && rule(i + 2) && Indent(lines[i]) == indent;
    };

    std::size_t i = 0;
    while (i < n) {
        if (!(rule(i) && text(i + 1) && text(i + 2) && rule(i + 3))) {
            ++i;
            continue;
        }
        const std::size_t indent = Indent(lines[i + 1]);
        if (i > 0 && !lines[i - 1].empty() && !rule(i - 1))
            breaks[i] = TBreak::Poor; // the heading stays with its table
        std::size_t end = i + 3; // the last rule of the table so far
        for (;;) {
            std::size_t j = end + 1;
            while (text(j))
                ++j;
            if (!rule(j))
                break; // rows without a closing rule: the table ends with its last row
            end = j;
            // A row followed by its own rule continues the table.
            if (text(end + 1) && rule(end + 2) && Indent(lines[end + 1]) >= indent)
                continue;
            if (headerAt(end + 1, indent)) {
                for (std::size_t k = i + 1; k <= end; ++k)
                    breaks[k] = TBreak::Never;
                breaks[end + 1] = TBreak::Poor;
                i = end + 1;
                end = end + 3;
                // The continuing table has only header lines and their rule so far.
                for (std::size_t k = i + 1; k <= end; ++k)
                    breaks[k] = TBreak::Never;
                continue;
            }
            break;
        }
        for (std::size_t k = i + 1; k <= end && k < n; ++k)
            breaks[k] = TBreak::Never;
        i = end + 1;
    }
    return breaks;
}

std::vector<std::vector<TFlowItem>> BreakPages(const std::vector<TFlowItem> &flow,
                                               double pageHeight, double repeatHeight)
{
    // A page this full may end at a good break even where a poor one would fill it more.
    constexpr double FullEnough = 0.75;
    std::vector<std::vector<TFlowItem>> pages;
    std::size_t start = 0;
    while (start < flow.size()) {
        const double top = pages.empty() ? 0 : repeatHeight;
        double used = top;
        std::vector<double> usedBefore; // the height on the page before each item
        std::size_t end = start; // one past the last item of the page
        while (end < flow.size() && (end == start || flow[end].before != TBreak::Forced)
               && (end == start || used + flow[end].height <= pageHeight)) {
            usedBefore.push_back(used);
            used += flow[end].height;
            ++end;
        }
        std::vector<TFlowItem> page(flow.begin() + std::ptrdiff_t(start),
                                    flow.begin() + std::ptrdiff_t(end));
        if (end < flow.size() && flow[end].before != TBreak::Forced && flow[end].minHeight > 0
            && used + flow[end].minHeight <= pageHeight) {
            // A figure shrinks into the rest of the page.
            page.push_back(flow[end]);
            page.back().height = pageHeight - used;
            pages.push_back(std::move(page));
            start = end + 1;
            continue;
        }
        if (end < flow.size() && flow[end].before != TBreak::Forced) {
            // The page is full: end it at the best break that keeps something on it.
            const auto last = [&](TBreak wanted, std::size_t from) {
                std::size_t k = end;
                while (k > from && flow[k].before != wanted)
                    --k;
                return k > from && flow[k].before == wanted ? k : std::size_t(0);
            };
            const auto fill = [&](std::size_t k) {
                return (k < end ? usedBefore[k - start] : used) - top;
            };
            std::size_t best = end;
            const std::size_t good = last(TBreak::Good, start);
            const std::size_t poor = last(TBreak::Poor, std::max(start, good));
            if (good > 0 && (poor == 0 || fill(good) >= FullEnough * (pageHeight - top)))
                best = good;
            else if (poor > 0)
                best = poor;
            page.resize(best - start);
            end = best;
        }
        pages.push_back(std::move(page));
        start = end;
    }
    return pages;
}
