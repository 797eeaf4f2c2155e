#include "number_format.h"

#include "decimal_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

} // namespace

std::string FormatFixed(double value, int precision, int decimals)
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

double CellValue(double value)
{
    return ReadDecimal(GeneralText(value)).value_or(value);
}
