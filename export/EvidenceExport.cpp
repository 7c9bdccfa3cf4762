#include "export/EvidenceExport.h"

#include <vector>

#include "app/Texts.h"
#include "export/ExportException.h"
#include "export/ExportManifest.h"
#include "export/ExportProgress.h"
#include "export/OneShotExport.h"
#include "export/OutputFiles.h"
#include "export/RecordingExport.h"
#include "export/Sha256.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kCannotWriteFolder = 5540;

std::wstring withoutTrailingSeparators(std::wstring path) {
    while (path.size() > 1 && (path.back() == L'/' || path.back() == L'\\')) path.pop_back();
    return path;
}

// The card is never written: not even into the folder of a recording.
void refuseRecordingFolder(const ExportPlan& plan, const std::wstring& folder) {
    const std::wstring target = withoutTrailingSeparators(folder);
    for (const PlannedSource& source : plan.sources()) {
        if (withoutTrailingSeparators(platform::parentFolder(source.path)) == target) {
            throw ExportException(folder, loadText(kCannotWriteFolder));
        }
    }
}

void addWrittenFiles(ExportManifest& manifest, const OutputFiles& output, ExportProgress* progress) {
    for (int id = 0; id < output.count(); ++id) {
        ManifestFile file;
        file.name = output.name(id);
        if (!Sha256::ofFile(output.temporaryPath(id), file.sha256, file.size)) {
            throw ExportException(output.folder(), loadText(kCannotWriteFolder));
        }
        manifest.addFile(file);
        if (progress && !progress->keepGoing(1, 1)) throw ExportCancelled{};
    }
}

}  // namespace

ExportResult EvidenceExport::run(const std::wstring& source, const std::wstring& folder, const ExportRange& range,
                                 ExportProgress* progress, std::int64_t riffLimit) {
    const ExportPlan plan = ExportPlan::forSource(source, range);
    refuseRecordingFolder(plan, folder);
    OutputFiles output(folder);
    ExportResult result;
    result.kind = plan.kind();
    result.folder = folder;
    std::vector<ManifestSource> sources;
    if (plan.kind() == RecordingKind::OneShot) {
        OneShotExport(plan, output, progress).run(result, sources);
    } else {
        RecordingExport(plan, output, progress, riffLimit).run(result, sources);
    }
    output.checkNamesFree();

    ManifestRecording recording;
    recording.kind = recordingKindName(plan.kind());
    recording.framesPerSecond = plan.kind() == RecordingKind::OneShot ? 0 : plan.framesPerSecond();
    recording.firstFrame = plan.firstFrame();
    recording.frames = result.frames;
    recording.substitutedFrames = result.substitutedFrames;
    recording.soundBytes = result.soundBytes;
    ExportManifest manifest(recording);
    for (const ManifestSource& entry : sources) manifest.addSource(entry);
    addWrittenFiles(manifest, output, progress);
    output.write(manifest.text(), ExportManifest::kName);
    output.commit();
    for (int id = 0; id < output.count(); ++id) result.files.push_back(output.name(id));
    return result;
}
