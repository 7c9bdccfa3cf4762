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

void requireValid(const ArchiveSpec& spec) {
    if (spec.fps <= 0 || spec.frameCount < 0 || spec.width <= 0 || spec.height <= 0)
        throw std::invalid_argument("archive spec: fps, frame count, width and height must be positive");
}

std::uint32_t seedOf(const CalendarTime& t) {
    std::uint32_t seed = 0;
    for (int field : {t.year, t.month, t.day, t.hour, t.minute, t.second})
        seed = seed * 61u + static_cast<std::uint32_t>(field);
    return seed;
}

std::uint32_t seedOf(const ArchiveSpec& spec) {
    return seedOf(spec.recordedAt) ^ (spec.firstStamp * 2654435761u);
}

double secondsOf(const ArchiveSpec& spec, int frame) {
    return (frameStamp(spec, frame) - spec.firstStamp) / 1000.0;
}

int eventFrameOf(const ArchiveSpec& spec) {
    return spec.kind == ArchiveKind::Event ? spec.eventFrame : -1;
}

double eventSecondsOf(const ArchiveSpec& spec) {
    return spec.kind == ArchiveKind::Event ? secondsOf(spec, spec.eventFrame) : -1.0;
}

GSensorTrack trackOf(const ArchiveSpec& spec) {
    return GSensorTrack(seedOf(spec), eventSecondsOf(spec));
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

SoundPlan soundPlanOf(const ArchiveSpec& spec) {
    SoundPlan plan;
    if (!spec.withSound || spec.frameCount == 0) return plan;
    const std::int64_t lastStamp = frameStamp(spec, spec.frameCount - 1) - spec.firstStamp;
    const std::int64_t milliseconds = lastStamp + 1000 / spec.fps;
    plan.totalSamples = milliseconds * kSoundRate / 1000;
    while (SoundPlan::startOf(plan.blockCount) < plan.totalSamples) ++plan.blockCount;
    return plan;
}

CabinSound soundOf(const ArchiveSpec& spec) {
    const std::int64_t knock =
        spec.kind == ArchiveKind::Event
            ? static_cast<std::int64_t>(frameStamp(spec, spec.eventFrame) - spec.firstStamp) * kSoundRate / 1000
            : -1;
    return CabinSound(seedOf(spec), knock);
}

RecordingHeaderFields headerOf(const ArchiveSpec& spec) {
    RecordingHeaderFields header;
    header.kindByte = spec.kindByte;
    header.recordedAt = spec.headerTime.value_or(spec.recordedAt);
    header.eventStamp = eventStampOf(spec);
    header.indicator = spec.indicator;
    if (spec.kind == ArchiveKind::Event) {
        const GSensorTrack track = trackOf(spec);
        const double at = eventSecondsOf(spec);
        header.rawGx = rawGFromG(track.gx(at));
        header.rawGy = rawGFromG(track.gy(at));
        header.limitedDigits = framePictureInfo(spec, std::clamp(spec.eventFrame, 0, 899)).limitedDigits;
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

std::uint32_t frameStamp(const ArchiveSpec& spec, int frame) {
    if (frame <= 0) return spec.firstStamp;
    const std::int64_t nominal = static_cast<std::int64_t>(frame) * 1000 / spec.fps;
    // One ms past the nominal time keeps every stamp clear of the slot boundary
    // below it, whatever rounding a reader's slot arithmetic does.
    const int jitter = static_cast<int>((noiseAt(0x51A4u, frame) + 1) * 0.5 * kMaxJitter);
    return spec.firstStamp + static_cast<std::uint32_t>(nominal + 1 + jitter);
}

CalendarTime frameTime(const ArchiveSpec& spec, int frame) {
    if (spec.kind == ArchiveKind::Chapter) return addSeconds(spec.recordedAt, frame / spec.fps);
    // The event falls mid-second: half a second of frames before it share its second.
    return addSeconds(spec.recordedAt, floorDiv(frame - spec.eventFrame + spec.fps / 2, spec.fps));
}

PictureInfoFields framePictureInfo(const ArchiveSpec& spec, int frame) {
    const double seconds = secondsOf(spec, frame);
    const GSensorTrack track = trackOf(spec);
    PictureInfoFields info;
    info.fileNumber = spec.fileNumber;
    info.fileIndex = (spec.firstFileIndex + frame) % 10000;
    info.time = frameTime(spec, frame);
    info.gxDigits = gDigitsFromG(track.gx(seconds));
    info.gyDigits = gDigitsFromG(track.gy(seconds));
    info.limitedDigits = static_cast<int>(36 + 12 * triangleWave((seconds + spec.firstSceneFrame) / 40.0));
    info.valueP = 35000000u + static_cast<std::uint32_t>(frame) * 3;
    info.valueQ = 13900000u + static_cast<std::uint32_t>(frame) * 2;
    info.valueR = static_cast<std::uint16_t>(0x0100 | (frame & 0xFF));
    info.indicator = frame == spec.indicatorFrame;
    return info;
}

std::uint32_t eventStampOf(const ArchiveSpec& spec) {
    if (spec.eventStamp) return *spec.eventStamp;
    return spec.kind == ArchiveKind::Event ? frameStamp(spec, spec.eventFrame) + kEventStampLead : 0;
}

Bytes framePicturePayload(const ArchiveSpec& spec, int frame) {
    requireValid(spec);
    SceneMoment moment;
    moment.seconds = static_cast<double>(spec.firstSceneFrame) / spec.fps + secondsOf(spec, frame);
    const double sinceEvent = secondsOf(spec, frame) - eventSecondsOf(spec);
    if (eventFrameOf(spec) >= 0 && sinceEvent >= 0 && sinceEvent < kShockSeconds)
        moment.shock = 1 - sinceEvent / kShockSeconds;
    moment.frameText = frameText(frame);
    moment.timeText = timeText(frameTime(spec, frame));
    return renderPayload(spec.width, spec.height, spec.jpegQuality, moment, spec.modelMajor, spec.modelMinor);
}

Bytes recordingSound(const ArchiveSpec& spec) {
    requireValid(spec);
    const SoundPlan plan = soundPlanOf(spec);
    return soundOf(spec).samples(0, static_cast<std::size_t>(plan.totalSamples));
}

Bytes buildArchive(const ArchiveSpec& spec, ArchiveLayout* layout) {
    requireValid(spec);
    if (layout) *layout = ArchiveLayout{};
    Bytes out = buildRecordingHeader(headerOf(spec));
    BlockSink sink(out, layout);

    const std::size_t directoryOffset = out.size();
    if (layout) layout->directoryOffset = directoryOffset;
    const int seconds = std::min<int>(255, (spec.frameCount + spec.fps - 1) / spec.fps);
    std::vector<DirectoryEntry> entries(static_cast<std::size_t>(seconds));
    appendBytes(out, buildDirectory(entries));  // filled in once the offsets are known

    const int leadInFrame =
        spec.kind == ArchiveKind::Event ? std::clamp(spec.eventFrame, 0, std::max(spec.frameCount - 1, 0)) : 0;
    Bytes leadInPayload;
    if (spec.withLeadIn && spec.frameCount > 0) {
        leadInPayload = framePicturePayload(spec, leadInFrame);
        sink.add(buildPictureBlock(frameStamp(spec, leadInFrame), framePictureInfo(spec, leadInFrame), leadInPayload),
                 -1);
    }

    const SoundPlan plan = soundPlanOf(spec);
    const CabinSound sound = soundOf(spec);
    int block = 0;
    int frame = 0;
    while (frame < spec.frameCount || block < plan.blockCount) {
        const std::uint32_t soundStamp = spec.firstStamp + static_cast<std::uint32_t>(block) * kSoundBlockMilliseconds;
        if (block < plan.blockCount && (frame >= spec.frameCount || soundStamp <= frameStamp(spec, frame))) {
            const std::int64_t first = SoundPlan::startOf(block);
            const Bytes samples = sound.samples(first, static_cast<std::size_t>(plan.endOf(block) - first));
            const std::size_t padding =
                (kSoundPayloadAlignment - samples.size() % kSoundPayloadAlignment) % kSoundPayloadAlignment;
            sink.add(buildSoundBlock(soundStamp, samples, padding), -1);
            ++block;
            continue;
        }
        if (frame % spec.fps == 0 && frame / spec.fps < seconds)
            entries[static_cast<std::size_t>(frame / spec.fps)] = {static_cast<std::uint32_t>(sink.size()),
                                                                   frameStamp(spec, frame)};
        const Bytes payload =
            (!leadInPayload.empty() && frame == leadInFrame) ? leadInPayload : framePicturePayload(spec, frame);
        sink.add(buildPictureBlock(frameStamp(spec, frame), framePictureInfo(spec, frame), payload), frame);
        ++frame;
    }

    const Bytes directory = buildDirectory(entries);
    std::copy(directory.begin(), directory.end(), out.begin() + static_cast<std::ptrdiff_t>(directoryOffset));
    return out;
}

Bytes buildOneShotFile(const OneShotSpec& spec) {
    if (spec.width <= 0 || spec.height <= 0) throw std::invalid_argument("one-shot spec: empty picture");
    SceneMoment moment;
    moment.seconds = spec.sceneFrame / 30.0;
    moment.frameText = frameText(spec.fileIndex);
    moment.timeText = timeText(spec.time);
    PictureInfoFields info;
    info.fileNumber = spec.fileNumber;
    info.fileIndex = spec.fileIndex;
    info.time = spec.time;
    info.gxDigits = spec.gxDigits;
    info.gyDigits = spec.gyDigits;
    info.indicator = spec.indicator;
    return buildPictureBlock(
        spec.stamp, info,
        renderPayload(spec.width, spec.height, spec.jpegQuality, moment, spec.modelMajor, spec.modelMinor));
}

bool writeBytes(const std::wstring& path, const Bytes& bytes) {
    File file;
    if (!file.open(path, File::Mode::Create)) return false;
    const bool written = bytes.empty() || file.write(bytes.data(), bytes.size());
    file.close();
    return written;
}

}  // namespace samplewriter
