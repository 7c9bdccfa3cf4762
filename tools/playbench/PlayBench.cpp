// orvelle-playbench: plays the sample writer's 900-frame 640 × 480 event
// recording from end to end in the playback engine, on the sound clock, then
// the same recording on the system clock as the reference beside it, and
// reports for each how fast the clock ran, how many distinct frames reached
// the screen against the number due (30 a second), the largest lag of the
// picture behind the clock, the largest distance between the sound position
// and the frame on screen (lip-sync), and the process's CPU per second of
// playback. --chapter-change plays two 640 × 480 video-memory chapters (10 a
// second) across the change and reports the longest gap in picture and sound.
//
//   wine-run.sh orvelle-playbench.exe [--sound-only | --no-sound] [--frames N] [--chapter-change]
//
// The sound gap is read from the test set-up's capture of the sound device
// (run with ORVELLE_SOUND_CAPTURE=FILE); without one it is not measured.
// The benchmark waits for messages like the viewer's own loop, so its CPU
// figure is the engine's: drawing, ticks, decoding, sound.
#include <windows.h>
// mmsystem.h only after windows.h.
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

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
constexpr UINT kWatchMs = 250;  // how soon the end of playing is noticed
constexpr int kChapterFrames = 600;
constexpr int kFramesBeforeChange = 60;  // 6 s of the first chapter
constexpr DWORD kMsAfterChange = 4000;
constexpr DWORD kCaptureSettleMs = 300;
constexpr std::uint8_t kSilence = 128;
constexpr int kSoundBytesPerSecond = 11025;

struct Options {
    bool soundClock = true;
    bool systemClock = true;
    bool chapterChange = false;
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

// What one run saw, sampled whenever the engine handled a message (its ticks
// come every frame period) and at every paint.
struct Measurement {
    DWORD wallMs = 0;
    std::int64_t firstClockMs = -1;  // the clock and the time when it first moved
    DWORD firstClockWall = 0;
    std::int64_t lastClockMs = 0;
    DWORD lastClockWall = 0;
    int largestLagFrames = 0;
    int largestLeadFrames = 0;
    std::int64_t largestLipSyncMs = 0;  // sound position minus the start of the frame on screen
    std::int64_t smallestLipSyncMs = 0;
    std::set<int> drawn;  // frame indices (over all chapters) that reached the screen
    DWORD largestPictureGapMs = 0;
    int largestPictureGapEnd = -1;  // the frame that ended it, counted from the start of the run
    DWORD chapterChangeGapMs = 0;   // from the last new frame of one chapter to the first of the next
    int blankPaints = 0;
    double userSeconds = 0;
    double systemSeconds = 0;
};

double fileTimeSeconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

void processTimes(double& user, double& system) {
    FILETIME created, exited, kernel, userTime;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &userTime);
    user = fileTimeSeconds(userTime);
    system = fileTimeSeconds(kernel);
}

// The playback engine, watched: every message it handles and every drawing is a sample.
class BenchPlayer : public VideoPlayer {
public:
    explicit BenchPlayer(PlaybackOwner& owner) : VideoPlayer(owner) {}

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = VideoPlayer::windowProc(message, wParam, lParam);
        if (measurement) sample();
        return result;
    }

    void start(Measurement& into, bool withSound, int frameOffset) {
        measurement = &into;
        soundClock = withSound;
        offset = frameOffset;
        startWall = timeGetTime();
        lastPictureWall = startWall;
        lastPicture = -1;
    }
    void finish() { measurement = nullptr; }

    Measurement* measurement = nullptr;

