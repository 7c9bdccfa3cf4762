#pragma once
// The clock of a recording's frames: the local time at which each frame was
// taken, for showing it and for finding the frame of a given time.
#include <cstdint>
#include <string>

#include "recording/IVideoInfo.h"

class FrameTimes {
public:
    // The time value of frame index: its own time where it carries one,
    // otherwise the recording's start plus the frame's offset (an event's
    // header time belongs to its reference frame, a chapter's to frame 0).
    // 0 when neither is known or index is not a frame.
    static std::int64_t timeOf(const IVideoInfo& info, int index, int framesPerSecond);
    // The first frame of the latest second at or before time (frames carry
    // whole seconds, so that frame is the one showing the moment itself); -1
    // when every frame is later or none has a time.
    static int frameAtOrBefore(const IVideoInfo& info, std::int64_t time, int framesPerSecond);
    // The time value in a chapter archive's header (when the chapter began);
    // 0 when the file cannot be read or carries none.
    static std::int64_t chapterStart(const std::wstring& path);
    // "yyyy/mm/dd hh:mm:ss" in local time; empty for 0 or a time the system
    // cannot convert.
    static std::wstring text(std::int64_t time);
};
