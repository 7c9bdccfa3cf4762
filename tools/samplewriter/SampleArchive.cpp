#include "tools/samplewriter/SampleArchive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "platform/File.h"
#include "tools/samplewriter/CabinSound.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/GSensorTrack.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/RoadScene.h"
#include "tools/samplewriter/Waveforms.h"

namespace samplewriter {
namespace {

constexpr std::uint32_t kEventStampLead = 5;  // the detection lands a few ms after its frame
constexpr int kMaxJitter = 4;                 // ms of timing noise on frame stamps; far below a frame period
constexpr std::size_t kSoundPayloadAlignment = 16;
constexpr double kShockSeconds = 0.5;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void requireValid(const ArchiveSetup& setup) {
    if (setup.fps <= 0 || setup.frameCount < 0 || setup.width <= 0 || setup.height <= 0)
        throw std::invalid_argument("archive setup: fps, frame count, width and height must be positive");
}

std::uint32_t noiseKeyOf(const CalendarTime& t) {
    std::uint32_t noiseKey = 0;
    for (int field : {t.year, t.month, t.day, t.hour, t.minute, t.second})
        noiseKey = noiseKey * 61u + static_cast<std::uint32_t>(field);
    return noiseKey;
}

std::uint32_t noiseKeyOf(const ArchiveSetup& setup) {
    return noiseKeyOf(setup.recordedAt) ^ (setup.firstStamp * 2654435761u);
}

double secondsOf(const ArchiveSetup& setup, int frame) {
    return (frameStamp(setup, frame) - setup.firstStamp) / 1000.0;
}

int eventFrameOf(const ArchiveSetup& setup) {
    return setup.kind == ArchiveKind::Event ? setup.eventFrame : -1;
}

double eventSecondsOf(const ArchiveSetup& setup) {
    return setup.kind == ArchiveKind::Event ? secondsOf(setup, setup.eventFrame) : -1.0;
}

GSensorTrack trackOf(const ArchiveSetup& setup) {
    return GSensorTrack(noiseKeyOf(setup), eventSecondsOf(setup));
}

std::string timeText(const CalendarTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string frameText(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "#%04d", number);
    return text;
}

Bytes renderPayload(int width, int height, int quality, const SceneMoment& moment, std::uint8_t major,
                    std::uint8_t minor) {
    const RgbFrame frame = RoadScene(width, height).render(moment);
    return makePicturePayload(encodeRecorderJpeg(frame, quality), major, minor);
}

// Sound blocks of kSoundBlockMilliseconds each; block k starts at sample
// floor(k * 5512.5), so that the samples up to the next block's stamp are
// exactly the block's own.
struct SoundPlan {
    std::int64_t totalSamples = 0;
    int blockCount = 0;

    static std::int64_t startOf(int block) {
        return static_cast<std::int64_t>(block) * kSoundBlockMilliseconds * kSoundRate / 1000;
    }
    std::int64_t endOf(int block) const { return std::min(startOf(block + 1), totalSamples); }
};

SoundPlan soundPlanOf(const ArchiveSetup& setup) {
    SoundPlan plan;
    if (!setup.withSound || setup.frameCount == 0) return plan;
    const std::int64_t lastStamp = frameStamp(setup, setup.frameCount - 1) - setup.firstStamp;
    const std::int64_t milliseconds = lastStamp + 1000 / setup.fps;
    plan.totalSamples = milliseconds * kSoundRate / 1000;
    while (SoundPlan::startOf(plan.blockCount) < plan.totalSamples) ++plan.blockCount;
    return plan;
}

CabinSound soundOf(const ArchiveSetup& setup) {
    const std::int64_t knock =
        setup.kind == ArchiveKind::Event
            ? static_cast<std::int64_t>(frameStamp(setup, setup.eventFrame) - setup.firstStamp) * kSoundRate / 1000
            : -1;
    return CabinSound(noiseKeyOf(setup), knock);
}

RecordingHeaderFields headerOf(const ArchiveSetup& setup) {
    RecordingHeaderFields header;
    header.kindByte = setup.kindByte;
    header.recordedAt = setup.headerTime.value_or(setup.recordedAt);
    header.eventStamp = eventStampOf(setup);
    header.indicator = setup.indicator;
    if (setup.kind == ArchiveKind::Event) {
        const GSensorTrack track = trackOf(setup);
        const double at = eventSecondsOf(setup);
        header.rawGx = rawGFromG(track.gx(at));
        header.rawGy = rawGFromG(track.gy(at));
        header.limitedDigits = framePictureInfo(setup, std::clamp(setup.eventFrame, 0, 899)).limitedDigits;
    } else {
        header.rawGx = rawGFromG(0);
        header.rawGy = rawGFromG(0);
    }
    return header;
}

// Writes blocks and remembers where they went.
class BlockSink {
public:
    BlockSink(Bytes& out, ArchiveLayout* layout) : out_(out), layout_(layout) {}

