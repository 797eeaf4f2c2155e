#include "design_load.h"

#include "decimal_reader.h"
#include "messages.h"

#include <cmath>

namespace {

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// A positive finite value of a text, or nothing.
std::optional<double> ReadPositive(std::string_view text)
{
    const auto value = ReadDecimal(text);
    if (!value || !(*value > 0) || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

} // namespace

TLoadReading ReadDesignLoad(const TPileInput &input)
{
    TLoadReading reading;
    if (IsBlank(input.load))
        return reading;
    const auto n = ReadPositive(input.load);
    if (!n) {
        reading.error = Messages::LoadError;
        return reading;
    }
    const auto gammaR = ReadPositive(input.gammaR);
    if (!gammaR) {
        reading.error = Messages::GammaRError;
        return reading;
    }
    reading.load = TDesignLoad {*n, *gammaR};
    return reading;
}

TLoadCheck CheckLoad(const TDesignLoad &load, double Ra)
{
    TLoadCheck check;
    check.N = load.N;
    check.gammaR = load.gammaR;
    if (!(Ra > 0)) {
        check.error = Messages::RaNotPositive; // only a negative layer thickness gets here
        return check;
    }
    check.capacity = static_cast<double>(static_cast<long double>(load.gammaR) * Ra);
    check.utilization = static_cast<double>(static_cast<long double>(load.N) / check.capacity);
    if (!std::isfinite(check.capacity) || !std::isfinite(check.utilization)) {
        check.error = Messages::OutOfRange;
        return check;
    }
    check.ok = load.N <= check.capacity;
    return check;
}

std::optional<TLoadCheck> CheckPileLoad(const TPileInput &input, const TPileResult &result)
{
    const TLoadReading reading = ReadDesignLoad(input);
    if (!reading.ok()) {
        TLoadCheck check;
        check.error = reading.error;
        return check;
    }
    if (!reading.load)
        return std::nullopt;
    return CheckLoad(*reading.load, result.Ra);
}

std::string_view LoadVerdictText(bool ok)
{
    return ok ? Messages::LoadCarried : Messages::LoadNotCarried;
}
