#pragma once
// Writes an event or video-memory recording (or a part of it) as one AVI file
// with its subtitles and G-sensor table. Each archive is read as the viewer
// reads it; every frame slot becomes one video frame holding the restored
// stored picture, and the sound follows frame by frame on the viewer's clock
// (sound position × frames per second): an event's sound exactly as restored,
// each chapter's padded with silence or cut to its picture duration so that
// chapters stay in step.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/AviWriter.h"
#include "export/ExportManifest.h"
#include "export/ExportPlan.h"
#include "export/ExportResult.h"
#include "export/GTableWriter.h"
#include "export/SubtitleWriter.h"
#include "platform/File.h"
#include "recording/FrameRecord.h"

class ExportProgress;
class OutputFiles;
class VideoArchive;
class PictureRestorer;

class RecordingExport {
public:
    RecordingExport(const ExportPlan& plan, OutputFiles& output, ExportProgress* progress,
                    std::int64_t riffLimit = AviWriter::kRiffLimit);
    ~RecordingExport();

    // Writes the files under temporary names and names them; the manifest's
    // source entries are filled in. Throws ExportException or ExportCancelled.
    void run(ExportResult& result, std::vector<ManifestSource>& sources);

private:
    void exportSource(const PlannedSource& source, std::vector<ManifestSource>& sources);
    bool pictureForSlot(VideoArchive& archive, PictureRestorer& restorer, int slot);
    void writeFrame(std::int64_t overall, const FrameRecord* record);
    void startVideo();
    void writeSoundOf(std::int64_t overall, const PlannedSource& source, File* sound, std::int64_t available);
    std::int64_t soundOffset(std::int64_t frame) const;
    void reportProgress();
    std::wstring baseName(const std::wstring& fallback) const;
    [[noreturn]] void cannotWrite() const;

    const ExportPlan& plan_;
    OutputFiles& output_;
    ExportProgress* progress_;
    std::int64_t riffLimit_;
    File videoFile_;
    int videoId_ = -1;
    std::unique_ptr<AviWriter> writer_;
    SubtitleWriter subtitles_;
    GTableWriter gTable_;
    std::vector<std::uint8_t> picture_;  // the last restored picture
    bool havePicture_ = false;
    std::vector<std::uint8_t> soundPiece_;
    std::int64_t written_ = 0;
    std::int64_t substituted_ = 0;
    std::int64_t firstTime_ = 0;
    FrameRecord lastRecord_;
};