    void add(const Bytes& block, int frame) {
        if (layout_) {
            BlockPlacement placement;
            placement.headerOffset = out_.size();
            placement.payloadOffset = out_.size() + kBlockHeaderSize;
            placement.payloadSize = static_cast<std::int32_t>(block.size() - kBlockHeaderSize);
            placement.stamp = static_cast<std::uint32_t>(block[4]) << 24 | block[5] << 16 | block[6] << 8 | block[7];
            placement.type = block[12];
            placement.frame = frame;
            layout_->blocks.push_back(placement);
        }
        appendBytes(out_, block);
    }

    std::size_t size() const { return out_.size(); }

private:
    Bytes& out_;
    ArchiveLayout* layout_;
};

}  // namespace

std::uint32_t frameStamp(const ArchiveSetup& setup, int frame) {
    if (frame <= 0) return setup.firstStamp;
    const std::int64_t nominal = static_cast<std::int64_t>(frame) * 1000 / setup.fps;
    // One ms past the nominal time keeps every stamp clear of the slot boundary
    // below it, whatever rounding a reader's slot arithmetic does.
    const int jitter = static_cast<int>((noiseAt(0x51A4u, frame) + 1) * 0.5 * kMaxJitter);
    return setup.firstStamp + static_cast<std::uint32_t>(nominal + 1 + jitter);
}

CalendarTime frameTime(const ArchiveSetup& setup, int frame) {
    if (setup.kind == ArchiveKind::Chapter) return addSeconds(setup.recordedAt, frame / setup.fps);
    // The event falls mid-second: half a second of frames before it share its second.
    return addSeconds(setup.recordedAt, floorDiv(frame - setup.eventFrame + setup.fps / 2, setup.fps));
}

PictureInfoFields framePictureInfo(const ArchiveSetup& setup, int frame) {
    const double seconds = secondsOf(setup, frame);
    const GSensorTrack track = trackOf(setup);
    PictureInfoFields info;
    info.fileNumber = setup.fileNumber;
    info.fileIndex = (setup.firstFileIndex + frame) % 10000;
    info.time = frameTime(setup, frame);
    info.gxDigits = gDigitsFromG(track.gx(seconds));
    info.gyDigits = gDigitsFromG(track.gy(seconds));
    info.limitedDigits = static_cast<int>(36 + 12 * triangleWave((seconds + setup.firstSceneFrame) / 40.0));
    info.valueP = 35000000u + static_cast<std::uint32_t>(frame) * 3;
    info.valueQ = 13900000u + static_cast<std::uint32_t>(frame) * 2;
    info.valueR = static_cast<std::uint16_t>(0x0100 | (frame & 0xFF));
    info.indicator = frame == setup.indicatorFrame;
    return info;
}

std::uint32_t eventStampOf(const ArchiveSetup& setup) {
    if (setup.eventStamp) return *setup.eventStamp;
    return setup.kind == ArchiveKind::Event ? frameStamp(setup, setup.eventFrame) + kEventStampLead : 0;
}

Bytes framePicturePayload(const ArchiveSetup& setup, int frame) {
    requireValid(setup);
    SceneMoment moment;
    moment.seconds = static_cast<double>(setup.firstSceneFrame) / setup.fps + secondsOf(setup, frame);
    const double sinceEvent = secondsOf(setup, frame) - eventSecondsOf(setup);
    if (eventFrameOf(setup) >= 0 && sinceEvent >= 0 && sinceEvent < kShockSeconds)
        moment.shock = 1 - sinceEvent / kShockSeconds;
    moment.frameText = frameText(frame);
    moment.timeText = timeText(frameTime(setup, frame));
    return renderPayload(setup.width, setup.height, setup.jpegQuality, moment, setup.modelMajor, setup.modelMinor);
}

Bytes recordingSound(const ArchiveSetup& setup) {
    requireValid(setup);
    const SoundPlan plan = soundPlanOf(setup);
    return soundOf(setup).samples(0, static_cast<std::size_t>(plan.totalSamples));
}

Bytes buildArchive(const ArchiveSetup& setup, ArchiveLayout* layout) {
    requireValid(setup);
    if (layout) *layout = ArchiveLayout{};
    Bytes out = buildRecordingHeader(headerOf(setup));
    BlockSink sink(out, layout);

    const std::size_t directoryOffset = out.size();
    if (layout) layout->directoryOffset = directoryOffset;
    const int seconds = std::min<int>(255, (setup.frameCount + setup.fps - 1) / setup.fps);
    std::vector<DirectoryEntry> entries(static_cast<std::size_t>(seconds));
    appendBytes(out, buildDirectory(entries));  // filled in once the offsets are known

    const int leadInFrame =
        setup.kind == ArchiveKind::Event ? std::clamp(setup.eventFrame, 0, std::max(setup.frameCount - 1, 0)) : 0;
    Bytes leadInPayload;
    if (setup.withLeadIn && setup.frameCount > 0) {
        leadInPayload = framePicturePayload(setup, leadInFrame);
        sink.add(buildPictureBlock(frameStamp(setup, leadInFrame), framePictureInfo(setup, leadInFrame), leadInPayload),
                 -1);
    }

    const SoundPlan plan = soundPlanOf(setup);
    const CabinSound sound = soundOf(setup);
    int block = 0;
    int frame = 0;
    while (frame < setup.frameCount || block < plan.blockCount) {
        const std::uint32_t soundStamp = setup.firstStamp + static_cast<std::uint32_t>(block) * kSoundBlockMilliseconds;
        if (block < plan.blockCount && (frame >= setup.frameCount || soundStamp <= frameStamp(setup, frame))) {
            const std::int64_t first = SoundPlan::startOf(block);
            const Bytes samples = sound.samples(first, static_cast<std::size_t>(plan.endOf(block) - first));
            const std::size_t padding =
                (kSoundPayloadAlignment - samples.size() % kSoundPayloadAlignment) % kSoundPayloadAlignment;
            sink.add(buildSoundBlock(soundStamp, samples, padding), -1);
            ++block;
            continue;
        }
        if (frame % setup.fps == 0 && frame / setup.fps < seconds)
            entries[static_cast<std::size_t>(frame / setup.fps)] = {static_cast<std::uint32_t>(sink.size()),
                                                                   frameStamp(setup, frame)};
        const Bytes payload =
            (!leadInPayload.empty() && frame == leadInFrame) ? leadInPayload : framePicturePayload(setup, frame);
        sink.add(buildPictureBlock(frameStamp(setup, frame), framePictureInfo(setup, frame), payload), frame);
        ++frame;
    }

    const Bytes directory = buildDirectory(entries);
    std::copy(directory.begin(), directory.end(), out.begin() + static_cast<std::ptrdiff_t>(directoryOffset));
    return out;
}

Bytes buildOneShotFile(const OneShotSetup& setup) {
    if (setup.width <= 0 || setup.height <= 0) throw std::invalid_argument("one-shot setup: empty picture");
    SceneMoment moment;
    moment.seconds = setup.sceneFrame / 30.0;
    moment.frameText = frameText(setup.fileIndex);
    moment.timeText = timeText(setup.time);
    PictureInfoFields info;
    info.fileNumber = setup.fileNumber;
    info.fileIndex = setup.fileIndex;
    info.time = setup.time;
    info.gxDigits = setup.gxDigits;
    info.gyDigits = setup.gyDigits;
    info.indicator = setup.indicator;
    return buildPictureBlock(
        setup.stamp, info,
        renderPayload(setup.width, setup.height, setup.jpegQuality, moment, setup.modelMajor, setup.modelMinor));
}

bool writeBytes(const std::wstring& path, const Bytes& bytes) {
    File file;
    if (!file.open(path, File::Mode::Create)) return false;
    const bool written = bytes.empty() || file.write(bytes.data(), bytes.size());
    file.close();
    return written;
}

}  // namespace samplewriter
