#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/SystemClock.h"
#include "platform/Utf8.h"

namespace platform {

bool systemLocalToValue(std::tm& fields, std::int64_t& value) {
    const std::time_t converted = std::mktime(&fields);
    if (converted == static_cast<std::time_t>(-1)) return false;
    value = converted;
    return true;
}

bool systemValueToLocal(std::int64_t value, std::tm& fields) {
    const std::time_t time = static_cast<std::time_t>(value);
    return localtime_r(&time, &fields) != nullptr;
}

std::int64_t systemNow() {
    return std::time(nullptr);
}

// TZ when set, else the zone that /etc/localtime links to, else /etc/timezone.
std::wstring systemTimeZoneName() {
    if (const char* zone = std::getenv("TZ"); zone && *zone) return fromUtf8(zone[0] == ':' ? zone + 1 : zone);
    char target[512];
    const ssize_t length = ::readlink("/etc/localtime", target, sizeof target - 1);
    if (length > 0) {
        const std::string link(target, static_cast<std::size_t>(length));
        const std::size_t at = link.find("zoneinfo/");
        if (at != std::string::npos) return fromUtf8(link.substr(at + 9));
    }
    std::string name;
    std::ifstream file("/etc/timezone");
    if (std::getline(file, name) && !name.empty()) return fromUtf8(name);
    tzset();
    return fromUtf8(tzname[0]);
}

}  // namespace platform
