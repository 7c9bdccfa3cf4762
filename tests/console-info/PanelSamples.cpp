#include "console-info/PanelSamples.h"

#include <windows.h>

#include <vector>

#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

using samplewriter::ArchiveKind;
using samplewriter::ArchiveSetup;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

ArchiveSetup eventSpec(int frames, int reference) {
    ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = reference;
    setup.recordedAt = PanelSamples::eventTime;
    setup.width = kWidth;
    setup.height = kHeight;
    setup.withSound = false;
    return setup;
}

ArchiveSetup chapterSpec(int index) {
    ArchiveSetup setup;
    setup.kind = ArchiveKind::Chapter;
    setup.kindByte = samplewriter::kKindVideo;
    setup.fps = 10;
    setup.frameCount = PanelSamples::chapterFrames;
    setup.recordedAt = samplewriter::addSeconds(PanelSamples::chapterTime, 60 * index);
    setup.headerTime = samplewriter::addSeconds(PanelSamples::chapterHeaderTime, 60 * index);
    setup.firstStamp = 5000000 + 60000u * static_cast<std::uint32_t>(index);
    setup.fileNumber = static_cast<std::uint8_t>(index + 1);
    setup.width = kWidth;
    setup.height = kHeight;
    setup.withSound = false;
    return setup;
}

samplewriter::OneShotSetup shotSpec(const CalendarTime& time) {
    samplewriter::OneShotSetup setup;
    setup.time = time;
    setup.width = kWidth;
    setup.height = kHeight;
    return setup;
}

bool writeFile(const std::wstring& folder, const std::wstring& name, const samplewriter::Bytes& bytes) {
    return platform::createFolder(folder) && samplewriter::writeBytes(platform::joinPath(folder, name), bytes);
}

bool writeChapters(const std::wstring& folder, int count) {
    for (int index = 0; index < count; ++index) {
        wchar_t name[32];
        swprintf(name, 32, L"Video%04d.dmv", index + 1);
        if (!writeFile(folder, name, samplewriter::buildArchive(chapterSpec(index)))) return false;
    }
    return true;
}

}  // namespace

PanelSamples PanelSamples::write() {
    PanelSamples samples;
    samples.root =
        platform::joinPath(platform::temporaryFolder(), L"orvelle-panels-" + std::to_wstring(GetCurrentProcessId()));
    removeFolderTree(samples.root);
    samples.eventFolder = platform::joinPath(samples.root, L"EVENT");
    samples.manualFolder = platform::joinPath(samples.root, L"MANUAL");
    samples.undetectedFolder = platform::joinPath(samples.root, L"UNDETECTED");
    samples.videoFolder = platform::joinPath(samples.root, L"VIDEO");
    samples.singleChapterFolder = platform::joinPath(samples.root, L"VIDEO1");
    samples.shotFolder = platform::joinPath(samples.root, L"SHOT");
    samples.datedShot = platform::joinPath(samples.shotFolder, L"Dated.dpc");
    samples.undatedShot = platform::joinPath(samples.shotFolder, L"Undated.dpc");

    ArchiveSetup event = eventSpec(eventFrames, eventReference);
    event.headerTime = eventHeaderTime;
    ArchiveSetup manual = eventSpec(manualFrames, manualReference);
    manual.kindByte = samplewriter::kKindManualEvent;
    manual.indicatorFrame = manualReference;
    ArchiveSetup undetected = eventSpec(manualFrames, manualReference);
    undetected.eventStamp = 0;  // the recorder lost the detection moment
    const CalendarTime noDate{2000, 0, 0, 0, 0, 0};

    const bool written =
        platform::createFolder(samples.root) &&
        writeFile(samples.eventFolder, L"Video.dvt", samplewriter::buildArchive(event)) &&
        writeFile(samples.manualFolder, L"Video.dvt", samplewriter::buildArchive(manual)) &&
        writeFile(samples.undetectedFolder, L"Video.dvt", samplewriter::buildArchive(undetected)) &&
        writeChapters(samples.videoFolder, chapterCount) && writeChapters(samples.singleChapterFolder, 1) &&
        writeFile(samples.shotFolder, L"Dated.dpc", samplewriter::buildOneShotFile(shotSpec(shotTime))) &&
        writeFile(samples.shotFolder, L"Undated.dpc", samplewriter::buildOneShotFile(shotSpec(noDate)));
    if (!written) {
        samples.remove();
        return {};
    }
    return samples;
}

void PanelSamples::remove() const {
    if (!root.empty()) removeFolderTree(root);
}
