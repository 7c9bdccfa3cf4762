#include "media/Image.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "media/PixelRecycler.h"

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

void Image::ReleasePixels::operator()(std::uint8_t* pixels) const noexcept {
    PixelRecycler::shared().give(pixels, size);
}

Image::Pixels Image::takePixels(int size) {
    const auto bytes = static_cast<std::size_t>(size);
    return Pixels(PixelRecycler::shared().take(bytes), ReleasePixels{bytes});
}

Image::Image(int width, int height)
    : width_(width), height_(height), size_(checkedSize(width, height)), pixels_(takePixels(size_)) {
    std::memset(pixels_.get(), 0, static_cast<std::size_t>(size_));
}

Image::Image(int width, int height, ForOverwrite)
    : width_(width), height_(height), size_(checkedSize(width, height)), pixels_(takePixels(size_)) {}

Image::Image(const Image& other)
    : width_(other.width_), height_(other.height_), size_(other.size_), pixels_(takePixels(size_)) {
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
