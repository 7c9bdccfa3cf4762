// The event and chapter readers on arbitrary bytes: whatever the archive holds,
// reading ends in bounded time and memory, leaves a consistent frame table and
// a WAVE file whose header matches its samples, and decoding never throws.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "platform/File.h"
#include "recording/MemorySource.h"
#include "recording/VideoArchive.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkTable(const VideoArchive& archive) {
    check(archive.frameCount() >= 0 && archive.frameCount() <= VideoArchive::kSlotCount);
    check(archive.referenceFrame() >= -1 && archive.referenceFrame() < archive.frameCount());
    for (int slot = 0; slot < archive.frameCount(); ++slot) check(archive.record(slot) != nullptr);
    check(archive.record(archive.frameCount()) == nullptr);
    if (!archive.soundFilePath().empty()) {
        File sound;
        check(sound.open(archive.soundFilePath(), File::Mode::Read));
        check(sound.size() == 44 + archive.soundDataBytes());
    }
}

void decodeSome(VideoArchive& archive) {
    for (int slot : {0, archive.referenceFrame(), archive.frameCount() - 1}) {
        std::unique_ptr<Image> image = archive.decodeFrame(slot);
        if (image) check(image->size() == image->width() * image->height() * 4);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool modelCodeLoaded = (loadModelCode(), true);
    (void)modelCodeLoaded;
    VideoArchive archive;
    try {
        archive.readEventArchive(std::make_unique<MemorySource>(data, size));
        checkTable(archive);
        decodeSome(archive);
    } catch (const VideoArchiveException&) {
        check(archive.frameCount() == 0);
    }
    try {
        archive.readChapterArchive(std::make_unique<MemorySource>(data, size));
        checkTable(archive);
        check(archive.referenceFrame() == -1);
    } catch (const VideoArchiveException&) {
        check(archive.frameCount() == 0);
    }
    try {
        MemorySource source(data, size);
        const int frames = VideoArchive::countChapterFrames(source);
        check(frames >= 0 && frames <= VideoArchive::kSlotCount);
    } catch (const VideoArchiveException&) {
    }
    return 0;
}
