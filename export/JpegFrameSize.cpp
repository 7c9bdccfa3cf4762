#include "export/JpegFrameSize.h"

namespace {

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;
// Frame header: length (2), precision (1), height (2), width (2).
constexpr std::size_t kHeightAt = 3;
constexpr std::size_t kWidthAt = 5;
constexpr std::size_t kFrameHeaderMinimum = 7;

// C0-CF are frame headers except C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning).
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length.
bool hasNoLength(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

unsigned bigEndian16(const std::uint8_t* bytes) {
    return unsigned{bytes[0]} << 8 | bytes[1];
}

}  // namespace

bool jpegFrameSize(const std::uint8_t* bytes, std::size_t size, int& width, int& height) {
    if (size < 2 || bytes[0] != kMarkerStart || bytes[1] != kStartOfImage) return false;
    std::size_t at = 2;
    while (at < size) {
        if (bytes[at] != kMarkerStart) return false;
        while (at < size && bytes[at] == kMarkerStart) ++at;  // fill bytes
        if (at >= size) return false;
        const std::uint8_t marker = bytes[at++];
        if (marker == kStartOfScan || marker == kEndOfImage) return false;
        if (hasNoLength(marker)) continue;
        if (size - at < 2) return false;
        const std::size_t length = bigEndian16(bytes + at);
        if (length < 2 || length > size - at) return false;
        if (isFrameHeader(marker)) {
            if (length < kFrameHeaderMinimum) return false;
            height = static_cast<int>(bigEndian16(bytes + at + kHeightAt));
            width = static_cast<int>(bigEndian16(bytes + at + kWidthAt));
            return width > 0 && height > 0;
        }
        at += length;
    }
    return false;
}
