// Byte layout of the header, directory, block header and picture information.
#include <gtest/gtest.h>

#include "tools/samplewriter/RecorderBlocks.h"

using namespace samplewriter;

namespace {

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

}  // namespace

TEST(RecorderBlocks, PackedDecimalTakesTheLastDigitsHighFirst) {
    EXPECT_EQ(encodeBcd(1234, 4), (Bytes{0x12, 0x34}));
    EXPECT_EQ(encodeBcd(7, 2), (Bytes{0x07}));
    EXPECT_EQ(encodeBcd(123, 2), (Bytes{0x23}));
    EXPECT_EQ(encodeBcd(35012345, 8), (Bytes{0x35, 0x01, 0x23, 0x45}));
    EXPECT_EQ(encodeDateTime(CalendarTime{2009, 2, 30, 23, 5, 9}), (Bytes{0x09, 0x02, 0x30, 0x23, 0x05, 0x09}));
    EXPECT_EQ(encodeDateTime(CalendarTime{2099, 12, 31, 0, 0, 0}), (Bytes{0x99, 0x12, 0x31, 0, 0, 0}));
}

// The sign rule: up to 7999 positive thousandths, 8001 and above negative.
TEST(RecorderBlocks, GDigitsAndRawReadingsFollowTheSensorRules) {
    EXPECT_EQ(gDigitsFromG(0.25), 250);
    EXPECT_EQ(gDigitsFromG(-0.25), 8250);
    EXPECT_EQ(gDigitsFromG(0.0), 0);
    EXPECT_EQ(gDigitsFromG(12.0), 7999);
    EXPECT_EQ(gDigitsFromG(-5.0), 9999);
    EXPECT_EQ(rawGFromG(0.0), 512);
    EXPECT_EQ(rawGFromG(1.0), 580);  // 512 + 68.1
    EXPECT_EQ(rawGFromG(-20.0), 215);
    EXPECT_EQ(rawGFromG(20.0), 808);
}

TEST(RecorderBlocks, RecordingHeaderFieldsSitAtTheirOffsets) {
    RecordingHeaderFields fields;
    fields.kindByte = kKindManualEvent;
    fields.recordedAt = CalendarTime{2009, 6, 15, 14, 30, 12};
    fields.eventStamp = 0x01020304;
    fields.rawGx = 100;
    fields.rawGy = 0x0234;
    fields.limitedDigits = 181;
    fields.extraByte = 0x5A;
    fields.indicator = true;
    const Bytes header = buildRecordingHeader(fields);
    ASSERT_EQ(header.size(), kRecordingHeaderSize);
    EXPECT_EQ(header[0], 0x20);
    EXPECT_EQ(header[1], 0);
    EXPECT_EQ(slice(header, 2, 6), (Bytes{0x09, 0x06, 0x15, 0x14, 0x30, 0x12}));
    EXPECT_EQ(slice(header, 8, 4), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(slice(header, 12, 4), (Bytes{0x00, 0x64, 0x02, 0x34}));
    EXPECT_EQ(slice(header, 16, 2), (Bytes{0x01, 0x81}));
    EXPECT_EQ(slice(header, 18, 10), Bytes(10, 0));
    EXPECT_EQ(header[28], 0x5A);
    EXPECT_EQ(header[29], 1);
}

TEST(RecorderBlocks, DirectoryCountsItsEntries) {
    const Bytes directory = buildDirectory({{0x100, 7}, {0x2000, 1007}});
    ASSERT_EQ(directory.size(), kDirectoryPrefixSize + 2 * kDirectoryEntrySize);
    EXPECT_EQ(directory[0], 2);
    EXPECT_EQ(slice(directory, 16, 8), (Bytes{0, 0, 1, 0, 0, 0, 0, 7}));
    EXPECT_EQ(buildDirectoryPrefix(255), (Bytes{255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(buildDirectory(std::vector<DirectoryEntry>(300))[0], 255);
    EXPECT_EQ(buildDirectory(std::vector<DirectoryEntry>(300)).size(), 16u + 255 * 8);
}

TEST(RecorderBlocks, PictureBlockHeaderCarriesSizesStampTypeAndInformation) {
    PictureInfoFields info;
    info.fileNumber = 7;
    info.fileIndex = 1234;
    info.time = CalendarTime{2009, 6, 15, 14, 30, 12};
    info.gxDigits = 8250;
    info.gyDigits = 250;
    info.limitedDigits = 42;
    info.valueP = 35012345;
    info.valueQ = 13987654;
    info.valueR = 0x0142;
    info.indicator = true;
    const Bytes block = buildPictureBlock(0xFFFFFFF0u, info, Bytes(20, 0xEE));
    ASSERT_EQ(block.size(), kBlockHeaderSize + 20);
    EXPECT_EQ(slice(block, 0, 13), (Bytes{0, 0, 0, 20, 0xFF, 0xFF, 0xFF, 0xF0, 0, 0, 0, 0, 0x55}));
    EXPECT_EQ(slice(block, 13, 19), Bytes(19, 0));
    const Bytes expectedInfo = {7,    0x12, 0x34, 0,    0x09, 0x06, 0x15, 0x14, 0x30, 0x12, 0x82,
                                0x50, 0x02, 0x50, 0x00, 0x42, 0x35, 0x01, 0x23, 0x45, 0x13, 0x98,
                                0x76, 0x54, 0,    0,    0,    0x01, 0x42, 1,    0,    0};
    EXPECT_EQ(slice(block, 32, 32), expectedInfo);
    EXPECT_EQ(slice(block, 64, 20), Bytes(20, 0xEE));
}

// Tests craft hostile blocks: sizes and types are written exactly as given.
TEST(RecorderBlocks, BlockHeaderWritesAnyValueUnchecked) {
    BlockHeaderFields fields;
    fields.payloadSize = -2;
    fields.stamp = 500;
    fields.soundBytes = 3000;
    fields.type = 0x33;
    const Bytes header = buildBlockHeader(fields);
    ASSERT_EQ(header.size(), kBlockHeaderSize);
    EXPECT_EQ(slice(header, 0, 13), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0x01, 0xF4, 0, 0, 0x0B, 0xB8, 0x33}));
    EXPECT_EQ(slice(header, 32, 32), Bytes(32, 0));
}

TEST(RecorderBlocks, SoundBlockPayloadIsSamplesThenSilence) {
    const Bytes samples(3000, 0x90);
    const Bytes block = buildSoundBlock(500, samples, 8);
    ASSERT_EQ(block.size(), kBlockHeaderSize + 3008);
    EXPECT_EQ(slice(block, 0, 13), (Bytes{0, 0, 0x0B, 0xC0, 0, 0, 0x01, 0xF4, 0, 0, 0x0B, 0xB8, 0xAA}));
    EXPECT_EQ(slice(block, 64, 3000), samples);
    EXPECT_EQ(slice(block, 3064, 8), Bytes(8, 0x80));
}
