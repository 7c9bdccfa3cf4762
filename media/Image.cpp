#include "media/Image.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

int checkedSize(int width, int height) {
    if (!Image::fitsSize(width, height)) throw std::length_error("picture size out of range");
    return width * height * Image::bytesPerPixel;
}

}  // namespace

bool Image::fitsSize(std::int64_t width, std::int64_t height) {
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    if (width <= 0 || height <= 0 || width > limit || height > limit) return false;
    return width * height <= limit / bytesPerPixel;
}

Image::Image(int width, int height)
    : width_(width),
      height_(height),
      size_(checkedSize(width, height)),
      pixels_(std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(size_))) {}

Image::Image(int width, int height, ForOverwrite)
    : width_(width),
      height_(height),
      size_(checkedSize(width, height)),
      pixels_(std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size_))) {}

Image::Image(const Image& other)
    : width_(other.width_),
      height_(other.height_),
      size_(other.size_),
      pixels_(std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size_))) {
    std::memcpy(pixels_.get(), other.pixels_.get(), static_cast<std::size_t>(size_));
}

Image::~Image() = default;

std::unique_ptr<Image> Image::create(int width, int height) {
    if (!fitsSize(width, height)) return nullptr;
    try {
        return std::make_unique<Image>(width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Image> Image::createForOverwrite(int width, int height) {
    if (!fitsSize(width, height)) return nullptr;
    try {
        return std::unique_ptr<Image>(new Image(width, height, ForOverwrite{}));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Image> Image::copy() const {
    return std::make_unique<Image>(*this);
}
