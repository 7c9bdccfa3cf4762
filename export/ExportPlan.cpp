#include "export/ExportPlan.h"

#include <cmath>

#include "app/Exception.h"
#include "app/Texts.h"
#include "export/ExportException.h"
#include "platform/FileSystem.h"
#include "recording/ArchiveFormat.h"
#include "recording/ChapterList.h"
#include "recording/RecordingFolder.h"
#include "recording/VideoArchive.h"

const char* recordingKindName(RecordingKind kind) {
    switch (kind) {
        case RecordingKind::Event: return "event";
        case RecordingKind::VideoMemory: return "videoMemory";
        default: return "oneShot";
    }
}

namespace {

constexpr int kNoData = 5505;
constexpr int kCannotRead = 5510;

// A frame starting within a millisecond before a bound counts as on it, so that
// --from 10 begins at frame 300 although 10 × 30 is not exact in binary.
constexpr double kFrameTolerance = 1e-6;

std::wstring firstMatching(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    if (!findRecordingFiles(folder, pattern, names) || names.empty()) return L"";
    return platform::joinPath(folder, names.front());
}

}  // namespace

ExportPlan ExportPlan::forSource(const std::wstring& source, const ExportRange& range) {
    ExportPlan plan;
    plan.sourcePath_ = source;
    plan.range_ = range;
    try {
        if (platform::isFolder(source)) {
            if (const std::wstring event = firstMatching(source, patternFor(0)); !event.empty()) {
                plan.planEvent(event);
            } else if (!firstMatching(source, patternFor(2)).empty()) {
                ChapterTable table;
                int count = 0;
                bool tooMany = false;
                listChapters(source, table, count, tooMany);
                plan.planChapters(std::vector<std::wstring>(table.begin(), table.begin() + count));
            } else if (!firstMatching(source, patternFor(1)).empty()) {
                plan.planOneShots(source, L"");
            } else {
                throw ExportException(source, loadText(kNoData));
            }
        } else {
            switch (archiveFormatOf(source)) {
                case ArchiveFormat::Event: plan.planEvent(source); break;
                case ArchiveFormat::Chapter: plan.planChapters({source}); break;
                case ArchiveFormat::OneShot: plan.planOneShots(L"", source); break;
                default: throw ExportException(source, loadText(kCannotRead));
            }
        }
    } catch (const ExportException&) {
        throw;
    } catch (const Exception& failure) {
        throw ExportException(source, failure.message());
    }
    plan.applyRange();
    return plan;
}

void ExportPlan::planEvent(const std::wstring& archive) {
    kind_ = RecordingKind::Event;
    VideoArchive reader;
    reader.readEventArchive(archive);
    sources_.push_back(PlannedSource{archive, reader.frameCount(), 0});
    total_ = reader.frameCount();
}

// Chapters follow each other as the viewer plays them, each with the frames
// its own file holds.
void ExportPlan::planChapters(const std::vector<std::wstring>& chapters) {
    kind_ = RecordingKind::VideoMemory;
    for (const std::wstring& chapter : chapters) {
        int frames = 0;
        try {
            frames = VideoArchive::countChapterFrames(chapter);
        } catch (const Exception& failure) {
            throw ExportException(chapter, failure.message());
        }
        sources_.push_back(PlannedSource{chapter, frames, total_});
        total_ += frames;
    }
}

// One-shot pictures are listed by the folder scan (time order, at most 600);
// the export reads them again itself.
void ExportPlan::planOneShots(const std::wstring& folder, const std::wstring& file) {
    kind_ = RecordingKind::OneShot;
    if (range_.hasFrom || range_.hasTo) throw ExportException(folder.empty() ? file : folder, loadText(kNoData));
    if (!file.empty()) {
        sources_.push_back(PlannedSource{file, 1, 0});
    } else {
        VideoArchive reader;
        reader.readOneShotFolder(folder);
        for (int i = 0; i < reader.frameCount(); ++i) {
            if (const FrameRecord* record = reader.record(i)) sources_.push_back(PlannedSource{record->path, 1, i});
        }
    }
    total_ = static_cast<std::int64_t>(sources_.size());
}

void ExportPlan::applyRange() {
    if (kind_ == RecordingKind::OneShot) {
        first_ = 0;
        end_ = total_;
    } else if (!framesOfRange(range_, framesPerSecond(), total_, first_, end_)) {
        throw ExportException(sourcePath_, loadText(kNoData));
    }
    if (end_ <= first_) throw ExportException(sourcePath_, loadText(kNoData));
}

bool ExportPlan::framesOfRange(const ExportRange& range, int framesPerSecond, std::int64_t total,
                               std::int64_t& first, std::int64_t& end) {
    first = 0;
    end = total;
    if (range.hasFrom) {
        if (!(range.from >= 0.0) || range.from * framesPerSecond > static_cast<double>(total)) return false;
        first = static_cast<std::int64_t>(std::ceil(range.from * framesPerSecond - kFrameTolerance));
    }
    if (range.hasTo) {
        if (!(range.to >= 0.0)) return false;
        const double to = std::ceil(range.to * framesPerSecond - kFrameTolerance);
        if (to < static_cast<double>(end)) end = static_cast<std::int64_t>(to);
    }
    return first < end;
}
