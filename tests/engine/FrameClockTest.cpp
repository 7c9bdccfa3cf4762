// Frame periods and the conversions between frames and milliseconds.
#include <gtest/gtest.h>

#include "media/FrameClock.h"

TEST(FrameClockTest, VideoMemoryRunsAtTenFramesASecondAndEveryOtherModeAtThirty) {
    EXPECT_EQ(FrameClock::forMode(0).periodMs(), 33);
    EXPECT_EQ(FrameClock::forMode(1).periodMs(), 33);
    EXPECT_EQ(FrameClock::forMode(2).periodMs(), 100);
    EXPECT_EQ(FrameClock::forMode(7).framesPerSecond(), 30);
    EXPECT_DOUBLE_EQ(FrameClock::forMode(0).period(), 1000.0 / 30);
}

TEST(FrameClockTest, TheFrameAtATimeIsExactAtWholeSecondsAndSteps) {
    const FrameClock event(30);
    EXPECT_EQ(event.frameAt(0), 0);
    EXPECT_EQ(event.frameAt(33), 0);
    EXPECT_EQ(event.frameAt(34), 1);
    EXPECT_EQ(event.frameAt(100), 3);  // 100 / 33.33… in floating point is 2.99…
    EXPECT_EQ(event.frameAt(999), 29);
    EXPECT_EQ(event.frameAt(1000), 30);
    EXPECT_EQ(event.frameAt(30000), 900);
    EXPECT_EQ(FrameClock(10).frameAt(125050), 1250);
    EXPECT_EQ(event.frameAt(INT64_C(1) << 40), INT32_MAX);  // a wild clock is limited, not wrapped

    EXPECT_EQ(event.timeOf(0), 0);
    EXPECT_EQ(event.timeOf(1), 33);
    EXPECT_EQ(event.timeOf(30), 1000);
    EXPECT_EQ(event.timeOf(899), 29966);
    for (int frame = 0; frame < 900; ++frame) ASSERT_EQ(event.frameAt(event.timeOf(frame) + 1), frame);
}

TEST(FrameClockTest, AFrameFallsDueAtTheFirstMillisecondThatShowsIt) {
    EXPECT_EQ(FrameClock(30).dueTime(0), 0);
    EXPECT_EQ(FrameClock(30).dueTime(1), 34);
    EXPECT_EQ(FrameClock(30).dueTime(3), 100);
    EXPECT_EQ(FrameClock(10).dueTime(7), 700);
    for (int fps : {10, 30}) {
        const FrameClock clock(fps);
        for (int frame = 1; frame < 900; ++frame) {
            ASSERT_EQ(clock.frameAt(clock.dueTime(frame)), frame);
            ASSERT_EQ(clock.frameAt(clock.dueTime(frame) - 1), frame - 1);
        }
    }
}

TEST(FrameClockTest, ClampKeepsFramesInsideTheRecording) {
    EXPECT_EQ(FrameClock::clamp(5, 0), 0);
    EXPECT_EQ(FrameClock::clamp(-1, 0), 0);
    EXPECT_EQ(FrameClock::clamp(-3, 60), 0);
    EXPECT_EQ(FrameClock::clamp(59, 60), 59);
    EXPECT_EQ(FrameClock::clamp(60, 60), 59);
    EXPECT_EQ(FrameClock::clamp(INT64_C(1) << 40, 60), 59);
}
