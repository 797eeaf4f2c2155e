#pragma once

#include <optional>
#include <string>
#include <string_view>

// The number conversions of the optimization page, which read option and candidate cells with the
// user's locale settings ("." as the decimal separator in the locales served). Unlike the plain
// reader of the calculation, an empty or blank text is not a number.
std::optional<int> ReadLocaleInteger(std::string_view text); // optional sign and digits only
std::optional<double> ReadLocaleFloat(std::string_view text);

// The texts of the error box shown for a cell that is not a number of the required kind.
std::string NotIntegerMessage(std::string_view text); // "'x' is not a valid integer value."
std::string NotFloatMessage(std::string_view text); // "'x' is not a valid floating point value."
