#pragma once
// File dates and times in local calendar fields, as the cabinet's MS-DOS stamps
// carry them. Nothing here throws; failures are reported by the return value.
#include <string>

#include "platform/LocalTime.h"

namespace platform {

// Sets the file's last-write time, and its creation time where the system keeps
// one, to a local calendar time; the last-access time is left alone. False when
// the time cannot be converted or the file cannot be changed.
bool setFileTime(const std::wstring& path, const CalendarTime& local);

// The file's last-write time as local calendar time.
bool fileWriteTime(const std::wstring& path, CalendarTime& local);
// The file's creation time; false where the system keeps none (POSIX).
bool fileCreationTime(const std::wstring& path, CalendarTime& local);

}  // namespace platform