private:
    // The engine's clock: the sound position while the sound plays, otherwise
    // the system time since the start of the run.
    bool clockNow(std::int64_t& ms) {
        if (soundClock) {
            if (soundPlayer().getState() != ISoundPlayer::statePlaying) return false;
            ms = soundPlayer().getPosition();
            return true;
        }
        ms = static_cast<std::int64_t>(timeGetTime() - startWall);
        return true;
    }

    // The picture is drawn by then: the sample after it sees it on screen.
    void afterDrawing() override {
        if (measurement) notePaint(*measurement, timeGetTime());
    }

    void sample() {
        Measurement& m = *measurement;
        const DWORD now = timeGetTime();
        std::int64_t clockMs = 0;
        if (playState() != statePlaying || !info() || !clockNow(clockMs)) return;
        noteClock(m, clockMs, now);
        const FrameClock frames = FrameClock::forMode(displayMode);
        if (shownFrame() < 0) return;
        const int due = FrameClock::clamp(frames.frameAt(clockMs), info()->frameCount());
        m.largestLagFrames = std::max(m.largestLagFrames, due - shownFrame());
        m.largestLeadFrames = std::max(m.largestLeadFrames, shownFrame() - due);
        if (soundClock) {
            const std::int64_t lipSync = clockMs - frames.timeOf(shownFrame());
            m.largestLipSyncMs = std::max(m.largestLipSyncMs, lipSync);
            m.smallestLipSyncMs = std::min(m.smallestLipSyncMs, lipSync);
        }
    }

    void notePaint(Measurement& m, DWORD now) {
        if (shownFrame() < 0) {
            ++m.blankPaints;
            return;
        }
        const int frame = shownFrame() + chapter() * kChapterFrames * (displayMode == DisplayModeVideo);
        if (frame == lastPicture) return;
        m.drawn.insert(frame - offset);
        if (lastPicture >= 0 && now - lastPictureWall > m.largestPictureGapMs) {
            m.largestPictureGapMs = now - lastPictureWall;
            m.largestPictureGapEnd = frame - offset;
        }
        if (lastPicture >= 0 && frame / kChapterFrames > lastPicture / kChapterFrames) {
            m.chapterChangeGapMs = std::max(m.chapterChangeGapMs, now - lastPictureWall);
        }
        lastPicture = frame;
        lastPictureWall = now;
    }

    void noteClock(Measurement& m, std::int64_t clockMs, DWORD now) {
        if (m.firstClockMs < 0) {
            m.firstClockMs = clockMs;
            m.firstClockWall = now;
        }
        if (clockMs > m.lastClockMs) {
            m.lastClockMs = clockMs;
            m.lastClockWall = now;
        }
    }

    bool soundClock = true;
    int offset = 0;
    DWORD startWall = 0;
    DWORD lastPictureWall = 0;
    int lastPicture = -1;
};

// Waits for messages as the viewer does; a slow watch timer notices the end
// and keeps the patience.
bool runMessagesUntil(BenchPlayer& player, DWORD start, bool (*done)(BenchPlayer&, DWORD)) {
    const UINT_PTR watch = SetTimer(nullptr, 0, kWatchMs, nullptr);
    bool finished = false;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (done(player, start)) {
            finished = true;
            break;
        }
        if (timeGetTime() - start > kPatienceMs) break;
    }
    KillTimer(nullptr, watch);
    return finished;
}

bool playingEnded(BenchPlayer& player, DWORD) { return player.playState() != VideoPlayer::statePlaying; }

bool pastTheChange(BenchPlayer& player, DWORD) {
    static DWORD changedAt = 0;
    if (player.chapter() == 0) return false;
    if (changedAt == 0) changedAt = timeGetTime();
    return timeGetTime() - changedAt >= kMsAfterChange;
}

// Plays from frame to the end (or past the chapter change) and measures.
bool playThrough(BenchPlayer& player, bool withSound, int frame, Measurement& m, bool untilChange) {
    double user0 = 0, system0 = 0;
    processTimes(user0, system0);
    const DWORD start = timeGetTime();
    player.start(m, withSound, untilChange ? frame : 0);
    player.playFrom(frame);
    const bool finished = runMessagesUntil(player, start, untilChange ? pastTheChange : playingEnded);
    player.finish();
    m.wallMs = timeGetTime() - start;
    double user1 = 0, system1 = 0;
    processTimes(user1, system1);
    m.userSeconds = user1 - user0;
    m.systemSeconds = system1 - system0;
    return finished;
}

bool parse(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--no-sound") {
            options.soundClock = false;
        } else if (argument == L"--sound-only") {
            options.systemClock = false;
        } else if (argument == L"--chapter-change") {
            options.chapterChange = true;
        } else if (argument == L"--frames" && i + 1 < argc) {
            options.frames = std::clamp(_wtoi(argv[++i]), 2, 900);
        } else {
            return false;
        }
    }
    return options.soundClock || options.systemClock;
}

std::wstring benchFolder() {
    return platform::joinPath(platform::temporaryFolder(),
                              L"orvelle-playbench-" + std::to_wstring(GetCurrentProcessId()));
}

std::wstring writeEventRecording(int frames) {
    const std::wstring folder = benchFolder();
    samplewriter::ArchiveSetup setup;  // the sample card's event: 640 × 480, 30 a second, with sound
    setup.frameCount = frames;
    setup.eventFrame = std::min(360, frames * 2 / 5);
    if (!platform::createFolder(folder)) return {};
    if (!samplewriter::writeBytes(platform::joinPath(folder, L"Video.dvt"), samplewriter::buildArchive(setup))) {
        return {};
    }
    return folder;
}

