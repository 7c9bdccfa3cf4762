#include <windows.h>

#include "media/TimerResolution.h"
// mmsystem.h only after windows.h.
#include <mmsystem.h>

#include <algorithm>

TimerResolution::TimerResolution() {
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof(caps)) != TIMERR_NOERROR) return;
    const UINT period = std::min(std::max(caps.wPeriodMin, 1u), caps.wPeriodMax);
    if (timeBeginPeriod(period) == TIMERR_NOERROR) period_ = period;
}

TimerResolution::~TimerResolution() {
    if (period_) timeEndPeriod(period_);
}
