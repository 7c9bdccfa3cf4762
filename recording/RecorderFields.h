#pragma once
// Readers for the recorder's field encodings: big-endian integers, packed
// decimal (two digits a byte, high nibble first), its date-time field and its
// two kinds of G value. All take a pointer to enough bytes; none judges them.
#include <cstdint>

namespace recorder {

std::uint16_t bigEndian16(const std::uint8_t* bytes);
std::uint32_t bigEndian32(const std::uint8_t* bytes);

// Packed decimal of byteCount bytes (at most 4). Nibbles above 9 are not
// rejected: they enter the sum like digits, as the recorder's own reader does.
std::int32_t bcdValue(const std::uint8_t* bytes, int byteCount);

// Six BCD bytes (year within 2000-2099, month, day, hour, minute, second) of
// local time to a time value; 0 when the fields name no real moment (a 30
// February, a time skipped by daylight saving) or the system cannot convert.
std::int64_t dateTimeValue(const std::uint8_t* bytes);

// A picture's four BCD digits in thousandths of G; above 8000 negative.
double pictureG(const std::uint8_t* bytes);
// A header's raw 16-bit sensor reading: 0 means none, else clamped to 215-808.
double headerG(std::uint16_t raw);
// Four BCD digits limited to 180.
int limitedValue(const std::uint8_t* bytes);

}  // namespace recorder
