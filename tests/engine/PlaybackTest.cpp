// Event recordings under Wine: playing by the sound clock or, without sound,
// by the system clock to the last frame and back to the first; seeking near
// and far; requests the loader refused; the open folder vanishing.
#include <gtest/gtest.h>
#include <windows.h>
// mmsystem.h only after windows.h.
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/Exception.h"
#include "app/Texts.h"
#include "engine/EngineFixture.h"
#include "media/ISoundPlayer.h"
#include "platform/FileSystem.h"
#include "support/MessageBoxAnswerer.h"

namespace {

using Arrival = TestPlayer::Arrival;

int lastShownFrame(const std::vector<Arrival>& arrivals, std::size_t from) {
    for (std::size_t i = arrivals.size(); i > from; --i) {
        if (arrivals[i - 1].withPicture) return arrivals[i - 1].frame;
    }
    return -1;
}

}  // namespace

class PlaybackTest : public EngineTest {};

TEST_F(PlaybackTest, OpeningShowsTheFirstFrameStoppedWithTheRecordingsInformation) {
    player->openEventRecording(samples().eventFolder);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->currentFrame(), 0);
    ASSERT_NE(player->info(), nullptr);
    EXPECT_EQ(player->info()->frameCount(), EngineSamples::eventFrames);
    ASSERT_NE(player->info()->referenceRecord(), nullptr);
    EXPECT_EQ(player->recordingTime(), player->info()->referenceRecord()->time);
    EXPECT_NE(player->recordingTime(), 0);
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::stateStopped);
    EXPECT_GT(owner->refreshes, 0);
    EXPECT_TRUE(waitForShown(0));

    player->close();
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    EXPECT_EQ(player->info(), nullptr);
    EXPECT_EQ(player->shownFrame(), -1);
    EXPECT_EQ(player->recordingTime(), 0);
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::stateClosed);
}

TEST_F(PlaybackTest, AFolderWithoutARecordingFailsToOpenAndLeavesNothingOpen) {
    EXPECT_THROW(player->openEventRecording(samples().shotFolder), Exception);
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    EXPECT_EQ(player->info(), nullptr);
}

TEST_F(PlaybackTest, PlayingFollowsTheSoundClockToTheLastFrameAndReturnsToTheFirst) {
    player->openEventRecording(samples().eventFolder);
    ASSERT_TRUE(waitForShown(0));
    player->playFrom(0);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    ASSERT_TRUE(pumpUntil([&] { return player->shownFrame() >= 3; }, kPatienceMs));

    // Moving the sound moves the picture: the engine has no clock of its own.
    const int jumpFrame = 30;
    player->soundPlayer().play(1000);
    const std::size_t beforeJump = player->arrivals.size();
    ASSERT_TRUE(pumpUntil([&] { return player->arrivals.size() >= beforeJump + 3; }, kPatienceMs));
    EXPECT_GE(lastShownFrame(player->arrivals, beforeJump), jumpFrame - 1);

    const std::size_t afterJump = player->arrivals.size();
    ASSERT_TRUE(waitForState(VideoPlayer::stateStopped));
    EXPECT_EQ(owner->highestFrame, EngineSamples::eventFrames - 1);
    EXPECT_TRUE(player->soundPlayer().getState() != ISoundPlayer::statePlaying);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_TRUE(waitForShown(0));

    // Until the end the pictures went forwards and never ahead of the sound
    // clock by more than the one frame requested ahead.
    int previous = -1;
    for (std::size_t i = afterJump; i < player->arrivals.size(); ++i) {
        const Arrival& arrival = player->arrivals[i];
        if (arrival.frame == 0) break;  // back at the start
        EXPECT_GE(arrival.frame, previous);
        EXPECT_LE(arrival.frame, arrival.soundMs * 30 / 1000 + 1);
        previous = arrival.frame;
    }
}

