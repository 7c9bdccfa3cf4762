// Archives a recorder never writes: cut off, overwritten, lying about sizes.
// Each must be read in bounded time and memory, keep what is readable and
// never touch bytes outside the file (the sanitizers watch the native run).
#include <gtest/gtest.h>

#include "app/Exception.h"
#include "media/Image.h"
#include "recording/CraftedArchive.h"
#include "recording/VideoArchive.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;
using crafted::Archive;
using crafted::kDay;
using crafted::secondsAfter;

class DamagedArchive : public ::testing::Test {
protected:
    void SetUp() override { crafted::useShippedModelCode(); }

    void read(const sw::Bytes& bytes) { archive.readEventArchive(std::make_unique<MemorySource>(bytes)); }

    sw::ArchiveSetup smallEvent(int frames) const {
        sw::ArchiveSetup setup;
        setup.frameCount = frames;
        setup.eventFrame = frames / 2;
        setup.width = 16;
        setup.height = 16;
        return setup;
    }

    VideoArchive archive;
};

TEST_F(DamagedArchive, ArchiveThatEndsInsideABlockKeepsTheFramesBeforeIt) {
    const sw::ArchiveSetup setup = smallEvent(60);
    sw::ArchiveLayout layout;
    const sw::Bytes whole = sw::buildArchive(setup, &layout);
    const sw::BlockPlacement* cut = nullptr;
    for (const sw::BlockPlacement& block : layout.blocks) {
        if (block.frame == 40) cut = &block;
    }
    ASSERT_NE(cut, nullptr);
    // Inside the header, inside the tag, inside the JPEG.
    for (std::size_t end : {cut->headerOffset + 30, cut->payloadOffset + 8, cut->payloadOffset + 200}) {
        read(sw::Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(end)));
        ASSERT_EQ(archive.frameCount(), 40) << end;
        EXPECT_NE(archive.decodeFrame(39), nullptr) << end;
        EXPECT_EQ(archive.referenceFrame(), 30) << end;
    }
}

TEST_F(DamagedArchive, GarbageBetweenBlocksIsSkippedByTheTagSearch) {
    sw::Bytes garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7 + 3);
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).raw(garbage).picture(1034, secondsAfter(kDay, 1)).raw(sw::Bytes(70, 0x55));
    bytes.picture(1068, secondsAfter(kDay, 2));
    read(bytes.bytes);
    ASSERT_EQ(archive.frameCount(), 3);
    for (int slot = 0; slot < 3; ++slot) EXPECT_NE(archive.decodeFrame(slot), nullptr) << slot;
    EXPECT_EQ(archive.record(1)->time, archive.firstFrameTime() + 1);
}

TEST_F(DamagedArchive, WalkEndsAtAMegabyteWithoutATag) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).raw(sw::Bytes(1048576 + 100, 0)).picture(1034, kDay);
    read(bytes.bytes);
    EXPECT_EQ(archive.frameCount(), 1);

    Archive near;
    near.leadIn(0).picture(1000, kDay).raw(sw::Bytes(1048576 - 200, 0)).picture(1034, kDay);
    read(near.bytes);
    EXPECT_EQ(archive.frameCount(), 2);
}

TEST_F(DamagedArchive, PayloadOfOnlyTheTagOrAboveAMegabyteDoesNotDecode) {
    const sw::Bytes& good = crafted::smallPayload();
    const sw::Bytes tagOnly(good.begin(), good.begin() + 16);
    sw::Bytes largest = good;
    largest.resize(1048576, 0);  // trailing bytes after the JPEG's end are ignored
    sw::Bytes tooLarge = good;
    tooLarge.resize(1048577, 0);
    Archive bytes;
    bytes.leadIn(0)
        .picture(1000, kDay, tagOnly)
        .picture(1034, kDay, largest)
        .picture(1068, kDay, tooLarge)
        .picture(1101, kDay, good);
    read(bytes.bytes);
    ASSERT_EQ(archive.frameCount(), 4);
    EXPECT_EQ(archive.decodeFrame(0), nullptr);
    EXPECT_NE(archive.decodeFrame(1), nullptr);
    EXPECT_EQ(archive.decodeFrame(2), nullptr);
    EXPECT_NE(archive.decodeFrame(3), nullptr);
}

TEST_F(DamagedArchive, NegativeAndZeroSizesDropTheBlockAndNeverWalkBackwards) {
    for (std::int32_t size : {0, -1, -64, -80, INT32_MIN}) {
        sw::BlockHeaderFields lying;
        lying.payloadSize = size;
        lying.stamp = 1034;
        lying.info = crafted::infoAt(kDay);
        Archive bytes;
        // The lying block is followed by its claimed payload; a lead-in that
        // lies the same way must not send the walk back either.
        bytes.block(lying, crafted::smallPayload()).block(lying, crafted::smallPayload()).picture(1068, kDay);
        read(bytes.bytes);
        EXPECT_EQ(archive.frameCount(), 1) << size;
    }
}

