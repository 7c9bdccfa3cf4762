#pragma once
// Frame periods of the display modes and the conversions between a frame
// index and a time in milliseconds from the start of a recording.
#include <cstdint>

class FrameClock {
public:
    static constexpr int eventFramesPerSecond = 30;  // event and one-shot memory
    static constexpr int videoFramesPerSecond = 10;  // video memory

    // 10 frames per second for video memory (mode 2), 30 for every other mode.
    static FrameClock forMode(int displayMode);
    explicit FrameClock(int framesPerSecond);

    int framesPerSecond() const { return framesPerSecond_; }
    // Whole milliseconds (33 or 100): the tick's period.
    int periodMs() const { return 1000 / framesPerSecond_; }
    double period() const { return 1000.0 / framesPerSecond_; }

    // The frame shown at ms. Counted in whole numbers: ms / (1000.0 / 30)
    // gives 29.999… at 1000 ms and would show each thirtieth frame late.
    int frameAt(std::int64_t ms) const;
    // Where frame starts, truncated to whole milliseconds (frame 1 at 33 ms).
    std::int32_t timeOf(int frame) const;
    // The first whole millisecond at which frame is shown (frame 1 at 34 ms).
    std::int64_t dueTime(int frame) const;

    // 0 for a recording without frames, otherwise frame limited to 0 … frames − 1.
    static int clamp(std::int64_t frame, int frames);

private:
    int framesPerSecond_;
};
