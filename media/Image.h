#pragma once
// The one in-memory picture of the program: 32 bits per pixel in the order
// blue, green, red, fourth byte, rows bottom-up with a stride of width × 4, so
// the buffer goes to the DIB drawing calls without any conversion.
#include <cstddef>
#include <cstdint>
#include <memory>

class Image {
public:
    static constexpr int bytesPerPixel = 4;

    // Zero-filled picture. Throws std::length_error when a side is not positive
    // or the byte size does not fit a signed 32-bit count (see fitsSize), and
    // std::bad_alloc when the memory is not there.
    Image(int width, int height);
    Image(const Image& other);
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    // Like the constructor, but null instead of throwing: for decoders, whose
    // sizes come from untrusted data.
    static std::unique_ptr<Image> create(int width, int height);
    // As create, but the pixels are left as they come: for a decoder that
    // writes every byte, so a huge hostile header costs no page it never uses.
    static std::unique_ptr<Image> createForOverwrite(int width, int height);
    // True when width × height × 4 is a positive signed 32-bit count.
    static bool fitsSize(std::int64_t width, std::int64_t height);
    // The decoders' stricter bound: a picture from a file (a recorder frame,
    // an interface picture) is far below it, while a few hostile header bytes
    // cannot make a decoder allocate and fill gigabytes.
    static constexpr std::int64_t maximumDecodedPixels = 8192 * 8192;
    static bool fitsDecodedPicture(std::int64_t width, std::int64_t height) {
        return fitsSize(width, height) && width * height <= maximumDecodedPixels;
    }

    std::unique_ptr<Image> copy() const;

    int width() const { return width_; }
    int height() const { return height_; }
    // Byte size of pixels(): width × height × 4.
    int size() const { return size_; }
    int stride() const { return width_ * bytesPerPixel; }

    std::uint8_t* pixels() { return pixels_.get(); }
    const std::uint8_t* pixels() const { return pixels_.get(); }
    // Memory row r; row 0 is the bottom row of the picture.
    std::uint8_t* row(int r) { return pixels_.get() + static_cast<std::size_t>(r) * stride(); }
    const std::uint8_t* row(int r) const { return pixels_.get() + static_cast<std::size_t>(r) * stride(); }
    // Row y counted from the top of the picture, as decoders produce them.
    std::uint8_t* rowFromTop(int y) { return row(height_ - 1 - y); }
    const std::uint8_t* rowFromTop(int y) const { return row(height_ - 1 - y); }

private:
    struct ForOverwrite {};
    Image(int width, int height, ForOverwrite);

    // Frame-sized buffers go back to the process's PixelRecycler.
    struct ReleasePixels {
        std::size_t size = 0;
        void operator()(std::uint8_t* pixels) const noexcept;
    };
    using Pixels = std::unique_ptr<std::uint8_t[], ReleasePixels>;
    static Pixels takePixels(int size);

    int width_;
    int height_;
    int size_;
    Pixels pixels_;
};
