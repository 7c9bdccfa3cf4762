#include "export/RecordingExport.h"

#include <algorithm>

#include "app/Exception.h"
#include "app/Texts.h"
#include "export/ExportException.h"
#include "export/ExportProgress.h"
#include "export/JpegFrameSize.h"
#include "export/OutputFiles.h"
#include "export/PictureRestorer.h"
#include "export/Sha256.h"
#include "export/TimeText.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/SoundFileWriter.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kCannotRead = 5510;
constexpr int kNoPicture = 5511;
constexpr int kCannotWriteFolder = 5540;
constexpr std::uint8_t kSilence = 0x80;

std::wstring withoutExtension(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

RecordingExport::RecordingExport(const ExportPlan& plan, OutputFiles& output, ExportProgress* progress,
                                 std::int64_t riffLimit)
    : plan_(plan),
      output_(output),
      progress_(progress),
      riffLimit_(riffLimit),
      subtitles_(plan.framesPerSecond()),
      gTable_(plan.framesPerSecond()) {}

RecordingExport::~RecordingExport() = default;

void RecordingExport::run(ExportResult& result, std::vector<ManifestSource>& sources) {
    videoId_ = output_.create(videoFile_);
    for (const PlannedSource& source : plan_.sources()) {
        const bool before = source.firstOverall + source.frames <= plan_.firstFrame();
        if (!before && source.firstOverall < plan_.endFrame()) exportSource(source, sources);
    }
    if (!writer_) throw ExportException(plan_.sourcePath(), loadText(kNoPicture));
    if (!writer_->finish()) cannotWrite();
    videoFile_.close();

    const std::wstring base = baseName(withoutExtension(platform::fileName(plan_.sourcePath())));
    output_.setName(videoId_, base + L".avi");
    output_.write(subtitles_.finish(written_), base + L".srt");
    output_.write(gTable_.text(), base + L".csv");
    result.frames = written_;
    result.substitutedFrames = substituted_;
    result.soundBytes = writer_->soundBytes();
    result.framesPerSecond = plan_.framesPerSecond();
}

void RecordingExport::exportSource(const PlannedSource& source, std::vector<ManifestSource>& sources) {
    const bool event = plan_.kind() == RecordingKind::Event;
    VideoArchive archive;
    try {
        if (event) {
            archive.readEventArchive(source.path);
        } else {
            archive.readChapterArchive(source.path);
        }
    } catch (const Exception& failure) {
        throw ExportException(source.path, failure.message());
    }
    PictureRestorer restorer;
    ManifestSource entry;
    if (!restorer.open(source.path) || !Sha256::ofFile(source.path, entry.sha256, entry.size)) {
        throw ExportException(source.path, loadText(kCannotRead));
    }
    entry.cardPath = cardRelativePath(source.path);
    entry.kind = event ? "event" : "chapter";
    entry.recordedAt = archive.header().recordedAt;
    entry.frames = archive.frameCount();
    sources.push_back(entry);

    File sound;
    std::int64_t available = 0;
    if (!archive.soundFilePath().empty() && sound.open(archive.soundFilePath(), File::Mode::Read)) {
        available = archive.soundDataBytes();
    }
    const std::int64_t first = std::max<std::int64_t>(plan_.firstFrame() - source.firstOverall, 0);
    const std::int64_t end = std::min<std::int64_t>(plan_.endFrame() - source.firstOverall, source.frames);
    for (std::int64_t slot = first; slot < end; ++slot) {
        if (!pictureForSlot(archive, restorer, static_cast<int>(slot))) {
            throw ExportException(source.path, loadText(kNoPicture));
        }
        const std::int64_t overall = source.firstOverall + slot;
        writeFrame(overall, archive.record(static_cast<int>(slot)));
        writeSoundOf(overall, source, sound.isOpen() ? &sound : nullptr, available);
        reportProgress();
    }
}

// A slot whose stored picture cannot be restored repeats the picture before it,
// as the viewer goes on showing it; leading ones take the first that restores.
bool RecordingExport::pictureForSlot(VideoArchive& archive, PictureRestorer& restorer, int slot) {
    std::vector<std::uint8_t> jpeg;
    const FrameRecord* record = archive.record(slot);
    if (record && restorer.restore(*record, jpeg)) {
        picture_.swap(jpeg);
        havePicture_ = true;
        return true;
    }
    ++substituted_;
    for (int later = slot + 1; !havePicture_ && later < archive.frameCount(); ++later) {
        if (restorer.restore(*archive.record(later), jpeg)) {
            picture_.swap(jpeg);
            havePicture_ = true;
        }
    }
    return havePicture_;
}

// Past the archive's own frames (its file changed since it was counted) the
// last values stand.
void RecordingExport::writeFrame(std::int64_t overall, const FrameRecord* record) {
    if (!writer_) startVideo();
    if (!writer_->addVideoFrame(picture_.data(), picture_.size())) cannotWrite();
    if (record) lastRecord_ = *record;
    const std::int64_t index = overall - plan_.firstFrame();
    if (index == 0) firstTime_ = lastRecord_.time;
    subtitles_.addFrame(index, lastRecord_.time, lastRecord_.g);
    gTable_.addFrame(index, lastRecord_.time, lastRecord_.gx, lastRecord_.gy, lastRecord_.g);
    ++written_;
}

void RecordingExport::startVideo() {
    AviFormat format;
    format.framesPerSecond = plan_.framesPerSecond();
    format.sampleRate = SoundFileWriter::kSampleRate;
    if (!jpegFrameSize(picture_.data(), picture_.size(), format.width, format.height)) {
        throw ExportException(plan_.sourcePath(), loadText(kNoPicture));
    }
    writer_ = std::make_unique<AviWriter>(videoFile_, format, riffLimit_);
    if (!writer_->begin()) cannotWrite();
}

// The sound of one frame: its share of the recording's sound on the viewer's
// clock. An event's sound is never padded, and its last frame takes whatever
// sound is left; a chapter's is padded with silence and cut at its end.
void RecordingExport::writeSoundOf(std::int64_t overall, const PlannedSource& source, File* sound,
                                   std::int64_t available) {
    const bool event = plan_.kind() == RecordingKind::Event;
    const std::int64_t base = soundOffset(source.firstOverall);
    const std::int64_t from = soundOffset(overall) - base;
    std::int64_t to = soundOffset(overall + 1) - base;
    if (event) {
        if (overall + 1 == plan_.totalFrames()) to = std::max(to, available);
        to = std::min(to, available);
    }
    if (to <= from) return;
    soundPiece_.assign(static_cast<std::size_t>(to - from), kSilence);
    if (sound && from < available) {
        const auto wanted = static_cast<std::size_t>(std::min(to, available) - from);
        if (sound->seek(static_cast<std::int64_t>(SoundFileWriter::kHeaderSize) + from)) {
            sound->read(soundPiece_.data(), wanted);
        }
    }
    if (!writer_->addSound(soundPiece_.data(), soundPiece_.size())) cannotWrite();
}

std::int64_t RecordingExport::soundOffset(std::int64_t frame) const {
    return frame * SoundFileWriter::kSampleRate / plan_.framesPerSecond();
}

void RecordingExport::reportProgress() {
    if (progress_ && !progress_->keepGoing(written_, plan_.endFrame() - plan_.firstFrame())) throw ExportCancelled{};
}

// "20090615_143000_event.avi": the local time of the first exported frame.
std::wstring RecordingExport::baseName(const std::wstring& fallback) const {
    const std::wstring suffix = plan_.kind() == RecordingKind::Event ? L"_event" : L"_video";
    const std::string stamp = timeText::fileStamp(firstTime_);
    return (stamp.empty() ? fallback : fromUtf8(stamp)) + suffix;
}

void RecordingExport::cannotWrite() const {
    throw ExportException(output_.folder(), loadText(kCannotWriteFolder));
}
