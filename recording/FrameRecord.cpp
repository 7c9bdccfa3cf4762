#include "recording/FrameRecord.h"

#include <cmath>

#include "recording/RecorderFields.h"

namespace {

// Block header layout.
constexpr int kPayloadSizeAt = 0;
constexpr int kStampAt = 4;
constexpr int kSoundBytesAt = 8;
constexpr int kTypeAt = 12;

// Picture information layout (offsets inside its 32 bytes).
constexpr int kFileNumberAt = 0;
constexpr int kFileIndexAt = 1;
constexpr int kTimeAt = 4;
constexpr int kGxAt = 10;
constexpr int kGyAt = 12;
constexpr int kLimitedAt = 14;
constexpr int kValuePAt = 16;
constexpr int kValueQAt = 20;
constexpr int kValueRAt = 27;
constexpr int kValueSAt = 28;
constexpr int kFlagAt = 29;

}  // namespace

void FrameRecord::readBlockHeader(const std::uint8_t* header) {
    payloadSize = static_cast<std::int32_t>(recorder::bigEndian32(header + kPayloadSizeAt));
    stamp = static_cast<std::int32_t>(recorder::bigEndian32(header + kStampAt));
    soundBytes = static_cast<std::int32_t>(recorder::bigEndian32(header + kSoundBytesAt));
    blockType = header[kTypeAt];
}

void FrameRecord::readPictureInformation(const std::uint8_t* information) {
    fileNumber = information[kFileNumberAt];
    fileIndex = recorder::bcdValue(information + kFileIndexAt, 2);
    time = recorder::dateTimeValue(information + kTimeAt);
    gx = recorder::pictureG(information + kGxAt);
    gy = recorder::pictureG(information + kGyAt);
    g = std::sqrt(gx * gx + gy * gy);
    limitedValue = recorder::limitedValue(information + kLimitedAt);
    valueP = recorder::bcdValue(information + kValuePAt, 4);
    valueQ = recorder::bcdValue(information + kValueQAt, 4);
    valueR = recorder::bigEndian16(information + kValueRAt);
    valueS = information[kValueSAt];
    flag = (information[kFlagAt] & 1) != 0;
}
