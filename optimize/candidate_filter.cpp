#include "candidate_filter.h"

#include "locale_numbers.h"

TWindowReading ReadRaWindow(const TOptionTable &options)
{
    const TOptOption &row = options[OptionRow::RaWindow];
    TWindowReading reading;
    const auto lower = ReadLocaleFloat(row.minimum);
    if (!lower) {
        reading.errorBox = NotFloatMessage(row.minimum);
        return reading;
    }
    const auto upper = ReadLocaleFloat(row.maximum);
    if (!upper) {
        reading.errorBox = NotFloatMessage(row.maximum);
        return reading;
    }
    TRaWindow window {*lower, *upper};
    if (!(window.lower > 0))
        window.lower = 0;
    if (!(window.upper > 0))
        window.upper = 1e15;
    if (window.lower > window.upper)
        window.upper = window.lower;
    reading.window = window;
    return reading;
}

TFilterResult FilterCandidates(const TCandidateTable &raw, const TOptionTable &options,
                               const std::optional<TDesignLoad> &load)
{
    TFilterResult result;
    const TWindowReading reading = ReadRaWindow(options);
    if (!reading.window) {
        result.errorBox = reading.errorBox;
        return result;
    }
    const TRaWindow window = *reading.window;
    TCandidateTable &filtered = result.filtered;
    filtered.context = raw.context;
    filtered.store = raw.store;
    for (const std::uint32_t index : raw.order) {
        const double ra = RaValue(raw.store->Ra(index), raw.context.rounding);
        if (!(window.lower <= ra && ra <= window.upper))
            continue;
        if (load) {
            const double unrounded = raw.store->Ra(index);
            if (!(unrounded > 0) || !CheckLoad(*load, unrounded).ok)
                continue;
        }
        filtered.order.push_back(index);
    }
    filtered.order.shrink_to_fit();
    const std::size_t kept = filtered.Size();
    result.status = kept > 0 ? "筛选完成，桩数：" + std::to_string(kept) + " 根"
                             : "无满足条件桩，调整区间再筛选";
    return result;
}
