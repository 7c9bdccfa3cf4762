// Recorder times convert to the same values in both builds wherever they run:
// natively by the tz database, on Windows (and under Wine, whose Windows zone
// follows the host's TZ) by the system's time-zone rules, never by the C
// runtime's reading of TZ, which takes "Asia/Tokyo" for UTC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/LocalTime.h"

namespace {

// Natively the zone is set here; a Windows process keeps the zone it started
// with, so CTest starts the program once per zone (tests/platform/CMakeLists.txt).
class Zone {
public:
    explicit Zone(const char* name) : name_(name) {
#ifdef _WIN32
        const char* zone = std::getenv("TZ");
        active_ = zone && name_ == zone;
#else
        const char* previous = std::getenv("TZ");
        hadPrevious_ = previous != nullptr;
        if (previous) previous_ = previous;
        setenv("TZ", name, 1);
        tzset();
        active_ = true;
#endif
    }
    ~Zone() {
#ifndef _WIN32
        if (hadPrevious_) {
            setenv("TZ", previous_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }
    bool active() const { return active_; }

private:
    std::string name_;
    bool active_ = false;
    bool hadPrevious_ = false;
    std::string previous_;
};

void expectConversion(const CalendarTime& local, std::int64_t utcValue, int offset) {
    std::int64_t value = 0;
    ASSERT_TRUE(platform::localToTimeValue(local, value));
    EXPECT_EQ(value, utcValue);
    CalendarTime back;
    ASSERT_TRUE(platform::timeValueToLocal(utcValue, back));
    EXPECT_EQ(back, local);
    int seconds = 0;
    ASSERT_TRUE(platform::utcOffsetAt(utcValue, seconds));
    EXPECT_EQ(seconds, offset);
}

TEST(LocalTimeZones, Tokyo) {
    const Zone zone("Asia/Tokyo");
    if (!zone.active()) GTEST_SKIP() << "run with TZ=Asia/Tokyo";
    expectConversion({2009, 6, 15, 14, 30, 12}, 1245043812, 9 * 3600);
    expectConversion({2009, 1, 15, 14, 30, 12}, 1231997412, 9 * 3600);
}

TEST(LocalTimeZones, BerlinSummerAndWinter) {
    const Zone zone("Europe/Berlin");
    if (!zone.active()) GTEST_SKIP() << "run with TZ=Europe/Berlin";
    expectConversion({2009, 6, 15, 14, 30, 12}, 1245069012, 2 * 3600);
    expectConversion({2009, 1, 15, 14, 30, 12}, 1232026212, 3600);
}

}  // namespace
