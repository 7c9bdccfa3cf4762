#pragma once
// Conversion between the recorder's local calendar fields and time values
// (seconds since 1970-01-01 00:00 UTC), with daylight saving left to the system.
#include <cstdint>
#include <string>

struct CalendarTime {
    int year = 0;    // e.g. 2009
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59

    bool operator==(const CalendarTime&) const = default;
};

namespace platform {

// Local calendar time to a time value, as the system normalises it (30 February
// becomes 2 March). False when the system cannot convert it.
bool localToTimeValue(const CalendarTime& local, std::int64_t& value);
// Time value to local calendar time. False when the system cannot convert it.
bool timeValueToLocal(std::int64_t value, CalendarTime& local);
// The present local time.
CalendarTime localNow();
// Seconds by which local time is ahead of UTC at value. False when value
// cannot be converted.
bool utcOffsetAt(std::int64_t value, int& seconds);
// The system's name for its time zone ("Asia/Tokyo", "Tokyo Standard Time").
std::wstring timeZoneName();

}  // namespace platform
