// Video-memory recordings under Wine: the chapter list, playing on from one
// chapter into the next, stopping after the last, frames counted over all
// chapters with the picture of the frame reached on screen, and a chapter
// that cannot be read.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/Texts.h"
#include "engine/EngineFixture.h"
#include "media/ISoundPlayer.h"
#include "platform/FileSystem.h"
#include "support/MessageBoxAnswerer.h"
#include "support/WindowPixels.h"
#include "tools/samplewriter/SampleArchive.h"

class ChapterPlaybackTest : public EngineTest {
protected:
    // The playback window as on screen once the picture of frame has come (or
    // the wait has ended without it).
    WindowPixels pictureOnScreen(int frame) {
        waitForShown(frame, 5000);
        pumpFor(50);
        return WindowPixels::ofWindow(player->handle());
    }
    // What a seek inside the open chapter shows for frame, which comes the
    // short way: no chapter is opened on the way.
    WindowPixels pictureSeekedInChapter(int frame) {
        player->seek(frame == 0 ? 1 : frame - 1);
        waitForShown(frame == 0 ? 1 : frame - 1, 5000);
        player->seek(frame);
        return pictureOnScreen(frame);
    }
    static bool samePicture(const WindowPixels& a, const WindowPixels& b) {
        return a.width == b.width && a.height == b.height && a.sameArea(0, 0, b, 0, 0, a.width, a.height);
    }
};

TEST_F(ChapterPlaybackTest, TheChapterListGivesTheTotalAndTheFirstChapterOpensStopped) {
    useMode(DisplayModeVideo);
    EXPECT_EQ(player->buildChapterList(samples().videoFolder), EngineSamples::chapterTotal);
    EXPECT_EQ(player->chapterCount(), 3);
    EXPECT_EQ(player->totalFrames(), EngineSamples::chapterTotal);
    const int chartResets = owner->chartResets;
    ASSERT_TRUE(player->openChapter(0));
    EXPECT_GT(owner->chartResets, chartResets);
    EXPECT_GT(owner->infoRepaints, 0);
    EXPECT_EQ(player->chapter(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->folder(), samples().videoFolder);
    ASSERT_NE(player->info(), nullptr);
    EXPECT_EQ(player->info()->frameCount(), 600);
    EXPECT_TRUE(waitForShown(0));

    EXPECT_FALSE(player->openChapter(3));
    EXPECT_FALSE(player->openChapter(60));
    EXPECT_FALSE(player->openChapter(-1));
}

TEST_F(ChapterPlaybackTest, TheEndOfAChapterPlaysOnIntoTheNextAndTheLastStops) {
    openVideoFolder(samples().videoFolder);
    player->seekAbsolute(590, 1);
    EXPECT_EQ(player->chapter(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);

    ASSERT_TRUE(pumpUntil([&] { return player->chapter() == 1; }, kPatienceMs));
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    ASSERT_TRUE(pumpUntil([&] { return player->currentFrame() >= 3; }, kPatienceMs));
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    EXPECT_LT(player->currentFrame(), 100);  // from the start of the chapter
    bool shownInSecond = false;
    for (const TestPlayer::Arrival& arrival : player->arrivals) {
        shownInSecond = shownInSecond || (arrival.chapter == 1 && arrival.withPicture);
    }
    EXPECT_TRUE(shownInSecond);

    player->seekAbsolute(EngineSamples::chapterTotal - 8, 1);
    EXPECT_EQ(player->chapter(), 2);
    ASSERT_TRUE(waitForState(VideoPlayer::stateStopped));
    pumpFor(300);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->currentFrame(), 149);

    // The play button at the end of the last chapter.
    player->seekAbsolute(0, 1);
    EXPECT_EQ(player->chapter(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    ASSERT_TRUE(
        pumpUntil([&] { return player->shownFrame() >= 0 && player->arrivals.back().chapter == 0; }, kPatienceMs));
    player->pause();
}

TEST_F(ChapterPlaybackTest, AFrameCountedOverAllChaptersOpensItsChapterAndPlaysFromThere) {
    openVideoFolder(samples().videoFolder);
    player->seekAbsolute(1250, 1);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 50; }, kPatienceMs));
    EXPECT_LT(player->shownFrame(), 70);
    EXPECT_GE(player->soundPlayer().getPosition(), 5000);

    // Not playing: the frame is set and shown without playing on.
    player->pause();
    player->seekAbsolute(620, VideoPlayer::statePaused);
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_EQ(player->currentFrame(), 20);
    EXPECT_NE(player->playState(), VideoPlayer::statePlaying);
    EXPECT_EQ(player->shownFrame(), -1);  // the chapter just opened shows nothing old
    const WindowPixels dragged = pictureOnScreen(20);
    EXPECT_EQ(player->shownFrame(), 20);
    EXPECT_FALSE(samePicture(dragged, pictureSeekedInChapter(0)));
    EXPECT_TRUE(samePicture(dragged, pictureSeekedInChapter(20)));

    // Beyond the total nothing happens.
    player->seekAbsolute(EngineSamples::chapterTotal + 1, 1);
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_EQ(player->currentFrame(), 20);
}

