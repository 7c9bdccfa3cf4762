#pragma once
// Whole recorder archives from synthetic content, as the recorder writes them:
// the recording header, the directory, a lead-in picture, then sound blocks and
// picture blocks interleaved in stamp order. Everything is deterministic: the
// same setup gives the same bytes on every run and platform.
//
//   samplewriter::ArchiveSetup setup;            // 900-frame automatic event, 640 x 480
//   setup.frameCount = 90;
//   samplewriter::Bytes bytes = samplewriter::buildArchive(setup);
//   samplewriter::writeBytes(L"/tmp/x/Video.dvt", bytes);
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/LocalTime.h"
#include "tools/samplewriter/RecorderBlocks.h"

namespace samplewriter {

enum class ArchiveKind {
    Event,   // "Video.dvt": 30 frames per second, the event 12 s in
    Chapter  // "Video????.dmv": 10 frames per second, one minute
};

struct ArchiveSetup {
    ArchiveKind kind = ArchiveKind::Event;
    std::uint8_t kindByte = kKindAutomaticEvent;  // use kKindVideo for chapters
    // Event: the local time of the event (the header's date-time). Chapter: the
    // time of the first frame (and the header's date-time).
    CalendarTime recordedAt{2009, 6, 15, 14, 30, 12};
    int frameCount = 900;
    int fps = 30;
    int eventFrame = 360;                     // event: the frame of the detection (knock, G spike, event stamp)
    std::optional<std::uint32_t> eventStamp;  // default: frameStamp(eventFrame) + 5
    std::optional<CalendarTime> headerTime;   // default: recordedAt
    std::uint32_t firstStamp = 3600000;       // stamp of frame 0, ms
    int width = 640;
    int height = 480;
    int jpegQuality = 60;
    bool withSound = true;
    bool withLeadIn = true;       // the lead-in picture that opens the block sequence
    bool indicator = false;       // header flag (offset 29 bit 0)
    int indicatorFrame = -1;      // a frame whose picture information carries the flag, -1 for none
    std::uint8_t modelMajor = 2;  // the shipped model code is 2 / 3
    std::uint8_t modelMinor = 3;
    std::uint8_t fileNumber = 1;
    int firstFileIndex = 1;
    int firstSceneFrame = 0;  // where the road scene starts, so chapters continue each other
};

// Where a block landed in the bytes of buildArchive.
struct BlockPlacement {
    std::size_t headerOffset = 0;  // first byte of the 64-byte block header
    std::size_t payloadOffset = 0;
    std::int32_t payloadSize = 0;
    std::uint32_t stamp = 0;
    std::uint8_t type = 0;
    int frame = -1;  // picture blocks: the frame number; -1 for the lead-in picture and sound
};

struct ArchiveLayout {
    std::size_t directoryOffset = 0;     // the 16-byte prefix
    std::vector<BlockPlacement> blocks;  // in file order
};

Bytes buildArchive(const ArchiveSetup& setup, ArchiveLayout* layout = nullptr);

// What buildArchive writes for frame `frame`, so tests can state expectations.
std::uint32_t frameStamp(const ArchiveSetup& setup, int frame);
CalendarTime frameTime(const ArchiveSetup& setup, int frame);
PictureInfoFields framePictureInfo(const ArchiveSetup& setup, int frame);
std::uint32_t eventStampOf(const ArchiveSetup& setup);
// The stored picture payload (tag + recorder-layout JPEG) of one frame.
Bytes framePicturePayload(const ArchiveSetup& setup, int frame);
// The sound samples of the whole recording (8-bit unsigned, 11025 Hz), as
// split over the sound blocks; empty without sound.
Bytes recordingSound(const ArchiveSetup& setup);
inline constexpr int kSoundRate = 11025;
inline constexpr int kSoundBlockMilliseconds = 500;

// A one-shot file "*.dpc": one picture block whose information is the recording's.
struct OneShotSetup {
    CalendarTime time{2009, 6, 15, 9, 0, 0};
    std::uint32_t stamp = 0;
    int sceneFrame = 0;
    int width = 640;
    int height = 480;
    int jpegQuality = 60;
    std::uint8_t fileNumber = 0;
    int fileIndex = 1;
    int gxDigits = 0;
    int gyDigits = 0;
    bool indicator = false;
    std::uint8_t modelMajor = 2;
    std::uint8_t modelMinor = 3;
};

Bytes buildOneShotFile(const OneShotSetup& setup);

// Creates or truncates path and writes bytes; false on any failure.
bool writeBytes(const std::wstring& path, const Bytes& bytes);

}  // namespace samplewriter
