#include "tools/samplewriter/RecorderBlocks.h"

#include <algorithm>
#include <cmath>

namespace samplewriter {
namespace {

// Offsets inside the 32-byte recording header.
constexpr std::size_t kHeaderKind = 0;
constexpr std::size_t kHeaderDateTime = 2;
constexpr std::size_t kHeaderEventStamp = 8;
constexpr std::size_t kHeaderRawGx = 12;
constexpr std::size_t kHeaderRawGy = 14;
constexpr std::size_t kHeaderLimited = 16;
constexpr std::size_t kHeaderExtraByte = 28;
constexpr std::size_t kHeaderFlags = 29;

// Offsets inside the 64-byte block header.
constexpr std::size_t kBlockPayloadSize = 0;
constexpr std::size_t kBlockStamp = 4;
constexpr std::size_t kBlockSoundBytes = 8;
constexpr std::size_t kBlockType = 12;

// Offsets inside the 32-byte picture information.
constexpr std::size_t kInfoFileNumber = 0;
constexpr std::size_t kInfoFileIndex = 1;
constexpr std::size_t kInfoDateTime = 4;
constexpr std::size_t kInfoGx = 10;
constexpr std::size_t kInfoGy = 12;
constexpr std::size_t kInfoLimited = 14;
constexpr std::size_t kInfoValueP = 16;
constexpr std::size_t kInfoValueQ = 20;
constexpr std::size_t kInfoValueR = 27;
constexpr std::size_t kInfoFlags = 29;

constexpr double kGPerRawStep = 0.01468;

void put16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value);
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void putBytes(Bytes& bytes, std::size_t at, const Bytes& part) {
    std::copy(part.begin(), part.end(), bytes.begin() + at);
}

std::uint32_t digitsValue(int value) {
    return static_cast<std::uint32_t>(std::max(value, 0));
}

}  // namespace

int gDigitsFromG(double g) {
    const long thousandths = std::lround(std::fabs(g) * 1000.0);
    if (g < 0) return 8000 + static_cast<int>(std::min(thousandths, 1999L));
    return static_cast<int>(std::min(thousandths, 7999L));
}

std::uint16_t rawGFromG(double g) {
    const long raw = std::lround(512.0 + g / kGPerRawStep);
    return static_cast<std::uint16_t>(std::clamp(raw, 215L, 808L));
}

Bytes encodeBcd(std::uint32_t value, int digitCount) {
    Bytes bytes(static_cast<std::size_t>((digitCount + 1) / 2), 0);
    for (int digit = 0; digit < digitCount; ++digit) {
        const std::uint8_t d = static_cast<std::uint8_t>(value % 10);
        value /= 10;
        std::uint8_t& byte = bytes[bytes.size() - 1 - static_cast<std::size_t>(digit / 2)];
        byte |= (digit % 2 == 0) ? d : static_cast<std::uint8_t>(d << 4);
    }
    return bytes;
}

Bytes encodeDateTime(const CalendarTime& time) {
    const int fields[6] = {time.year - 2000, time.month, time.day, time.hour, time.minute, time.second};
    Bytes bytes;
    for (int field : fields) {
        const int twoDigits = ((field % 100) + 100) % 100;
        bytes.push_back(encodeBcd(static_cast<std::uint32_t>(twoDigits), 2)[0]);
    }
    return bytes;
}

Bytes buildRecordingHeader(const RecordingHeaderFields& fields) {
    Bytes header(kRecordingHeaderSize, 0);
    header[kHeaderKind] = fields.kindByte;
    putBytes(header, kHeaderDateTime, encodeDateTime(fields.recordedAt));
    put32(header, kHeaderEventStamp, fields.eventStamp);
    put16(header, kHeaderRawGx, fields.rawGx);
    put16(header, kHeaderRawGy, fields.rawGy);
    putBytes(header, kHeaderLimited, encodeBcd(digitsValue(fields.limitedDigits), 4));
    header[kHeaderExtraByte] = fields.extraByte;
    header[kHeaderFlags] = fields.indicator ? 1 : 0;
    return header;
}

Bytes buildDirectoryPrefix(std::uint8_t entryCount) {
    Bytes prefix(kDirectoryPrefixSize, 0);
    prefix[0] = entryCount;
    return prefix;
}

Bytes buildDirectory(const std::vector<DirectoryEntry>& entries) {
    const std::size_t count = std::min<std::size_t>(entries.size(), 255);
    Bytes directory = buildDirectoryPrefix(static_cast<std::uint8_t>(count));
    directory.resize(kDirectoryPrefixSize + count * kDirectoryEntrySize, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectoryPrefixSize + i * kDirectoryEntrySize;
        put32(directory, at, entries[i].offset);
        put32(directory, at + 4, entries[i].stamp);
    }
    return directory;
}

Bytes buildPictureInfo(const PictureInfoFields& info) {
    Bytes bytes(32, 0);
    bytes[kInfoFileNumber] = info.fileNumber;
    putBytes(bytes, kInfoFileIndex, encodeBcd(digitsValue(info.fileIndex), 4));
    putBytes(bytes, kInfoDateTime, encodeDateTime(info.time));
    putBytes(bytes, kInfoGx, encodeBcd(digitsValue(info.gxDigits), 4));
    putBytes(bytes, kInfoGy, encodeBcd(digitsValue(info.gyDigits), 4));
    putBytes(bytes, kInfoLimited, encodeBcd(digitsValue(info.limitedDigits), 4));
    putBytes(bytes, kInfoValueP, encodeBcd(info.valueP, 8));
    putBytes(bytes, kInfoValueQ, encodeBcd(info.valueQ, 8));
    put16(bytes, kInfoValueR, info.valueR);
    bytes[kInfoFlags] = info.indicator ? 1 : 0;
    return bytes;
}

Bytes buildBlockHeader(const BlockHeaderFields& fields) {
    Bytes header(kBlockHeaderSize, 0);
    put32(header, kBlockPayloadSize, static_cast<std::uint32_t>(fields.payloadSize));
    put32(header, kBlockStamp, fields.stamp);
    put32(header, kBlockSoundBytes, static_cast<std::uint32_t>(fields.soundBytes));
    header[kBlockType] = fields.type;
    if (fields.info) putBytes(header, kPictureInfoOffset, buildPictureInfo(*fields.info));
    return header;
}

Bytes buildPictureBlock(std::uint32_t stamp, const PictureInfoFields& info, const Bytes& payload) {
    BlockHeaderFields fields;
    fields.payloadSize = static_cast<std::int32_t>(payload.size());
    fields.stamp = stamp;
    fields.type = kPictureBlock;
    fields.info = info;
    Bytes block = buildBlockHeader(fields);
    appendBytes(block, payload);
    return block;
}

Bytes buildSoundBlock(std::uint32_t stamp, const Bytes& samples, std::size_t padding) {
    BlockHeaderFields fields;
    fields.payloadSize = static_cast<std::int32_t>(samples.size() + padding);
    fields.stamp = stamp;
    fields.soundBytes = static_cast<std::int32_t>(samples.size());
    fields.type = kSoundBlock;
    Bytes block = buildBlockHeader(fields);
    appendBytes(block, samples);
    block.insert(block.end(), padding, 0x80);
    return block;
}

void appendBytes(Bytes& to, const Bytes& from) {
    to.insert(to.end(), from.begin(), from.end());
}

}  // namespace samplewriter
