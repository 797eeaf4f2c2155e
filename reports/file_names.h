#pragma once

#include <string_view>

// The fixed names of the saved files, written into the user's documents folder.
namespace FileNames {

inline constexpr std::string_view Book = "嵌岩桩计算书(依据JTG3363-2019)_文本.txt";
inline constexpr std::string_view Table = "嵌岩桩计算书(依据JTG3363-2019)_表格.txt";
// The printable books of the desktop program's PDF button, beside the text files.
inline constexpr std::string_view BookPdf = "嵌岩桩计算书(依据JTG3363-2019)_文本.pdf";
inline constexpr std::string_view TablePdf = "嵌岩桩计算书(依据JTG3363-2019)_表格.pdf";
inline constexpr std::string_view RawCandidates =
    "嵌岩桩优化计算原始结果(依据JTG3363-2019)_表格.txt";
inline constexpr std::string_view FilteredCandidates =
    "嵌岩桩优化计算筛选结果(依据JTG3363-2019)_表格.txt";

} // namespace FileNames
