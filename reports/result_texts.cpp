#include "result_texts.h"

#include "number_format.h"

#include <cmath>

int ModeDecimals(TRoundingMode mode)
{
    switch (mode) {
    case TRoundingMode::TwoDecimals:
        return 2;
    case TRoundingMode::OneDecimal:
        return 1;
    default:
        return 0;
    }
}

double TruncateToStep(double value, double step)
{
    return std::trunc(CellValue(value) / step) * step;
}

std::string PrecisionText(double value, TRoundingMode mode, int precision)
{
    if (mode == TRoundingMode::Tens)
        return FormatFixed(TruncateToStep(value, 10), precision, 0);
    if (mode == TRoundingMode::Hundreds)
        return FormatFixed(TruncateToStep(value, 100), precision, 0);
    return FormatFixed(value, precision, ModeDecimals(mode));
}

std::string RaText(double Ra, TRoundingMode mode)
{
    return PrecisionText(Ra, mode, 7);
}

std::string TipShareText(double tipShare, TRoundingMode mode)
{
    const bool cut = mode == TRoundingMode::Tens || mode == TRoundingMode::Hundreds;
    return FormatFixed(cut ? TruncateToStep(tipShare, 1) : tipShare, 7, ModeDecimals(mode)) + "%";
}

std::pair<std::string, std::string> ShownSizeTexts(const TPileInput &input,
                                                   const TPileResult &result)
{
    if (result.sidesExchanged)
        return {GeneralText(result.d), GeneralText(result.c)};
    return {input.d, input.c};
}
