#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

// One row of the options table: five cell texts.
struct TOptOption
{
    std::string item;
    std::string minimum;
    std::string maximum;
    std::string step;
    std::string note;
};

constexpr int OptionRowCount = 15;
using TOptionTable = std::array<TOptOption, OptionRowCount>;

// Rows of the table by what they hold.
namespace OptionRow {
inline constexpr int SectionTypes = 0;
inline constexpr int Diameter = 1;
inline constexpr int EllipseLength = 2;
inline constexpr int RectLong = 3;
inline constexpr int RectShort = 4;
inline constexpr int SquareSide = 5;
inline constexpr int SocketDepth = 6;
inline constexpr int Frk = 7;
inline constexpr int Weathering = 8;
inline constexpr int Basis = 9;
inline constexpr int Grade = 10;
inline constexpr int IntegrityIndex = 11;
inline constexpr int Overburden = 12;
inline constexpr int RaWindow = 14;
} // namespace OptionRow

// The table as the window fills it when it is created.
TOptionTable DefaultOptionTable();

// Whether a cell of the table may be edited (column 1 minimum, 2 maximum, 3 step).
bool IsEditableOptionCell(int row, int column);

// A normalised range: `count` values from `minimum`, `step` apart, none beyond `maximum`.
template<typename T>
struct TOptRange
{
    T minimum {};
    T maximum {};
    T step {}; // 0 when count is 1
    int count = 1;
};

using TOptCodeRange = TOptRange<int>; // whole-number codes
using TOptValueRange = TOptRange<double>; // decimals

TOptCodeRange NormalizeRange(int minimum, int maximum, int step);
TOptValueRange NormalizeRange(double minimum, double maximum, double step);

// Visits the values of a range: the minimum, then repeated addition of the step, a sum beyond the
// maximum replaced by the maximum; decimals are added value after value in double precision.
template<typename T, typename Visit>
void ForEachValue(const TOptRange<T> &range, Visit &&visit)
{
    T value = range.minimum;
    for (int i = 0; i < range.count; ++i) {
        if (i > 0) {
            if constexpr (std::is_integral_v<T>) {
                const long long sum = static_cast<long long>(value) + range.step;
                value = sum > range.maximum ? range.maximum : static_cast<T>(sum);
            } else {
                value = value + range.step;
                if (value > range.maximum)
                    value = range.maximum;
            }
        }
        visit(value);
    }
}

struct TOptSettings
{
    TOptCodeRange sectionTypes; // 1 circle, 2 ellipse, 3 rectangle, 4 square
    TOptValueRange diameter; // mm
    TOptValueRange ellipseLength; // mm
    TOptValueRange rectLong; // mm
    TOptValueRange rectShort; // mm
    TOptValueRange squareSide; // mm
    TOptValueRange socketDepth; // multiples of the section size, or mm
    bool socketDepthInMultiples = false;
    TOptValueRange frkRange; // MPa
    TOptCodeRange weatheringCodes; // 1 "微风化", 2 "中风化"
    TOptCodeRange basisCodes; // 1 integrity grade, 2 integrity index
    TOptCodeRange gradeCodes; // 1 "完整" … 5 "极破碎"
    TOptValueRange indexRange; // Kv
    bool includeOverburden = false;
};

// Why the options could not be used: a check's message for the page's status label (red), or the
// text of the error box raised by a cell that is not a number (the status label stays empty).
struct TOptFailure
{
    enum class Kind { Status, ErrorBox };
    Kind kind = Kind::Status;
    std::string message;
};

struct TOptionsReading
{
    std::optional<TOptSettings> settings;
    std::optional<TOptFailure> failure;
};

// Reads rows 0 to 12 in order; the first cell that is not a number or the first failed check ends
// the reading.
TOptionsReading ReadOptions(const TOptionTable &table);
