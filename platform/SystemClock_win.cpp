#include <time.h>

#include "platform/SystemClock.h"

namespace platform {

// The 64-bit forms: the plain ones end in 2038 in some runtimes.
bool systemLocalToValue(std::tm& fields, std::int64_t& value) {
    const __time64_t converted = _mktime64(&fields);
    if (converted == static_cast<__time64_t>(-1)) return false;
    value = converted;
    return true;
}

bool systemValueToLocal(std::int64_t value, std::tm& fields) {
    const __time64_t time = value;
    return _localtime64_s(&fields, &time) == 0;
}

std::int64_t systemNow() {
    return _time64(nullptr);
}

}  // namespace platform