// Plays from frame 0 to the end; false when the picture ran ahead of the
// system clock or the end came sooner than the recording lasts.
::testing::AssertionResult playsByTheSystemClock(VideoPlayer& player, const TestOwner& owner, int frames) {
    const DWORD start = timeGetTime();
    player.playFrom(0);
    int ahead = -1;
    const bool ended = pumpUntil(
        [&] {
            const double due = (timeGetTime() - start) * 30.0 / 1000.0;
            if (player.playState() == VideoPlayer::statePlaying && player.currentFrame() > due + 2) {
                ahead = player.currentFrame();
            }
            return player.playState() == VideoPlayer::stateStopped;
        },
        kPatienceMs);
    const DWORD elapsed = timeGetTime() - start;
    if (!ended) return ::testing::AssertionFailure() << "playing did not end";
    if (ahead >= 0) return ::testing::AssertionFailure() << "frame " << ahead << " came before its time";
    if (elapsed < static_cast<DWORD>((frames - 3) * 1000 / 30)) {
        return ::testing::AssertionFailure() << "ended after " << elapsed << " ms";
    }
    if (owner.highestFrame != frames - 1) {
        return ::testing::AssertionFailure() << "the last frame reached was " << owner.highestFrame;
    }
    if (player.currentFrame() != 0) return ::testing::AssertionFailure() << "not back at the start";
    return ::testing::AssertionSuccess();
}

TEST_F(PlaybackTest, WithoutSoundTheSystemClockPacesPlayingUpToTheLastFrame) {
    // A recording without sound blocks: its sound is empty and ends at once.
    player->openEventRecording(samples().silentFolder);
    ASSERT_TRUE(waitForShown(0));
    EXPECT_TRUE(playsByTheSystemClock(*player, *owner, EngineSamples::silentFrames));

    // No sound at all (no device): the clock runs from the play request.
    owner->highestFrame = -1;
    player->openEventRecording(samples().eventFolder);
    player->soundPlayer().close();
    ASSERT_TRUE(waitForShown(0));
    EXPECT_TRUE(playsByTheSystemClock(*player, *owner, EngineSamples::eventFrames));
}

TEST_F(PlaybackTest, WithoutSoundAPauseIsNotCountedAsPlayingTime) {
    player->openEventRecording(samples().eventFolder);
    player->soundPlayer().close();
    player->playFrom(0);
    pumpFor(200);
    player->pause();
    EXPECT_EQ(player->playState(), VideoPlayer::statePaused);
    const int pausedAt = player->currentFrame();
    pumpFor(600);  // 18 frame periods
    EXPECT_EQ(player->currentFrame(), pausedAt);

    const DWORD resumed = timeGetTime();
    player->resume();
    const std::size_t resumedAt = player->arrivals.size();
    ASSERT_TRUE(pumpUntil([&] { return player->arrivals.size() >= resumedAt + 2; }, kPatienceMs));
    // Had the pause counted, the picture would have jumped 18 frames.
    const int playedSinceResume = static_cast<int>((timeGetTime() - resumed) * 30 / 1000);
    EXPECT_LE(player->currentFrame(), pausedAt + 3 + playedSinceResume);
    player->pause();
}

TEST_F(PlaybackTest, SeekingFarBlanksThePictureUntilItsFrameArrivesAndSeekingNearKeepsIt) {
    player->openEventRecording(samples().eventFolder);
    ASSERT_TRUE(waitForShown(0));

    player->seek(1);
    EXPECT_EQ(player->shownFrame(), 0);  // the old picture stays meanwhile
    ASSERT_TRUE(waitForShown(1));

    player->seek(1 + VideoPlayer::nearSeekFrames);
    EXPECT_EQ(player->shownFrame(), 1);
    ASSERT_TRUE(waitForShown(1 + VideoPlayer::nearSeekFrames));

    player->seek(40);
    EXPECT_EQ(player->shownFrame(), -1);
    EXPECT_EQ(player->currentFrame(), 40);
    ASSERT_TRUE(waitForShown(40));

    // The same frame again asks for nothing.
    const std::size_t arrivals = player->arrivals.size();
    player->seek(40);
    pumpFor(200);
    EXPECT_EQ(player->arrivals.size(), arrivals);

    player->seek(-7);
    EXPECT_EQ(player->currentFrame(), 0);
    player->seek(5000);
    EXPECT_EQ(player->currentFrame(), EngineSamples::eventFrames - 1);
    EXPECT_TRUE(waitForShown(EngineSamples::eventFrames - 1));
}

