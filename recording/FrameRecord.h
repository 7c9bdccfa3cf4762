#pragma once
// One frame of a recording: where its picture lies in the archive and what the
// recorder wrote about it (time, G values, its own numbering).
#include <cstdint>
#include <memory>
#include <string>

class ArchiveSource;

struct FrameRecord {
    std::int32_t fileNumber = 0;  // recorder's own numbering, unused by the viewer
    std::int32_t fileIndex = 0;
    std::int64_t time = 0;  // seconds since 1970 UTC from the recorder's local time; 0 = none
    double gx = 0.0;        // G, signed
    double gy = 0.0;
    double g = 0.0;                 // magnitude of (gx, gy)
    std::int32_t limitedValue = 0;  // 0-180
    std::int32_t valueP = 0;
    std::int32_t valueQ = 0;
    std::int32_t valueR = 0;
    std::int32_t valueS = 0;
    bool flag = false;  // indicator bit of the picture information
    std::int32_t payloadSize = 0;
    std::int32_t soundBytes = 0;
    std::int32_t stamp = 0;  // recorder clock, ms
    // 64 bits although card files stay below 4 GiB: a larger copy of an archive
    // must not send decodeFrame to a wrapped-around position.
    std::int64_t payloadOffset = 0;
    std::uint8_t blockType = 0;
    std::wstring path;  // one-shot entries only
    // One-shot entries of a folder: the picture's file, left open by the listing
    // until the picture is decoded, so that no file is opened twice.
    std::shared_ptr<ArchiveSource> keptFile;

    // Block header fields (payload size, stamp, sound byte count, type) from
    // the 64 bytes of a block header.
    void readBlockHeader(const std::uint8_t* header);
    // The 32 bytes of picture information (block header offsets 32-63).
    void readPictureInformation(const std::uint8_t* information);
};
