#include "recording/RecorderFields.h"

#include <algorithm>
#include <array>

#include "platform/LocalTime.h"

namespace recorder {

namespace {

constexpr std::uint16_t kLowestRawG = 215;
constexpr std::uint16_t kHighestRawG = 808;
constexpr int kRawGZero = 512;
constexpr double kGPerRawStep = 0.01468;
constexpr int kLimit = 180;
constexpr std::size_t kDateTimeSize = 6;

std::int64_t convertDateTime(const std::uint8_t* bytes) {
    CalendarTime local;
    local.year = 2000 + bcdValue(bytes, 1);
    local.month = bcdValue(bytes + 1, 1);
    local.day = bcdValue(bytes + 2, 1);
    local.hour = bcdValue(bytes + 3, 1);
    local.minute = bcdValue(bytes + 4, 1);
    local.second = bcdValue(bytes + 5, 1);
    std::int64_t value = 0;
    CalendarTime back;
    // The system normalises impossible fields into another day; the round trip
    // tells such a date from a real one.
    if (!platform::localToTimeValue(local, value) || !platform::timeValueToLocal(value, back)) return 0;
    return back == local ? value : 0;
}

}  // namespace

std::uint16_t bigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

std::int32_t bcdValue(const std::uint8_t* bytes, int byteCount) {
    std::int32_t value = 0;
    for (int i = 0; i < byteCount; ++i) value = value * 100 + 10 * (bytes[i] >> 4) + (bytes[i] & 0x0F);
    return value;
}

std::int64_t dateTimeValue(const std::uint8_t* bytes) {
    // Thirty frames in a row share their second; the system's conversion costs
    // far more than the comparison (on POSIX it looks at the zone file each
    // time), so the last answer is kept. Time-zone changes while the program
    // runs are not followed, as the Windows C runtime does not follow them either.
    struct LastConversion {
        std::array<std::uint8_t, kDateTimeSize> bytes{};
        std::int64_t value = 0;
        bool valid = false;
    };
    thread_local LastConversion last;
    if (last.valid && std::equal(last.bytes.begin(), last.bytes.end(), bytes)) return last.value;
    const std::int64_t value = convertDateTime(bytes);
    std::copy(bytes, bytes + kDateTimeSize, last.bytes.begin());
    last.value = value;
    last.valid = true;
    return value;
}

double pictureG(const std::uint8_t* bytes) {
    const double g = bcdValue(bytes, 2) / 1000.0;
    if (g > 8.0) return 8.0 - g;
    if (g == 8.0) return 0.0;
    return g;
}

double headerG(std::uint16_t raw) {
    if (raw == 0) return 0.0;
    const int clamped = std::clamp(raw, kLowestRawG, kHighestRawG);
    return (clamped - kRawGZero) * kGPerRawStep;
}

int limitedValue(const std::uint8_t* bytes) {
    return std::min(bcdValue(bytes, 2), kLimit);
}

}  // namespace recorder
