// The chapter change of a video-memory recording under Wine: the next chapter
// is read ahead while the current one plays and taken over at its end without
// closing the sound or blanking the picture; a preparation is dropped when
// something else is opened, and one that failed leaves the old way of changing.
#include <gtest/gtest.h>

#include "app/Texts.h"
#include "engine/EngineFixture.h"
#include "media/ISoundPlayer.h"
#include "support/MessageBoxAnswerer.h"
#include "tools/samplewriter/SampleArchive.h"

class ChapterChangeTest : public EngineTest {
protected:
    bool waitForPrepared(int chapter) {
        return pumpUntil([&] { return player->preparedChapter() == chapter; }, kPatienceMs);
    }
};

TEST_F(ChapterChangeTest, TheEndOfAChapterGoesOnIntoThePreparedOneWithoutClosingAnything) {
    openVideoFolder(samples().videoFolder);
    ASSERT_TRUE(waitForPrepared(1));
    player->playFrom(585);
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 586; }, kPatienceMs));

    // Watched after every message until the next chapter is on: never closed, never blank.
    bool soundClosed = false;
    bool pictureBlank = false;
    bool stopped = false;
    ASSERT_TRUE(pumpUntil(
        [&] {
            soundClosed = soundClosed || player->soundPlayer().getState() == ISoundPlayer::stateClosed;
            pictureBlank = pictureBlank || player->shownFrame() < 0;
            stopped = stopped || player->playState() != VideoPlayer::statePlaying;
            return player->chapter() == 1;
        },
        kPatienceMs));
    EXPECT_FALSE(soundClosed);
    EXPECT_FALSE(pictureBlank);
    EXPECT_FALSE(stopped);
    // The prepared first picture comes at its time, before any decode of the new chapter.
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() <= 1; }, kPatienceMs));
    EXPECT_EQ(player->shownFrame(), 0);
    EXPECT_EQ(player->folder(), samples().videoFolder);
    ASSERT_NE(player->info(), nullptr);
    EXPECT_EQ(player->info()->frameCount(), 600);

    // The clock is the next chapter's sound from its start, and the chapter after it is read ahead.
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 5; }, kPatienceMs));
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::statePlaying);
    EXPECT_LT(player->soundPlayer().getPosition(), 3000);
    EXPECT_LT(player->currentFrame(), 30);
    EXPECT_TRUE(waitForPrepared(2));
    player->pause();
}

TEST_F(ChapterChangeTest, APausedChangePlaysOnFromTheNextChapter) {
    openVideoFolder(samples().videoFolder);
    ASSERT_TRUE(waitForPrepared(1));
    player->playFrom(595);
    ASSERT_TRUE(pumpUntil([&] { return player->chapter() == 1; }, kPatienceMs));
    player->pause();
    pumpFor(300);
    const std::int32_t held = player->soundPlayer().getPosition();
    EXPECT_LT(held, 1000);
    player->resume();
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 8; }, kPatienceMs));
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_GE(player->soundPlayer().getPosition(), held);
    // A seek back within the new chapter plays the new chapter's sound, not the old one's end.
    player->seekAbsolute(600 + 2, VideoPlayer::statePlaying);
    ASSERT_TRUE(pumpUntil([&] { return player->currentFrame() >= 4; }, kPatienceMs));
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_LT(player->soundPlayer().getPosition(), 2000);
    player->pause();
}

TEST_F(ChapterChangeTest, APreparedChapterIsDroppedWhenAnythingElseIsOpened) {
    openVideoFolder(samples().videoFolder);
    ASSERT_TRUE(waitForPrepared(1));
    // Another chapter sought: opened the usual way, and its own next one prepared.
    player->seekAbsolute(1250, VideoPlayer::stateStopped);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->preparedChapter(), -1);  // the last chapter has none after it
    player->seekAbsolute(10, VideoPlayer::stateStopped);
    EXPECT_EQ(player->chapter(), 0);
    ASSERT_TRUE(waitForPrepared(1));

    // Another folder listed.
    player->buildChapterList(samples().brokenFolder);
    EXPECT_EQ(player->preparedChapter(), -1);

    // Another recording opened.
    openVideoFolder(samples().videoFolder);
    ASSERT_TRUE(waitForPrepared(1));
    useMode(DisplayModeEvent);
    player->openEventRecording(samples().eventFolder);
    EXPECT_EQ(player->preparedChapter(), -1);
    pumpFor(200);
    EXPECT_EQ(player->preparedChapter(), -1);
}

TEST_F(ChapterChangeTest, AFailedPreparationChangesChapterTheOldWay) {
    useMode(DisplayModeVideo);
    player->buildChapterList(samples().brokenFolder);
    const std::wstring chapter = samples().brokenSecondChapter;
    const std::wstring kept = chapter + L".prepared";
    ASSERT_TRUE(CopyFileW(chapter.c_str(), kept.c_str(), FALSE));
    ASSERT_TRUE(samplewriter::writeBytes(chapter, samplewriter::Bytes(20, 0x5A)));

    MessageBoxAnswerer answerer;
    ASSERT_TRUE(player->openChapter(0));
    pumpFor(500);  // time for the preparation to fail
    EXPECT_EQ(player->preparedChapter(), -1);
    EXPECT_TRUE(answerer.boxes().empty());
    ASSERT_TRUE(MoveFileExW(kept.c_str(), chapter.c_str(), MOVEFILE_REPLACE_EXISTING));

    player->playFrom(EngineSamples::brokenFirstFrames - 5);
    ASSERT_TRUE(pumpUntil([&] { return player->chapter() == 1; }, kPatienceMs));
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    ASSERT_NE(player->info(), nullptr);
    EXPECT_EQ(player->info()->frameCount(), EngineSamples::brokenSecondFrames);
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 3; }, kPatienceMs));
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(owner->resets, 0);
    player->pause();
}
