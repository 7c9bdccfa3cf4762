// Calendar conversion through the C runtime's local time: the checks and the
// field mapping here, the runtime's own calls behind SystemClock.h.
#include "platform/LocalTime.h"

#include <limits>

#include "platform/SystemClock.h"

namespace platform {

namespace {

// _mktime64's documented range, 1970-01-01 00:00:00 to 3000-12-31 23:59:59 UTC,
// enforced on every system because runtimes differ at its edges, and so that
// both builds agree.
constexpr std::int64_t earliestValue = 0;
constexpr std::int64_t latestValue = 32535215999;

bool inRange(std::int64_t value) {
    return value >= earliestValue && value <= latestValue;
}

bool fitsInt(std::int64_t value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

}  // namespace

bool localToTimeValue(const CalendarTime& local, std::int64_t& value) {
    const std::int64_t year = static_cast<std::int64_t>(local.year) - 1900;
    const std::int64_t month = static_cast<std::int64_t>(local.month) - 1;
    if (!fitsInt(year) || !fitsInt(month)) return false;
    std::tm fields{};
    fields.tm_year = static_cast<int>(year);
    fields.tm_mon = static_cast<int>(month);
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;
    std::int64_t converted = 0;
    if (!systemLocalToValue(fields, converted) || !inRange(converted)) return false;
    value = converted;
    return true;
}

bool timeValueToLocal(std::int64_t value, CalendarTime& local) {
    if (!inRange(value)) return false;
    std::tm fields{};
    if (!systemValueToLocal(value, fields)) return false;
    local = CalendarTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                         fields.tm_hour,        fields.tm_min,     fields.tm_sec};
    return true;
}

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

bool utcOffsetAt(std::int64_t value, int& seconds) {
    CalendarTime local;
    if (!timeValueToLocal(value, local)) return false;
    const std::int64_t localSeconds = daysFromCivil(local.year, local.month, local.day) * 86400 +
                                      local.hour * 3600 + local.minute * 60 + local.second;
    seconds = static_cast<int>(localSeconds - value);
    return true;
}

std::wstring timeZoneName() {
    return systemTimeZoneName();
}

CalendarTime localNow() {
    CalendarTime now;
    timeValueToLocal(systemNow(), now);
    return now;
}

}  // namespace platform
