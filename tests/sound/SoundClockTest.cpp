// The sound clock against a simulated driver whose position moves in steps of
// one period, read at times that fall anywhere between the steps.
#include <gtest/gtest.h>

#include <cstdint>

#include "media/SoundClock.h"

namespace {

constexpr std::int64_t kPeriodMs = 10;

// A driver that started playing at startMs and reports whole periods.
struct SteppingDriver {
    std::uint32_t startMs = 0;
    std::int64_t baseMs = 0;  // the position the play request began at
    std::int64_t reading(std::uint32_t nowMs) const {
        const auto played = static_cast<std::int64_t>(static_cast<std::uint32_t>(nowMs - startMs));
        return baseMs + played / kPeriodMs * kPeriodMs;
    }
};

// Reads every `strideMs` from `from` for `durationMs` and checks each result.
template <typename Check>
void readAlong(SoundClock& clock, const SteppingDriver& driver, std::uint32_t from, std::uint32_t durationMs,
               std::uint32_t strideMs, Check check) {
    for (std::uint32_t t = from; t - from < durationMs; t += strideMs) {
        const std::int64_t device = driver.reading(t);
        check(t, device, clock.position(device, t));
    }
}

TEST(SoundClock, RunsWithTheSoundBetweenTheDriversSteps) {
    SoundClock clock;
    const SteppingDriver driver{1000, 0};
    // Reads at 7 ms strides meet every phase of the 10 ms steps; after the
    // first half second the clock is within a millisecond or two of the sound.
    readAlong(clock, driver, 1000, 3000, 7, [&](std::uint32_t t, std::int64_t device, std::int64_t position) {
        const std::int64_t sound = t - driver.startMs;
        EXPECT_GE(position, device);
        EXPECT_LE(position, device + SoundClock::maximumLeadMs);
        EXPECT_LE(position, sound + 1) << "ahead of the sound at " << t;
        if (sound >= 500) EXPECT_GE(position, sound - 2) << "behind the sound at " << t;
    });
}

TEST(SoundClock, NeverRunsBackwardsWhenTheReadingDipsOrStalls) {
    SoundClock clock;
    std::int64_t last = 0;
    const std::int64_t readings[] = {0, 10, 20, 30, 30, 30, 25, 40, 40, 35, 50};
    std::uint32_t now = 500;
    for (std::int64_t reading : readings) {
        const std::int64_t position = clock.position(reading, now);
        EXPECT_GE(position, last) << "at reading " << reading;
        last = position;
        now += 6;
    }
}

TEST(SoundClock, AStalledDriverHoldsTheClockWithinOneStep) {
    SoundClock clock;
    const SteppingDriver driver{0, 0};
    readAlong(clock, driver, 0, 1000, 3, [](std::uint32_t, std::int64_t, std::int64_t) {});
    // The driver stops at 1000 ms (a sound that ran dry, a pause): the clock may
    // not run on with the system clock.
    for (std::uint32_t t = 1000; t < 3000; t += 50) {
        EXPECT_LE(clock.position(1000, t), 1000 + SoundClock::maximumLeadMs);
    }
}

TEST(SoundClock, StartsOverAtANewStartAndAfterAReset) {
    SoundClock clock;
    const SteppingDriver first{0, 20000};
    readAlong(clock, first, 0, 1000, 3, [](std::uint32_t, std::int64_t, std::int64_t) {});

    // A play request from the start, or the next chapter's sound, counts from 0 again.
    const SteppingDriver second{1000, 0};
    EXPECT_EQ(clock.position(second.reading(1000), 1000), 0);
    readAlong(clock, second, 1001, 500, 7, [&](std::uint32_t t, std::int64_t device, std::int64_t position) {
        EXPECT_LE(position, static_cast<std::int64_t>(t - second.startMs) + 1);
        EXPECT_GE(position, device);
    });

    // After a pause the readings of before no longer tell where the sound is:
    // the driver resumes at 30000 ms later by the system clock.
    clock.reset();
    const SteppingDriver resumed{40000, 600};
    EXPECT_EQ(clock.position(resumed.reading(40000), 40000), 600);
    EXPECT_LE(clock.position(resumed.reading(40005), 40005), 605);
}

// A driver that reports its buffer as played jumps ahead at the start; the
// clock keeps to real time there and only slowly catches up.
TEST(SoundClock, DoesNotRunAheadOfRealTimeWhenTheDriverCountsItsBuffer) {
    SoundClock clock;
    const std::int64_t bufferedMs = 100;
    std::int64_t position = 0;
    for (std::uint32_t t = 0; t < 60000; t += 7) {
        const std::int64_t device = t < 30 ? 0 : (bufferedMs + t) / kPeriodMs * kPeriodMs;
        position = clock.position(device, t);
        EXPECT_LE(position, static_cast<std::int64_t>(t) * (1000 + SoundClock::catchUpPerMille) / 1000 + 1)
            << "at " << t;
    }
    // In the end it is the driver's clock again.
    EXPECT_GE(position, 60000 + bufferedMs - 2 * kPeriodMs);
}

// A play request starts the clock where the sound starts, even when the
// driver's first report already counts what it buffered.
TEST(SoundClock, APlayRequestStartsTheClockAtItsOwnPosition) {
    SoundClock clock;
    clock.startAt(5000, 100);
    EXPECT_LE(clock.position(5120, 120), 5021);
    EXPECT_LE(clock.position(5130, 130), 5031);
}

TEST(SoundClock, FollowsASoundSlowerThanTheSystemClock) {
    SoundClock clock;
    // The sound runs at 0.995 of the system clock: old readings are forgotten,
    // so the clock keeps to the sound and does not drift ahead with the system time.
    for (std::uint32_t t = 0; t < 10000; t += 7) {
        const std::int64_t sound = static_cast<std::int64_t>(t) * 995 / 1000;
        const std::int64_t device = sound / kPeriodMs * kPeriodMs;
        const std::int64_t position = clock.position(device, t);
        EXPECT_LE(position, sound + 3) << "at " << t;
    }
}

TEST(SoundClock, KeepsCountingAcrossTheWrapOfTheSystemCounter) {
    SoundClock clock;
    const SteppingDriver driver{0xFFFFFF00u, 0};
    std::int64_t last = 0;
    readAlong(clock, driver, 0xFFFFFF00u, 1000, 7, [&](std::uint32_t t, std::int64_t device, std::int64_t position) {
        EXPECT_GE(position, last);
        EXPECT_GE(position, device);
        EXPECT_LE(position, device + SoundClock::maximumLeadMs) << "at " << t;
        last = position;
    });
    EXPECT_GT(last, 900);
}

}  // namespace
