// One-shot reading on arbitrary bytes: a file is either read into one entry
// whose picture decodes or not, or refused with the base failure type; never
// a crash, and never a read outside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "recording/MemorySource.h"
#include "recording/VideoArchive.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool modelCodeLoaded = (loadModelCode(), true);
    (void)modelCodeLoaded;
    VideoArchive archive;
    try {
        archive.readOneShotFile(std::make_unique<MemorySource>(data, size), L"fuzz.dpc");
        check(archive.frameCount() == 1 && archive.record(0) != nullptr);
        check(archive.header().triggerKind == 11);
        std::unique_ptr<Image> image = archive.decodeFrame(0);
        if (image) check(image->size() == image->width() * image->height() * 4);
    } catch (const VideoArchiveException&) {
        std::abort();  // only a file that cannot be opened gives this type
    } catch (const Exception&) {
        check(archive.frameCount() == 0 && size < 80);
    }

    // The folder scan's road: entries read one by one, then ordered.
    archive.close();
    MemorySource source(data, size);
    int entries = 0;
    for (int slot = 0; slot < 3; ++slot) {
        try {
            archive.readOneShotEntry(source, L"fuzz.dpc", slot);
            ++entries;
        } catch (const Exception&) {
        }
    }
    archive.finishOneShotScan(entries);
    check(archive.frameCount() == entries);
    return 0;
}
