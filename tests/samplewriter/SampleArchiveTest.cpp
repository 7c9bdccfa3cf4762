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

ArchiveSpec smallEvent() {
    ArchiveSpec spec;
    spec.frameCount = 120;
    spec.eventFrame = 45;
    spec.width = 32;
    spec.height = 24;
    return spec;
}

ArchiveSpec smallChapter() {
    ArchiveSpec spec;
    spec.kind = ArchiveKind::Chapter;
    spec.kindByte = kKindVideo;
    spec.fps = 10;
    spec.frameCount = 35;
    spec.width = 32;
    spec.height = 24;
    return spec;
}

}  // namespace

// Every frame stamp must land in its own slot with the exact period 100/3 ms
// (event) or 100 ms (chapter), whichever way a reader rounds.
TEST(SampleArchive, EveryFrameStampFallsIntoItsOwnSlot) {
    ArchiveSpec event;
    ArchiveSpec chapter = smallChapter();
    chapter.frameCount = 900;
    for (const ArchiveSpec& spec : {event, chapter}) {
        const double period = spec.fps == 30 ? 100.0 / 3.0 : 100.0;
        for (int frame = 0; frame < 900; ++frame) {
            const double elapsed = frameStamp(spec, frame) - frameStamp(spec, 0);
            EXPECT_EQ(static_cast<int>(elapsed / period), frame) << spec.fps << " fps, frame " << frame;
            EXPECT_EQ(static_cast<int>(std::floor(elapsed * 3 / 100 / (spec.fps == 30 ? 1 : 3))), frame);
        }
    }
}

TEST(SampleArchive, EventArchiveHasHeaderLeadInThenSoundAndPicturesInStampOrder) {
    const ArchiveSpec spec = smallEvent();
    ArchiveLayout layout;
    const Bytes archive = buildArchive(spec, &layout);
    EXPECT_EQ(archive[0], kKindAutomaticEvent);
    EXPECT_EQ(be32(archive, 8), frameStamp(spec, 45) + 5);
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
            EXPECT_EQ(block.stamp, frameStamp(spec, pictures));
            EXPECT_EQ(layout.blocks[i].frame, pictures);
            ++pictures;
        } else {
            ASSERT_EQ(block.type, kSoundBlock);
            EXPECT_EQ(block.stamp, spec.firstStamp + 500u * static_cast<std::uint32_t>(sounds));
            EXPECT_EQ(block.payloadSize % 16, 0);
            EXPECT_LE(block.soundBytes, block.payloadSize);
            ++sounds;
        }
    }
    EXPECT_EQ(pictures, spec.frameCount);
    const double samples = static_cast<double>(recordingSound(spec).size());
    EXPECT_EQ(sounds, static_cast<int>(std::ceil(samples / 5512.5)));  // one block per half second
}

// Each picture payload opens with the tag; the lead-in picture carries the model code too.
TEST(SampleArchive, PicturePayloadsCarryTheTagAndTheFrameInformation) {
    ArchiveSpec spec = smallEvent();
    spec.modelMajor = 7;
    spec.modelMinor = 9;
    spec.indicatorFrame = 46;
    ArchiveLayout layout;
    const Bytes archive = buildArchive(spec, &layout);
    const Bytes tag = makePictureTag(7, 9);
    for (const BlockPlacement& block : layout.blocks) {
        if (block.type != kPictureBlock) continue;
        EXPECT_TRUE(
            std::equal(tag.begin(), tag.end(), archive.begin() + static_cast<std::ptrdiff_t>(block.payloadOffset)));
        const int frame = block.frame < 0 ? spec.eventFrame : block.frame;
        const Bytes info = buildPictureInfo(framePictureInfo(spec, frame));
        EXPECT_TRUE(std::equal(info.begin(), info.end(),
                               archive.begin() + static_cast<std::ptrdiff_t>(block.headerOffset + kPictureInfoOffset)));
        EXPECT_EQ(archive[block.headerOffset + kPictureInfoOffset + 29], block.frame == 46 ? 1 : 0);
    }
}

// The reader restores sound by cutting each block at the next block's stamp;
// the blocks are split so that this cut keeps every sample and adds no silence.
TEST(SampleArchive, SoundBlocksEndWhereTheNextBlockBegins) {
    const ArchiveSpec spec = smallEvent();
    const Bytes archive = buildArchive(spec);
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
    EXPECT_EQ(joined, recordingSound(spec));
    EXPECT_EQ(static_cast<std::int64_t>(joined.size()), (frameStamp(spec, 119) - spec.firstStamp + 33) * 11025 / 1000);
}

