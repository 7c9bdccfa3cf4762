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

void expectQuadrants(const std::unique_ptr<Image>& image) {
    ASSERT_NE(image, nullptr);
    const int w = image->width(), h = image->height();
    EXPECT_TRUE(isNear(pixelAt(*image, w / 4, h / 4), 255, 0, 0, tolerance));
    EXPECT_TRUE(isNear(pixelAt(*image, w * 3 / 4, h / 4), 0, 255, 0, tolerance));
    EXPECT_TRUE(isNear(pixelAt(*image, w / 4, h * 3 / 4), 0, 0, 255, tolerance));
    EXPECT_TRUE(isNear(pixelAt(*image, w * 3 / 4, h * 3 / 4), 255, 255, 255, tolerance));
    for (int i = 3; i < image->size(); i += 4) ASSERT_EQ(image->pixels()[i], 0) << "fourth byte " << i;
}

std::size_t findMarker(const std::vector<unsigned char>& bytes, unsigned char code) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
    }
    return bytes.size();
}

}  // namespace

TEST(JpegDecoder, ColourPicturesAreBottomUpBlueGreenRedZero) {
    auto image = decode(encodeTestJpeg(quadrantPicture(32, 32, quadrants)));
    expectQuadrants(image);
    EXPECT_EQ(image->size(), 32 * 32 * 4);
    EXPECT_TRUE(isNear({image->pixels()[0], image->pixels()[1], image->pixels()[2], 0}, 0, 0, 255, tolerance))
        << "memory starts with the bottom-left pixel, which is blue";

    TestJpeg picture = quadrantPicture(48, 32, quadrants);  // segments the library skips
    picture.comment = "recorder frame";
    picture.application = std::string(300, 'x');
    expectQuadrants(decode(encodeTestJpeg(picture)));
    picture.progressive = true;
    expectQuadrants(decode(encodeTestJpeg(picture)));
}

TEST(JpegDecoder, OddWidthsConvertExactlyWidthPixelsPerRow) {
    for (int width : {1, 5, 13, 17, 31}) {
        TestJpeg picture;
        picture.width = width;
        picture.height = 7;
        for (int i = 0; i < width * 7; ++i) picture.samples.insert(picture.samples.end(), {200, 100, 50});
        auto image = decode(encodeTestJpeg(picture));
        ASSERT_NE(image, nullptr) << width;
        ASSERT_EQ(image->size(), width * 7 * 4);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_TRUE(isNear(pixelAt(*image, x, y), 200, 100, 50, tolerance)) << x << "," << y;
                ASSERT_EQ(pixelAt(*image, x, y).x, 0);
            }
        }
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
    for (int i = 0; i < image->size(); i += 4) {
        ASSERT_EQ(image->pixels()[i], image->pixels()[i + 1]);
        ASSERT_EQ(image->pixels()[i], image->pixels()[i + 2]);
        ASSERT_EQ(image->pixels()[i + 3], 0);
    }
    EXPECT_NEAR(pixelAt(*image, 4, 2).g, 20, 4);
    EXPECT_NEAR(pixelAt(*image, 4, 13).g, 230, 4);
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
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        // A copy of exactly `length` bytes, so ASan sees any read beyond it.
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
        ASSERT_EQ(decode(cut), nullptr) << "cut at " << length << " of " << bytes.size();
    }
    // Scan data cut short but closed with a proper end marker.
    std::vector<unsigned char> closed(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() * 2 / 3));
    closed.insert(closed.end(), {0xFF, 0xD9});
    EXPECT_EQ(decode(closed), nullptr);
    picture.progressive = true;
    const auto progressive = encodeTestJpeg(picture);
    EXPECT_EQ(decode(std::vector<unsigned char>(progressive.begin(), progressive.begin() + progressive.size() / 2)),
              nullptr);
}