// As the position bar released in another chapter while stopped: the picture
// is the frame under the thumb, not the first frame of the chapter opened.
TEST_F(ChapterPlaybackTest, AFrameInAnotherChapterReachedWhileStoppedIsTheOneShown) {
    openVideoFolder(samples().videoFolder);
    ASSERT_TRUE(waitForShown(0));
    player->seekAbsolute(1200 + 75, VideoPlayer::stateStopped);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    const WindowPixels dragged = pictureOnScreen(75);
    EXPECT_EQ(player->shownFrame(), 75);
    EXPECT_TRUE(samePicture(dragged, pictureSeekedInChapter(75)));
    EXPECT_FALSE(samePicture(dragged, pictureSeekedInChapter(0)));
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
}

TEST_F(ChapterPlaybackTest, AChapterThatCannotBeReadEmptiesTheEngineWithAWarning) {
    openVideoFolder(samples().brokenFolder);
    EXPECT_EQ(player->totalFrames(), 600 + EngineSamples::brokenSecondFrames);
    const std::wstring chapter = samples().brokenSecondChapter;
    const std::wstring kept = chapter + L".kept";
    ASSERT_TRUE(CopyFileW(chapter.c_str(), kept.c_str(), FALSE));
    ASSERT_TRUE(samplewriter::writeBytes(chapter, samplewriter::Bytes(20, 0x5A)));

    MessageBoxAnswerer answerer;
    player->seekAbsolute(600, 1);
    pumpFor(200);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, loadText(5510));
    EXPECT_EQ(answerer.boxes()[0].caption, loadText(5005));
    // Owned by the player's window, which the system turns into its top-level window.
    EXPECT_EQ(answerer.boxes()[0].owner, owner->handle());
    EXPECT_EQ(owner->resets, 1);
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    MoveFileExW(kept.c_str(), chapter.c_str(), MOVEFILE_REPLACE_EXISTING);
}

TEST_F(ChapterPlaybackTest, MoreThanSixtyChaptersWarnAndTheFirstSixtyArePlayed) {
    const std::wstring folder = samples().root + L"\\MANY";
    ASSERT_TRUE(platform::createFolder(folder));
    std::vector<std::wstring> files;
    for (int number = 1; number <= 61; ++number) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Video%04d.dmv", number);
        files.push_back(platform::joinPath(folder, name));
        // Only the last listed chapter is read while listing; the rest need only their names.
        const samplewriter::Bytes bytes = number == 60 ? samplewriter::buildArchive([] {
            samplewriter::ArchiveSetup setup;
            setup.kind = samplewriter::ArchiveKind::Chapter;
            setup.kindByte = samplewriter::kKindVideo;
            setup.fps = 10;
            setup.frameCount = 15;
            setup.width = 32;
            setup.height = 24;
            setup.withSound = false;
            return setup;
        }())
                                                       : samplewriter::Bytes(20, 0x5A);
        ASSERT_TRUE(samplewriter::writeBytes(files.back(), bytes));
    }
    useMode(DisplayModeVideo);
    MessageBoxAnswerer answerer;
    EXPECT_EQ(player->buildChapterList(folder), 59 * 600 + 15);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, L"ビデオメモリーデータは60分までしか再生できません。");
    EXPECT_EQ(answerer.boxes()[0].caption, loadText(5005));
    EXPECT_EQ(player->chapterCount(), 60);
    for (const std::wstring& file : files) platform::deleteFile(file);
    platform::deleteFolder(folder);
}
