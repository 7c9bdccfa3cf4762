#include "engine/EngineSamples.h"

#include <windows.h>

#include <vector>

#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"
#include "tools/samplewriter/SampleCard.h"

namespace {

using samplewriter::ArchiveKind;
using samplewriter::ArchiveSetup;

ArchiveSetup eventSpec(int frames, int width, int height, bool withSound) {
    ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = frames / 3;
    setup.width = width;
    setup.height = height;
    setup.withSound = withSound;
    return setup;
}

ArchiveSetup chapterSpec(int frames, int index) {
    ArchiveSetup setup = eventSpec(frames, 80, 60, true);
    setup.kind = ArchiveKind::Chapter;
    setup.kindByte = samplewriter::kKindVideo;
    setup.fps = 10;
    setup.firstStamp = 5000000 + 60000u * static_cast<std::uint32_t>(index);
    setup.fileNumber = static_cast<std::uint8_t>(index + 1);
    return setup;
}

samplewriter::OneShotSetup shotSpec(int width, int height) {
    samplewriter::OneShotSetup setup;
    setup.width = width;
    setup.height = height;
    return setup;
}

bool writeArchive(const std::wstring& folder, const std::wstring& name, const ArchiveSetup& setup) {
    return platform::createFolder(folder) &&
           samplewriter::writeBytes(platform::joinPath(folder, name), samplewriter::buildArchive(setup));
}

}  // namespace

void EngineSamples::remove() const {
    if (!root.empty()) removeFolderTree(root);
}

EngineSamples EngineSamples::write() {
    EngineSamples samples;
    const std::wstring root =
        platform::joinPath(platform::temporaryFolder(), L"orvelle-engine-" + std::to_wstring(GetCurrentProcessId()));
    samplewriter::SampleCardOptions options;
    options.eventFrames = eventFrames;
    options.eventWidth = 160;
    options.eventHeight = 120;
    options.chapterWidth = 80;
    options.chapterHeight = 60;
    options.oneShotCount = 3;
    samplewriter::SampleCardContents card;
    removeFolderTree(root);
    if (!platform::createFolder(root)) return {};
    if (!samplewriter::writeSampleCard(platform::joinPath(root, L"CARD"), options, &card)) return {};

    samples.eventFolder = card.eventFolders.at(0);
    samples.videoFolder = card.videoFolder;
    samples.silentFolder = platform::joinPath(root, L"SILENT");
    samples.slowFolder = platform::joinPath(root, L"SLOW");
    samples.movingFolder = platform::joinPath(root, L"MOVING");
    samples.brokenFolder = platform::joinPath(root, L"BROKEN");
    samples.brokenSecondChapter = platform::joinPath(samples.brokenFolder, L"Video0002.dmv");
    samples.shotFolder = platform::joinPath(root, L"SHOT");
    samples.plainShot = platform::joinPath(samples.shotFolder, L"Plain.dpc");
    const bool written =
        writeArchive(samples.silentFolder, L"Video.dvt", eventSpec(silentFrames, 160, 120, false)) &&
        writeArchive(samples.slowFolder, L"Video.dvt", eventSpec(3, 4096, 3072, false)) &&
        writeArchive(samples.movingFolder, L"Video.dvt", eventSpec(eventFrames, 160, 120, true)) &&
        writeArchive(samples.brokenFolder, L"Video0001.dmv", chapterSpec(brokenFirstFrames, 0)) &&
        writeArchive(samples.brokenFolder, L"Video0002.dmv", chapterSpec(brokenSecondFrames, 1)) &&
        platform::createFolder(samples.shotFolder) &&
        samplewriter::writeBytes(samples.plainShot, samplewriter::buildOneShotFile(shotSpec(640, 480)));
    samples.root = root;
    if (!written) {
        samples.remove();
        return {};
    }
    return samples;
}
