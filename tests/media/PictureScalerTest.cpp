// Nearest-neighbour scaling of a frame to its letterbox: which source pixel
// each target pixel takes, top-left corners together, rows kept bottom-up.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "media/Image.h"
#include "media/PictureScaler.h"

namespace {

// Each pixel holds its own column and row from the top, so a target pixel
// names the source pixel it was taken from.
Image numbered(int width, int height) {
    Image picture(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(picture.rowFromTop(y));
        for (int x = 0; x < width; ++x) row[x] = static_cast<std::uint32_t>(y) << 16 | static_cast<std::uint32_t>(x);
    }
    return picture;
}

std::uint32_t at(const Image& picture, int x, int y) {
    std::uint32_t pixel;
    std::memcpy(&pixel, picture.rowFromTop(y) + 4 * x, 4);
    return pixel;
}

Image scaled(const Image& frame, int width, int height) {
    Image target(width, height);
    PictureScaler().scale(frame, target);
    return target;
}

int columnOf(std::uint32_t pixel) { return static_cast<int>(pixel & 0xFFFF); }
int rowOf(std::uint32_t pixel) { return static_cast<int>(pixel >> 16); }

// How many of count source numbers repeat the one before; -1 when one skips
// a number or goes back.
template <typename SourceOf>
int repeats(int count, SourceOf sourceOf) {
    int repeated = 0;
    for (int i = 1; i < count; ++i) {
        const int step = sourceOf(i) - sourceOf(i - 1);
        if (step != 0 && step != 1) return -1;
        repeated += step == 0;
    }
    return repeated;
}

}  // namespace

// The default window's letterbox is a little larger than the frame: a few
// columns and rows repeat, evenly spread, and nothing is skipped or shifted.
TEST(PictureScalerTest, EnlargingRepeatsEvenlySpreadColumnsAndRowsAndSkipsNone) {
    const Image frame = numbered(640, 480);
    const Image box = scaled(frame, 648, 486);
    EXPECT_EQ(at(box, 0, 0), at(frame, 0, 0));
    EXPECT_EQ(at(box, 647, 485), at(frame, 639, 479));
    EXPECT_EQ(repeats(648, [&](int x) { return columnOf(at(box, x, 0)); }), 8);
    EXPECT_EQ(repeats(486, [&](int y) { return rowOf(at(box, 0, y)); }), 6);
    for (int y = 0; y < 486; ++y) {
        ASSERT_EQ(at(box, 300, y), at(frame, columnOf(at(box, 300, 0)), rowOf(at(box, 0, y)))) << "at row " << y;
    }
}

TEST(PictureScalerTest, ShrinkingTakesEveryOtherPixelAndTheSameSizeIsACopy) {
    const Image frame = numbered(640, 480);
    PictureScaler scaler;
    Image half(320, 240);
    scaler.scale(frame, half);
    EXPECT_EQ(at(half, 1, 1), at(frame, 2, 2));
    EXPECT_EQ(at(half, 319, 239), at(frame, 638, 478));

    Image same(640, 480);
    scaler.scale(frame, same);  // the same scaler: its column plan follows the new size
    EXPECT_EQ(std::memcmp(same.pixels(), frame.pixels(), static_cast<std::size_t>(frame.size())), 0);
}
