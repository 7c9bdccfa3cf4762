#include "recording/FrameTimes.h"

#include <cstddef>
#include <cwchar>

#include "platform/LocalTime.h"

#include "recording/FileSource.h"
#include "recording/RecordingHeader.h"

namespace {

constexpr std::size_t kArchiveHeaderSize = 32;

bool isEvent(const IVideoInfo& info) {
    return (info.triggerKind() == 1 || info.triggerKind() == 2) && info.referenceFrame() >= 0;
}

// Seconds from a whole number of frames, rounded toward minus infinity so that
// frames before an event's moment fall in the second before it.
std::int64_t wholeSeconds(std::int64_t frames, int framesPerSecond) {
    std::int64_t seconds = frames / framesPerSecond;
    if (frames % framesPerSecond < 0) --seconds;
    return seconds;
}

}  // namespace

std::int64_t FrameTimes::timeOf(const IVideoInfo& info, int index, int framesPerSecond) {
    if (index < 0 || index >= info.frameCount() || framesPerSecond <= 0) return 0;
    if (const FrameRecord* record = info.frameRecord(index); record && record->time != 0) return record->time;
    const std::int64_t start = info.recordedAt();
    if (start == 0) return 0;
    const std::int64_t origin = isEvent(info) ? info.referenceFrame() : 0;
    return start + wholeSeconds(index - origin, framesPerSecond);
}

int FrameTimes::frameAtOrBefore(const IVideoInfo& info, std::int64_t time, int framesPerSecond) {
    int best = -1;
    std::int64_t bestTime = 0;
    for (int index = 0; index < info.frameCount(); ++index) {
        const std::int64_t frameTime = timeOf(info, index, framesPerSecond);
        if (frameTime == 0 || frameTime > time) continue;
        if (best < 0 || frameTime > bestTime) {
            best = index;
            bestTime = frameTime;
        }
    }
    return best;
}

std::int64_t FrameTimes::chapterStart(const std::wstring& path) {
    const std::unique_ptr<FileSource> source = FileSource::open(path);
    if (!source) return 0;
    std::uint8_t header[kArchiveHeaderSize];
    if (source->readAt(0, header, sizeof header) < sizeof header) return 0;
    return RecordingHeader::fromArchiveHeader(header).recordedAt;
}

std::wstring FrameTimes::text(std::int64_t time) {
    CalendarTime local;
    if (time == 0 || !platform::timeValueToLocal(time, local)) return std::wstring();
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%04d/%02d/%02d %02d:%02d:%02d", local.year, local.month, local.day, local.hour,
                  local.minute, local.second);
    return buffer;
}
