#include "loader/LoaderSamples.h"

#include <windows.h>

#include "platform/FileSystem.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

samplewriter::ArchiveSetup eventSpec(int frames, int width, int height) {
    samplewriter::ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = 1;
    setup.width = width;
    setup.height = height;
    setup.withSound = false;
    return setup;
}

samplewriter::ArchiveSetup chapterSpec(int frames) {
    samplewriter::ArchiveSetup setup = eventSpec(frames, 64, 48);
    setup.kind = samplewriter::ArchiveKind::Chapter;
    setup.kindByte = samplewriter::kKindVideo;
    setup.fps = 10;
    return setup;
}

}  // namespace

LoaderSamples LoaderSamples::write() {
    LoaderSamples samples;
    samples.folder =
        platform::joinPath(platform::temporaryFolder(), L"orvelle-loader-" + std::to_wstring(GetCurrentProcessId()));
    if (!platform::createFolder(samples.folder)) return {};
    samples.bigEvent = platform::joinPath(samples.folder, L"Video.dvt");
    samples.smallEvent = platform::joinPath(samples.folder, L"Small.dvt");
    samples.chapter = platform::joinPath(samples.folder, L"Video0001.dmv");
    samples.oneShot = platform::joinPath(samples.folder, L"Picture.dpc");
    samples.garbage = platform::joinPath(samples.folder, L"Garbage.dvt");
    samples.missing = platform::joinPath(samples.folder, L"Missing.dvt");

    samplewriter::OneShotSetup oneShot;
    oneShot.width = 64;
    oneShot.height = 48;
    const bool written =
        samplewriter::writeBytes(samples.bigEvent,
                                 samplewriter::buildArchive(eventSpec(bigFrames, bigWidth, bigHeight))) &&
        samplewriter::writeBytes(samples.smallEvent, samplewriter::buildArchive(eventSpec(smallFrames, 64, 48))) &&
        samplewriter::writeBytes(samples.chapter, samplewriter::buildArchive(chapterSpec(chapterFrames))) &&
        samplewriter::writeBytes(samples.oneShot, samplewriter::buildOneShotFile(oneShot)) &&
        samplewriter::writeBytes(samples.garbage, samplewriter::Bytes(20, 0x5A));
    if (!written) {
        samples.remove();
        return {};
    }
    return samples;
}

void LoaderSamples::remove() const {
    for (const std::wstring* path : {&bigEvent, &smallEvent, &chapter, &oneShot, &garbage}) {
        if (!path->empty()) platform::deleteFile(*path);
    }
    if (!folder.empty()) platform::deleteFolder(folder);
}
