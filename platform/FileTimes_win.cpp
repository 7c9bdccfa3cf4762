#include <windows.h>

#include <cstdint>

#include "platform/FileTimes.h"

namespace platform {

namespace {

// FILETIME counts 100-nanosecond ticks from 1601-01-01 UTC.
constexpr std::int64_t ticksPerSecond = 10000000;
constexpr std::int64_t secondsFrom1601To1970 = 11644473600;

std::int64_t toTimeValue(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<std::int64_t>(ticks.QuadPart / ticksPerSecond) - secondsFrom1601To1970;
}

bool attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0;
}

bool stampOf(const FILETIME& time, CalendarTime& local) {
    FILETIME localTime;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&time, &localTime) || !FileTimeToSystemTime(&localTime, &fields)) return false;
    local = CalendarTime{fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond};
    return true;
}

}  // namespace

bool setFileTime(const std::wstring& path, const CalendarTime& local) {
    SYSTEMTIME fields{};
    fields.wYear = static_cast<WORD>(local.year);
    fields.wMonth = static_cast<WORD>(local.month);
    fields.wDay = static_cast<WORD>(local.day);
    fields.wHour = static_cast<WORD>(local.hour);
    fields.wMinute = static_cast<WORD>(local.minute);
    fields.wSecond = static_cast<WORD>(local.second);
    FILETIME localTime;
    FILETIME time;
    // LocalFileTimeToFileTime applies today's offset, as the system does for FAT.
    if (!SystemTimeToFileTime(&fields, &localTime) || !LocalFileTimeToFileTime(&localTime, &time)) return false;
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
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

bool fileWriteStamp(const std::wstring& path, CalendarTime& local) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && stampOf(data.ftLastWriteTime, local);
}

bool fileCreationStamp(const std::wstring& path, CalendarTime& local) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && stampOf(data.ftCreationTime, local);
}

}  // namespace platform
