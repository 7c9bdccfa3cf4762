#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

#include "media/PixelMatchers.h"
#include "media/PngDecoder.h"
#include "media/TestPng.h"

namespace {

std::unique_ptr<Image> decode(const std::vector<unsigned char>& bytes) {
    return decodePng(bytes.data(), bytes.size());
}

void expectPixel(const Image& image, int x, int y, int r, int g, int b, int fourth) {
    const Bgrx p = pixelAt(image, x, y);
    EXPECT_EQ(p.r, r) << "at " << x << "," << y;
    EXPECT_EQ(p.g, g) << "at " << x << "," << y;
    EXPECT_EQ(p.b, b) << "at " << x << "," << y;
    EXPECT_EQ(p.x, fourth) << "at " << x << "," << y;
}

// 3 × 2 RGB: red, green, blue over black, white, grey.
TestPng rgbPicture() {
    TestPng picture;
    picture.width = 3;
    picture.height = 2;
    picture.rows = {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 0, 0, 255, 255, 255, 10, 20, 30}};
    return picture;
}

void expectRgbPicture(const Image& image) {
    ASSERT_EQ(image.width(), 3);
    ASSERT_EQ(image.height(), 2);
    ASSERT_EQ(image.size(), 24);
    expectPixel(image, 0, 0, 255, 0, 0, 0);
    expectPixel(image, 1, 0, 0, 255, 0, 0);
    expectPixel(image, 2, 0, 0, 0, 255, 0);
    expectPixel(image, 0, 1, 0, 0, 0, 0);
    expectPixel(image, 1, 1, 255, 255, 255, 0);
    expectPixel(image, 2, 1, 10, 20, 30, 0);
}

}  // namespace

TEST(PngDecoder, RgbBecomesBottomUpBlueGreenRedWithFillerZero) {
    auto image = decode(encodeTestPng(rgbPicture()));
    ASSERT_NE(image, nullptr);
    expectRgbPicture(*image);
    // Memory starts with the bottom row: black, then white.
    const std::vector<std::uint8_t> firstMemoryRow(image->pixels(), image->pixels() + 12);
    EXPECT_EQ(firstMemoryRow, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0, 30, 20, 10, 0}));
}

TEST(PngDecoder, InterlacedAndSixteenBitPicturesGiveTheSamePixels) {
    TestPng interlaced = rgbPicture();
    interlaced.interlaced = true;
    auto image = decode(encodeTestPng(interlaced));
    ASSERT_NE(image, nullptr);
    expectRgbPicture(*image);

    TestPng deep = rgbPicture();
    deep.bitDepth = 16;
    for (auto& row : deep.rows) {
        std::vector<std::uint8_t> wide;
        for (std::uint8_t v : row) wide.insert(wide.end(), {v, static_cast<std::uint8_t>(255 - v)});
        row = wide;
    }
    image = decode(encodeTestPng(deep));
    ASSERT_NE(image, nullptr);
    expectRgbPicture(*image);  // the high byte of each sample is kept
}

TEST(PngDecoder, AlphaGoesToTheFourthByte) {
    TestPng rgba;
    rgba.width = 2;
    rgba.height = 1;
    rgba.colourType = 6;
    rgba.rows = {{1, 2, 3, 128, 200, 100, 50, 255}};
    auto image = decode(encodeTestPng(rgba));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 1, 2, 3, 128);
    expectPixel(*image, 1, 0, 200, 100, 50, 255);

    TestPng greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.height = 1;
    greyAlpha.colourType = 4;
    greyAlpha.rows = {{90, 0, 180, 77}};
    image = decode(encodeTestPng(greyAlpha));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 90, 90, 90, 0);
    expectPixel(*image, 1, 0, 180, 180, 180, 77);
}

