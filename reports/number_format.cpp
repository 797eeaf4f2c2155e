#include "number_format.h"

#include "decimal_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr int ExpansionDigits = 18;

// A decimal value: digits d1 d2 … with d1 standing for d1·10^exponent.
struct TDecimal
{
    std::string digits;
    int exponent = 0;
    bool negative = false;

    bool IsZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

// The first 18 significant digits of a finite, non-zero value.
TDecimal Expand(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, ExpansionDigits - 1);
    const std::string_view text(buffer, result.ptr - buffer);
    const std::size_t e = text.find('e');
    TDecimal decimal;
    decimal.negative = std::signbit(value);
    decimal.digits.reserve(ExpansionDigits);
    for (const char ch : text.substr(0, e)) {
        if (ch != '.')
            decimal.digits += ch;
    }
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    decimal.exponent);
    return decimal;
}

// Keeps `keep` significant digits, rounding half away from zero; fewer than one digit kept rounds
// to zero or up to one unit of the next place.
void RoundTo(TDecimal &decimal, int keep)
{
    if (keep >= static_cast<int>(decimal.digits.size()))
        return;
    if (keep < 0) {
        decimal.digits.assign(1, '0');
        return;
    }
    const bool up = decimal.digits[keep] >= '5';
    decimal.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && decimal.digits[i] == '9')
            decimal.digits[i--] = '0';
        if (i >= 0) {
            ++decimal.digits[i];
        } else {
            decimal.digits.insert(decimal.digits.begin(), '1');
            ++decimal.exponent;
        }
    }
    if (decimal.digits.empty())
        decimal.digits.assign(1, '0');
}

// The digit standing for 10^place, 0 beyond the kept digits.
char DigitAt(const TDecimal &decimal, int place)
{
    const int index = decimal.exponent - place;
    if (index < 0 || index >= static_cast<int>(decimal.digits.size()))
        return '0';
    return decimal.digits[index];
}

std::string FixedText(const TDecimal &decimal, int decimals)
{
    std::string text;
    if (decimal.negative && !decimal.IsZero())
        text += '-';
    for (int place = std::max(decimal.exponent, 0); place >= 0; --place)
        text += DigitAt(decimal, place);
    if (decimals > 0) {
        text += '.';
        for (int place = -1; place >= -decimals; --place)
            text += DigitAt(decimal, place);
    }
    return text;
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// The fixed form worked out in binary for the usual values: at most 3 decimals, within the
// precision, and clearly away from a half of the last decimal (by far more than the first 18
// significant digits can move it), where rounding the value itself gives the same text as rounding
// its 18-digit expansion. Writes into `out` (at least 24 chars) and gives the end; nullptr
// elsewhere.
char *QuickFixed(char *out, double value, int precision, int decimals)
{
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return nullptr; // value × 1000 would not be exact
    } else {
        constexpr double powers[] = {1,    10,   100,  1000, 1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                     1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
        if (decimals > 3 || precision - decimals < 1 || !std::isfinite(value))
            return nullptr;
        const double magnitude = std::fabs(value);
        if (!(magnitude < powers[precision - decimals] * (1 - 1e-12)))
            return nullptr;
        // Exact: 53 bits of the value and at most 10 of the scale fit the 64 of a long double.
        const long double scaled = static_cast<long double>(magnitude) * powers[decimals];
        if (scaled >= 1e11L)
            return nullptr; // the 18 digits could reach the half
        const long double whole = std::floor(scaled);
        const long double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5L) < 1e-6L)
            return nullptr;
        const auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
        if (units >= static_cast<std::uint64_t>(powers[precision]))
            return nullptr; // rounded up to one digit more than the precision
        if (units != 0 && std::signbit(value))
            *out++ = '-';
        // The digits, with zeros in front up to one before the point.
        char digits[32];
        char *first = digits + 8;
        char *last = std::to_chars(first, digits + sizeof digits, units).ptr;
        while (last - first < decimals + 1)
            *--first = '0';
        char *point = last - decimals;
        out = std::copy(first, point, out);
        if (decimals > 0) {
            *out++ = '.';
            out = std::copy(point, last, out);
        }
        return out;
    }
}

} // namespace

