#include <gtest/gtest.h>

#include "app/Exception.h"
#include "app/Texts.h"
#include "recording/CraftedArchive.h"
#include "recording/VideoArchive.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;
using crafted::Archive;
using crafted::kDay;

sw::ArchiveSetup smallChapter(int frames) {
    sw::ArchiveSetup setup;
    setup.kind = sw::ArchiveKind::Chapter;
    setup.kindByte = sw::kKindVideo;
    setup.fps = 10;
    setup.frameCount = frames;
    setup.width = 32;
    setup.height = 16;
    return setup;
}

class ChapterArchive : public ::testing::Test {
protected:
    void SetUp() override { crafted::useShippedModelCode(); }

    ScratchFolder folder{L"orvelle-chapter"};
    VideoArchive archive;
};

TEST_F(ChapterArchive, SampleChapterHasTenFramesASecondAndNoDetection) {
    const sw::ArchiveSetup setup = smallChapter(150);
    const std::wstring path = folder.file(L"Video0001.dmv");
    ASSERT_TRUE(sw::writeBytes(path, sw::buildArchive(setup)));
    archive.readChapterArchive(path);

    EXPECT_EQ(archive.frameCount(), 150);
    EXPECT_EQ(archive.referenceFrame(), -1);
    EXPECT_EQ(archive.header().triggerKind, 12);
    for (int frame : {0, 75, 149}) {
        EXPECT_EQ(static_cast<std::uint32_t>(archive.record(frame)->stamp), sw::frameStamp(setup, frame));
        EXPECT_NE(archive.decodeFrame(frame), nullptr);
    }
    EXPECT_EQ(VideoArchive::countChapterFrames(path), 150);
}

TEST_F(ChapterArchive, CountingLeavesTheArchiveAsItWas) {
    const std::wstring first = folder.file(L"Video0001.dmv");
    const std::wstring second = folder.file(L"Video0002.dmv");
    ASSERT_TRUE(sw::writeBytes(first, sw::buildArchive(smallChapter(40))));
    ASSERT_TRUE(sw::writeBytes(second, sw::buildArchive(smallChapter(25))));
    archive.readChapterArchive(first);
    const std::wstring sound = archive.soundFilePath();

    EXPECT_EQ(VideoArchive::countChapterFrames(second), 25);
    EXPECT_EQ(archive.frameCount(), 40);
    EXPECT_EQ(archive.soundFilePath(), sound);
    EXPECT_NE(archive.decodeFrame(39), nullptr);
}

TEST_F(ChapterArchive, CountingSkipsTheLeadInWithoutTheModelCodeTest) {
    sw::ArchiveSetup foreign = smallChapter(30);
    foreign.modelMajor = 7;
    const Archive empty(sw::kKindVideo);
    auto source = MemorySource(sw::buildArchive(foreign));
    EXPECT_EQ(VideoArchive::countChapterFrames(source), 30);
    EXPECT_THROW(archive.readChapterArchive(std::make_unique<MemorySource>(sw::buildArchive(foreign))),
                 VideoArchiveException);
    auto noBlocks = MemorySource(empty.bytes);
    EXPECT_EQ(VideoArchive::countChapterFrames(noBlocks), 0);
}

TEST_F(ChapterArchive, PicturesNinetySecondsAfterTheFirstAreDropped) {
    Archive bytes(sw::kKindVideo);
    bytes.leadIn(0).picture(500, kDay).picture(500 + 89'950, kDay).picture(500 + 90'000, kDay);
    archive.readChapterArchive(bytes.source());
    EXPECT_EQ(archive.frameCount(), 900);
    auto source = MemorySource(bytes.bytes);
    EXPECT_EQ(VideoArchive::countChapterFrames(source), 900);
}

TEST_F(ChapterArchive, UnreadableChapterCannotBeCounted) {
    try {
        VideoArchive::countChapterFrames(folder.file(L"Video0009.dmv"));
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5510));
    }
    auto shortHeader = MemorySource(sw::Bytes(20, 0));
    EXPECT_THROW(VideoArchive::countChapterFrames(shortHeader), VideoArchiveException);
}

}  // namespace