TEST(PngDecoder, PaletteIsExpandedWithItsTransparency) {
    TestPng palette;
    palette.width = 3;
    palette.height = 2;
    palette.colourType = 3;
    palette.palette = {255, 0, 0, 0, 0, 255, 40, 50, 60};
    palette.rows = {{0, 1, 2}, {2, 2, 0}};
    auto image = decode(encodeTestPng(palette));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 255, 0, 0, 0);
    expectPixel(*image, 1, 0, 0, 0, 255, 0);
    expectPixel(*image, 2, 0, 40, 50, 60, 0);
    expectPixel(*image, 2, 1, 255, 0, 0, 0);

    palette.paletteAlpha = {0, 128};  // the third entry stays opaque
    image = decode(encodeTestPng(palette));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 255, 0, 0, 0);
    expectPixel(*image, 1, 0, 0, 0, 255, 128);
    expectPixel(*image, 2, 0, 40, 50, 60, 255);

    // Four-bit indices, odd width: two pixels per byte, the last half unused.
    TestPng packed = palette;
    packed.paletteAlpha.clear();
    packed.bitDepth = 4;
    packed.rows = {{0x01, 0x20}, {0x21, 0x00}};
    image = decode(encodeTestPng(packed));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 255, 0, 0, 0);
    expectPixel(*image, 2, 0, 40, 50, 60, 0);
    expectPixel(*image, 1, 1, 0, 0, 255, 0);
}

TEST(PngDecoder, LowDepthGreyIsScaledToEightBitColour) {
    TestPng two;
    two.width = 4;
    two.height = 1;
    two.colourType = 0;
    two.bitDepth = 2;
    two.rows = {{0b00011011}};  // 0, 1, 2, 3
    auto image = decode(encodeTestPng(two));
    ASSERT_NE(image, nullptr);
    for (int x = 0; x < 4; ++x) expectPixel(*image, x, 0, x * 85, x * 85, x * 85, 0);

    TestPng four = two;
    four.bitDepth = 4;
    four.width = 3;
    four.rows = {{0x05, 0xF0}};  // 0, 5, 15
    image = decode(encodeTestPng(four));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 0, 0, 0, 0);
    expectPixel(*image, 1, 0, 85, 85, 85, 0);
    expectPixel(*image, 2, 0, 255, 255, 255, 0);

    TestPng keyed;  // eight-bit grey whose value 7 is transparent
    keyed.width = 2;
    keyed.height = 1;
    keyed.colourType = 0;
    keyed.rows = {{7, 8}};
    keyed.transparentGrey = 7;
    image = decode(encodeTestPng(keyed));
    ASSERT_NE(image, nullptr);
    expectPixel(*image, 0, 0, 7, 7, 7, 0);
    expectPixel(*image, 1, 0, 8, 8, 8, 255);
}

TEST(PngDecoder, DataThatIsNotAWholePngIsRefused) {
    EXPECT_EQ(decodePng(nullptr, 0), nullptr);
    EXPECT_EQ(decodePng(nullptr, 50), nullptr);
    const std::vector<unsigned char> text = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(decode(text), nullptr);

    const auto bytes = encodeTestPng(rgbPicture());
    constexpr std::size_t endChunk = 12;  // IEND is never needed for the pixels
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        // An exact-size copy, so ASan sees any read past the end.
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        auto image = decode(cut);
        if (length < bytes.size() - endChunk) {
            ASSERT_EQ(image, nullptr) << "cut at " << length;
        }
    }
}

TEST(PngDecoder, CorruptHeaderAndHugeSizesAreRefused) {
    auto bytes = encodeTestPng(rgbPicture());
    auto broken = bytes;
    broken[20] ^= 1;  // inside IHDR: its CRC no longer matches
    EXPECT_EQ(decode(broken), nullptr);

    // IHDR claiming 20000 × 20000 pixels with a matching CRC.
    auto huge = bytes;
    const unsigned char size[8] = {0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20};
    std::copy(std::begin(size), std::end(size), huge.begin() + 16);
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, huge.data() + 12, 17));
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    EXPECT_EQ(decode(huge), nullptr);
}
