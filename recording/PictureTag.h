#pragma once
// The 16-byte tag that opens every stored picture payload: model code major,
// minor, then the signature pattern. The recorder stores it in place of the
// JPEG stream's first 16 bytes, which never vary and are put back on decoding.
#include <array>
#include <cstddef>
#include <cstdint>

namespace pictureTag {

inline constexpr std::size_t kSize = 16;
inline constexpr std::size_t kSignatureAt = 2;
// The 12 signature bytes and two zero bytes.
inline constexpr std::array<std::uint8_t, 14> kSignaturePattern = {'V', 'O', 'R', 'N', 'I', 'Q', '-',
                                                                   'T', 'E', 'C', 'H', '.', 0,   0};
inline constexpr std::array<std::uint8_t, kSize> kJpegStart = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00,
                                                               0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01};

// Bytes 2-15 of tag are the signature pattern.
bool hasSignature(const std::uint8_t* tag);
// Bytes 0-1 of tag are the process's model code.
bool hasModelCode(const std::uint8_t* tag);

}  // namespace pictureTag
