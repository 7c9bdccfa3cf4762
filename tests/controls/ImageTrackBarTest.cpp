#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "controls/TrackEvents.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageTrackBar.h"

namespace {

using Events = std::vector<std::string>;

constexpr int barWidth = 151, barHeight = 16, thumbWidth = 10;

class ImageTrackBarTest : public ::testing::Test {
protected:
    // The configuration panel's sliders: 151 × 16 with a thumb 10 wide.
    ImageTrackBar* volumeBar() { return slider(22, IDB_VOLUME_TRACK, 0, 16, 16); }
    ImageTrackBar* brightnessBar() { return slider(56, IDB_BRIGHTNESS_TRACK, 1, 50, 10); }

    ImageTrackBar* slider(int y, int trackId, int minimum, int maximum, int start) {
        auto* bar = new ImageTrackBar(parent.handle(), 40, y, barWidth, barHeight);
        bar->setImages(IDB_SLIDER_THUMB, trackId, 0);
        bar->setRange(minimum, maximum);
        bar->setValue(start, false);
        bar->listener = &events;
        return bar;
    }

    TestParent parent{240, 100};
    TrackEvents events;
};

int differingPixels(const Snapshot& a, const Snapshot& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) count += a.at(x, y) != b.at(x, y) ? 1 : 0;
    }
    return count;
}

