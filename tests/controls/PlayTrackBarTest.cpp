#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "resources/ImageIds.h"
#include "ui/controls/PlayTrackBar.h"

namespace {

constexpr int barWidth = 526, barHeight = 30;
constexpr int markerTop = 11, markerWidth = 17, markerHeight = 16;

class PlayTrackBarTest : public ::testing::Test {
protected:
    // As the console panel sets it up, for a recording of 900 frames.
    PlayTrackBarTest() : bar(new PlayTrackBar(parent.handle())) {
        bar->setImages(IDB_POSITION_THUMB, IDB_POSITION_TRACK, IDB_POSITION_FILL);
        bar->sliced = true;
        bar->setRange(0, 899);
        bar->setValue(300, false);
    }

    Snapshot withMarker(int kind, int value) {
        bar->markerKind = kind;
        bar->markerValue = value;
        InvalidateRect(bar->handle(), nullptr, FALSE);
        return Snapshot(bar->handle());
    }

    TestParent parent{800, 70};
    PlayTrackBar* bar;
};

TEST_F(PlayTrackBarTest, SlicedTrackIsFilledUpToTheThumbCentre) {
    const Snapshot shot(bar->handle());
    const int x = bar->thumbX();
    EXPECT_EQ(x, 300 * (barWidth - 13) / 899);
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_THUMB, x, 0));
    // Rounded ends as drawn, middles stretched from a middle column.
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_FILL, 0, 0, 6, barHeight));
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_TRACK, barWidth - 6, 0, 6, barHeight, 40 - 6));
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_FILL, x / 2, 0, 1, barHeight, 20));
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_TRACK, (x + barWidth) / 2, 0, 1, barHeight, 20));
}

TEST_F(PlayTrackBarTest, MarkerStandsUnderTheEventWithItsPointerAtTheThumbCentre) {
    const int left = bar->thumbCentre(600) - markerWidth / 2 + 2;
    EXPECT_TRUE(showsPicture(withMarker(1, 600), IDB_MARKER_AUTO, left, markerTop));
    EXPECT_TRUE(showsPicture(withMarker(2, 600), IDB_MARKER_MANUAL, left, markerTop));
}

TEST_F(PlayTrackBarTest, NoMarkerForOtherKindsOrWithoutAnEvent) {
    const int left = bar->thumbCentre(600) - markerWidth / 2 + 2;
    const Snapshot plain = withMarker(0, 600);
    for (const auto& [kind, value] : {std::pair{3, 600}, std::pair{1, -1}, std::pair{2, -1}, std::pair{-1, 600}}) {
        const Snapshot shot = withMarker(kind, value);
        for (int y = markerTop; y < markerTop + markerHeight; ++y) {
            for (int x = left; x < left + markerWidth; ++x) {
                ASSERT_EQ(shot.at(x, y), plain.at(x, y)) << "kind " << kind << " at " << value;
            }
        }
    }
    // The marker at −1 would have stood at the left end.
    EXPECT_TRUE(showsPicture(withMarker(1, -1), IDB_POSITION_FILL, 0, markerTop, 6, markerHeight, 0, markerTop));
}

TEST_F(PlayTrackBarTest, TrackNoWiderThanTheThumbDrawsOnlyTheThumb) {
    bar->setImages(IDB_POSITION_TRACK, IDB_POSITION_THUMB, 0);  // a thumb 40 wide on a track 13 wide
    bar->markerKind = 0;
    bar->setValue(0, false);
    InvalidateRect(bar->handle(), nullptr, FALSE);
    const Snapshot shot(bar->handle());
    EXPECT_TRUE(showsPicture(shot, IDB_POSITION_TRACK, 0, 0));
    EXPECT_TRUE(isFilledWith(shot, buttonFace(), 40, 0, barWidth - 40, barHeight));
}

}  // namespace
