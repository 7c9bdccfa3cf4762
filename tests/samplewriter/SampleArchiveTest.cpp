// Whole archives: block order, stamps, slots, sound split and directory,
// checked by walking the bytes here rather than with the archive reader.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/SampleArchive.h"

using namespace samplewriter;

namespace {

std::uint32_t be32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

struct WalkedBlock {
    std::size_t offset;
    std::int32_t payloadSize;
    std::uint32_t stamp;
    std::int32_t soundBytes;
    std::uint8_t type;
};

// Blocks from the end of the directory to the end of the bytes, by their sizes.
std::vector<WalkedBlock> walk(const Bytes& archive) {
    std::vector<WalkedBlock> blocks;
    std::size_t at = kRecordingHeaderSize + kDirectoryPrefixSize + archive[kRecordingHeaderSize] * kDirectoryEntrySize;
    while (at + kBlockHeaderSize <= archive.size()) {
        WalkedBlock block{at, static_cast<std::int32_t>(be32(archive, at)), be32(archive, at + 4),
                          static_cast<std::int32_t>(be32(archive, at + 8)), archive[at + 12]};
        blocks.push_back(block);
        at += kBlockHeaderSize + static_cast<std::size_t>(block.payloadSize);
    }
    EXPECT_EQ(at, archive.size());
    return blocks;
}

ArchiveSetup smallEvent() {
    ArchiveSetup setup;
    setup.frameCount = 120;
    setup.eventFrame = 45;
    setup.width = 32;
    setup.height = 24;
    return setup;
}

ArchiveSetup smallChapter() {
    ArchiveSetup setup;
    setup.kind = ArchiveKind::Chapter;
    setup.kindByte = kKindVideo;
    setup.fps = 10;
    setup.frameCount = 35;
    setup.width = 32;
    setup.height = 24;
    return setup;
}

}  // namespace

// Every frame stamp must land in its own slot with the exact period 100/3 ms
// (event) or 100 ms (chapter), whichever way a reader rounds.
TEST(SampleArchive, EveryFrameStampFallsIntoItsOwnSlot) {
    ArchiveSetup event;
    ArchiveSetup chapter = smallChapter();
    chapter.frameCount = 900;
    for (const ArchiveSetup& setup : {event, chapter}) {
        const double period = setup.fps == 30 ? 100.0 / 3.0 : 100.0;
        for (int frame = 0; frame < 900; ++frame) {
            const double elapsed = frameStamp(setup, frame) - frameStamp(setup, 0);
            EXPECT_EQ(static_cast<int>(elapsed / period), frame) << setup.fps << " fps, frame " << frame;
            EXPECT_EQ(static_cast<int>(std::floor(elapsed * 3 / 100 / (setup.fps == 30 ? 1 : 3))), frame);
        }
    }
}

TEST(SampleArchive, EventArchiveHasHeaderLeadInThenSoundAndPicturesInStampOrder) {
    const ArchiveSetup setup = smallEvent();
    ArchiveLayout layout;
    const Bytes archive = buildArchive(setup, &layout);
    EXPECT_EQ(archive[0], kKindAutomaticEvent);
    EXPECT_EQ(be32(archive, 8), frameStamp(setup, 45) + 5);
    EXPECT_EQ(archive[32], 4);  // one directory entry per second of recording

    const std::vector<WalkedBlock> blocks = walk(archive);
    ASSERT_EQ(blocks.size(), layout.blocks.size());
    ASSERT_EQ(blocks.front().type, kPictureBlock);  // the lead-in picture
    EXPECT_EQ(layout.blocks.front().frame, -1);
    int pictures = 0;
    int sounds = 0;
    std::uint32_t lastStamp = 0;
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        const WalkedBlock& block = blocks[i];
        EXPECT_GE(block.stamp, lastStamp) << "block " << i;
        lastStamp = block.stamp;
        EXPECT_EQ(block.offset, layout.blocks[i].headerOffset);
        if (block.type == kPictureBlock) {
            EXPECT_EQ(block.stamp, frameStamp(setup, pictures));
            EXPECT_EQ(layout.blocks[i].frame, pictures);
            ++pictures;
        } else {
            ASSERT_EQ(block.type, kSoundBlock);
            EXPECT_EQ(block.stamp, setup.firstStamp + 500u * static_cast<std::uint32_t>(sounds));
            EXPECT_EQ(block.payloadSize % 16, 0);
            EXPECT_LE(block.soundBytes, block.payloadSize);
            ++sounds;
        }
    }
    EXPECT_EQ(pictures, setup.frameCount);
    const double samples = static_cast<double>(recordingSound(setup).size());
    EXPECT_EQ(sounds, static_cast<int>(std::ceil(samples / 5512.5)));  // one block per half second
}