// Two whole chapters as the recorder writes them, at the event's picture size.
std::wstring writeChapters() {
    const std::wstring folder = benchFolder();
    if (!platform::createFolder(folder)) return {};
    for (int chapter = 0; chapter < 2; ++chapter) {
        samplewriter::ArchiveSetup setup;
        setup.kind = samplewriter::ArchiveKind::Chapter;
        setup.kindByte = samplewriter::kKindVideo;
        setup.frameCount = kChapterFrames;
        setup.fps = FrameClock::videoFramesPerSecond;
        setup.firstStamp = 5000000 + 60000u * static_cast<std::uint32_t>(chapter);
        setup.firstSceneFrame = kChapterFrames * chapter;
        setup.fileNumber = static_cast<std::uint8_t>(chapter + 1);
        const std::wstring name = chapter == 0 ? L"Video0001.dmv" : L"Video0002.dmv";
        if (!samplewriter::writeBytes(platform::joinPath(folder, name), samplewriter::buildArchive(setup))) return {};
    }
    return folder;
}

void removeRecording(const std::wstring& folder) {
    for (const wchar_t* name : {L"Video.dvt", L"Video0001.dmv", L"Video0002.dmv"}) {
        platform::deleteFile(platform::joinPath(folder, name));
    }
    platform::deleteFolder(folder);
}

double perSecond(double seconds, DWORD wallMs) { return wallMs ? seconds * 1000.0 / wallMs : 0.0; }

void reportRun(const Measurement& m, bool soundClock, int due, unsigned timerResolution) {
    const double period = 1000.0 / FrameClock::eventFramesPerSecond;
    const DWORD clockWall = m.lastClockWall - m.firstClockWall;
    const std::int64_t clockRun = m.lastClockMs - std::max<std::int64_t>(m.firstClockMs, 0);
    const int drawn = static_cast<int>(m.drawn.size());
    std::printf("clock:         %s, timer resolution %u ms\n", soundClock ? "sound position" : "system time",
                timerResolution);
    std::printf("clock speed:   %.3f x real time (%lld ms of clock in %lu ms, from its first step)\n",
                clockWall ? static_cast<double>(clockRun) / clockWall : 0.0, static_cast<long long>(clockRun),
                static_cast<unsigned long>(clockWall));
    std::printf("frames drawn:  %d of %d due (%.1f %%)\n", drawn, due, due ? 100.0 * drawn / due : 0.0);
    std::printf("largest lag:   %d frames (%.0f ms) of the picture behind the clock\n", m.largestLagFrames,
                m.largestLagFrames * period);
    std::printf("largest lead:  %d frames of the picture ahead of the clock\n", m.largestLeadFrames);
    if (soundClock) {
        std::printf("lip-sync:      sound position from %lld to %lld ms after the start of the frame on screen"
                    " (0 to 33 is exact)\n",
                    static_cast<long long>(m.smallestLipSyncMs), static_cast<long long>(m.largestLipSyncMs));
    }
    std::printf("picture gap:   %lu ms the longest between two new frames\n",
                static_cast<unsigned long>(m.largestPictureGapMs));
    std::printf("CPU:           %.1f ms user + %.1f ms system per second of playback (%.1f %% of one core)"
                " in %lu ms\n",
                1000 * perSecond(m.userSeconds, m.wallMs), 1000 * perSecond(m.systemSeconds, m.wallMs),
                100.0 * perSecond(m.userSeconds + m.systemSeconds, m.wallMs), static_cast<unsigned long>(m.wallMs));
}

