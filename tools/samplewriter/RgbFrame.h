#pragma once
// An 8-bit RGB picture, top row first, three bytes per pixel.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace samplewriter {

struct RgbColour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 3

    RgbFrame() = default;
    RgbFrame(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}

    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
    // Fills the clipped rectangle [x0, x1) x [y0, y1).
    void fill(int x0, int y0, int x1, int y1, RgbColour colour);
};

}  // namespace samplewriter
