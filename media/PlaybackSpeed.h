#pragma once
// The playback rate the user chose: 1/4, 1/2, 1, 2 or 4 times. Away from 1 the
// picture runs on the system clock scaled by the rate and the sound is silent;
// these conversions turn elapsed real time into recording time and back.
#include <cstdint>
#include <string>

class PlaybackSpeed {
public:
    static constexpr int stepCount = 5;
    static constexpr int normalStep = 2;

    // Normal speed.
    PlaybackSpeed() = default;
    explicit PlaybackSpeed(int step);

    int step() const { return step_; }
    bool isNormal() const { return step_ == normalStep; }
    // One step slower or faster; false (and unchanged) at either end.
    bool slower();
    bool faster();

    // The rate as a fraction: 1/4, 1/2, 1/1, 2/1, 4/1.
    int numerator() const;
    int denominator() const;
    // Recording milliseconds that pass in realMs of real time.
    std::int64_t recordingMs(std::int64_t realMs) const;
    // Real milliseconds until recordingMs of the recording have passed, rounded
    // up so that a frame is never asked for before it falls due.
    std::int64_t realMs(std::int64_t recordingMs) const;
    // "1/4", "1/2", "1", "2", "4".
    std::wstring label() const;

private:
    int step_ = normalStep;
};
