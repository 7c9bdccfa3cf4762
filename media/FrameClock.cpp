#include "media/FrameClock.h"

#include <algorithm>

FrameClock FrameClock::forMode(int displayMode) {
    return FrameClock(displayMode == 2 ? videoFramesPerSecond : eventFramesPerSecond);
}

FrameClock::FrameClock(int framesPerSecond) : framesPerSecond_(framesPerSecond > 0 ? framesPerSecond : 1) {}

int FrameClock::frameAt(std::int64_t ms) const {
    const std::int64_t frame = ms * framesPerSecond_ / 1000;
    return static_cast<int>(std::clamp<std::int64_t>(frame, INT32_MIN, INT32_MAX));
}

std::int32_t FrameClock::timeOf(int frame) const {
    const std::int64_t ms = static_cast<std::int64_t>(frame) * 1000 / framesPerSecond_;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, INT32_MIN, INT32_MAX));
}

std::int64_t FrameClock::dueTime(int frame) const {
    return (static_cast<std::int64_t>(frame) * 1000 + framesPerSecond_ - 1) / framesPerSecond_;
}

int FrameClock::clamp(std::int64_t frame, int frames) {
    if (frames <= 0) return 0;
    return static_cast<int>(std::clamp<std::int64_t>(frame, 0, frames - 1));
}