TEST(JpegDecoder, HostileStreamsAreRefusedPromptly) {
    EXPECT_EQ(decodeJpeg(nullptr, 0), nullptr);
    EXPECT_EQ(decodeJpeg(nullptr, 100), nullptr);
    std::vector<unsigned char> garbage(1000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 37 + 11);
    EXPECT_EQ(decode(garbage), nullptr);

    TestJpeg picture = quadrantPicture(16, 16, quadrants);
    picture.application = std::string(100, 'a');
    const auto bytes = encodeTestJpeg(picture);
    auto longSegment = bytes;  // an APP1 segment claiming about 64 KiB
    const std::size_t app1 = findMarker(longSegment, 0xE1);
    longSegment[app1 + 2] = 0xFF;
    longSegment[app1 + 3] = 0xF0;
    EXPECT_EQ(decode(longSegment), nullptr);

    // Height and width of the frame header: 65000 × 65000 pixels, then a
    // plausible 8000 × 8000 whose data ends long before the picture does.
    const std::size_t frame = findMarker(bytes, 0xC0);
    for (const auto& size : {std::vector<unsigned char>{0xFD, 0xE8, 0xFD, 0xE8}, {0x1F, 0x40, 0x1F, 0x40}}) {
        auto huge = bytes;
        std::memcpy(&huge[frame + 5], size.data(), size.size());
        EXPECT_EQ(decode(huge), nullptr);
    }

    auto scrambled = encodeTestJpeg(quadrantPicture(64, 64, quadrants));  // must not crash, whatever it gives
    for (std::size_t i = findMarker(scrambled, 0xDA) + 20; i + 2 < scrambled.size(); i += 3) scrambled[i] ^= 0x5A;
    decode(scrambled);
}

// Miniatures: the strongest reduction that still covers the fit, never less.
TEST(JpegDecoder, ReducedDecodeTakesTheSmallestSizeThatCoversTheFit) {
    struct Case {
        int width, height, fitWidth, fitHeight, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{640, 480, 71, 53, 80, 60}, Case{641, 481, 71, 53, 81, 61}, Case{320, 240, 71, 53, 80, 60},
                          Case{480, 360, 71, 53, 120, 90}, Case{160, 120, 71, 53, 80, 60},
                          Case{100, 75, 71, 53, 100, 75}, Case{640, 480, 0, 0, 640, 480}}) {
        const auto bytes = encodeTestJpeg(quadrantPicture(c.width, c.height, quadrants));
        auto image = decodeJpegToFit(bytes.data(), bytes.size(), c.fitWidth, c.fitHeight);
        ASSERT_NE(image, nullptr) << c.width << " x " << c.height;
        EXPECT_EQ(c.expectedWidth, image->width()) << c.width << " x " << c.height;
        EXPECT_EQ(c.expectedHeight, image->height()) << c.width << " x " << c.height;
        expectQuadrants(image);
    }
}

TEST(JpegDecoder, ReducedDecodeKeepsTheColoursOfTheFullPicture) {
    TestJpeg picture;  // a smooth diagonal ramp, so every block average is well defined
    picture.width = 640;
    picture.height = 480;
    picture.quality = 90;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            picture.samples.insert(picture.samples.end(), {static_cast<std::uint8_t>(x * 255 / 639),
                                                           static_cast<std::uint8_t>(y * 255 / 479),
                                                           static_cast<std::uint8_t>((x + y) * 255 / 1118)});
        }
    }
    const auto bytes = encodeTestJpeg(picture);
    auto full = decodeJpeg(bytes.data(), bytes.size());
    auto reduced = decodeJpegToFit(bytes.data(), bytes.size(), 71, 53);
    ASSERT_NE(full, nullptr);
    ASSERT_NE(reduced, nullptr);
    ASSERT_EQ(80, reduced->width());
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const Bgrx small = pixelAt(*reduced, x, y);
            const Bgrx large = pixelAt(*full, 8 * x + 4, 8 * y + 4);
            ASSERT_TRUE(isNear(small, large.r, large.g, large.b, tolerance)) << x << "," << y;
            ASSERT_EQ(0, small.x);
        }
    }
}

TEST(JpegDecoder, ReducedDecodeRefusesWhatTheFullDecodeRefuses) {
    TestJpeg grey;
    grey.width = 64;
    grey.height = 64;
    grey.components = 1;
    grey.samples.assign(64 * 64, 90);
    const auto greyBytes = encodeTestJpeg(grey);
    auto image = decodeJpegToFit(greyBytes.data(), greyBytes.size(), 8, 8);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(8, image->width());
    EXPECT_TRUE(isNear(pixelAt(*image, 3, 3), 90, 90, 90, 2));

    TestJpeg cmyk;
    cmyk.width = 64;
    cmyk.height = 64;
    cmyk.components = 4;
    cmyk.samples.assign(64 * 64 * 4, 128);
    const auto cmykBytes = encodeTestJpeg(cmyk);
    EXPECT_EQ(decodeJpegToFit(cmykBytes.data(), cmykBytes.size(), 8, 8), nullptr);

    const auto bytes = encodeTestJpeg(quadrantPicture(128, 96, quadrants));
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
        ASSERT_EQ(decodeJpegToFit(cut.data(), cut.size(), 16, 12), nullptr) << "cut at " << length;
    }
}
