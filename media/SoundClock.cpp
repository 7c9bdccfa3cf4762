#include "media/SoundClock.h"

#include <algorithm>

void SoundClock::startAt(std::int64_t positionMs, std::uint32_t nowMs) {
    started_ = true;
    originMs_ = nowMs;
    windowStartMs_ = nowMs;
    currentBest_ = previousBest_ = positionMs;
    last_ = positionMs;
    limitBase_ = positionMs;
    limitBaseMs_ = nowMs;
}

void SoundClock::takeReading(std::int64_t offset, std::uint32_t nowMs) {
    const std::uint32_t sinceWindowStart = nowMs - windowStartMs_;
    if (sinceWindowStart >= windowMs) {
        // After a silence of two windows the last window is as old as the rest.
        previousBest_ = sinceWindowStart >= 2 * windowMs ? offset : currentBest_;
        currentBest_ = offset;
        windowStartMs_ = nowMs;
    }
    currentBest_ = std::max(currentBest_, offset);
}

std::int64_t SoundClock::position(std::int64_t deviceMs, std::uint32_t nowMs) {
    if (!started_ || deviceMs < last_ - restartMs) startAt(deviceMs, nowMs);
    // Unsigned difference: right across the wrap of the counter.
    const auto elapsed = static_cast<std::int64_t>(static_cast<std::uint32_t>(nowMs - originMs_));
    takeReading(deviceMs - elapsed, nowMs);
    const std::int64_t extrapolated = elapsed + std::max(currentBest_, previousBest_);
    const std::int64_t estimate = std::clamp(extrapolated, deviceMs, deviceMs + maximumLeadMs);
    last_ = std::max(last_, limitToRealTime(estimate, nowMs));
    return last_;
}

std::int64_t SoundClock::limitToRealTime(std::int64_t estimate, std::uint32_t nowMs) {
    const auto sinceBase = static_cast<std::int64_t>(static_cast<std::uint32_t>(nowMs - limitBaseMs_));
    const std::int64_t limit = limitBase_ + sinceBase * (1000 + catchUpPerMille) / 1000;
    if (estimate >= limit) return limit;
    limitBase_ = estimate;
    limitBaseMs_ = nowMs;
    return estimate;
}
