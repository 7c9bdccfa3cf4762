#include "support/XwdImage.h"

#include <algorithm>
#include <bit>
#include <fstream>
#include <iterator>

namespace {

// The header: 25 unsigned 32-bit fields, most significant byte first, then the
// window's name up to headerSize, then ncolors colour entries of 12 bytes.
constexpr std::size_t fieldCount = 25;
constexpr std::size_t headerSize = 0;
constexpr std::size_t fileVersion = 1;
constexpr std::size_t pixmapFormat = 2;
constexpr std::size_t pixmapWidth = 4;
constexpr std::size_t pixmapHeight = 5;
constexpr std::size_t byteOrder = 7;
constexpr std::size_t bitsPerPixel = 11;
constexpr std::size_t bytesPerLine = 12;
constexpr std::size_t redMask = 14;
constexpr std::size_t greenMask = 15;
constexpr std::size_t blueMask = 16;
constexpr std::size_t colourCount = 19;

constexpr std::uint32_t expectedVersion = 7;
constexpr std::uint32_t zPixmap = 2;
constexpr std::uint32_t mostSignificantFirst = 1;
constexpr std::size_t colourEntrySize = 12;
constexpr std::uint32_t largestSide = 32768;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// One colour channel of a pixel value scaled to 0..255, whatever its mask's width.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift;
    const std::uint32_t raw = (value & mask) >> shift;
    return bits == 0xFF ? raw : raw * 255 / bits;
}

std::uint32_t pixelValue(const std::uint8_t* p, int bytes, bool mostSignificantFirstOrder) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const std::uint32_t byte = p[mostSignificantFirstOrder ? i : bytes - 1 - i];
        value = value << 8 | byte;
    }
    return value;
}

}  // namespace

XwdImage XwdImage::parse(const std::uint8_t* data, std::size_t size, std::string& reason) {
    XwdImage image;
    if (size < fieldCount * 4) {
        reason = "shorter than its header";
        return image;
    }
    std::uint32_t field[fieldCount];
    for (std::size_t i = 0; i < fieldCount; ++i) field[i] = bigEndian32(data + i * 4);
    if (field[fileVersion] != expectedVersion || field[pixmapFormat] != zPixmap) {
        reason = "not a version 7 ZPixmap dump";
        return image;
    }
    const std::uint32_t bits = field[bitsPerPixel];
    if (bits != 24 && bits != 32) {
        reason = "not 24 or 32 bits per pixel";
        return image;
    }
    const std::uint32_t masks[3] = {field[redMask], field[greenMask], field[blueMask]};
    if (!masks[0] || !masks[1] || !masks[2]) {
        reason = "no colour masks";
        return image;
    }
    const std::uint32_t width = field[pixmapWidth];
    const std::uint32_t height = field[pixmapHeight];
    const std::uint64_t lineBytes = field[bytesPerLine];
    const int pixelBytes = static_cast<int>(bits / 8);
    if (width == 0 || height == 0 || width > largestSide || height > largestSide ||
        lineBytes < static_cast<std::uint64_t>(width) * pixelBytes) {
        reason = "impossible size";
        return image;
    }
    const std::uint64_t pixelStart =
        static_cast<std::uint64_t>(field[headerSize]) + static_cast<std::uint64_t>(field[colourCount]) * colourEntrySize;
    if (field[headerSize] < fieldCount * 4 || pixelStart > size || (size - pixelStart) / lineBytes < height) {
        reason = "shorter than its pixels";
        return image;
    }

    const bool order = field[byteOrder] == mostSignificantFirst;
    image.width_ = static_cast<int>(width);
    image.height_ = static_cast<int>(height);
    image.pixels_.resize(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* line = data + pixelStart + y * lineBytes;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t value = pixelValue(line + x * pixelBytes, pixelBytes, order);
            image.pixels_[static_cast<std::size_t>(y) * width + x] =
                channel(value, masks[0]) << 16 | channel(value, masks[1]) << 8 | channel(value, masks[2]);
        }
    }
    return image;
}

XwdImage XwdImage::read(const std::string& path, std::string& reason) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        reason = "cannot open " + path;
        return {};
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parse(bytes.data(), bytes.size(), reason);
}

XwdImage XwdImage::crop(int x, int y, int width, int height) const {
    const int left = std::clamp(x, 0, width_);
    const int top = std::clamp(y, 0, height_);
    const int right = std::clamp(x + width, left, width_);
    const int bottom = std::clamp(y + height, top, height_);
    XwdImage part;
    if (right == left || bottom == top) return part;
    part.width_ = right - left;
    part.height_ = bottom - top;
    part.pixels_.reserve(static_cast<std::size_t>(part.width_) * part.height_);
    for (int row = top; row < bottom; ++row) {
        const auto first = pixels_.begin() + static_cast<std::ptrdiff_t>(row) * width_;
        part.pixels_.insert(part.pixels_.end(), first + left, first + right);
    }
    return part;
}
