// Times the thumbnail strip: openOneShotFolder on a folder of one-shot pictures
// until the first screenful (8 miniatures) is in and drawn, and until every
// miniature is in the strip, with the message loop of a program. Beside it, as
// the reference of the same run: the same pictures decoded at full size with
// plain libjpeg (bytes already in memory), and the ratio of the two medians.
//
//   orvelle-bench-thumbnails [pictures=600] [width=640] [height=480] [runs=5]
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "media/ImageListView.h"
#include "platform/FileSystem.h"
#include "recording/VideoArchive.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/SampleArchive.h"
#include "tools/thumbbench/BenchOwner.h"

#include "tools/bench/PlainJpegDecode.h"

namespace {

constexpr int kFirstScreenful = 8;

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

struct Timing {
    double firstScreenful = -1;  // ms until the first miniatures are in and drawn
    double all = -1;             // ms until the last is in; negative when it never was
    double listed = -1;          // ms until the folder was listed and loading began
};

// In, and the list drawn since: drawing is not held and nothing waits to be painted.
bool firstScreenfulShown(const Thumbnail& strip) {
    const HWND list = strip.list()->handle();
    return strip.loadedCount() >= std::min(kFirstScreenful, std::max(1, strip.totalCount())) &&
           IsWindowVisible(list) && !GetUpdateRect(list, nullptr, FALSE);
}

Timing timeOneOpening(BenchOwner& owner, const std::wstring& folder) {
    Timing timing;
    const double start = nowMs();
    try {
        owner.strip->openOneShotFolder(folder);
    } catch (const Exception&) {
        return timing;
    }
    timing.listed = nowMs() - start;
    MSG message;
    while (!owner.strip->isAllLoaded()) {
        if (timing.firstScreenful < 0 && firstScreenfulShown(*owner.strip)) timing.firstScreenful = nowMs() - start;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (message.message == WM_QUIT) break;
        DispatchMessageW(&message);
    }
    if (owner.strip->isAllLoaded()) timing.all = nowMs() - start;
    if (timing.firstScreenful < 0 && timing.all >= 0) timing.firstScreenful = timing.all;
    return timing;
}

// The JPEG streams of the pictures as the viewer restores them from the files.
std::vector<std::vector<unsigned char>> readStreams(const std::wstring& folder, int pictures) {
    std::vector<std::vector<unsigned char>> streams;
    for (int i = 0; i < pictures; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Pic%05d.dpc", i + 1);
        const std::wstring path = platform::joinPath(folder, name);
        VideoArchive archive;
        try {
            archive.readOneShotFile(path);
        } catch (const Exception&) {
            continue;
        }
        const FrameRecord* record = archive.record(0);
        std::FILE* file = _wfopen(path.c_str(), L"rb");
        if (!record || !file) {
            if (file) std::fclose(file);
            continue;
        }
        std::vector<unsigned char> bytes(static_cast<std::size_t>(std::max(0, record->payloadSize)));
        const bool read = _fseeki64(file, record->payloadOffset, SEEK_SET) == 0 &&
                          std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        std::fclose(file);
        if (!read || bytes.size() < samplewriter::kRecorderJpegStart.size()) continue;
        std::memcpy(bytes.data(), samplewriter::kRecorderJpegStart.data(), samplewriter::kRecorderJpegStart.size());
        streams.push_back(std::move(bytes));
    }
    return streams;
}

double timeReferenceDecodes(const std::vector<std::vector<unsigned char>>& streams) {
    std::vector<unsigned char> pixels;
    const double start = nowMs();
    for (const auto& stream : streams) decodePlainly(stream, pixels);
    return nowMs() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
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
    std::vector<double> firstScreenfuls;
    for (int run = 0; run < settings.runs; ++run) {
        const Timing timing = timeOneOpening(*owner, folder);
        std::printf("run %d: listed after %.0f ms, first %d drawn after %.0f ms, %d miniatures in after %.0f ms\n",
                    run + 1, timing.listed, kFirstScreenful, timing.firstScreenful, owner->strip->loadedCount(),
                    timing.all);
        if (timing.all >= 0) {
            times.push_back(timing.all);
            firstScreenfuls.push_back(timing.firstScreenful);
        }
    }
    DestroyWindow(owner->handle());

    const std::vector<std::vector<unsigned char>> streams = readStreams(folder, settings.pictures);
    std::vector<double> references;
    for (int run = 0; run < settings.runs; ++run) references.push_back(timeReferenceDecodes(streams));
    const double reference = median(references);
    std::printf("reference: %zu full-size decodes with plain libjpeg: median %.0f ms over %d runs\n", streams.size(),
                reference, settings.runs);

    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    platform::deleteFile(marker);

    if (times.empty()) return 1;
    std::sort(times.begin(), times.end());
    std::printf("first screenful: median %.0f ms; all in: %.2f times the reference\n", median(firstScreenfuls),
                reference > 0 ? median(times) / reference : 0.0);
    std::printf("%d pictures of %d x %d: median %.0f ms, best %.0f ms, worst %.0f ms over %zu runs\n",
                settings.pictures, settings.width, settings.height, times[times.size() / 2], times.front(),
                times.back(), times.size());
    return 0;
}
