// The playback rate's conversions between real and recording time, and the
// clock of a recording's frames with the search for the frame of a time.
#include <gtest/gtest.h>

#include <map>

#include "media/PlaybackSpeed.h"
#include "recording/FrameTimes.h"

namespace {

TEST(PlaybackSpeed, StepsThroughTheFiveRatesAndStopsAtEitherEnd) {
    PlaybackSpeed speed;
    EXPECT_TRUE(speed.isNormal());
    EXPECT_EQ(speed.label(), L"1");
    EXPECT_TRUE(speed.faster());
    EXPECT_TRUE(speed.faster());
    EXPECT_EQ(speed.label(), L"4");
    EXPECT_FALSE(speed.faster());
    EXPECT_EQ(speed.step(), PlaybackSpeed::stepCount - 1);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(speed.slower());
    EXPECT_EQ(speed.label(), L"1/4");
    EXPECT_FALSE(speed.slower());
    EXPECT_EQ(PlaybackSpeed(99).label(), L"4");
    EXPECT_EQ(PlaybackSpeed(-3).label(), L"1/4");
}

TEST(PlaybackSpeed, ScalesElapsedTimeBothWays) {
    const PlaybackSpeed quarter(0), half(1), normal(2), doubled(3), quadruple(4);
    EXPECT_EQ(normal.recordingMs(1234), 1234);
    EXPECT_EQ(normal.realMs(1234), 1234);
    EXPECT_EQ(doubled.recordingMs(1000), 2000);
    EXPECT_EQ(half.recordingMs(1000), 500);
    EXPECT_EQ(quarter.recordingMs(1000), 250);
    EXPECT_EQ(quadruple.recordingMs(1000), 4000);
    // Waiting is rounded up, never asking for a frame before it is due.
    EXPECT_EQ(quadruple.realMs(33), 9);
    EXPECT_EQ(doubled.realMs(33), 17);
    EXPECT_EQ(quarter.realMs(100), 400);
    EXPECT_EQ(quadruple.realMs(0), 0);
    EXPECT_EQ(doubled.realMs(-10), -5);
    // The real time of a stretch of recording gives back at least that stretch.
    for (const PlaybackSpeed& speed : {quarter, half, doubled, quadruple}) {
        for (int ms = 1; ms < 200; ms += 7) EXPECT_GE(speed.recordingMs(speed.realMs(ms)), ms);
    }
}

// A recording whose frames carry the times given; the rest carry none.
class Timed : public IVideoInfo {
public:
    Timed(int frames, std::map<int, std::int64_t> times, int kind = 12, int reference = -1,
          std::int64_t recordedAt = 0)
        : frames_(frames), kind_(kind), reference_(reference), recordedAt_(recordedAt) {
        for (const auto& [frame, time] : times) records_[frame].time = time;
        for (int i = 0; i < frames; ++i) records_[i];
    }
    std::wstring shortCode() const override { return L""; }
    std::wstring longCode() const override { return L""; }
    int triggerKind() const override { return kind_; }
    int referenceFrame() const override { return reference_; }
    const FrameRecord* referenceRecord() const override { return frameRecord(reference_); }
    double headerGx() const override { return 0; }
    double headerGy() const override { return 0; }
    int frameCount() const override { return frames_; }
    const FrameRecord* frameRecord(int index) const override {
        if (index < 0 || index >= frames_) return nullptr;
        return &records_.at(index);
    }
    int pictureStep() const override { return 1; }
    bool informationMissing() const override { return false; }
    std::int64_t firstFrameTime() const override { return 0; }
    std::int64_t lastFrameTime() const override { return 0; }
    std::int64_t recordedAt() const override { return recordedAt_; }

private:
    int frames_;
    int kind_;
    int reference_;
    std::int64_t recordedAt_;
    std::map<int, FrameRecord> records_;
};

constexpr std::int64_t kStart = 1'250'000'000;

TEST(FrameTimes, OwnTimeFirstThenTheRecordingsStartPlusTheOffset) {
    // A chapter: frame 0 at its header's time, ten frames a second.
    const Timed chapter(30, {{12, kStart + 100}}, 12, -1, kStart);
    EXPECT_EQ(FrameTimes::timeOf(chapter, 0, 10), kStart);
    EXPECT_EQ(FrameTimes::timeOf(chapter, 9, 10), kStart);
    EXPECT_EQ(FrameTimes::timeOf(chapter, 10, 10), kStart + 1);
    EXPECT_EQ(FrameTimes::timeOf(chapter, 12, 10), kStart + 100);
    EXPECT_EQ(FrameTimes::timeOf(chapter, 30, 10), 0);
    EXPECT_EQ(FrameTimes::timeOf(chapter, -1, 10), 0);
    // An event's header time is its moment: frames before it fall in the
    // seconds before, counted down, not toward the moment.
    const Timed event(90, {}, 1, 45, kStart);
    EXPECT_EQ(FrameTimes::timeOf(event, 45, 30), kStart);
    EXPECT_EQ(FrameTimes::timeOf(event, 44, 30), kStart - 1);
    EXPECT_EQ(FrameTimes::timeOf(event, 15, 30), kStart - 1);
    EXPECT_EQ(FrameTimes::timeOf(event, 14, 30), kStart - 2);
    EXPECT_EQ(FrameTimes::timeOf(event, 75, 30), kStart + 1);
    // Nothing known: no time.
    EXPECT_EQ(FrameTimes::timeOf(Timed(5, {}), 2, 30), 0);
}

TEST(FrameTimes, FindsTheFirstFrameOfTheLatestSecondAtOrBefore) {
    std::map<int, std::int64_t> times;
    for (int i = 0; i < 40; ++i) times[i] = kStart + i / 10;
    times[25] = 0;  // a frame without a time takes the chapter's count
    const Timed chapter(40, times, 12, -1, kStart);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(chapter, kStart, 10), 0);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(chapter, kStart + 2, 10), 20);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(chapter, kStart + 3, 10), 30);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(chapter, kStart + 500, 10), 30);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(chapter, kStart - 1, 10), -1);
    // A jump in the recorder's clock: the time in the gap is shown by the last
    // frame before it.
    const Timed jumped(4, {{0, kStart}, {1, kStart + 1}, {2, kStart + 60}, {3, kStart + 61}});
    EXPECT_EQ(FrameTimes::frameAtOrBefore(jumped, kStart + 30, 10), 1);
    EXPECT_EQ(FrameTimes::frameAtOrBefore(Timed(5, {}), kStart, 10), -1);
}

TEST(FrameTimes, TextIsEmptyWithoutATime) {
    EXPECT_EQ(FrameTimes::text(0), L"");
    EXPECT_EQ(FrameTimes::text(kStart).size(), 19u);
    EXPECT_EQ(FrameTimes::chapterStart(L"/nonexistent/Video0001.dmv"), 0);
}

}  // namespace
