#include "locale_numbers.h"

#include "decimal_reader.h"

#include <charconv>

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    constexpr std::string_view blanks = " \t";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

std::optional<int> ReadLocaleInteger(std::string_view text)
{
    text = TrimBlanks(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> ReadLocaleFloat(std::string_view text)
{
    if (TrimBlanks(text).empty())
        return std::nullopt;
    return ReadDecimal(text);
}

std::string NotIntegerMessage(std::string_view text)
{
    return "'" + std::string(text) + "' is not a valid integer value.";
}

std::string NotFloatMessage(std::string_view text)
{
    return "'" + std::string(text) + "' is not a valid floating point value.";
}
