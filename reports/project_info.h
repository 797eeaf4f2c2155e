#pragma once

#include <string>

// The project a set of piles belongs to, as the cover and the page headers of the printed book
// show it: kept in a JSON pile file beside the piles and edited in the desktop program.
struct TProjectInfo
{
    std::string name; // the project
    std::string structure; // the structure or pier
    std::string bookNo; // the calculation book's number
    std::string designer; // 计算
    std::string checker; // 复核
    std::string reviewer; // 审核

    bool Empty() const
    {
        return name.empty() && structure.empty() && bookNo.empty() && designer.empty()
            && checker.empty() && reviewer.empty();
    }

    friend bool operator==(const TProjectInfo &, const TProjectInfo &) = default;
};
