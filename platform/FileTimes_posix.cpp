#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>

#include "platform/FileTimes.h"
#include "platform/Utf8.h"

namespace platform {

bool setFileTime(const std::wstring& path, const CalendarTime& local) {
    std::int64_t value = 0;
    if (!localToTimeValue(local, value)) return false;
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;  // last access
    times[1].tv_sec = static_cast<time_t>(value);
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

}  // namespace platform
