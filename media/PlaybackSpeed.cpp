#include "media/PlaybackSpeed.h"

#include <algorithm>

namespace {

struct Rate {
    int numerator;
    int denominator;
    const wchar_t* label;
};

constexpr Rate kRates[PlaybackSpeed::stepCount] = {
    {1, 4, L"1/4"}, {1, 2, L"1/2"}, {1, 1, L"1"}, {2, 1, L"2"}, {4, 1, L"4"}};

}  // namespace

PlaybackSpeed::PlaybackSpeed(int step) : step_(std::clamp(step, 0, stepCount - 1)) {}

bool PlaybackSpeed::slower() {
    if (step_ == 0) return false;
    --step_;
    return true;
}

bool PlaybackSpeed::faster() {
    if (step_ == stepCount - 1) return false;
    ++step_;
    return true;
}

int PlaybackSpeed::numerator() const { return kRates[step_].numerator; }

int PlaybackSpeed::denominator() const { return kRates[step_].denominator; }

std::int64_t PlaybackSpeed::recordingMs(std::int64_t realMs) const {
    return realMs * numerator() / denominator();
}

std::int64_t PlaybackSpeed::realMs(std::int64_t recordingMs) const {
    const std::int64_t scaled = recordingMs * denominator();
    if (scaled <= 0) return scaled / numerator();
    return (scaled + numerator() - 1) / numerator();
}

std::wstring PlaybackSpeed::label() const { return kRates[step_].label; }
