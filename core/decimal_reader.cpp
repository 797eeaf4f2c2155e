#include "decimal_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}
bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Decimal exponent of the first significant digit of a well-formed, unsigned number text; tells an
// overflow from an underflow when the conversion reports the value out of range.
long long LeadingExponent(std::string_view body)
{
    long long integerDigits = 0;
    long long index = 0; // position among all mantissa digits
    long long firstSignificant = -1;
    bool seenPoint = false;
    std::size_t i = 0;
    for (; i < body.size() && body[i] != 'e' && body[i] != 'E'; ++i) {
        if (body[i] == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenPoint)
            ++integerDigits;
        if (firstSignificant < 0 && body[i] != '0')
            firstSignificant = index;
        ++index;
    }
    // The written exponent saturates beyond the length of the text: the digits before it can move
    // the point by no more than that, so the sign of the sum stays right.
    const long long limit = static_cast<long long>(body.size()) + 1000;
    long long exponent = 0;
    if (i < body.size()) {
        std::string_view digits = body.substr(i + 1);
        const bool negative = digits.front() == '-';
        if (digits.front() == '-' || digits.front() == '+')
            digits.remove_prefix(1);
        for (const char ch : digits) {
            if (exponent < limit)
                exponent = exponent * 10 + (ch - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    return integerDigits - 1 - firstSignificant + exponent;
}

} // namespace

std::optional<double> ReadDecimal(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return 0.0;

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Check the grammar first: the conversion below also accepts "inf", "nan" and hex forms. The
    // mantissa's digits are gathered on the way, while they fit.
    std::size_t i = 0;
    std::size_t mantissaDigits = 0;
    std::uint64_t digits = 0;
    int decimals = 0;
    while (i < text.size() && IsDigit(text[i])) {
        digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
            ++i;
            ++mantissaDigits;
            ++decimals;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    bool exponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        exponent = true;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    // Up to 15 digits without an exponent: the digits as a whole number and a power of ten are
    // both exact, so their quotient is the correctly rounded value, as the conversion gives it.
    if (mantissaDigits <= 15 && !exponent) {
        constexpr double powers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double value = static_cast<double>(digits) / powers[decimals];
        return negative ? -value : value;
    }

    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (LeadingExponent(text) > 0)
            return std::nullopt; // overflows to infinity
        value = 0; // underflows to zero
    } else if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}
