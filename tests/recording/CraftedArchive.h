#pragma once
// Archives put together block by block from the sample writer's builders, for
// the cases a well-behaved recorder never writes: damage, odd stamps, odd sizes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ModelCode.h"
#include "platform/File.h"
#include "recording/MemorySource.h"
#include "tools/samplewriter/RecorderBlocks.h"
#include "tools/samplewriter/RecorderJpeg.h"

namespace crafted {

namespace sw = samplewriter;

inline constexpr CalendarTime kDay{2009, 6, 15, 14, 30, 0};

// The shipped string table's model code, which the sample writer also uses.
inline void useShippedModelCode() {
    modelCode() = ModelCode{2, 3};
}

// A small real picture in the recorder's layout, tagged with the model code.
inline const sw::Bytes& smallPayload() {
    static const sw::Bytes payload = [] {
        sw::RgbFrame frame(16, 8);
        frame.fill(0, 0, 8, 8, sw::RgbColour{200, 30, 30});
        frame.fill(8, 0, 16, 8, sw::RgbColour{30, 30, 200});
        return sw::makePicturePayload(sw::encodeRecorderJpeg(frame, 90), 2, 3);
    }();
    return payload;
}

inline CalendarTime secondsAfter(CalendarTime time, int seconds) {
    time.second += seconds;
    return time;
}

inline sw::PictureInfoFields infoAt(CalendarTime time) {
    sw::PictureInfoFields info;
    info.time = time;
    return info;
}

class Archive {
public:
    explicit Archive(std::uint8_t kindByte = sw::kKindAutomaticEvent, std::uint32_t eventStamp = 0,
                     CalendarTime recordedAt = kDay, std::uint8_t directoryEntries = 0) {
        sw::RecordingHeaderFields header;
        header.kindByte = kindByte;
        header.recordedAt = recordedAt;
        header.eventStamp = eventStamp;
        bytes = sw::buildRecordingHeader(header);
        sw::appendBytes(bytes, sw::buildDirectoryPrefix(directoryEntries));
        bytes.resize(bytes.size() + 8u * directoryEntries);
    }

    Archive& leadIn(std::uint32_t stamp = 0, const sw::Bytes& payload = smallPayload()) {
        return picture(stamp, kDay, payload);
    }
    Archive& picture(std::uint32_t stamp, CalendarTime time, const sw::Bytes& payload = smallPayload()) {
        sw::appendBytes(bytes, sw::buildPictureBlock(stamp, infoAt(time), payload));
        return *this;
    }
    Archive& picture(std::uint32_t stamp, const sw::PictureInfoFields& info,
                     const sw::Bytes& payload = smallPayload()) {
        sw::appendBytes(bytes, sw::buildPictureBlock(stamp, info, payload));
        return *this;
    }
    Archive& sound(std::uint32_t stamp, const sw::Bytes& samples, std::size_t padding = 0) {
        sw::appendBytes(bytes, sw::buildSoundBlock(stamp, samples, padding));
        return *this;
    }
    Archive& block(const sw::BlockHeaderFields& fields, const sw::Bytes& payload) {
        sw::appendBytes(bytes, sw::buildBlockHeader(fields));
        sw::appendBytes(bytes, payload);
        return *this;
    }
    Archive& raw(const sw::Bytes& more) {
        sw::appendBytes(bytes, more);
        return *this;
    }

    std::unique_ptr<MemorySource> source() const { return std::make_unique<MemorySource>(bytes); }

    sw::Bytes bytes;
};

// The whole of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> fileBytes(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read) || file.size() <= 0) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace crafted
