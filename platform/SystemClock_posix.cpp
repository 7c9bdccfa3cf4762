#include <ctime>

#include "platform/SystemClock.h"

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

}  // namespace platform
