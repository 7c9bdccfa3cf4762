// The framebuffer reader on crafted dumps: the 32-bit layout Xvfb writes, a
// packed 24-bit one in the other byte order, dumps that lie about their size,
// and a screenshot written as PNG and read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/PngDecoder.h"
#include "support/PngWriter.h"
#include "support/XwdImage.h"

namespace {

struct Dump {
    std::uint32_t width = 3;
    std::uint32_t height = 2;
    std::uint32_t bitsPerPixel = 32;
    std::uint32_t bytesPerLine = 12;
    std::uint32_t byteOrder = 0;  // least significant byte first
    std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
    std::uint32_t colours = 2;
    std::string name = "Xvfb test:0.0";
    std::uint32_t headerSize() const { return static_cast<std::uint32_t>(100 + name.size() + 1); }
};

void put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> header(const Dump& dump) {
    std::vector<std::uint8_t> bytes;
    const std::uint32_t fields[25] = {dump.headerSize(), 7, 2, 24, dump.width, dump.height, 0, dump.byteOrder, 32, 0, 32,
                                      dump.bitsPerPixel, dump.bytesPerLine, 4, dump.masks[0], dump.masks[1],
                                      dump.masks[2], 8, 256, dump.colours, dump.width, dump.height, 0, 0, 0};
    for (std::uint32_t field : fields) put32(bytes, field);
    bytes.insert(bytes.end(), dump.name.begin(), dump.name.end());
    bytes.push_back(0);
    if (dump.colours <= 256) bytes.resize(bytes.size() + dump.colours * 12, 0xEE);  // to be stepped over
    return bytes;
}

// The pixel (x, y) of the test pattern: distinct in every channel.
std::uint32_t pattern(std::uint32_t x, std::uint32_t y) {
    return (0x10 + x) << 16 | (0x40 + y) << 8 | (0x80 + x + 4 * y);
}

std::vector<std::uint8_t> dumpOfPattern(const Dump& dump) {
    std::vector<std::uint8_t> bytes = header(dump);
    const int pixelBytes = static_cast<int>(dump.bitsPerPixel / 8);
    for (std::uint32_t y = 0; y < dump.height; ++y) {
        std::vector<std::uint8_t> line(dump.bytesPerLine, 0x77);  // padding the reader must skip
        for (std::uint32_t x = 0; x < dump.width; ++x) {
            const std::uint32_t value = pattern(x, y);
            for (int i = 0; i < pixelBytes; ++i) {
                const int shift = 8 * (dump.byteOrder == 0 ? i : pixelBytes - 1 - i);
                const std::size_t at = x * pixelBytes + i;
                if (at < line.size()) line[at] = static_cast<std::uint8_t>(value >> shift);
            }
        }
        bytes.insert(bytes.end(), line.begin(), line.end());
    }
    return bytes;
}

XwdImage parse(const std::vector<std::uint8_t>& bytes, std::string& reason) {
    return XwdImage::parse(bytes.data(), bytes.size(), reason);
}

void expectPattern(const XwdImage& image, const Dump& dump) {
    ASSERT_EQ(image.width(), static_cast<int>(dump.width));
    ASSERT_EQ(image.height(), static_cast<int>(dump.height));
    for (std::uint32_t y = 0; y < dump.height; ++y) {
        for (std::uint32_t x = 0; x < dump.width; ++x) {
            EXPECT_EQ(image.at(static_cast<int>(x), static_cast<int>(y)), pattern(x, y)) << x << ", " << y;
        }
    }
}

}  // namespace

TEST(XwdImageTest, ReadsBothPixelLayoutsInEitherByteOrder) {
    Dump xvfb;  // 32 bits per pixel, least significant byte first, with line padding
    xvfb.bytesPerLine = 16;
    std::string reason;
    expectPattern(parse(dumpOfPattern(xvfb), reason), xvfb);
    EXPECT_EQ(reason, "");

    Dump packed;
    packed.bitsPerPixel = 24;
    packed.bytesPerLine = 12;
    packed.byteOrder = 1;
    packed.colours = 0;
    expectPattern(parse(dumpOfPattern(packed), reason), packed);
}

