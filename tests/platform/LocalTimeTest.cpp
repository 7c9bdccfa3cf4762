#include <gtest/gtest.h>

#include <climits>

#include "platform/LocalTime.h"

namespace {

std::int64_t toValue(const CalendarTime& local) {
    std::int64_t value = 0;
    EXPECT_TRUE(platform::localToTimeValue(local, value));
    return value;
}

CalendarTime toLocal(std::int64_t value) {
    CalendarTime local;
    EXPECT_TRUE(platform::timeValueToLocal(value, local));
    return local;
}

TEST(LocalTime, CalendarFieldsSurviveTheRoundTrip) {
    for (const CalendarTime& local : {CalendarTime{2009, 6, 15, 12, 34, 56}, CalendarTime{2000, 2, 29, 0, 0, 0},
                                      CalendarTime{2099, 12, 31, 23, 59, 59}}) {
        EXPECT_EQ(toLocal(toValue(local)), local);
    }
}

TEST(LocalTime, ValuesCountSeconds) {
    EXPECT_EQ(toValue({2009, 1, 2, 0, 0, 0}) - toValue({2009, 1, 1, 0, 0, 0}), 86400);
    EXPECT_EQ(toValue({2009, 1, 1, 0, 1, 1}) - toValue({2009, 1, 1, 0, 0, 0}), 61);
}

TEST(LocalTime, OverflowingFieldsAreNormalised) {
    EXPECT_EQ(toLocal(toValue({2009, 2, 30, 10, 0, 0})), (CalendarTime{2009, 3, 2, 10, 0, 0}));
    EXPECT_EQ(toLocal(toValue({2009, 13, 1, 0, 0, 0})), (CalendarTime{2010, 1, 1, 0, 0, 0}));
    EXPECT_EQ(toLocal(toValue({2009, 1, 1, 24, 60, 0})), (CalendarTime{2009, 1, 2, 1, 0, 0}));
}

TEST(LocalTime, TimesOutsideTheSupportedRangeFail) {
    std::int64_t value = 7;
    EXPECT_FALSE(platform::localToTimeValue({1960, 1, 1, 0, 0, 0}, value));
    EXPECT_FALSE(platform::localToTimeValue({3500, 1, 1, 0, 0, 0}, value));
    EXPECT_FALSE(platform::localToTimeValue({INT_MIN, INT_MIN, 1, 0, 0, 0}, value));
    EXPECT_FALSE(platform::localToTimeValue({INT_MAX, 1, 1, 0, 0, 0}, value));
    EXPECT_EQ(value, 7);
    CalendarTime local{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(platform::timeValueToLocal(-86400 * 2, local));
    EXPECT_FALSE(platform::timeValueToLocal(INT64_MAX, local));
    EXPECT_EQ(local, (CalendarTime{1, 2, 3, 4, 5, 6}));
}

TEST(LocalTime, NowIsAPlausibleDate) {
    const CalendarTime now = platform::localNow();
    EXPECT_GE(now.year, 2020);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

}  // namespace
