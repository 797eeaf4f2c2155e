#include "time_stamp.h"

#include <cstdio>
#include <ctime>

std::string TimeStampText(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
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
