#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "resources/ImageIds.h"
#include "ui/controls/PlayButton.h"

namespace {

// Counts its paints, to tell a face change from nothing happening.
class CountingPlayButton : public PlayButton {
public:
    using PlayButton::PlayButton;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return PlayButton::windowProc(message, wParam, lParam);
    }
    int paints = 0;
};

// As the console panel sets it up.
CountingPlayButton* consolePlayButton(HWND parent) {
    auto* button = new CountingPlayButton(parent, 23, 11, 40, 40);
    button->setImages(IDB_PLAY, IDB_PLAY_PRESSED, IDB_PLAY_DISABLED);
    button->bordered = false;
    button->loadPauseImages();
    return button;
}

TEST(PlayButton, PlayingTwiceChangesTheFaceOnce) {
    TestParent parent(100, 70);
    CountingPlayButton* button = consolePlayButton(parent.handle());
    pumpMessages();
    EXPECT_EQ(button->state(), 0);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PLAY, 0, 0));

    button->paints = 0;
    button->setPlaying(1);
    EXPECT_EQ(button->paints, 1);  // at once, not at the next loop turn
    EXPECT_EQ(button->state(), 1);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PAUSE, 0, 0));

    button->paints = 0;
    button->setPlaying(1);
    pumpMessages();
    EXPECT_EQ(button->paints, 0);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PAUSE, 0, 0));
}

TEST(PlayButton, EveryFaceFollowsTheState) {
    TestParent parent(100, 70);
    CountingPlayButton* button = consolePlayButton(parent.handle());
    button->setPlaying(1);
    pressAt(button->handle(), 20, 20);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PAUSE_PRESSED, 0, 0));
    releaseAt(button->handle(), 20, 20);
    button->setEnabled(false);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PAUSE_DISABLED, 0, 0));

    // Back to the play face, pressed and disabled faces included.
    button->setPlaying(0);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PLAY_DISABLED, 0, 0));
    button->setEnabled(true);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PLAY, 0, 0));
    pressAt(button->handle(), 20, 20);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_PLAY_PRESSED, 0, 0));
    releaseAt(button->handle(), 20, 20);
}

}  // namespace
