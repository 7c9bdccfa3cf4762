#pragma once
// File dates and times in local calendar fields, as the cabinet's MS-DOS stamps
// carry them. Nothing here throws; failures are reported by the return value.
#include <string>

#include "platform/LocalTime.h"

namespace platform {

// Sets the file's last-write time, and its creation time where the system keeps
// one, to a local calendar time as a FAT volume keeps it: converted to UTC with
// the offset from UTC in force today, which is how the system turns the local
// times on a FAT card into UTC and back. A FAT card then carries exactly these
// fields, whatever daylight saving the date had. The last-access time is left
// alone. False when the time cannot be converted or the file cannot be changed.
bool setFileTime(const std::wstring& path, const CalendarTime& local);

// The file's last-write and creation time as a FAT volume would keep them (local
// fields by today's offset): what setFileTime set comes back unchanged. The
// creation time is false where the system keeps none (POSIX).
bool fileWriteStamp(const std::wstring& path, CalendarTime& local);
bool fileCreationStamp(const std::wstring& path, CalendarTime& local);

// The file's last-write time as local calendar time (the daylight saving of its
// own date).
bool fileWriteTime(const std::wstring& path, CalendarTime& local);
// The file's creation time; false where the system keeps none (POSIX).
bool fileCreationTime(const std::wstring& path, CalendarTime& local);

}  // namespace platform