std::wstring captureFile() {
    const wchar_t* unixPath = _wgetenv(L"ORVELLE_SOUND_CAPTURE");
    if (!unixPath || !*unixPath) return {};
    std::wstring path = std::wstring(L"Z:") + unixPath;  // Wine maps the Unix root to Z:
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::uint64_t fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::uint8_t> readFrom(const std::wstring& path, std::uint64_t offset) {
    std::ifstream in(path.c_str(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The longest silence between the first and the last sound in the capture.
// Wine's pulse driver pads a stream that ran dry with zero bytes: silence too.
int longestSilenceMs(const std::vector<std::uint8_t>& bytes) {
    auto isSound = [](std::uint8_t b) { return b != kSilence && b != 0; };
    const auto first = std::find_if(bytes.begin(), bytes.end(), isSound);
    const auto last = std::find_if(bytes.rbegin(), bytes.rend(), isSound).base();
    std::size_t longest = 0;
    std::size_t run = 0;
    for (auto it = first; it < last; ++it) {
        run = isSound(*it) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return static_cast<int>(longest * 1000 / kSoundBytesPerSecond);
}

int playEvent(const Options& options) {
    const std::wstring folder = writeEventRecording(options.frames);
    if (folder.empty()) {
        std::fputs("orvelle-playbench: the recording could not be written\n", stderr);
        return 1;
    }
    int status = 0;
    displayMode = DisplayModeEvent;
    auto* owner = new BenchOwner;
    auto* player = new BenchPlayer(*owner);
    player->setOpenMode(DisplayModeEvent);
    std::printf("recording:     %d frames, 640 x 480, 30 frames per second\n", options.frames);
    Measurement runs[2];
    const bool clocks[2] = {true, false};
    for (int k = 0; k < 2 && status == 0; ++k) {
        if (clocks[k] ? !options.soundClock : !options.systemClock) continue;
        player->openEventRecording(folder);
        if (!clocks[k]) player->soundPlayer().close();
        if (!playThrough(*player, clocks[k], 0, runs[k], false) || owner->failed) {
            std::fputs("orvelle-playbench: playing did not finish\n", stderr);
            status = 1;
            break;
        }
        std::printf("\n");
        reportRun(runs[k], clocks[k], options.frames, player->timerResolution());
    }
    if (status == 0 && options.soundClock && options.systemClock) {
        const double sound = runs[0].userSeconds + runs[0].systemSeconds;
        const double system = runs[1].userSeconds + runs[1].systemSeconds;
        std::printf("\nCPU ratio:     %.2f (sound clock / system clock, per second of playback)\n",
                    system > 0 ? perSecond(sound, runs[0].wallMs) / perSecond(system, runs[1].wallMs) : 0.0);
    }
    DestroyWindow(owner->handle());
    removeRecording(folder);
    return status;
}

int playChapterChange() {
    const std::wstring folder = writeChapters();
    if (folder.empty()) {
        std::fputs("orvelle-playbench: the chapters could not be written\n", stderr);
        return 1;
    }
    displayMode = DisplayModeVideo;
    auto* owner = new BenchOwner;
    auto* player = new BenchPlayer(*owner);
    player->setOpenMode(DisplayModeVideo);
    player->buildChapterList(folder);
    int status = 0;
    if (!player->openChapter(0)) status = 1;
    const std::wstring capture = captureFile();
    const std::uint64_t mark = capture.empty() ? 0 : fileSize(capture);
    Measurement m;
    const int from = kChapterFrames - kFramesBeforeChange;
    if (status == 0 && (!playThrough(*player, true, from, m, true) || owner->failed)) status = 1;
    DestroyWindow(owner->handle());
    if (status != 0) {
        std::fputs("orvelle-playbench: playing across the chapter change did not finish\n", stderr);
        removeRecording(folder);
        return status;
    }
    std::printf("recording:     2 video-memory chapters of %d frames, 640 x 480, 10 frames per second\n",
                kChapterFrames);
    std::printf("played:        the last %d frames of the first, %lu ms of the second\n", kFramesBeforeChange,
                static_cast<unsigned long>(kMsAfterChange));
    std::printf("picture gap:   %lu ms the longest between two new frames, before frame %d of the run"
                " (%d is the first of the second chapter; %d blank paints)\n",
                static_cast<unsigned long>(m.largestPictureGapMs), m.largestPictureGapEnd, kFramesBeforeChange,
                m.blankPaints);
    std::printf("change gap:    %lu ms from the last new frame of the first chapter to the first of the second\n",
                static_cast<unsigned long>(m.chapterChangeGapMs));
    if (capture.empty()) {
        std::printf("sound gap:     not measured (run with ORVELLE_SOUND_CAPTURE)\n");
    } else {
        Sleep(kCaptureSettleMs);  // the sink delivers what it played as it plays
        std::printf("sound gap:     %d ms the longest silence in the played sound\n",
                    longestSilenceMs(readFrom(capture, mark)));
    }
    removeRecording(folder);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs("usage: orvelle-playbench [--sound-only | --no-sound] [--frames N] [--chapter-change]\n", stderr);
        return 2;
    }
    modelCode() = ModelCode{2, 3};  // the sample writer's model code
    try {
        return options.chapterChange ? playChapterChange() : playEvent(options);
    } catch (const Exception& failure) {
        std::fprintf(stderr, "orvelle-playbench: %s\n", toUtf8(failure.message()).c_str());
        return 1;
    }
}