// The loader's worker holds its lock for a moment after posting a picture
// too; a request refused then has no picture behind it to ask again on.
TEST_F(PlaybackTest, ARequestRefusedWithNoPictureOnItsWayIsAskedAgain) {
    player->openEventRecording(samples().eventFolder);
    ASSERT_TRUE(waitForShown(0));

    std::atomic<bool> locked{false};
    std::thread holder([&] {
        player->loader().runLocked([&](VideoArchive&) {
            locked = true;
            Sleep(150);
            return true;
        });
    });
    while (!locked) Sleep(1);
    player->seek(40);
    pumpFor(20);
    player->seek(41);  // paused, too
    player->playFrom(41);
    player->pause();
    holder.join();
    EXPECT_TRUE(waitForShown(player->currentFrame(), 2000));
}

TEST_F(PlaybackTest, SeekingWhilePlayingOrPausedStops) {
    player->openEventRecording(samples().eventFolder);
    player->playFrom(10);
    EXPECT_EQ(player->currentFrame(), 11);  // the frame due at the next tick is requested
    pumpFor(100);
    player->seek(20);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::stateStopped);
    EXPECT_TRUE(waitForShown(20));
    pumpFor(200);
    EXPECT_EQ(player->currentFrame(), 20);

    player->playFrom(20);
    player->pause();
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::statePaused);
    player->seek(player->currentFrame());
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
}

// The loader drops a request while it decodes; with the engine stopped there
// is no tick to ask again, so the sought frame must still come.
TEST_F(PlaybackTest, ASeekDuringASlowDecodeStillShowsTheSoughtFrame) {
    player->openEventRecording(samples().slowFolder);
    ASSERT_TRUE(waitForShown(0));
    player->seek(1);
    Sleep(3);  // the worker is decoding frame 1 now
    player->seek(2);
    EXPECT_TRUE(waitForShown(2));
    pumpFor(100);
    EXPECT_EQ(player->shownFrame(), 2);
}

TEST_F(PlaybackTest, OperationsWithNothingOpenChangeNothing) {
    MessageBoxAnswerer answerer;
    player->playFrom(0);
    player->resume();
    player->seek(5);
    player->pause();
    player->seekAbsolute(0, 1);
    pumpFor(100);
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(owner->resets, 0);
}

TEST_F(PlaybackTest, TheOpenFolderVanishingDuringPlaybackWarnsOnceAndEmptiesTheEngine) {
    const std::wstring moved = samples().movingFolder + L"-moved";
    player->openEventRecording(samples().movingFolder);
    player->playFrom(0);
    pumpFor(150);
    ASSERT_TRUE(MoveFileW(samples().movingFolder.c_str(), moved.c_str()));
    {
        MessageBoxAnswerer answerer;
        EXPECT_TRUE(pumpUntil([&] { return !answerer.boxes().empty(); }, kPatienceMs));
        pumpFor(300);
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes()[0].text, loadText(5078));
        EXPECT_EQ(answerer.boxes()[0].caption, loadText(5005));
        EXPECT_EQ(answerer.boxes()[0].owner, owner->handle());
    }
    EXPECT_EQ(owner->resets, 1);
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    EXPECT_EQ(player->info(), nullptr);
    EXPECT_EQ(player->shownFrame(), -1);
    EXPECT_EQ(player->soundPlayer().getState(), ISoundPlayer::stateClosed);
    MoveFileW(moved.c_str(), samples().movingFolder.c_str());
}
