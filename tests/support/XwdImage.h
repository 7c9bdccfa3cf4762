#pragma once
// A screen picture in the X Window Dump format, as the virtual X server keeps
// its framebuffer in a file (Xvfb -fbdir): unlike a capture through the
// server, it holds everything a monitor would show, popups included. Pixels
// come out as 0xRRGGBB, top row first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class XwdImage {
public:
    // Empty (width 0) with reason set when the bytes are not a true-colour
    // ZPixmap dump of 24 or 32 bits per pixel that they claim to be.
    static XwdImage parse(const std::uint8_t* data, std::size_t size, std::string& reason);
    static XwdImage read(const std::string& path, std::string& reason);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0; }
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // The part inside the picture of the rectangle at (x, y), width × height.
    XwdImage crop(int x, int y, int width, int height) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
