#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

#include "media/PixelMatchers.h"
#include "media/PngDecoder.h"
#include "media/TestPng.h"

namespace {

using Row = std::vector<int>;

std::unique_ptr<Image> decode(const TestPng& picture) {
    const auto bytes = encodeTestPng(picture);
    return decodePng(bytes.data(), bytes.size());
}

std::unique_ptr<Image> decode(const std::vector<unsigned char>& bytes) {
    return decodePng(bytes.data(), bytes.size());
}

TestPng picture(int width, int colourType, int bitDepth, std::vector<std::vector<std::uint8_t>> rows) {
    TestPng png;
    png.width = width;
    png.height = static_cast<int>(rows.size());
    png.colourType = colourType;
    png.bitDepth = bitDepth;
    png.rows = std::move(rows);
    return png;
}

// 3 × 2 RGB: red, green, blue over black, white, a dark colour.
TestPng rgbPicture() {
    return picture(3, 2, 8, {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 0, 0, 255, 255, 255, 10, 20, 30}});
}

void expectRgbPicture(const std::unique_ptr<Image>& image) {
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width(), 3);
    ASSERT_EQ(image->size(), 3 * 2 * 4);
    EXPECT_EQ(rgbxRow(*image, 0), (Row{255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0}));
    EXPECT_EQ(rgbxRow(*image, 1), (Row{0, 0, 0, 0, 255, 255, 255, 0, 10, 20, 30, 0}));
}

}  // namespace

TEST(PngDecoder, RgbBecomesBottomUpBlueGreenRedWithFillerZero) {
    auto image = decode(rgbPicture());
    expectRgbPicture(image);
    const std::vector<std::uint8_t> firstMemoryRow(image->pixels(), image->pixels() + 12);
    EXPECT_EQ(firstMemoryRow, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0, 30, 20, 10, 0}));

    TestPng interlaced = rgbPicture();
    interlaced.interlaced = true;
    expectRgbPicture(decode(interlaced));

    TestPng deep = rgbPicture();  // 16 bits per sample: the high byte is kept
    deep.bitDepth = 16;
    for (auto& row : deep.rows) {
        std::vector<std::uint8_t> wide;
        for (std::uint8_t v : row) wide.insert(wide.end(), {v, static_cast<std::uint8_t>(255 - v)});
        row = wide;
    }
    expectRgbPicture(decode(deep));
}

TEST(PngDecoder, AlphaGoesToTheFourthByte) {
    auto rgba = decode(picture(2, 6, 8, {{1, 2, 3, 128, 200, 100, 50, 255}}));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgbxRow(*rgba, 0), (Row{1, 2, 3, 128, 200, 100, 50, 255}));

    auto greyAlpha = decode(picture(2, 4, 8, {{90, 0, 180, 77}}));
    ASSERT_NE(greyAlpha, nullptr);
    EXPECT_EQ(rgbxRow(*greyAlpha, 0), (Row{90, 90, 90, 0, 180, 180, 180, 77}));

    TestPng keyed = picture(2, 0, 8, {{7, 8}});  // grey whose value 7 is transparent
    keyed.transparentGrey = 7;
    auto image = decode(keyed);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(rgbxRow(*image, 0), (Row{7, 7, 7, 0, 8, 8, 8, 255}));
}

TEST(PngDecoder, PaletteIsExpandedWithItsTransparency) {
    TestPng palette = picture(3, 3, 8, {{0, 1, 2}, {2, 2, 0}});
    palette.palette = {255, 0, 0, 0, 0, 255, 40, 50, 60};
    auto image = decode(palette);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(rgbxRow(*image, 0), (Row{255, 0, 0, 0, 0, 0, 255, 0, 40, 50, 60, 0}));
    EXPECT_EQ(rgbxRow(*image, 1), (Row{40, 50, 60, 0, 40, 50, 60, 0, 255, 0, 0, 0}));

    palette.paletteAlpha = {0, 128};  // the third entry stays opaque
    image = decode(palette);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(rgbxRow(*image, 0), (Row{255, 0, 0, 0, 0, 0, 255, 128, 40, 50, 60, 255}));

    TestPng packed = palette;  // four-bit indices, odd width: the last half-byte is unused
    packed.paletteAlpha.clear();
    packed.bitDepth = 4;
    packed.rows = {{0x01, 0x20}, {0x21, 0x00}};
    image = decode(packed);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(rgbxRow(*image, 1), (Row{40, 50, 60, 0, 0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(PngDecoder, LowDepthGreyIsScaledToEightBitColour) {
    auto two = decode(picture(4, 0, 2, {{0b00011011}}));  // 0, 1, 2, 3
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(rgbxRow(*two, 0), (Row{0, 0, 0, 0, 85, 85, 85, 0, 170, 170, 170, 0, 255, 255, 255, 0}));
    auto four = decode(picture(3, 0, 4, {{0x05, 0xF0}}));  // 0, 5, 15
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(rgbxRow(*four, 0), (Row{0, 0, 0, 0, 85, 85, 85, 0, 255, 255, 255, 0}));
}

TEST(PngDecoder, DataThatIsNotAWholePngIsRefused) {
    EXPECT_EQ(decodePng(nullptr, 0), nullptr);
    EXPECT_EQ(decodePng(nullptr, 50), nullptr);
    EXPECT_EQ(decode(std::vector<unsigned char>{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}), nullptr);

    const auto bytes = encodeTestPng(rgbPicture());
    constexpr std::size_t endChunk = 12;  // IEND is never needed for the pixels
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        // An exact-size copy, so ASan sees any read past the end.
        auto image = decode(std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<long>(length)));
        if (length < bytes.size() - endChunk) {
            ASSERT_EQ(image, nullptr) << "cut at " << length;
        }
    }

    auto broken = bytes;
    broken[20] ^= 1;  // inside IHDR: its CRC no longer matches
    EXPECT_EQ(decode(broken), nullptr);

    auto huge = bytes;  // IHDR claiming 20000 × 20000 pixels, with a matching CRC
    const unsigned char size[8] = {0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20};
    std::copy(std::begin(size), std::end(size), huge.begin() + 16);
    const auto crc = static_cast<std::uint32_t>(crc32(0, huge.data() + 12, 17));
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    EXPECT_EQ(decode(huge), nullptr);
}