void AppendFixed(std::string &text, double value, int precision, int decimals)
{
    char buffer[32];
    if (const char *end = QuickFixed(buffer, value, std::clamp(precision, 2, ExpansionDigits),
                                     std::max(decimals, 0))) {
        text.append(buffer, static_cast<std::size_t>(end - buffer));
        return;
    }
    text += FormatFixed(value, precision, decimals);
}

std::string FormatFixed(double value, int precision, int decimals)
{
    char buffer[32];
    if (const char *end = QuickFixed(buffer, value, std::clamp(precision, 2, ExpansionDigits),
                                     std::max(decimals, 0)))
        return std::string(buffer, static_cast<std::size_t>(end - buffer));
    return FormatFixedByExpansion(value, precision, decimals);
}

std::string FormatFixedByExpansion(double value, int precision, int decimals)
{
    precision = std::clamp(precision, 2, ExpansionDigits);
    decimals = std::max(decimals, 0);
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0)
        return FixedText(TDecimal {"0", 0, false}, decimals);
    TDecimal decimal = Expand(value);
    RoundTo(decimal, std::min(precision, decimal.exponent + 1 + decimals));
    if (decimal.exponent + 1 > precision)
        return GeneralText(value, precision);
    return FixedText(decimal, decimals);
}

std::string GeneralText(double value, int precision)
{
    precision = std::clamp(precision, 2, ExpansionDigits);
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0)
        return "0";
    TDecimal decimal = Expand(value);
    RoundTo(decimal, precision);
    if (decimal.IsZero())
        return "0";
    const std::size_t last = decimal.digits.find_last_not_of('0');
    decimal.digits.resize(last + 1);
    const int fraction = static_cast<int>(decimal.digits.size()) - 1 - decimal.exponent;
    if (decimal.exponent < -5 || decimal.exponent >= precision) {
        std::string text = decimal.negative ? "-" : "";
        text += decimal.digits[0];
        if (decimal.digits.size() > 1) {
            text += '.';
            text.append(decimal.digits, 1);
        }
        text += 'E';
        text += std::to_string(decimal.exponent);
        return text;
    }
    return FixedText(decimal, std::max(fraction, 0));
}

namespace {

// The value of the general form worked out in binary for magnitudes from 0.00001 to below 10^15,
// where the form is fixed-point, and clearly away from a half of its 15th digit (by far more than
// the first 18 digits or the scaling below can move it): the 15 digits as a whole number and a
// power of ten are both exact, so their quotient is the value the text reads as. nullopt elsewhere.
std::optional<double> QuickCellValue(double value)
{
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return std::nullopt;
    } else {
        constexpr double powers[] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                     1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                     1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};
        const double magnitude = std::fabs(value);
        if (!(magnitude >= 1e-5 && magnitude < 1e15))
            return std::nullopt;
        // The scale that gives the value 15 digits before the point, checked again below.
        int scale = 19;
        while (scale > 0 && magnitude * powers[scale] >= 1e15)
            --scale;
        const long double scaled = static_cast<long double>(magnitude) * powers[scale];
        if (!(scaled >= 1e14L * (1 + 1e-12L) && scaled < 1e15L * (1 - 1e-12L)))
            return std::nullopt; // next to a change of the digit count
        const long double whole = std::floor(scaled);
        if (std::fabs(scaled - whole - 0.5L) < 1e-3L)
            return std::nullopt;
        const long double units = scaled - whole > 0.5L ? whole + 1 : whole;
        const double read = static_cast<double>(units) / powers[scale];
        return std::signbit(value) ? -read : read;
    }
}

} // namespace

double CellValue(double value)
{
    if (const auto quick = QuickCellValue(value))
        return *quick;
    return ReadDecimal(GeneralText(value)).value_or(value);
}