TEST(XwdImageTest, NarrowColourMasksAreScaledToFullBytes) {
    Dump dump;
    dump.width = 1;
    dump.height = 1;
    dump.bytesPerLine = 4;
    dump.masks[0] = 0xF800;  // 5-6-5 within a 32-bit pixel
    dump.masks[1] = 0x07E0;
    dump.masks[2] = 0x001F;
    std::vector<std::uint8_t> bytes = header(dump);
    for (std::uint8_t byte : {0xFF, 0xFF, 0x00, 0x00}) bytes.push_back(byte);
    std::string reason;
    const XwdImage image = parse(bytes, reason);
    ASSERT_FALSE(image.empty()) << reason;
    EXPECT_EQ(image.at(0, 0), 0xFFFFFFu);
}

TEST(XwdImageTest, DumpsThatClaimMoreThanTheyHoldAreRefused) {
    const Dump good;
    const std::vector<std::uint8_t> bytes = dumpOfPattern(good);
    std::string reason;
    EXPECT_TRUE(parse(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1), reason).empty());
    EXPECT_EQ(reason, "shorter than its pixels");
    EXPECT_TRUE(parse(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 60), reason).empty());

    auto refused = [&](Dump dump, const char* why) {
        reason.clear();
        EXPECT_TRUE(parse(dumpOfPattern(dump), reason).empty()) << why;
        EXPECT_FALSE(reason.empty()) << why;
    };
    Dump sixteen;
    sixteen.bitsPerPixel = 16;
    refused(sixteen, "16 bits per pixel");
    Dump maskless;
    maskless.masks[1] = 0;
    refused(maskless, "no green mask");
    Dump narrowLines;
    narrowLines.bytesPerLine = 8;
    refused(narrowLines, "lines shorter than their pixels");
    Dump huge;
    huge.colours = 0x40000000;  // a colour table beyond any file
    refused(huge, "colour table beyond the end");
}

TEST(XwdImageTest, CropsKeepOnlyWhatLiesOnTheScreen) {
    Dump dump;
    dump.width = 4;
    dump.height = 3;
    dump.bytesPerLine = 16;
    std::string reason;
    const XwdImage image = parse(dumpOfPattern(dump), reason);
    const XwdImage part = image.crop(2, 1, 5, 5);
    ASSERT_EQ(part.width(), 2);
    ASSERT_EQ(part.height(), 2);
    EXPECT_EQ(part.at(0, 0), pattern(2, 1));
    EXPECT_EQ(part.at(1, 1), pattern(3, 2));
    EXPECT_TRUE(image.crop(-10, 0, 5, 3).empty());
    EXPECT_TRUE(image.crop(4, 0, 1, 1).empty());
}

TEST(PngWriterTest, AScreenshotReadsBackAsWritten) {
    const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
    const std::string path = ::testing::TempDir() + "png-writer-test.png";
    ASSERT_TRUE(writePng(path, 3, 2, pixels));
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    const std::unique_ptr<Image> image = decodePng(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width(), 3);
    ASSERT_EQ(image->height(), 2);
    for (int y = 0; y < 2; ++y) {
        const std::uint8_t* row = image->row(1 - y);  // bottom-up
        for (int x = 0; x < 3; ++x) {
            const std::uint8_t* pixel = row + x * Image::bytesPerPixel;
            EXPECT_EQ(static_cast<std::uint32_t>(pixel[2] << 16 | pixel[1] << 8 | pixel[0]), pixels[y * 3 + x]);
        }
    }
    EXPECT_FALSE(writePng(path, 4, 2, pixels));  // fewer pixels than the size
}
