// libFuzzer target: the number conversions of the options table on any text.

#include "locale_numbers.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto integer = ReadLocaleInteger(text);
    const auto floating = ReadLocaleFloat(text);
    if (floating && !std::isfinite(*floating))
        __builtin_trap();
    // A whole number is a decimal number of the same value.
    if (integer && (!floating || *floating != *integer))
        __builtin_trap();
    if (NotIntegerMessage(text).size() != text.size() + 32
        || NotFloatMessage(text).size() != text.size() + 39)
        __builtin_trap();
    return 0;
}
