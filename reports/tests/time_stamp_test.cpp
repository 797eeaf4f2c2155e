#include "time_stamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using namespace std::chrono_literals;

// The form of the local time, "2024/3/5 14:07:09": unpadded month, day and hour.
TEST(TimeStamp, ShortDateBlankLongTime)
{
    const std::string text = TimeStampText();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                          &second),
              6)
        << text;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d/%d/%d %d:%02d:%02d", year, month, day, hour,
                  minute, second);
    EXPECT_EQ(text, expected);
    EXPECT_GE(year, 2024);
    EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59
                && second <= 59)
        << text;
}

// The local midnight of today, found from the text of the present moment: the time is left out
// there only, not a millisecond later.
TEST(TimeStamp, TimeLeftOutAtExactlyMidnight)
{
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const std::string text = TimeStampText(now);
    const std::size_t blank = std::min(text.find(' '), text.size());
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (blank < text.size()) {
        ASSERT_EQ(std::sscanf(text.c_str() + blank + 1, "%d:%d:%d", &hour, &minute, &second), 3);
    }
    const auto midnight = now - std::chrono::hours(hour) - std::chrono::minutes(minute)
        - std::chrono::seconds(second);
    const std::string date = text.substr(0, blank);
    EXPECT_EQ(TimeStampText(midnight), date);
    EXPECT_EQ(TimeStampText(midnight + 1ms), date + " 0:00:00");
    EXPECT_EQ(TimeStampText(midnight + 9h + 5min + 7s), date + " 9:05:07");
    EXPECT_TRUE(TimeStampText(midnight - 1s).ends_with(" 23:59:59"));
}

} // namespace
