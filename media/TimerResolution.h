#pragma once
// Raises the system timer's resolution to the finest period it offers (normally
// 1 ms) for the object's lifetime, so that the loader's tick and timeGetTime
// keep 33 ms frame periods accurate.
class TimerResolution {
public:
    TimerResolution();
    ~TimerResolution();
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

    // The period in force, in milliseconds; 0 when the system refused.
    unsigned period() const { return period_; }

private:
    unsigned period_ = 0;
};
