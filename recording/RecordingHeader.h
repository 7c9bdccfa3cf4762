#pragma once
// What an archive says about the recording as a whole.
#include <cstdint>

struct RecordingHeader {
    int triggerKind = 0;    // 0 none, 1 automatic event, 2 manual event, 11 one-shot, 12 video memory
    double headerGx = 0.0;  // G
    double headerGy = 0.0;
    std::int64_t recordedAt = 0;   // time value; 0 = none
    std::uint32_t eventStamp = 0;  // ms, on the clock of the block stamps
    int limitedValue = 0;          // 0-180
    int extraByte = 0;
    std::uint8_t flag = 0;  // indicator bit

    // The 32-byte header of an event or chapter archive.
    static RecordingHeader fromArchiveHeader(const std::uint8_t* bytes);
    // A one-shot file has no header of its own: its picture information
    // (32 bytes) stands in for it.
    static RecordingHeader fromPictureInformation(const std::uint8_t* information);
};