// Each picture payload opens with the tag; the lead-in picture carries the model code too.
TEST(SampleArchive, PicturePayloadsCarryTheTagAndTheFrameInformation) {
    ArchiveSetup setup = smallEvent();
    setup.modelMajor = 7;
    setup.modelMinor = 9;
    setup.indicatorFrame = 46;
    ArchiveLayout layout;
    const Bytes archive = buildArchive(setup, &layout);
    const Bytes tag = makePictureTag(7, 9);
    for (const BlockPlacement& block : layout.blocks) {
        if (block.type != kPictureBlock) continue;
        EXPECT_TRUE(
            std::equal(tag.begin(), tag.end(), archive.begin() + static_cast<std::ptrdiff_t>(block.payloadOffset)));
        const int frame = block.frame < 0 ? setup.eventFrame : block.frame;
        const Bytes info = buildPictureInfo(framePictureInfo(setup, frame));
        EXPECT_TRUE(std::equal(info.begin(), info.end(),
                               archive.begin() + static_cast<std::ptrdiff_t>(block.headerOffset + kPictureInfoOffset)));
        EXPECT_EQ(archive[block.headerOffset + kPictureInfoOffset + 29], block.frame == 46 ? 1 : 0);
    }
}

// The reader restores sound by cutting each block at the next block's stamp;
// the blocks are split so that this cut keeps every sample and adds no silence.
TEST(SampleArchive, SoundBlocksEndWhereTheNextBlockBegins) {
    const ArchiveSetup setup = smallEvent();
    const Bytes archive = buildArchive(setup);
    std::vector<WalkedBlock> sound;
    for (const WalkedBlock& block : walk(archive))
        if (block.type == kSoundBlock) sound.push_back(block);
    ASSERT_FALSE(sound.empty());
    Bytes joined;
    std::int64_t written = 0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        if (i + 1 < sound.size()) {
            const std::int64_t gap = static_cast<std::int64_t>(sound[i + 1].stamp - sound[0].stamp) * 11025 / 1000;
            EXPECT_EQ(gap - written, sound[i].soundBytes) << "block " << i;
        }
        EXPECT_LE(sound[i].soundBytes, 10000);
        written += sound[i].soundBytes;
        const auto first = archive.begin() + static_cast<std::ptrdiff_t>(sound[i].offset + kBlockHeaderSize);
        joined.insert(joined.end(), first, first + sound[i].soundBytes);
    }
    EXPECT_EQ(joined, recordingSound(setup));
    EXPECT_EQ(static_cast<std::int64_t>(joined.size()), (frameStamp(setup, 119) - setup.firstStamp + 33) * 11025 / 1000);
}

// The knock at the event stands out from the hum.
TEST(SampleArchive, SoundKnocksAtTheEvent) {
    const ArchiveSetup setup = smallEvent();
    const Bytes sound = recordingSound(setup);
    const std::size_t knock = (frameStamp(setup, 45) - setup.firstStamp) * 11025 / 1000;
    auto loudness = [&](std::size_t from) {
        int peak = 0;
        for (std::size_t i = from; i < from + 500; ++i) peak = std::max(peak, std::abs(sound[i] - 128));
        return peak;
    };
    EXPECT_GT(loudness(knock), 2 * loudness(knock - 2000));
}

// The event lies inside the recording, at the header's time and stamp, so a
// reader's validation of the detection passes.
TEST(SampleArchive, EventTimeAndStampLieInsideTheFrames) {
    const ArchiveSetup setup = smallEvent();
    EXPECT_EQ(frameTime(setup, setup.eventFrame), setup.recordedAt);
    EXPECT_EQ(frameTime(setup, 0), (CalendarTime{2009, 6, 15, 14, 30, 11}));
    EXPECT_EQ(frameTime(setup, 119), (CalendarTime{2009, 6, 15, 14, 30, 14}));
    const std::uint32_t event = eventStampOf(setup);
    EXPECT_GT(event, frameStamp(setup, 0));
    EXPECT_LT(event, frameStamp(setup, 119));
    for (int frame = 0; frame < setup.frameCount; ++frame)
        if (frame != setup.eventFrame)
            EXPECT_GT(std::abs(static_cast<int>(frameStamp(setup, frame)) - static_cast<int>(event)),
                      static_cast<int>(event - frameStamp(setup, setup.eventFrame)));
    // The spike of the event is in the header's raw readings and the event frame's G.
    const Bytes archive = buildArchive(setup);
    EXPECT_GT(be32(archive, 12) >> 16, 560u);
    EXPECT_GT(framePictureInfo(setup, setup.eventFrame).gxDigits, 600);
    EXPECT_LT(framePictureInfo(setup, 10).gxDigits % 8000, 200);
}

