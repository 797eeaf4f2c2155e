#pragma once

#include <chrono>
#include <string>

// The local date and time of a report: short date, a blank and long time ("2024/3/5 14:07:09");
// the blank and the time are left out at exactly midnight.
std::string TimeStampText(std::chrono::system_clock::time_point when);

// The same for the present moment.
std::string TimeStampText();