TEST_F(DamagedArchive, SoundBlocksWithBadSizesAreDropped) {
    sw::BlockHeaderFields noPayload;
    noPayload.type = sw::kSoundBlock;
    noPayload.payloadSize = -100;
    noPayload.soundBytes = 4000;
    sw::BlockHeaderFields negativeSamples = noPayload;
    negativeSamples.payloadSize = 100;
    negativeSamples.soundBytes = -5;
    negativeSamples.stamp = 10;
    Archive bytes;
    bytes.block(noPayload, {}).block(negativeSamples, sw::Bytes(100, 7)).leadIn(0).picture(1000, kDay);
    read(bytes.bytes);
    EXPECT_EQ(archive.frameCount(), 1);
    EXPECT_EQ(archive.soundDataBytes(), 0);
}

TEST_F(DamagedArchive, PictureThatRunsPastTheEndIsDropped) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).picture(1034, kDay);
    bytes.bytes.resize(bytes.bytes.size() - 10);
    read(bytes.bytes);
    EXPECT_EQ(archive.frameCount(), 1);
    EXPECT_NE(archive.decodeFrame(0), nullptr);
}

TEST_F(DamagedArchive, SoundThatRunsPastTheEndKeepsTheSamplesThatAreThere) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay).sound(0, sw::Bytes(3000, 9));
    bytes.bytes.resize(bytes.bytes.size() - 1000);
    archive.readEventArchive(bytes.source());
    EXPECT_EQ(archive.frameCount(), 1);
    const std::vector<std::uint8_t> wave = crafted::fileBytes(archive.soundFilePath());
    ASSERT_EQ(wave.size(), 44u + 3000u);
    EXPECT_EQ(wave[44 + 1999], 9);
    EXPECT_EQ(wave[44 + 2000], 0x80);
}

TEST_F(DamagedArchive, FullDirectoryOfTwoHundredFiftyFiveEntries) {
    Archive bytes(sw::kKindAutomaticEvent, 0, kDay, 255);
    bytes.leadIn(0).picture(1000, kDay);
    read(bytes.bytes);
    EXPECT_EQ(archive.frameCount(), 1);

    Archive directoryPastTheEnd(sw::kKindAutomaticEvent, 0, kDay, 255);
    directoryPastTheEnd.bytes.resize(48 + 100);
    read(directoryPastTheEnd.bytes);
    EXPECT_EQ(archive.frameCount(), 0);
}

TEST_F(DamagedArchive, StampsThatWrapStayInsideTheSlotTable) {
    Archive bytes;
    bytes.leadIn(0).picture(0xFFFFFF00u, kDay).picture(0x00000100u, kDay).picture(0x7FFFFFFFu, kDay);
    bytes.picture(0x80000000u, kDay);
    read(bytes.bytes);
    EXPECT_GE(archive.frameCount(), 1);
    EXPECT_LE(archive.frameCount(), 900);
    for (int slot = 0; slot < archive.frameCount(); ++slot) ASSERT_NE(archive.record(slot), nullptr);
}

TEST_F(DamagedArchive, ListsStopAtNineHundredRecords) {
    Archive bytes;
    bytes.leadIn(0);
    const sw::Bytes tiny(crafted::smallPayload().begin(), crafted::smallPayload().begin() + 20);
    for (std::uint32_t i = 0; i < 1000; ++i) bytes.picture(1000 + i * 30, kDay, tiny);
    read(bytes.bytes);
    // Every tenth picture shares a slot with the one before; the walk stops
    // after the 900th picture taken, stamp 1000 + 899 * 30, in slot 809.
    ASSERT_EQ(archive.frameCount(), 810);
    EXPECT_EQ(archive.record(archive.frameCount() - 1)->stamp, 1000 + 899 * 30);
}

// Tags every 14 bytes: each block found by the search is of no known type and
// each next header misses its tag, so the walk searches again and again. The
// window keeps that linear; re-reading a megabyte per search would not finish.
TEST_F(DamagedArchive, FileDenseWithTagsThatLeadNowhereEnds) {
    Archive bytes;
    bytes.leadIn(0).picture(1000, kDay);
    const std::size_t start = bytes.bytes.size();
    const std::string pattern("VORNIQ-TECH.\0\0", 14);
    while (bytes.bytes.size() < start + 4 * 1048576)
        bytes.bytes.insert(bytes.bytes.end(), pattern.begin(), pattern.end());
    bytes.picture(1034, kDay);
    read(bytes.bytes);
    EXPECT_EQ(archive.frameCount(), 2);
}

#ifndef _WIN32
// A card file of 4 GiB of zeros (sparse here, so the test costs no disk).
TEST_F(DamagedArchive, FourGibibytesOfZerosEndAfterOneSearch) {
    ScratchFolder folder(L"orvelle-zeros");
    const std::wstring path = folder.file(L"Video.dvt");
    {
        File file;
        ASSERT_TRUE(file.open(path, File::Mode::Create));
        ASSERT_TRUE(file.seek((std::int64_t{1} << 32) - 1));
        const std::uint8_t zero = 0;
        ASSERT_TRUE(file.write(&zero, 1));
    }
    archive.readEventArchive(path);
    EXPECT_EQ(archive.frameCount(), 0);
    EXPECT_EQ(archive.header().triggerKind, 0);
    EXPECT_EQ(VideoArchive::countChapterFrames(path), 0);
}
#endif

}  // namespace
