#include <windows.h>

#include <cstdint>

#include "platform/FileTimes.h"

namespace platform {

namespace {

// FILETIME counts 100-nanosecond ticks from 1601-01-01 UTC.
constexpr std::int64_t ticksPerSecond = 10000000;
constexpr std::int64_t secondsFrom1601To1970 = 11644473600;

FILETIME toFileTime(std::int64_t value) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>((value + secondsFrom1601To1970) * ticksPerSecond);
    FILETIME time;
    time.dwLowDateTime = ticks.LowPart;
    time.dwHighDateTime = ticks.HighPart;
    return time;
}

std::int64_t toTimeValue(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<std::int64_t>(ticks.QuadPart / ticksPerSecond) - secondsFrom1601To1970;
}

bool attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

bool setFileTime(const std::wstring& path, const CalendarTime& local) {
    std::int64_t value = 0;
    if (!localToTimeValue(local, value)) return false;
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const FILETIME time = toFileTime(value);
    const bool set = SetFileTime(file, &time, nullptr, &time) != 0;
    CloseHandle(file);
    return set;
}

bool fileWriteTime(const std::wstring& path, CalendarTime& local) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && timeValueToLocal(toTimeValue(data.ftLastWriteTime), local);
}

bool fileCreationTime(const std::wstring& path, CalendarTime& local) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && timeValueToLocal(toTimeValue(data.ftCreationTime), local);
}

}  // namespace platform
