// The console panel under Wine with a real engine: which buttons the state
// allows, the event offset in digit pictures, what the buttons and the bar do
// to the engine and the owner, video memory's chapter buttons, one-shot mode.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "console-info/PanelTestSupport.h"
#include "media/VideoPlayer.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/PlayButton.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/main/ConsolePanel.h"

namespace {

int offsetPictureId(wchar_t character) {
    if (character >= L'0' && character <= L'9') return IDB_OFFSET_DIGIT_0 + (character - L'0');
    switch (character) {
        case L'.':
            return IDB_OFFSET_POINT;
        case L'+':
            return IDB_OFFSET_PLUS;
        case L'-':
            return IDB_OFFSET_MINUS;
        default:
            return IDB_OFFSET_PLUS_MINUS;
    }
}

const std::wstring kNoOffset = L"\u00b100.0";

}  // namespace

class ConsolePanelTest : public PanelTest {
protected:
    ::testing::AssertionResult showsOffset(const std::wstring& text) {
        const Snapshot shot(console->handle());
        return showsCharacters(shot, text, shot.width() - ConsolePanel::offsetFromRight, ConsolePanel::offsetTop,
                               offsetPictureId);
    }
    std::wstring tipOf(ImageButton* button) {
        wchar_t text[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TrackToolTip::toolInfoSize;
        tool.hwnd = console->handle();
        tool.uId = reinterpret_cast<UINT_PTR>(button->handle());
        tool.lpszText = text;
        SendMessageW(console->toolTip()->handle(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return text;
    }
    std::vector<ImageButton*> allButtons() const {
        return {console->playButton(), console->stopButton(),         console->previousButton(),
                console->nextButton(), console->frameForwardButton(), console->frameBackButton()};
    }
    static bool isVisible(Window* control) { return IsWindowVisible(control->handle()) != FALSE; }
};

TEST_F(ConsolePanelTest, NothingOpenDisablesEveryButtonAndShowsNoOffset) {
    for (ImageButton* button : allButtons()) EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(isVisible(console->positionBar()));
    EXPECT_TRUE(showsOffset(kNoOffset));
}

TEST_F(ConsolePanelTest, TheFirstAndLastFramesDisableTheStepsThatWouldLeaveTheRecording) {
    openEvent(samples().eventFolder);
    EXPECT_TRUE(console->playButton()->isEnabled());
    EXPECT_TRUE(console->previousButton()->isEnabled());
    EXPECT_TRUE(console->nextButton()->isEnabled());
    EXPECT_TRUE(console->frameForwardButton()->isEnabled());
    EXPECT_FALSE(console->stopButton()->isEnabled());
    EXPECT_FALSE(console->frameBackButton()->isEnabled());
    PlayTrackBar* bar = console->positionBar();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), PanelSamples::eventFrames - 1);
    EXPECT_EQ(bar->markerValue, PanelSamples::eventReference);
    EXPECT_EQ(bar->markerKind, 1);

    player->seek(PanelSamples::eventFrames - 1);
    EXPECT_FALSE(console->frameForwardButton()->isEnabled());
    EXPECT_TRUE(console->frameBackButton()->isEnabled());
    EXPECT_TRUE(console->stopButton()->isEnabled());
    EXPECT_EQ(bar->value(), PanelSamples::eventFrames - 1);
}

// The event at frame 300: frame 0 is ten seconds before it, frame 315 half a second after.
TEST_F(ConsolePanelTest, TheOffsetCountsTenthsOfASecondFromTheEvent) {
    openEvent(samples().eventFolder);
    EXPECT_TRUE(showsOffset(L"-10.0"));
    player->seek(315);
    EXPECT_TRUE(showsOffset(L"+00.5"));
    player->seek(PanelSamples::eventReference);
    EXPECT_TRUE(showsOffset(kNoOffset));

    // A repaint of the whole panel draws the same offset again.
    player->seek(315);
    InvalidateRect(console->handle(), nullptr, TRUE);
    EXPECT_TRUE(showsOffset(L"+00.5"));
}

TEST_F(ConsolePanelTest, ARecordingWithoutADetectionShowsNoOffsetAndNoMarker) {
    openEvent(samples().undetectedFolder);
    ASSERT_NE(player->info(), nullptr);
    ASSERT_EQ(player->info()->triggerKind(), 0);
    EXPECT_TRUE(showsOffset(kNoOffset));
    player->seek(PanelSamples::manualFrames - 1);
    EXPECT_TRUE(showsOffset(kNoOffset));
    EXPECT_EQ(console->positionBar()->markerKind, 0);
    EXPECT_EQ(console->positionBar()->markerValue, -1);
}

// Integer tenths truncated toward zero, as the recorder's own display counts.
TEST(ConsolePanelOffsetText, TruncatesTowardZeroAndNeedsAnEventWithItsFrame) {
    EXPECT_EQ(ConsolePanel::eventOffsetText(true, 2, 1, 30, 30), L"-00.9");        // -29 frames: -9.67 tenths
    EXPECT_EQ(ConsolePanel::eventOffsetText(true, 1, 32, 30, 30), L"\u00b100.0");  // 2 frames: 0.67 tenths
    EXPECT_EQ(ConsolePanel::eventOffsetText(true, 1, 15, 0, 10), L"+01.5");
    EXPECT_EQ(ConsolePanel::eventOffsetText(true, 12, 45, 30, 30), L"\u00b100.0");
    EXPECT_EQ(ConsolePanel::eventOffsetText(true, 1, 45, -1, 30), L"\u00b100.0");
}

TEST_F(ConsolePanelTest, PlayPausesResumesStopsAndTheOwnerOpensNeighbouringFolders) {
    openEvent(samples().eventFolder);
    click(console->playButton()->handle());
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    EXPECT_EQ(console->playButton()->state(), 1);
    click(console->playButton()->handle());
    EXPECT_EQ(player->playState(), VideoPlayer::statePaused);
    EXPECT_EQ(console->playButton()->state(), 0);
    click(console->playButton()->handle());
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);

