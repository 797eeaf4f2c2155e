#pragma once

#include <array>
#include <string_view>

// The item texts of the input page's combo boxes and pick lists, in item order.
namespace PileItems {

inline constexpr std::array<std::string_view, 3> Sections {"圆桩", "椭圆桩", "矩形桩"};
inline constexpr std::array<std::string_view, 4> CoefModes {
    "人工指定系数", "程序自动插值", "自动插值与人工指定取大值", "自动插值与人工指定取小值"};
inline constexpr std::array<std::string_view, 2> Bases {"岩体完整程度", "岩体完整性指数"};
inline constexpr std::array<std::string_view, 5> Roundings {"两位小数", "一位小数", "个位取整",
                                                            "十位取整", "百位取整"};
inline constexpr std::array<std::string_view, 2> Weatherings {"微风化", "中风化"};
inline constexpr std::array<std::string_view, 5> Grades {"完整", "较完整", "较破碎", "破碎",
                                                         "极破碎"};

// What the c entry shows after a section is chosen on the input page.
inline constexpr std::array<std::string_view, 3> SectionDefaultC {"0", "500", "1000"};

} // namespace PileItems
