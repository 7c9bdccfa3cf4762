#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <ctime>

#include "platform/FileTimes.h"
#include "platform/Utf8.h"

namespace platform {

namespace {

// Seconds east of UTC in force now: the one offset a FAT volume's local times
// are read and written with.
long todaysOffset() {
    const std::time_t now = std::time(nullptr);
    std::tm fields{};
    return ::localtime_r(&now, &fields) ? fields.tm_gmtoff : 0;
}

}  // namespace

bool setFileTime(const std::wstring& path, const CalendarTime& local) {
    std::tm fields{};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    const std::time_t asUtc = ::timegm(&fields);
    if (asUtc == static_cast<std::time_t>(-1)) return false;
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;  // last access
    times[1].tv_sec = asUtc - todaysOffset();
    return ::utimensat(AT_FDCWD, toUtf8(path).c_str(), times, 0) == 0;
}

bool fileWriteTime(const std::wstring& path, CalendarTime& local) {
    struct stat info {};
    if (::stat(toUtf8(path).c_str(), &info) != 0) return false;
    return timeValueToLocal(static_cast<std::int64_t>(info.st_mtime), local);
}

bool fileCreationTime(const std::wstring&, CalendarTime&) {
    return false;
}

bool fileWriteStamp(const std::wstring& path, CalendarTime& local) {
    struct stat info {};
    if (::stat(toUtf8(path).c_str(), &info) != 0) return false;
    const std::time_t shifted = info.st_mtime + todaysOffset();
    std::tm fields{};
    if (!::gmtime_r(&shifted, &fields)) return false;
    local = CalendarTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                         fields.tm_hour,        fields.tm_min,     fields.tm_sec};
    return true;
}

bool fileCreationStamp(const std::wstring&, CalendarTime&) {
    return false;
}

}  // namespace platform
