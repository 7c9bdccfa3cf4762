#pragma once
// Calendar arithmetic on the recorder's local fields without the system's time
// zone, so sample files come out the same on every machine.
#include <cstdint>

#include "platform/LocalTime.h"

namespace samplewriter {

// The fields `seconds` later (or earlier, when negative), by the proleptic
// Gregorian calendar; daylight saving plays no part.
CalendarTime addSeconds(const CalendarTime& time, std::int64_t seconds);

}  // namespace samplewriter