// The knock at the event stands out from the hum.
TEST(SampleArchive, SoundKnocksAtTheEvent) {
    const ArchiveSpec spec = smallEvent();
    const Bytes sound = recordingSound(spec);
    const std::size_t knock = (frameStamp(spec, 45) - spec.firstStamp) * 11025 / 1000;
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
    const ArchiveSpec spec = smallEvent();
    EXPECT_EQ(frameTime(spec, spec.eventFrame), spec.recordedAt);
    EXPECT_EQ(frameTime(spec, 0), (CalendarTime{2009, 6, 15, 14, 30, 11}));
    EXPECT_EQ(frameTime(spec, 119), (CalendarTime{2009, 6, 15, 14, 30, 14}));
    const std::uint32_t event = eventStampOf(spec);
    EXPECT_GT(event, frameStamp(spec, 0));
    EXPECT_LT(event, frameStamp(spec, 119));
    for (int frame = 0; frame < spec.frameCount; ++frame)
        if (frame != spec.eventFrame)
            EXPECT_GT(std::abs(static_cast<int>(frameStamp(spec, frame)) - static_cast<int>(event)),
                      static_cast<int>(event - frameStamp(spec, spec.eventFrame)));
    // The spike of the event is in the header's raw readings and the event frame's G.
    const Bytes archive = buildArchive(spec);
    EXPECT_GT(be32(archive, 12) >> 16, 560u);
    EXPECT_GT(framePictureInfo(spec, spec.eventFrame).gxDigits, 600);
    EXPECT_LT(framePictureInfo(spec, 10).gxDigits % 8000, 200);
}

TEST(SampleArchive, ChapterCarriesVideoKindAndOneSecondPerTenFrames) {
    const ArchiveSpec spec = smallChapter();
    ArchiveLayout layout;
    const Bytes archive = buildArchive(spec, &layout);
    EXPECT_EQ(archive[0], kKindVideo);
    EXPECT_EQ(frameTime(spec, 0), spec.recordedAt);
    EXPECT_EQ(frameTime(spec, 34), (CalendarTime{2009, 6, 15, 14, 30, 15}));
    ASSERT_EQ(archive[32], 4);
    // Directory entries point at the first picture block of each second.
    for (int second = 0; second < 4; ++second) {
        const std::size_t entry = kRecordingHeaderSize + kDirectoryPrefixSize + second * kDirectoryEntrySize;
        const std::uint32_t offset = be32(archive, entry);
        EXPECT_EQ(be32(archive, entry + 4), frameStamp(spec, second * 10));
        EXPECT_EQ(be32(archive, offset + 4), frameStamp(spec, second * 10));
        EXPECT_EQ(archive[offset + 12], kPictureBlock);
    }
}

TEST(SampleArchive, OptionsLeaveOutSoundAndLeadIn) {
    ArchiveSpec spec = smallChapter();
    spec.withSound = false;
    spec.withLeadIn = false;
    spec.frameCount = 3;
    const std::vector<WalkedBlock> blocks = walk(buildArchive(spec));
    ASSERT_EQ(blocks.size(), 3u);
    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(blocks[frame].stamp, frameStamp(spec, frame));
    spec.frameCount = 0;
    EXPECT_EQ(buildArchive(spec).size(), kRecordingHeaderSize + kDirectoryPrefixSize);
    spec.fps = 0;
    EXPECT_THROW(buildArchive(spec), std::invalid_argument);
}

TEST(SampleArchive, SameSpecGivesTheSameBytes) {
    const ArchiveSpec spec = smallEvent();
    EXPECT_EQ(buildArchive(spec), buildArchive(spec));
    ArchiveSpec other = spec;
    other.recordedAt.second += 1;
    EXPECT_NE(recordingSound(spec), recordingSound(other));
}

TEST(SampleArchive, OneShotFileIsOneTaggedPictureBlock) {
    OneShotSpec spec;
    spec.width = 40;
    spec.height = 30;
    spec.fileIndex = 17;
    spec.stamp = 123456;
    spec.gxDigits = 8120;
    const Bytes file = buildOneShotFile(spec);
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
    ArchiveSpec chapter = smallChapter();
    chapter.recordedAt = CalendarTime{2009, 12, 31, 23, 59, 58};
    EXPECT_EQ(frameTime(chapter, 30), (CalendarTime{2010, 1, 1, 0, 0, 1}));
    ArchiveSpec event;
    event.recordedAt = CalendarTime{2008, 3, 1, 0, 0, 5};
    EXPECT_EQ(frameTime(event, 0), (CalendarTime{2008, 2, 29, 23, 59, 53}));
    event.recordedAt = CalendarTime{2009, 3, 1, 0, 0, 5};
    EXPECT_EQ(frameTime(event, 0), (CalendarTime{2009, 2, 28, 23, 59, 53}));
}
