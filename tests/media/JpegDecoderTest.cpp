#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/JpegDecoder.h"
#include "media/PixelMatchers.h"
#include "media/TestJpeg.h"

namespace {

constexpr int tolerance = 8;
constexpr std::uint8_t quadrants[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

std::unique_ptr<Image> decode(const std::vector<unsigned char>& bytes) {
    return decodeJpeg(bytes.data(), bytes.size());
}

void expectQuadrants(const Image& image) {
    const int w = image.width(), h = image.height();
    const int left = w / 4, right = w * 3 / 4, top = h / 4, bottom = h * 3 / 4;
    EXPECT_TRUE(isNear(pixelAt(image, left, top), 255, 0, 0, tolerance));
    EXPECT_TRUE(isNear(pixelAt(image, right, top), 0, 255, 0, tolerance));
    EXPECT_TRUE(isNear(pixelAt(image, left, bottom), 0, 0, 255, tolerance));
    EXPECT_TRUE(isNear(pixelAt(image, right, bottom), 255, 255, 255, tolerance));
}

void expectFourthByteZero(const Image& image) {
    for (int i = 3; i < image.size(); i += 4) ASSERT_EQ(image.pixels()[i], 0) << "byte " << i;
}

// Offsets of the two-byte markers (0xFF, code) of a stream, in order.
std::size_t findMarker(const std::vector<unsigned char>& bytes, unsigned char code) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
    }
    return bytes.size();
}

}  // namespace

TEST(JpegDecoder, ColourPictureIsBottomUpBlueGreenRedZero) {
    auto image = decode(encodeTestJpeg(quadrantPicture(32, 32, quadrants)));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 32);
    EXPECT_EQ(image->height(), 32);
    EXPECT_EQ(image->size(), 32 * 32 * 4);
    expectQuadrants(*image);
    // The first row in memory is the bottom of the picture: blue on the left.
    const std::uint8_t* firstMemoryRow = image->pixels();
    EXPECT_GT(firstMemoryRow[0], 240);
    EXPECT_LT(firstMemoryRow[2], 16);
    expectFourthByteZero(*image);
}

TEST(JpegDecoder, OddWidthsConvertExactlyWidthPixelsPerRow) {
    for (int width : {1, 5, 13, 17, 31}) {
        TestJpeg picture;
        picture.width = width;
        picture.height = 7;
        for (int i = 0; i < width * 7; ++i) picture.samples.insert(picture.samples.end(), {200, 100, 50});
        auto image = decode(encodeTestJpeg(picture));
        ASSERT_NE(image, nullptr) << width;
        ASSERT_EQ(image->width(), width);
        ASSERT_EQ(image->size(), width * 7 * 4);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_TRUE(isNear(pixelAt(*image, x, y), 200, 100, 50, tolerance)) << x << "," << y;
            }
        }
        expectFourthByteZero(*image);
    }
}

TEST(JpegDecoder, GreyscaleGivesThreeEqualColourBytes) {
    TestJpeg picture;
    picture.width = 16;
    picture.height = 16;
    picture.components = 1;
    for (int y = 0; y < 16; ++y) picture.samples.insert(picture.samples.end(), 16, y < 8 ? 20 : 230);
    auto image = decode(encodeTestJpeg(picture));
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Bgrx p = pixelAt(*image, x, y);
            ASSERT_EQ(p.b, p.g);
            ASSERT_EQ(p.g, p.r);
            ASSERT_EQ(p.x, 0);
        }
    }
    EXPECT_NEAR(pixelAt(*image, 4, 2).g, 20, 4);
    EXPECT_NEAR(pixelAt(*image, 4, 13).g, 230, 4);
}

TEST(JpegDecoder, SkippedSegmentsAndProgressiveStreamsDecode) {
    TestJpeg picture = quadrantPicture(48, 32, quadrants);
    picture.comment = "recorder frame";
    picture.application = std::string(300, 'x');
    expectQuadrants(*decode(encodeTestJpeg(picture)));
    picture.progressive = true;
    auto progressive = decode(encodeTestJpeg(picture));
    ASSERT_NE(progressive, nullptr);
    expectQuadrants(*progressive);
}

TEST(JpegDecoder, FourComponentStreamIsRefused) {
    TestJpeg picture;
    picture.width = 8;
    picture.height = 8;
    picture.components = 4;
    picture.samples.assign(8 * 8 * 4, 128);
    EXPECT_EQ(decode(encodeTestJpeg(picture)), nullptr);
}

TEST(JpegDecoder, EveryTruncationIsRefused) {
    TestJpeg picture = quadrantPicture(24, 16, quadrants);
    picture.quality = 90;
    const auto bytes = encodeTestJpeg(picture);
    ASSERT_NE(decode(bytes), nullptr);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        // A copy of exactly `length` bytes, so ASan sees any read beyond it.
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(decode(cut), nullptr) << "cut at " << length << " of " << bytes.size();
    }
    // Scan data cut short but closed with a proper end marker.
    std::vector<unsigned char> closed(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * 2 / 3));
    closed.insert(closed.end(), {0xFF, 0xD9});
    EXPECT_EQ(decode(closed), nullptr);
    picture.progressive = true;
    const auto progressive = encodeTestJpeg(picture);
    std::vector<unsigned char> half(progressive.begin(), progressive.begin() + progressive.size() / 2);
    EXPECT_EQ(decode(half), nullptr);
}

TEST(JpegDecoder, GarbageAndEmptyInputAreRefused) {
    EXPECT_EQ(decodeJpeg(nullptr, 0), nullptr);
    EXPECT_EQ(decodeJpeg(nullptr, 100), nullptr);
    std::vector<unsigned char> garbage(1000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 37 + 11);
    EXPECT_EQ(decode(garbage), nullptr);
    // A valid header over scrambled entropy-coded data must not crash either.
    auto bytes = encodeTestJpeg(quadrantPicture(64, 64, quadrants));
    const std::size_t scan = findMarker(bytes, 0xDA);
    ASSERT_LT(scan, bytes.size());
    for (std::size_t i = scan + 20; i + 2 < bytes.size(); i += 3) bytes[i] ^= 0x5A;
    decode(bytes);
}

TEST(JpegDecoder, SegmentLengthBeyondTheDataIsRefused) {
    TestJpeg picture = quadrantPicture(16, 16, quadrants);
    picture.application = std::string(100, 'a');
    auto bytes = encodeTestJpeg(picture);
    const std::size_t app1 = findMarker(bytes, 0xE1);
    ASSERT_LT(app1, bytes.size());
    bytes[app1 + 2] = 0xFF;  // the segment now claims about 64 KiB
    bytes[app1 + 3] = 0xF0;
    EXPECT_EQ(decode(bytes), nullptr);
}

TEST(JpegDecoder, OversizedHeaderIsRefusedWithoutDecoding) {
    auto bytes = encodeTestJpeg(quadrantPicture(16, 16, quadrants));
    const std::size_t frame = findMarker(bytes, 0xC0);
    ASSERT_LT(frame, bytes.size());
    // Height and width fields of the frame header: 65000 × 65000 pixels.
    const unsigned char huge[4] = {0xFD, 0xE8, 0xFD, 0xE8};
    std::memcpy(&bytes[frame + 5], huge, sizeof huge);
    EXPECT_EQ(decode(bytes), nullptr);
    // 8000 × 8000 is a plausible size, but the data ends long before the picture.
    const unsigned char wide[4] = {0x1F, 0x40, 0x1F, 0x40};
    std::memcpy(&bytes[frame + 5], wide, sizeof wide);
    EXPECT_EQ(decode(bytes), nullptr);
}
