#pragma once
// The C runtime's local-time calls, one form per system; LocalTime.cpp checks
// ranges around them.
#include <cstdint>
#include <ctime>
#include <string>

namespace platform {

// mktime: false when the runtime cannot convert the fields.
bool systemLocalToValue(std::tm& fields, std::int64_t& value);
// localtime: false when the runtime cannot convert the value.
bool systemValueToLocal(std::int64_t value, std::tm& fields);
// Seconds since 1970-01-01 00:00 UTC.
std::int64_t systemNow();
// The system's name for its time zone.
std::wstring systemTimeZoneName();

}  // namespace platform
