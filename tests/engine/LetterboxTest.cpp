// The 4:3 rectangle a frame is drawn into.
#include <gtest/gtest.h>

#include "media/Letterbox.h"

namespace {

void expectBox(const Letterbox& box, int x, int y, int width, int height) {
    EXPECT_EQ(box.x, x);
    EXPECT_EQ(box.y, y);
    EXPECT_EQ(box.width, width);
    EXPECT_EQ(box.height, height);
}

}  // namespace

TEST(LetterboxTest, AWideAreaGetsBarsLeftAndRightAndATallOneAboveAndBelow) {
    expectBox(Letterbox::fit(800, 480), 80, 0, 640, 480);
    expectBox(Letterbox::fit(640, 600), 0, 60, 640, 480);
    expectBox(Letterbox::fit(640, 480), 0, 0, 640, 480);
    expectBox(Letterbox::fit(1280, 480), 320, 0, 640, 480);
    // The main window's default player area.
    expectBox(Letterbox::fit(570, 415), 8, 0, 553, 415);
}

TEST(LetterboxTest, OddAndDegenerateAreasStayInside) {
    expectBox(Letterbox::fit(801, 480), 80, 0, 640, 480);
    expectBox(Letterbox::fit(641, 481), 0, 0, 641, 480);
    expectBox(Letterbox::fit(3, 1), 1, 0, 1, 1);
    expectBox(Letterbox::fit(0, 0), 0, 0, 0, 0);
    expectBox(Letterbox::fit(100, 0), 50, 0, 0, 0);
}
