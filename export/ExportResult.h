#pragma once
// What an export wrote: its files by final name, in the order written, and
// what the caller should tell the user about the recording.
#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportPlan.h"

struct ExportResult {
    RecordingKind kind = RecordingKind::Event;
    std::wstring folder;
    std::vector<std::wstring> files;  // names inside folder; the manifest last
    std::int64_t frames = 0;          // video frames, or pictures written
    // Frames whose stored picture could not be restored and that repeat the
    // one before; one-shot pictures left out for the same reason.
    std::int64_t substitutedFrames = 0;
    std::int64_t soundBytes = 0;
    int framesPerSecond = 0;
};
