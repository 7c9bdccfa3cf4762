// Times the thumbnail strip: openOneShotFolder on a folder of one-shot pictures
// until every miniature is in the strip, with the message loop of a program
// (each miniature is added when its picture's message is dispatched).
//
//   orvelle-bench-thumbnails [pictures=600] [width=640] [height=480] [runs=5]
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "platform/FileSystem.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/SampleArchive.h"
#include "tools/thumbbench/BenchOwner.h"

namespace {

struct Settings {
    int pictures = 600;
    int width = 640;
    int height = 480;
    int runs = 5;
};

Settings readSettings(int argc, char** argv) {
    Settings settings;
    int* fields[] = {&settings.pictures, &settings.width, &settings.height, &settings.runs};
    for (int i = 1; i < argc && i <= 4; ++i) *fields[i - 1] = std::max(1, std::atoi(argv[i]));
    return settings;
}

// A minute apart, as a recorder that was used for an afternoon.
bool writePictures(const std::wstring& folder, const Settings& settings) {
    const CalendarTime first{2009, 6, 15, 9, 0, 0};
    for (int i = 0; i < settings.pictures; ++i) {
        samplewriter::OneShotSetup setup;
        setup.time = samplewriter::addSeconds(first, 60 * i);
        setup.width = settings.width;
        setup.height = settings.height;
        setup.fileIndex = i + 1;
        setup.sceneFrame = i * 7;
        setup.modelMajor = modelCode().major;
        setup.modelMinor = modelCode().minor;
        wchar_t name[32];
        std::swprintf(name, 32, L"Pic%05d.dpc", i + 1);
        if (!samplewriter::writeBytes(platform::joinPath(folder, name), samplewriter::buildOneShotFile(setup))) {
            return false;
        }
    }
    return true;
}

double nowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the last miniature is in; negative when opening failed
// or the strip never finished.
double timeOneOpening(BenchOwner& owner, const std::wstring& folder) {
    const double start = nowMs();
    try {
        owner.strip->openOneShotFolder(folder);
    } catch (const Exception&) {
        return -1;
    }
    MSG message;
    while (!owner.strip->isAllLoaded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return owner.strip->isAllLoaded() ? nowMs() - start : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const Settings settings = readSettings(argc, argv);
    loadModelCode();
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);

    const std::wstring marker = platform::createTemporaryFile(platform::temporaryFolder(), L"bth");
    const std::wstring folder = marker + L".d";
    if (!platform::createFolder(folder) || !writePictures(folder, settings)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 1;
    }

    auto* owner = new BenchOwner;
    std::vector<double> times;
    for (int run = 0; run < settings.runs; ++run) {
        const double ms = timeOneOpening(*owner, folder);
        std::printf("run %d: %.0f ms for %d miniatures\n", run + 1, ms, owner->strip->loadedCount());
        if (ms >= 0) times.push_back(ms);
    }
    DestroyWindow(owner->handle());

    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    platform::deleteFile(marker);

    if (times.empty()) return 1;
    std::sort(times.begin(), times.end());
    std::printf("%d pictures of %d x %d: median %.0f ms, best %.0f ms, worst %.0f ms over %zu runs\n",
                settings.pictures, settings.width, settings.height, times[times.size() / 2], times.front(),
                times.back(), times.size());
    return 0;
}
