#include "chart/ChartSamples.h"

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

using samplewriter::ArchiveSetup;
using samplewriter::Bytes;

// Offsets of the G fields inside a block's picture information.
constexpr std::size_t gxAt = 10;
constexpr std::size_t gyAt = 12;

ArchiveSetup eventSpec(int frames, int eventFrame) {
    ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = eventFrame;
    setup.width = 80;
    setup.height = 60;
    setup.withSound = false;
    return setup;
}

void putDigits(Bytes& bytes, std::size_t at, double g) {
    const Bytes digits = samplewriter::encodeBcd(static_cast<std::uint32_t>(samplewriter::gDigitsFromG(g)), 4);
    std::copy(digits.begin(), digits.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// The archive with every frame's G replaced: forward g(frame), sideways 0.
Bytes archiveWithG(const ArchiveSetup& setup, const std::function<double(int)>& g) {
    samplewriter::ArchiveLayout layout;
    Bytes bytes = samplewriter::buildArchive(setup, &layout);
    for (const samplewriter::BlockPlacement& block : layout.blocks) {
        if (block.type != samplewriter::kPictureBlock || block.frame < 0) continue;
        const std::size_t information = block.headerOffset + samplewriter::kPictureInfoOffset;
        putDigits(bytes, information + gxAt, g(block.frame));
        putDigits(bytes, information + gyAt, 0.0);
    }
    return bytes;
}

bool writeFile(const std::wstring& folder, const std::wstring& name, const Bytes& bytes) {
    return platform::createFolder(folder) && samplewriter::writeBytes(platform::joinPath(folder, name), bytes);
}

double peak(int frame) {
    return frame == ChartSamples::eventFrame ? ChartSamples::peakG : 0.3;
}
double quiet(int frame) {
    return frame % 2 ? 0.4 : 0.05;
}
double calm(int) {
    return 0.2;
}

}  // namespace

ChartSamples ChartSamples::write() {
    ChartSamples samples;
    const std::wstring root =
        platform::joinPath(platform::temporaryFolder(), L"orvelle-chart-" + std::to_wstring(GetCurrentProcessId()));
    samples.peakFolder = platform::joinPath(root, L"peak");
    samples.quietFolder = platform::joinPath(root, L"quiet");
    samples.singleFolder = platform::joinPath(root, L"single");
    samples.kindlessFolder = platform::joinPath(root, L"kindless");
    samples.chapterFolder = platform::joinPath(root, L"chapter");

    ArchiveSetup kindless = eventSpec(eventFrames, eventFrame);
    kindless.kindByte = 0;
    ArchiveSetup chapter = eventSpec(chapterFrames, 0);
    chapter.kind = samplewriter::ArchiveKind::Chapter;
    chapter.kindByte = samplewriter::kKindVideo;
    chapter.fps = 10;

    const bool written =
        platform::createFolder(root) &&
        writeFile(samples.peakFolder, L"Video.dvt", archiveWithG(eventSpec(eventFrames, eventFrame), peak)) &&
        writeFile(samples.quietFolder, L"Video.dvt", archiveWithG(eventSpec(eventFrames, eventFrame), quiet)) &&
        writeFile(samples.singleFolder, L"Video.dvt", archiveWithG(eventSpec(1, 0), peak)) &&
        writeFile(samples.kindlessFolder, L"Video.dvt", archiveWithG(kindless, peak)) &&
        writeFile(samples.chapterFolder, L"Video0001.dmv", archiveWithG(chapter, calm));
    samples.root = root;
    if (!written) {
        samples.remove();
        samples.root.clear();
    }
    return samples;
}

void ChartSamples::remove() const {
    if (!root.empty()) removeFolderTree(root);
}