    ASSERT_TRUE(pumpUntil([&] { return player->currentFrame() > 0; }, kPatienceMs));
    EXPECT_TRUE(console->stopButton()->isEnabled());
    click(console->stopButton()->handle());
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_FALSE(console->stopButton()->isEnabled());
    EXPECT_EQ(console->playButton()->state(), 0);

    click(console->nextButton()->handle());
    click(console->previousButton()->handle());
    EXPECT_EQ(host->neighbourRequests, (std::vector<int>{PanelOwner::nextFolder, PanelOwner::previousFolder}));

    // Closed while playing (its folder vanished): nothing plays, so no pause face.
    player->playFrom(0);
    ASSERT_EQ(console->playButton()->state(), 1);
    host->resetToEmpty();
    EXPECT_EQ(console->playButton()->state(), 0);
    EXPECT_FALSE(console->playButton()->isEnabled());
}

TEST_F(ConsolePanelTest, HoldingFrameForwardStepsOneFrameAtATimeUntilTheLastFrame) {
    openEvent(samples().manualFolder);
    const int last = PanelSamples::manualFrames - 1;
    click(console->frameForwardButton()->handle());
    EXPECT_EQ(player->currentFrame(), 1);
    click(console->frameBackButton()->handle());
    EXPECT_EQ(player->currentFrame(), 0);

    player->seek(last - 4);
    host->refreshedFrames.clear();
    HWND forward = console->frameForwardButton()->handle();
    pressAt(forward, 5, 5);
    ASSERT_TRUE(pumpUntil([&] { return !console->frameForwardButton()->isEnabled(); }, kPatienceMs));
    EXPECT_EQ(player->currentFrame(), last);
    pumpFor(350);  // a disabled button no longer repeats
    EXPECT_EQ(player->currentFrame(), last);
    releaseAt(forward, 5, 5);
    EXPECT_EQ(player->currentFrame(), last);

    // Each step moved exactly one frame, and it took more than the press.
    std::vector<int> frames = host->refreshedFrames;
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    ASSERT_GE(frames.size(), 3u);
    for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[i], frames[i - 1] + 1) << "step " << i;
    EXPECT_EQ(frames.back(), last);
}

TEST_F(ConsolePanelTest, DraggingTheBarStopsThePictureFollowsTheThumbAndReleasePlaysOn) {
    openEvent(samples().eventFolder);
    player->playFrom(0);
    PlayTrackBar* bar = console->positionBar();
    pressAt(bar->handle(), 100, 15);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(player->currentFrame(), bar->value());

    moveTo(bar->handle(), 200, 15);
    const int dragged = bar->value();
    EXPECT_GT(dragged, player->currentFrame());  // a move alone does not seek
    host->refresh();                             // nor does a refresh put the thumb back
    EXPECT_EQ(bar->value(), dragged);
    ASSERT_TRUE(pumpUntil([&] { return player->currentFrame() == dragged; }, kPatienceMs));
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);

    releaseAt(bar->handle(), 200, 15);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    EXPECT_GE(player->currentFrame(), dragged);
    EXPECT_LT(player->currentFrame(), dragged + 5);

    // Stopped before the drag, stopped after it.
    player->seek(0);
    pressAt(bar->handle(), 50, 15);
    releaseAt(bar->handle(), 50, 15);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->currentFrame(), bar->value());
}

TEST_F(ConsolePanelTest, OneChapterDisablesBothChapterButtons) {
    openVideo(samples().singleChapterFolder);
    EXPECT_TRUE(console->playButton()->isEnabled());
    EXPECT_FALSE(console->frameForwardButton()->isEnabled());
    EXPECT_FALSE(console->frameBackButton()->isEnabled());
    EXPECT_EQ(console->positionBar()->maximum(), PanelSamples::chapterFrames - 1);
}

