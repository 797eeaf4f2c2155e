#pragma once

#include <optional>
#include <string_view>

// The plain decimal reader of the calculation: "." is the decimal point whatever the locale,
// leading and trailing blanks are skipped, an empty text reads as 0. Accepted: an optional sign,
// digits with an optional ".", an optional exponent ("E" or "e", optional sign, digits).
// Anything else, and a value too large for a double, gives no value.
std::optional<double> ReadDecimal(std::string_view text);
