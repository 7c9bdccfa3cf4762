// Local time by the Windows time-zone rules, never by the C runtime: the
// runtime reads TZ in its own format, so a value such as "Asia/Tokyo" (passed
// on by Wine from the host) would shift every recorder time. The rules of the
// date's own year apply, so old recordings keep their daylight saving.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/SystemClock.h"

namespace platform {

namespace {

// 100 ns ticks from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochTicks = 116444736000000000;
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsPerDay = 86400;
// SYSTEMTIME holds the years 1601 to 30827.
constexpr std::int64_t kFirstYear = 1601;
constexpr std::int64_t kLastYear = 30827;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    return value / divisor - (value % divisor != 0 && (value < 0) != (divisor < 0));
}

// Days from 1970-01-01 of a proleptic Gregorian date and back (H. Hinnant).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = floorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

void civilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = floorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

// Seconds since 1970 of a calendar time counted as if it were UTC; fields
// beyond their range carry over as mktime's do (30 February is 2 March).
std::int64_t secondsOfFields(const std::tm& fields) {
    const std::int64_t months = std::int64_t{fields.tm_year} * 12 + fields.tm_mon;
    const std::int64_t year = 1900 + floorDivide(months, 12);
    const int month = static_cast<int>(months - floorDivide(months, 12) * 12) + 1;
    const std::int64_t days = daysFromCivil(year, month, 1) + fields.tm_mday - 1;
    return days * kSecondsPerDay + std::int64_t{fields.tm_hour} * 3600 + std::int64_t{fields.tm_min} * 60 +
           fields.tm_sec;
}

bool systemTimeOfSeconds(std::int64_t seconds, SYSTEMTIME& time) {
    const std::int64_t days = floorDivide(seconds, kSecondsPerDay);
    const std::int64_t inDay = seconds - days * kSecondsPerDay;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days, year, month, day);
    if (year < kFirstYear || year > kLastYear) return false;
    time = SYSTEMTIME{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>(days + 4 - floorDivide(days + 4, 7) * 7);  // 1970-01-01 was a Thursday
    time.wHour = static_cast<WORD>(inDay / 3600);
    time.wMinute = static_cast<WORD>(inDay / 60 % 60);
    time.wSecond = static_cast<WORD>(inDay % 60);
    return true;
}

std::int64_t secondsOfSystemTime(const SYSTEMTIME& time) {
    return daysFromCivil(time.wYear, time.wMonth, time.wDay) * kSecondsPerDay + time.wHour * 3600 +
           time.wMinute * 60 + time.wSecond;
}

// The zone's rules as they stood in year (dynamic daylight saving).
bool readZoneRulesForYear(WORD year, TIME_ZONE_INFORMATION& rules) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID &&
        GetTimeZoneInformationForYear(year, &zone, &rules)) {
        return true;
    }
    return GetTimeZoneInformation(&rules) != TIME_ZONE_ID_INVALID;
}

// Reading the rules costs about a millisecond (registry look-ups), and a folder of
// one-shot pictures converts a time for every caption: a year's rules are kept for
// a few seconds, so a change of the system's zone still shows almost at once.
constexpr ULONGLONG kRulesKeptMs = 5000;

struct KeptRules {
    WORD year = 0;
    ULONGLONG readAt = 0;
    TIME_ZONE_INFORMATION rules{};
};

bool zoneRulesForYear(WORD year, TIME_ZONE_INFORMATION& rules) {
    static std::mutex lock;
    static std::vector<KeptRules> kept;
    const ULONGLONG now = GetTickCount64();
    {
        std::lock_guard<std::mutex> guard(lock);
        for (const KeptRules& entry : kept) {
            if (entry.year == year && now - entry.readAt < kRulesKeptMs) {
                rules = entry.rules;
                return true;
            }
        }
    }
    if (!readZoneRulesForYear(year, rules)) return false;
    std::lock_guard<std::mutex> guard(lock);
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [&](const KeptRules& entry) {
                                  return entry.year == year || now - entry.readAt >= kRulesKeptMs;
                              }),
               kept.end());
    kept.push_back(KeptRules{year, now, rules});
    return true;
}

bool utcToLocal(const SYSTEMTIME& utc, WORD rulesYear, SYSTEMTIME& local) {
    TIME_ZONE_INFORMATION rules{};
    return zoneRulesForYear(rulesYear, rules) && SystemTimeToTzSpecificLocalTime(&rules, &utc, &local);
}

}  // namespace

bool systemLocalToValue(std::tm& fields, std::int64_t& value) {
    SYSTEMTIME local;
    if (!systemTimeOfSeconds(secondsOfFields(fields), local)) return false;
    TIME_ZONE_INFORMATION rules{};
    SYSTEMTIME utc;
    if (!zoneRulesForYear(local.wYear, rules) || !TzSpecificLocalTimeToSystemTime(&rules, &local, &utc)) return false;
    value = secondsOfSystemTime(utc);
    return true;
}

bool systemValueToLocal(std::int64_t value, std::tm& fields) {
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!systemTimeOfSeconds(value, utc) || !utcToLocal(utc, utc.wYear, local)) return false;
    // Around New Year the local date's year may have other rules than the UTC one's.
    if (local.wYear != utc.wYear && !utcToLocal(utc, local.wYear, local)) return false;
    fields = std::tm{};
    fields.tm_year = local.wYear - 1900;
    fields.tm_mon = local.wMonth - 1;
    fields.tm_mday = local.wDay;
    fields.tm_hour = local.wHour;
    fields.tm_min = local.wMinute;
    fields.tm_sec = local.wSecond;
    fields.tm_wday = local.wDayOfWeek;
    return true;
}

std::int64_t systemNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks = static_cast<std::int64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    return (ticks - kEpochTicks) / kTicksPerSecond;
}

std::wstring systemTimeZoneName() {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return L"";
    return zone.TimeZoneKeyName[0] ? zone.TimeZoneKeyName : zone.StandardName;
}

}  // namespace platform
