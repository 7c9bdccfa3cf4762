#include "recording/RecordingHeader.h"

#include "recording/FrameRecord.h"
#include "recording/RecorderFields.h"

namespace {

// Archive header layout.
constexpr int kKindAt = 0;
constexpr int kRecordedAtAt = 2;
constexpr int kEventStampAt = 8;
constexpr int kRawGxAt = 12;
constexpr int kRawGyAt = 14;
constexpr int kLimitedAt = 16;
constexpr int kExtraByteAt = 28;
constexpr int kFlagAt = 29;

int triggerKindOf(std::uint8_t kindByte) {
    switch (kindByte) {
        case 0x10:
            return 1;  // event memory, automatic detection
        case 0x20:
            return 2;  // event memory, manual
        case 0x18:
            return 11;  // one-shot memory
        case 0x19:
            return 12;  // video memory
        default:
            return 0;
    }
}

}  // namespace

RecordingHeader RecordingHeader::fromArchiveHeader(const std::uint8_t* bytes) {
    RecordingHeader header;
    header.triggerKind = triggerKindOf(bytes[kKindAt]);
    header.recordedAt = recorder::dateTimeValue(bytes + kRecordedAtAt);
    header.eventStamp = recorder::bigEndian32(bytes + kEventStampAt);
    header.headerGx = recorder::headerG(recorder::bigEndian16(bytes + kRawGxAt));
    header.headerGy = recorder::headerG(recorder::bigEndian16(bytes + kRawGyAt));
    header.limitedValue = recorder::limitedValue(bytes + kLimitedAt);
    header.extraByte = bytes[kExtraByteAt];
    header.flag = bytes[kFlagAt] & 1;
    return header;
}

RecordingHeader RecordingHeader::fromPictureInformation(const std::uint8_t* information) {
    FrameRecord picture;
    picture.readPictureInformation(information);
    RecordingHeader header;
    header.triggerKind = 11;
    header.recordedAt = picture.time;
    header.headerGx = picture.gx;
    header.headerGy = picture.gy;
    header.limitedValue = picture.limitedValue;
    header.eventStamp = 0;
    header.flag = picture.flag ? 1 : 0;
    header.extraByte = picture.valueS;
    return header;
}