// Every chapter before the last counts as 600 frames, the last as its own.
TEST_F(ConsolePanelTest, ChapterButtonsMoveByChapterAndTheBarCountsOverAllChapters) {
    openVideo(samples().videoFolder);
    const int total = 600 * (PanelSamples::chapterCount - 1) + PanelSamples::chapterFrames;
    PlayTrackBar* bar = console->positionBar();
    EXPECT_EQ(bar->maximum(), total - 1);
    EXPECT_TRUE(console->frameForwardButton()->isEnabled());
    EXPECT_FALSE(console->frameBackButton()->isEnabled());

    player->seek(5);
    click(console->frameForwardButton()->handle());
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_EQ(player->currentFrame(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(bar->value(), 600);
    EXPECT_TRUE(console->frameBackButton()->isEnabled());

    click(console->frameForwardButton()->handle());
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_FALSE(console->frameForwardButton()->isEnabled());
    click(console->frameBackButton()->handle());
    EXPECT_EQ(player->chapter(), 1);

    // Pressed and held, the chapter buttons do not step frames.
    player->seek(3);
    pressAt(console->frameForwardButton()->handle(), 5, 5);
    EXPECT_EQ(player->chapter(), 1);
    EXPECT_EQ(player->currentFrame(), 3);
    releaseAt(console->frameForwardButton()->handle(), 5, 5);
    EXPECT_EQ(player->chapter(), 2);
}

TEST_F(ConsolePanelTest, ReleasingTheBarInVideoMemoryOpensTheChapterUnderTheThumb) {
    openVideo(samples().videoFolder);
    PlayTrackBar* bar = console->positionBar();
    RECT client;
    GetClientRect(bar->handle(), &client);
    pressAt(bar->handle(), client.right - 5, 15);
    releaseAt(bar->handle(), client.right - 5, 15);
    ASSERT_GE(bar->value(), 1200);
    EXPECT_EQ(player->chapter(), 2);
    EXPECT_EQ(player->currentFrame(), std::min(bar->value() - 1200, PanelSamples::chapterFrames - 1));
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
}

TEST_F(ConsolePanelTest, PlayAtTheEndOfTheLastChapterStartsAgainFromTheFirst) {
    openVideo(samples().videoFolder);
    const int total = 600 * (PanelSamples::chapterCount - 1) + PanelSamples::chapterFrames;
    player->seekAbsolute(total - 6, VideoPlayer::stateStopped);
    click(console->playButton()->handle());
    EXPECT_EQ(player->chapter(), 2);  // not yet the end: plays on where it is
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);

    // Played to its end, the last chapter stays stopped at its last frame.
    ASSERT_TRUE(pumpUntil([&] { return player->playState() == VideoPlayer::stateStopped; }, kPatienceMs));
    ASSERT_EQ(player->chapter(), 2);
    ASSERT_EQ(player->currentFrame(), PanelSamples::chapterFrames - 1);
    click(console->playButton()->handle());
    EXPECT_EQ(player->chapter(), 0);
    EXPECT_EQ(player->playState(), VideoPlayer::statePlaying);
    EXPECT_LT(player->currentFrame(), 5);
}

TEST_F(ConsolePanelTest, TheStepButtonsTipsNameChaptersInVideoMemory) {
    console->setModeTooltips(DisplayModeVideo);
    EXPECT_EQ(tipOf(console->frameForwardButton()), loadText(5515));
    EXPECT_EQ(tipOf(console->frameBackButton()), loadText(5514));
    console->setModeTooltips(DisplayModeEvent);
    EXPECT_EQ(tipOf(console->frameForwardButton()), loadText(5076));
    EXPECT_EQ(tipOf(console->frameBackButton()), loadText(5077));
}

TEST_F(ConsolePanelTest, TheBackgroundStretchesTheMiddleBetweenBothEnds) {
    const Snapshot shot(console->handle());
    const int right = shot.width();
    // Rows above the buttons, the bar and the offset.
    EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_LEFT, 0, 0, 250, 11));
    EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_RIGHT, right - 400, 0, 400, 26));
    for (int x = 250; x < right - 400; x += 37) EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_MIDDLE, x, 0, 1, 26));
}

TEST_F(ConsolePanelTest, OneShotModeHidesTheStepsAndTheBarAndShowsThePlainBackground) {
    openShot(samples().shotFolder, samples().datedShot);
    ASSERT_EQ(player->playState(), VideoPlayer::stateStopped);
    for (ImageButton* button : allButtons()) EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(isVisible(console->playButton()));
    EXPECT_TRUE(isVisible(console->nextButton()));
    EXPECT_FALSE(isVisible(console->frameForwardButton()));
    EXPECT_FALSE(isVisible(console->frameBackButton()));
    EXPECT_FALSE(isVisible(console->positionBar()));

    const Snapshot shot(console->handle());
    const int right = shot.width();
    EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_LEFT, 0, 0, 20, 65));
    EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_DISABLED_RIGHT, right - 74, 0));
    for (int x : {188, 200, 400, right - 75}) EXPECT_TRUE(showsPicture(shot, IDB_CONSOLE_DISABLED_MIDDLE, x, 0, 1, 65));

    openEvent(samples().eventFolder);
    EXPECT_TRUE(isVisible(console->frameForwardButton()));
    EXPECT_TRUE(isVisible(console->positionBar()));
    EXPECT_TRUE(console->frameForwardButton()->isEnabled());
    EXPECT_FALSE(console->frameBackButton()->isEnabled());
}
