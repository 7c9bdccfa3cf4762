#pragma once
// Byte builders for the pieces of a recorder archive: the 32-byte recording
// header, the directory, 64-byte block headers with their picture information,
// and whole picture and sound blocks. Tests splice these into damaged archives,
// so nothing here judges the values: any size, stamp, type or date is written
// exactly as given (30 February included).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/LocalTime.h"

namespace samplewriter {

using Bytes = std::vector<std::uint8_t>;

// Kind byte at offset 0 of the recording header.
inline constexpr std::uint8_t kKindAutomaticEvent = 0x10;
inline constexpr std::uint8_t kKindManualEvent = 0x20;
inline constexpr std::uint8_t kKindOneShot = 0x18;
inline constexpr std::uint8_t kKindVideo = 0x19;

// Block type at offset 12 of a block header.
inline constexpr std::uint8_t kPictureBlock = 0x55;
inline constexpr std::uint8_t kSoundBlock = 0xAA;

inline constexpr std::size_t kRecordingHeaderSize = 32;
inline constexpr std::size_t kDirectoryPrefixSize = 16;
inline constexpr std::size_t kDirectoryEntrySize = 8;
inline constexpr std::size_t kBlockHeaderSize = 64;
inline constexpr std::size_t kPictureInfoOffset = 32;  // inside the block header
inline constexpr std::size_t kPictureTagSize = 16;

struct RecordingHeaderFields {
    std::uint8_t kindByte = kKindAutomaticEvent;
    CalendarTime recordedAt;  // six BCD bytes; the year is stored as year - 2000
    std::uint32_t eventStamp = 0;
    std::uint16_t rawGx = 0;  // the sensor's 16-bit reading, see rawGFromG
    std::uint16_t rawGy = 0;
    int limitedDigits = 0;       // four BCD digits at offset 16
    std::uint8_t extraByte = 0;  // offset 28
    bool indicator = false;      // offset 29, bit 0
};

struct PictureInfoFields {
    std::uint8_t fileNumber = 0;
    int fileIndex = 0;  // four BCD digits
    CalendarTime time;
    int gxDigits = 0;  // four BCD digits in thousandths of G; 8001-9999 are negative, see gDigitsFromG
    int gyDigits = 0;
    int limitedDigits = 0;     // four BCD digits
    std::uint32_t valueP = 0;  // eight BCD digits
    std::uint32_t valueQ = 0;  // eight BCD digits
    std::uint16_t valueR = 0;  // bytes 27-28, big-endian (byte 28 is read alone as value S)
    bool indicator = false;    // byte 29, bit 0
};

struct BlockHeaderFields {
    std::int32_t payloadSize = 0;
    std::uint32_t stamp = 0;  // milliseconds on the recorder's clock
    std::int32_t soundBytes = 0;
    std::uint8_t type = kPictureBlock;
    std::optional<PictureInfoFields> info;  // bytes 32-63; zero bytes when absent
};

// One 8-byte directory entry as this writer fills it: where a second of the
// recording starts in the file and its stamp. Readers skip the directory.
struct DirectoryEntry {
    std::uint32_t offset = 0;
    std::uint32_t stamp = 0;
};

// The picture information's four-digit G field for g (in G): thousandths, with
// negative values stored as 8000 + |g|; clamped to +7.999 and -1.999 G.
int gDigitsFromG(double g);
// The header's raw G reading for g: 512 + g / 0.01468, rounded, clamped to 215-808.
std::uint16_t rawGFromG(double g);

// Six BCD bytes: year within the century, month, day, hour, minute, second.
Bytes encodeDateTime(const CalendarTime& time);
// The last `digitCount` decimal digits of value, two per byte, high digit first.
Bytes encodeBcd(std::uint32_t value, int digitCount);

Bytes buildRecordingHeader(const RecordingHeaderFields& fields);  // 32 bytes
// The 16-byte prefix (byte 0 = entries.size(), at most 255) and the entries.
Bytes buildDirectory(const std::vector<DirectoryEntry>& entries);
// Only the prefix, with any entry count: for directories that lie about their size.
Bytes buildDirectoryPrefix(std::uint8_t entryCount);
Bytes buildPictureInfo(const PictureInfoFields& info);    // 32 bytes
Bytes buildBlockHeader(const BlockHeaderFields& fields);  // 64 bytes

// Block header followed by the payload; payloadSize is set to payload.size().
Bytes buildPictureBlock(std::uint32_t stamp, const PictureInfoFields& info, const Bytes& payload);
// Sound block: soundBytes = samples.size(); the payload is the samples followed
// by `padding` bytes of silence (the recorder's payload may be longer).
Bytes buildSoundBlock(std::uint32_t stamp, const Bytes& samples, std::size_t padding = 0);

void appendBytes(Bytes& to, const Bytes& from);

}  // namespace samplewriter
