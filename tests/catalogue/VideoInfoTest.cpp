#include <gtest/gtest.h>

#include <memory>

#include "CardFolder.h"
#include "CatalogueSamples.h"
#include "app/ModelCode.h"
#include "recording/MemorySource.h"
#include "recording/VideoInfo07.h"

namespace {

using catalogue_test::chapterSpec;
using catalogue_test::eventSpec;

class VideoInfoTest : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }

    void readEvent(const samplewriter::ArchiveSetup& setup) {
        archive.readEventArchive(std::make_unique<MemorySource>(samplewriter::buildArchive(setup)));
    }

    VideoArchive archive;
};

TEST_F(VideoInfoTest, EventRecordingAnswersFromTheArchiveItself) {
    readEvent(eventSpec(90, 45));
    const VideoInfo07 info(archive);

    ASSERT_EQ(info.frameCount(), 90);
    EXPECT_EQ(info.triggerKind(), 1);
    EXPECT_EQ(info.referenceFrame(), 45);
    EXPECT_EQ(info.referenceRecord(), archive.record(45));
    for (int i = 0; i < info.frameCount(); ++i) EXPECT_EQ(info.frameRecord(i), archive.record(i)) << i;
    EXPECT_EQ(info.firstFrameTime(), archive.firstFrameTime());
    EXPECT_EQ(info.lastFrameTime(), archive.lastFrameTime());
    EXPECT_NE(info.firstFrameTime(), 0);
    EXPECT_EQ(info.recordedAt(), archive.header().recordedAt);
    EXPECT_DOUBLE_EQ(info.headerGx(), archive.header().headerGx);
    EXPECT_DOUBLE_EQ(info.headerGy(), archive.header().headerGy);

    EXPECT_EQ(info.shortCode(), L"0000");
    EXPECT_EQ(info.longCode(), L"00000000");
    EXPECT_EQ(info.pictureStep(), 1);
    EXPECT_FALSE(info.informationMissing());
}

TEST_F(VideoInfoTest, IndicesOutsideTheFramesGiveNoRecord) {
    readEvent(eventSpec(90, 45));
    const VideoInfo07 info(archive);
    EXPECT_EQ(info.frameRecord(-1), nullptr);
    EXPECT_EQ(info.frameRecord(info.frameCount()), nullptr);
    EXPECT_EQ(info.frameRecord(VideoArchive::kSlotCount), nullptr);
    EXPECT_NE(info.frameRecord(info.frameCount() - 1), nullptr);
}

TEST_F(VideoInfoTest, EventFailingValidationHasNoDetection) {
    samplewriter::ArchiveSetup setup = eventSpec(90, 45);
    setup.eventStamp = 0;
    readEvent(setup);
    const VideoInfo07 info(archive);
    EXPECT_EQ(info.triggerKind(), 0);
    EXPECT_EQ(info.referenceFrame(), -1);
    EXPECT_EQ(info.referenceRecord(), nullptr);
}

TEST_F(VideoInfoTest, ChapterHasNoReferenceFrame) {
    archive.readChapterArchive(std::make_unique<MemorySource>(samplewriter::buildArchive(chapterSpec(40))));
    const VideoInfo07 info(archive);
    EXPECT_EQ(info.triggerKind(), 12);
    EXPECT_EQ(info.frameCount(), 40);
    EXPECT_EQ(info.referenceFrame(), -1);
    EXPECT_EQ(info.referenceRecord(), nullptr);
}

TEST_F(VideoInfoTest, FollowsTheArchiveWhenItIsReadAgain) {
    readEvent(eventSpec(90, 45));
    const VideoInfo07 info(archive);
    archive.close();
    EXPECT_EQ(info.frameCount(), 0);
    EXPECT_EQ(info.frameRecord(0), nullptr);
    EXPECT_EQ(info.referenceRecord(), nullptr);
}

TEST_F(VideoInfoTest, OneShotFolderCountsItsPictures) {
    CardFolder folder;
    for (int i = 0; i < 3; ++i) {
        const std::wstring name = L"P" + std::to_wstring(i) + L".dpc";
        samplewriter::writeBytes(folder.pathOf(name),
                                 catalogue_test::oneShotBytes(CalendarTime{2009, 6, 15, 9, i, 0}, i));
    }
    archive.readOneShotFolder(folder.path());
    const VideoInfo07 info(archive);
    EXPECT_EQ(info.frameCount(), 3);
    EXPECT_EQ(info.triggerKind(), 11);
}

TEST_F(VideoInfoTest, DeletingTheViewLeavesTheArchive) {
    readEvent(eventSpec(30, 10));
    std::unique_ptr<IVideoInfo> info = std::make_unique<VideoInfo07>(archive);
    info.reset();
    EXPECT_EQ(archive.frameCount(), 30);
}

}  // namespace