TEST(SampleArchive, ChapterCarriesVideoKindAndOneSecondPerTenFrames) {
    const ArchiveSetup setup = smallChapter();
    ArchiveLayout layout;
    const Bytes archive = buildArchive(setup, &layout);
    EXPECT_EQ(archive[0], kKindVideo);
    EXPECT_EQ(frameTime(setup, 0), setup.recordedAt);
    EXPECT_EQ(frameTime(setup, 34), (CalendarTime{2009, 6, 15, 14, 30, 15}));
    ASSERT_EQ(archive[32], 4);
    // Directory entries point at the first picture block of each second.
    for (int second = 0; second < 4; ++second) {
        const std::size_t entry = kRecordingHeaderSize + kDirectoryPrefixSize + second * kDirectoryEntrySize;
        const std::uint32_t offset = be32(archive, entry);
        EXPECT_EQ(be32(archive, entry + 4), frameStamp(setup, second * 10));
        EXPECT_EQ(be32(archive, offset + 4), frameStamp(setup, second * 10));
        EXPECT_EQ(archive[offset + 12], kPictureBlock);
    }
}

TEST(SampleArchive, OptionsLeaveOutSoundAndLeadIn) {
    ArchiveSetup setup = smallChapter();
    setup.withSound = false;
    setup.withLeadIn = false;
    setup.frameCount = 3;
    const std::vector<WalkedBlock> blocks = walk(buildArchive(setup));
    ASSERT_EQ(blocks.size(), 3u);
    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(blocks[frame].stamp, frameStamp(setup, frame));
    setup.frameCount = 0;
    EXPECT_EQ(buildArchive(setup).size(), kRecordingHeaderSize + kDirectoryPrefixSize);
    setup.fps = 0;
    EXPECT_THROW(buildArchive(setup), std::invalid_argument);
}

TEST(SampleArchive, SameSpecGivesTheSameBytes) {
    const ArchiveSetup setup = smallEvent();
    EXPECT_EQ(buildArchive(setup), buildArchive(setup));
    ArchiveSetup other = setup;
    other.recordedAt.second += 1;
    EXPECT_NE(recordingSound(setup), recordingSound(other));
}

TEST(SampleArchive, OneShotFileIsOneTaggedPictureBlock) {
    OneShotSetup setup;
    setup.width = 40;
    setup.height = 30;
    setup.fileIndex = 17;
    setup.stamp = 123456;
    setup.gxDigits = 8120;
    const Bytes file = buildOneShotFile(setup);
    ASSERT_GT(file.size(), kBlockHeaderSize + kPictureTagSize);
    EXPECT_EQ(be32(file, 0), file.size() - kBlockHeaderSize);
    EXPECT_EQ(be32(file, 4), 123456u);
    EXPECT_EQ(file[12], kPictureBlock);
    EXPECT_EQ(file[32 + 1], 0x00);
    EXPECT_EQ(file[32 + 2], 0x17);
    EXPECT_EQ(file[32 + 10], 0x81);
    const Bytes tag = makePictureTag(2, 3);
    EXPECT_TRUE(std::equal(tag.begin(), tag.end(), file.begin() + kBlockHeaderSize));
}

// Frame times cross midnight, month and year ends by the calendar, not by the
// machine's time zone.
TEST(SampleArchive, FrameTimesCrossCalendarBoundaries) {
    ArchiveSetup chapter = smallChapter();
    chapter.recordedAt = CalendarTime{2009, 12, 31, 23, 59, 58};
    EXPECT_EQ(frameTime(chapter, 30), (CalendarTime{2010, 1, 1, 0, 0, 1}));
    ArchiveSetup event;
    event.recordedAt = CalendarTime{2008, 3, 1, 0, 0, 5};
    EXPECT_EQ(frameTime(event, 0), (CalendarTime{2008, 2, 29, 23, 59, 53}));
    event.recordedAt = CalendarTime{2009, 3, 1, 0, 0, 5};
    EXPECT_EQ(frameTime(event, 0), (CalendarTime{2009, 2, 28, 23, 59, 53}));
}
