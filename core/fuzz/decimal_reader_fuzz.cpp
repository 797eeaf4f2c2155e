// libFuzzer target: the plain decimal reader on any text.

#include "decimal_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // A value read is a number the calculation can use: never infinite, never NaN.
    if (const auto value = ReadDecimal(text); value && !std::isfinite(*value))
        __builtin_trap();
    return 0;
}
