#include "time_stamp.h"

#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

namespace {

// The local time of the system's own time-zone settings, as the clock of the task bar shows it.
// The C runtime's localtime would read TZ in its own old format and take a zone name such as
// "Asia/Shanghai" for UTC.
std::tm WindowsLocalTime(std::chrono::system_clock::time_point when)
{
    // A FILETIME counts 100-ns steps from 1601-01-01 UTC.
    using TFileTimeStep = std::chrono::duration<long long, std::ratio<1, 10'000'000>>;
    constexpr long long StepsFrom1601To1970 = 116'444'736'000'000'000LL;
    const long long steps =
        std::chrono::floor<TFileTimeStep>(when.time_since_epoch()).count() + StepsFrom1601To1970;
    const FILETIME fileTime {static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    SYSTEMTIME universal {};
    SYSTEMTIME local {};
    if (!FileTimeToSystemTime(&fileTime, &universal))
        return {};
    // The present zone, with its daylight-saving rule for the date.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        local = universal;
    std::tm fields {};
    fields.tm_year = local.wYear - 1900;
    fields.tm_mon = local.wMonth - 1;
    fields.tm_mday = local.wDay;
    fields.tm_hour = local.wHour;
    fields.tm_min = local.wMinute;
    fields.tm_sec = local.wSecond;
    return fields;
}

} // namespace
#endif

std::string TimeStampText(std::chrono::system_clock::time_point when)
{
#ifdef _WIN32
    const std::tm local = WindowsLocalTime(when);
#else
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local {};
    localtime_r(&seconds, &local);
#endif
    const auto sinceEpoch = when.time_since_epoch();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    std::string text = std::to_string(local.tm_year + 1900) + "/" + std::to_string(local.tm_mon + 1)
        + "/" + std::to_string(local.tm_mday);
    if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0 && milliseconds == 0)
        return text;
    char time[16];
    std::snprintf(time, sizeof time, " %d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text + time;
}

std::string TimeStampText()
{
    return TimeStampText(std::chrono::system_clock::now());
}
