// orvelle-playbench: plays the sample writer's 900-frame 640 × 480 event
// recording from end to end in the playback engine and reports how many
// distinct frames reached the screen against the number due (30 a second),
// and the largest lag between the clock and the frame on screen.
//
//   wine-run.sh orvelle-playbench.exe [--no-sound] [--frames N]
//
// The clock is the sound position; --no-sound closes the sound after opening,
// so the engine runs on the system clock. The sound device's own speed is
// reported too: a device that consumes faster than real time (the null
// device of the test set-up) makes the sound clock run fast.
#include <windows.h>
// mmsystem.h only after windows.h.
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "media/FrameClock.h"
#include "media/ISoundPlayer.h"
#include "media/PlaybackOwner.h"
#include "media/VideoPlayer.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "tools/samplewriter/SampleArchive.h"
#include "ui/framework/Window.h"

namespace {

constexpr DWORD kPatienceMs = 600000;

struct Options {
    bool withSound = true;
    int frames = 900;
};

// The main window's part: a top-level window that holds the player.
class BenchOwner : public Window, public PlaybackOwner {
public:
    BenchOwner() {
        RECT frame{0, 0, 640, 480};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
        AdjustWindowRect(&frame, style, FALSE);
        create(0, defaultClassName, L"orvelle-playbench", style | WS_VISIBLE, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    HWND ownerWindow() const override { return handle(); }
    void refresh() override {}
    void resetToEmpty() override { failed = true; }
    void repaintInformationPanel() override {}
    void resetChart() override {}

    bool failed = false;
};

// Records every frame that reaches the screen while playing.
class BenchPlayer : public VideoPlayer {
public:
    explicit BenchPlayer(PlaybackOwner& owner) : VideoPlayer(owner) {}

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = VideoPlayer::windowProc(message, wParam, lParam);
        if (message == WM_PAINT && recording && shownFrame() >= 0) drawn.insert(shownFrame());
        return result;
    }

    bool recording = false;
    std::set<int> drawn;
};

struct Measurement {
    DWORD wallMs = 0;
    std::int64_t clockMs = 0;  // how far the clock went
    int largestLagFrames = 0;
    int largestLeadFrames = 0;
    int drawn = 0;
    int due = 0;
    std::int64_t largestClockStepMs = 0;  // a coarse clock, or a stalled process
    int clockSteps = 0;
};

std::int64_t clockNow(VideoPlayer& player, bool withSound, DWORD start) {
    if (withSound && player.soundPlayer().getState() == ISoundPlayer::statePlaying) {
        return player.soundPlayer().getPosition();
    }
    return static_cast<std::int64_t>(timeGetTime() - start);
}

// Dispatches the engine's messages until playing has ended, sampling the lag
// of the picture on screen behind the clock at every turn.
bool playThrough(BenchPlayer& player, bool withSound, Measurement& measurement) {
    const FrameClock clock(FrameClock::eventFramesPerSecond);
    const DWORD start = timeGetTime();
    player.recording = true;
    player.playFrom(0);
    std::int64_t lastClock = 0;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return false;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (player.playState() != VideoPlayer::statePlaying) break;
        const std::int64_t now = clockNow(player, withSound, start);
        if (now > lastClock) {
            if (lastClock > 0)
                measurement.largestClockStepMs = std::max(measurement.largestClockStepMs, now - lastClock);
            ++measurement.clockSteps;
            lastClock = now;
        }
        const int due = FrameClock::clamp(clock.frameAt(now), player.info()->frameCount());
        if (player.shownFrame() >= 0) {
            measurement.largestLagFrames = std::max(measurement.largestLagFrames, due - player.shownFrame());
            measurement.largestLeadFrames = std::max(measurement.largestLeadFrames, player.shownFrame() - due);
        }
        if (timeGetTime() - start > kPatienceMs) return false;
        Sleep(1);
    }
    player.recording = false;
    measurement.wallMs = timeGetTime() - start;
    measurement.clockMs = lastClock;
    measurement.due = player.info() ? player.info()->frameCount() : 0;
    measurement.drawn = static_cast<int>(player.drawn.size());
    return true;
}

bool parse(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--no-sound") {
            options.withSound = false;
        } else if (argument == L"--frames" && i + 1 < argc) {
            options.frames = std::clamp(_wtoi(argv[++i]), 2, 900);
        } else {
            return false;
        }
    }
    return true;
}

std::wstring writeRecording(int frames) {
    const std::wstring folder =
        platform::joinPath(platform::temporaryFolder(), L"orvelle-playbench-" + std::to_wstring(GetCurrentProcessId()));
    samplewriter::ArchiveSetup setup;  // the sample card's event: 640 × 480, 30 a second, with sound
    setup.frameCount = frames;
    setup.eventFrame = std::min(360, frames * 2 / 5);
    if (!platform::createFolder(folder)) return {};
    if (!samplewriter::writeBytes(platform::joinPath(folder, L"Video.dvt"), samplewriter::buildArchive(setup))) {
        return {};
    }
    return folder;
}

void removeRecording(const std::wstring& folder) {
    platform::deleteFile(platform::joinPath(folder, L"Video.dvt"));
    platform::deleteFolder(folder);
}

void report(const Measurement& m, const Options& options, unsigned timerResolution) {
    const double period = 1000.0 / FrameClock::eventFramesPerSecond;
    std::printf("recording:     %d frames, 640 x 480, 30 frames per second\n", m.due);
    std::printf("clock:         %s, timer resolution %u ms\n", options.withSound ? "sound position" : "system time",
                timerResolution);
    std::printf("clock speed:   %.2f x real time (%lld ms of clock in %lu ms)\n",
                m.wallMs ? static_cast<double>(m.clockMs) / m.wallMs : 0.0, static_cast<long long>(m.clockMs),
                static_cast<unsigned long>(m.wallMs));
    std::printf("clock steps:   %d seen, the largest %lld ms\n", m.clockSteps,
                static_cast<long long>(m.largestClockStepMs));
    std::printf("frames drawn:  %d of %d due (%.1f %%)\n", m.drawn, m.due, m.due ? 100.0 * m.drawn / m.due : 0.0);
    std::printf("largest lag:   %d frames (%.0f ms) of the picture behind the clock\n", m.largestLagFrames,
                m.largestLagFrames * period);
    std::printf("largest lead:  %d frames of the picture ahead of the clock\n", m.largestLeadFrames);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs("usage: orvelle-playbench [--no-sound] [--frames N]\n", stderr);
        return 2;
    }
    modelCode() = ModelCode{2, 3};  // the sample writer's model code
    const std::wstring folder = writeRecording(options.frames);
    if (folder.empty()) {
        std::fputs("orvelle-playbench: the recording could not be written\n", stderr);
        return 1;
    }
    int status = 0;
    try {
        displayMode = DisplayModeEvent;
        auto* owner = new BenchOwner;
        auto* player = new BenchPlayer(*owner);
        player->setOpenMode(DisplayModeEvent);
        player->openEventRecording(folder);
        if (!options.withSound) player->soundPlayer().close();
        Measurement measurement;
        if (playThrough(*player, options.withSound, measurement) && !owner->failed) {
            report(measurement, options, player->timerResolution());
        } else {
            std::fputs("orvelle-playbench: playing did not finish\n", stderr);
            status = 1;
        }
        DestroyWindow(owner->handle());
    } catch (const Exception& failure) {
        std::fprintf(stderr, "orvelle-playbench: %s\n", toUtf8(failure.message()).c_str());
        status = 1;
    }
    removeRecording(folder);
    return status;
}
