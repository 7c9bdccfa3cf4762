#include "export/OneShotExport.h"

#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"
#include "export/ExportException.h"
#include "export/ExportProgress.h"
#include "export/OutputFiles.h"
#include "export/PictureRestorer.h"
#include "export/Sha256.h"
#include "export/TimeText.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kNoPicture = 5511;
constexpr int kCannotRead = 5510;

std::wstring withoutExtension(const std::wstring& name) {
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

void OneShotExport::run(ExportResult& result, std::vector<ManifestSource>& sources) {
    const auto total = static_cast<std::int64_t>(plan_.sources().size());
    std::int64_t done = 0;
    std::wstring failure;
    for (const PlannedSource& source : plan_.sources()) {
        if (exportPicture(source.path, sources, failure)) {
            ++result.frames;
        } else if (total == 1) {
            throw ExportException(source.path, failure);
        } else {
            ++result.substitutedFrames;
        }
        if (progress_ && !progress_->keepGoing(++done, total)) throw ExportCancelled{};
    }
    if (result.frames == 0) throw ExportException(plan_.sourcePath(), loadText(kNoPicture));
}

bool OneShotExport::exportPicture(const std::wstring& path, std::vector<ManifestSource>& sources,
                                  std::wstring& failure) {
    VideoArchive archive;
    try {
        archive.readOneShotFile(path);
    } catch (const Exception& error) {
        failure = error.message();
        return false;
    }
    const FrameRecord& record = *archive.record(0);
    PictureRestorer restorer;
    std::vector<std::uint8_t> jpeg;
    ManifestSource entry;
    if (!restorer.open(path) || !Sha256::ofFile(path, entry.sha256, entry.size)) {
        failure = loadText(kCannotRead);
        return false;
    }
    if (!restorer.restore(record, jpeg)) {
        failure = loadText(kNoPicture);
        return false;
    }
    const std::string stamp = timeText::fileStamp(record.time);
    const std::wstring stem = stamp.empty() ? withoutExtension(platform::fileName(path)) : fromUtf8(stamp);
    output_.write(jpeg.data(), jpeg.size(), uniqueName(stem));
    entry.cardPath = cardRelativePath(path);
    entry.kind = "oneshot";
    entry.recordedAt = record.time;
    entry.frames = 1;
    sources.push_back(entry);
    return true;
}

// Pictures taken within one second share a stamp: "_2", "_3" ... follow.
std::wstring OneShotExport::uniqueName(const std::wstring& stem) {
    std::wstring name = stem + L".jpg";
    for (int n = 2; names_.count(name); ++n) name = stem + L"_" + std::to_wstring(n) + L".jpg";
    names_.insert(name);
    return name;
}
