#pragma once
// The sound position as a clock that moves every millisecond. A waveform
// driver moves its position once per period of its own (every 10 ms under
// Wine's PulseAudio driver), so a raw reading lags the sound by up to a
// period, and a tick timed from one reading often came before its frame was
// due by the next: the engine then ticked twice and fetched the frame twice.
// Between the driver's steps the position runs on with the system clock, from
// the freshest reading of the last half second (the one taken closest after a
// step), never more than one step beyond the driver's own position and never
// backwards. Nor does it run faster than the system clock by more than a
// little: a driver may count the sound it buffered as played (Wine's
// PulseAudio driver reports 125 ms some 30 ms after the start), but nobody
// has heard it yet, so the picture must not run ahead; the clock catches up
// slowly, as with a sound card whose clock runs a little fast. Portable:
// times are plain millisecond counts.
#include <cstdint>

class SoundClock {
public:
    // How far beyond the driver's reading the clock may run: a little more
    // than one driver period, so a driver that stalls holds the clock there.
    static constexpr std::int64_t maximumLeadMs = 15;
    // Readings older than two windows no longer count, so the clock follows
    // a sound that runs a little slower than the system clock.
    static constexpr std::uint32_t windowMs = 250;
    // A reading this far behind the clock is a new start (a play request, or
    // the next sound of a chapter change): the clock starts over from it.
    static constexpr std::int64_t restartMs = 100;
    // How much faster than the system clock the clock may run, in thousandths.
    static constexpr std::int64_t catchUpPerMille = 5;

    // Forgets the readings: for a play request, a pause or a resume, after
    // which the driver's position and the system clock go their own ways.
    void reset() { started_ = false; }
    // The sound starts at positionMs at nowMs (a play request): the clock
    // counts from there, whatever the driver reports at once.
    void startAt(std::int64_t positionMs, std::uint32_t nowMs);

    // The position at nowMs (a wrapping millisecond counter) for the driver's
    // reading deviceMs taken at that moment.
    std::int64_t position(std::int64_t deviceMs, std::uint32_t nowMs);

private:
    void takeReading(std::int64_t offset, std::uint32_t nowMs);
    std::int64_t limitToRealTime(std::int64_t estimate, std::uint32_t nowMs);

    bool started_ = false;
    std::uint32_t originMs_ = 0;  // the system time the offsets count from
    std::uint32_t windowStartMs_ = 0;
    // The largest position minus elapsed time seen in this window and the one
    // before: the readings taken closest after a driver step.
    std::int64_t currentBest_ = 0;
    std::int64_t previousBest_ = 0;
    std::int64_t last_ = 0;
    // The last point where the clock was behind its speed limit: from there it
    // may run at most 1 + catchUpPerMille / 1000 times as fast as the system clock.
    std::int64_t limitBase_ = 0;
    std::uint32_t limitBaseMs_ = 0;
};