TEST_F(ImageTrackBarTest, ThumbPositionsTruncateAndFollowTheWidth) {
    ImageTrackBar* volume = volumeBar();
    EXPECT_EQ(volume->thumbX(), 141);
    EXPECT_EQ(volume->positionOf(8), 70);  // 8 × 141 ÷ 16 = 70.5
    EXPECT_EQ(volume->thumbCentre(16), 146);
    const Snapshot shot(volume->handle());
    EXPECT_TRUE(showsPicture(shot, IDB_VOLUME_TRACK, 0, 0, 141, barHeight));
    EXPECT_TRUE(showsPicture(shot, IDB_SLIDER_THUMB, 141, 0));

    ImageTrackBar* brightness = brightnessBar();
    EXPECT_EQ(brightness->thumbX(), 25);  // 9 × 141 ÷ 49 = 25.9
    pressAt(brightness->handle(), 0, 5);
    releaseAt(brightness->handle(), 0, 5);
    EXPECT_EQ(brightness->value(), 1);

    volume->setValue(8, false);
    SetWindowPos(volume->handle(), nullptr, 0, 0, 2 * barWidth - thumbWidth, barHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(volume->thumbX(), 141);
}

TEST_F(ImageTrackBarTest, PressOnTheThumbDoesNotMoveTheValue) {
    ImageTrackBar* bar = brightnessBar();
    for (int x : {25, 30, 25 + thumbWidth}) {  // both edges count as the thumb
        bar->setValue(10, false);
        events.events.clear();
        pressAt(bar->handle(), x, 5);
        EXPECT_EQ(bar->value(), 10) << x;
        EXPECT_EQ(events.events, (Events{"begin", "change"})) << x;
        releaseAt(bar->handle(), x, 5);
    }
    // Just right of the thumb the thumb's left edge jumps to the pointer.
    bar->setValue(10, false);
    pressAt(bar->handle(), 36, 5);
    EXPECT_EQ(bar->value(), 13);  // 1 + 49 × 36 ÷ 141 = 13.5
    releaseAt(bar->handle(), 36, 5);
}

TEST_F(ImageTrackBarTest, DraggingPastEitherEndPinsTheValueAndNotifiesOnlyAtTicksAndRelease) {
    ImageTrackBar* bar = brightnessBar();
    pressAt(bar->handle(), 30, 5);
    moveTo(bar->handle(), -500, 5);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(bar->thumbX(), 0);
    moveTo(bar->handle(), 5000, 5);
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(bar->thumbX(), 141);
    EXPECT_EQ(events.events, (Events{"begin", "change"}));  // moves are silent
    releaseAt(bar->handle(), 3000, 5);
    EXPECT_EQ(events.events, (Events{"begin", "change", "change", "end"}));
    EXPECT_EQ(events.values.back(), 50);
    EXPECT_EQ(GetCapture(), nullptr);
    // A move after the release changes nothing.
    moveTo(bar->handle(), 0, 5);
    EXPECT_EQ(bar->value(), 50);
}

TEST_F(ImageTrackBarTest, ReleaseAtANewPlaceNotifiesTheLastChange) {
    ImageTrackBar* bar = volumeBar();
    pressAt(bar->handle(), 146, 5);  // on the thumb
    releaseAt(bar->handle(), 0, 5);
    EXPECT_EQ(events.events, (Events{"begin", "change", "change", "change", "end"}));
    EXPECT_EQ(events.values, (std::vector<int>{16, 16, 0, 0, 0}));
}

TEST_F(ImageTrackBarTest, HeldBarTicksEveryTenthOfASecondUntilReleasedOrDisabled) {
    ImageTrackBar* bar = volumeBar();
    pressAt(bar->handle(), 146, 5);
    ASSERT_TRUE(pumpUntil([&] { return events.events.size() == 4; }, 5000));  // begin, change, two ticks
    releaseAt(bar->handle(), 146, 5);
    pumpFor(250);
    EXPECT_EQ(events.events, (Events{"begin", "change", "change", "change", "change", "end"}));

    events.events.clear();
    pressAt(bar->handle(), 146, 5);
    bar->setEnabled(false);
    pumpFor(300);
    EXPECT_EQ(events.events, (Events{"begin", "change"}));  // no end: the capture was lost, not released
}

// The dotted frame of about 330 pixels inverts every other one.
TEST_F(ImageTrackBarTest, FocusRectangleComesAndGoesWithTheFocus) {
    ImageTrackBar* bar = volumeBar();
    SetFocus(parent.handle());
    const Snapshot plain(bar->handle());
    SetFocus(bar->handle());
    EXPECT_GT(differingPixels(plain, Snapshot(bar->handle())), 100);
    SetFocus(parent.handle());
    EXPECT_EQ(differingPixels(plain, Snapshot(bar->handle())), 0);
}

TEST_F(ImageTrackBarTest, ACaptureTakenByAnotherWindowEndsTheHold) {
    ImageTrackBar* bar = volumeBar();
    pressAt(bar->handle(), 146, 5);
    moveTo(bar->handle(), 70, 5);
    const int dragged = bar->value();
    EXPECT_TRUE(bar->isHeld());
    EXPECT_LT(dragged, 16);
    SetCapture(parent.handle());
    EXPECT_FALSE(bar->isHeld());
    moveTo(bar->handle(), 0, 5);
    EXPECT_EQ(bar->value(), dragged);
    ReleaseCapture();
}

TEST_F(ImageTrackBarTest, NarrowerRangeMovesOnlyAValueThatFallsOutside) {
    auto* bar = new ImageTrackBar(parent.handle(), 40, 22, barWidth, barHeight);
    bar->setImages(IDB_SLIDER_THUMB, IDB_VOLUME_TRACK, 0);
    bar->setValue(80, false);
    bar->setRange(0, 50);
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(bar->thumbX(), 141);

    bar->setRange(0, 100);
    bar->setValue(30, false);
    const int thumb = bar->thumbX();
    bar->setRange(0, 50);
    EXPECT_EQ(bar->value(), 30);
    EXPECT_EQ(bar->thumbX(), thumb);  // left for the caller to set again
}

TEST_F(ImageTrackBarTest, InvertedRangeCollapsesToItsMinimum) {
    ImageTrackBar* bar = volumeBar();
    bar->setRange(10, 5);
    EXPECT_EQ(bar->minimum(), 10);
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(bar->positionOf(10), 0);
    bar->setValue(-3, false);
    EXPECT_EQ(bar->value(), 10);
    pressAt(bar->handle(), 100, 5);
    releaseAt(bar->handle(), 120, 5);
    EXPECT_EQ(bar->value(), 10);
}

TEST_F(ImageTrackBarTest, SettingTheCurrentValueSendsNothing) {
    ImageTrackBar* bar = volumeBar();
    bar->setValue(16, true);
    bar->setValue(99, true);  // clamps to 16
    EXPECT_TRUE(events.events.empty());
    bar->setValue(3, false);
    EXPECT_TRUE(events.events.empty());
    bar->setValue(4, true);
    EXPECT_EQ(events.events, (Events{"change"}));
    EXPECT_EQ(events.values, (std::vector<int>{4}));
}

TEST_F(ImageTrackBarTest, BarAsWideAsItsThumbIgnoresThePointer) {
    auto* bar = new ImageTrackBar(parent.handle(), 40, 22, thumbWidth, barHeight);
    bar->setImages(IDB_SLIDER_THUMB, IDB_VOLUME_TRACK, 0);
    bar->setRange(0, 16);
    bar->setValue(7, false);
    bar->listener = &events;
    pressAt(bar->handle(), 30, 5);
    moveTo(bar->handle(), -30, 5);
    releaseAt(bar->handle(), 3, 5);
    EXPECT_EQ(bar->value(), 7);
    EXPECT_EQ(bar->thumbX(), 0);
    EXPECT_EQ(events.events, (Events{"begin", "change", "change", "end"}));
}

TEST_F(ImageTrackBarTest, BarWithoutPicturesDrawsNothingAndStandsAtZero) {
    auto* bar = new ImageTrackBar(parent.handle(), 40, 22, barWidth, barHeight);
    bar->setValue(50, false);
    EXPECT_EQ(bar->positionOf(50), 0);
    EXPECT_EQ(bar->thumbCentre(50), 0);
    pressAt(bar->handle(), 100, 5);
    releaseAt(bar->handle(), 120, 5);
    EXPECT_EQ(bar->value(), 50);
    InvalidateRect(bar->handle(), nullptr, TRUE);
    EXPECT_TRUE(isFilledWith(Snapshot(bar->handle()), buttonFace(), 0, 0, barWidth, barHeight));
}

}  // namespace
