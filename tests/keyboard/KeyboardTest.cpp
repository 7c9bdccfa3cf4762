// The viewer driven by real keyboard and mouse input on the sample card: each
// key's effect on the frame shown and the engine's state, full screen entered
// and left, the playback rate measured on the clock, and going to a time.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "media/FrameClock.h"
#include "media/ImageListView.h"
#include "media/ISoundPlayer.h"
#include "media/Thumbnail.h"
#include "media/VideoPlayer.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "recording/FrameTimes.h"
#include "recording/RecordingFolder.h"
#include "resources/PlaybackCommandIds.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleCard.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/ConsolePanel.h"
#include "ui/main/FullScreenWindow.h"
#include "ui/main/KeyboardShortcuts.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PlaybackCommands.h"
#include "ui/main/PlaybackReadout.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

constexpr int kEventFrames = 600;
constexpr DWORD kSettle = 10000;

struct Card {
    std::wstring root;
    samplewriter::SampleCardContents contents;
};
Card* card = nullptr;

// ---- Input ----

INPUT keyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (key) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    return input;
}

void sendKey(WORD key, std::initializer_list<WORD> modifiers = {}) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) inputs.push_back(keyInput(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A character key as this keyboard layout types it ("[" and "]").
void sendCharacter(wchar_t character) {
    const SHORT scan = VkKeyScanW(character);
    if (HIBYTE(scan) & 1) {
        sendKey(LOBYTE(scan), {VK_SHIFT});
    } else {
        sendKey(LOBYTE(scan));
    }
}

void sendDoubleClick(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    INPUT clicks[4]{};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, clicks, sizeof(INPUT));
}

// ---- The application's loop, keys included ----

bool pumpViewer(MainWindow* window, const std::function<bool()>& done, DWORD timeoutMs = kSettle) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return false;
            if (IsWindow(window->handle()) && window->keyboardShortcuts().translate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        if (GetTickCount64() >= deadline) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void pumpViewerFor(MainWindow* window, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    pumpViewer(window, [end] { return GetTickCount64() >= end; }, ms + 1000);
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class KeyboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadApplicationValues(GetModuleHandleW(nullptr));
        card = new Card;
        card->root = platform::joinPath(platform::temporaryFolder(),
                                        L"orvelle-keys-" + std::to_wstring(GetCurrentProcessId()));
        samplewriter::SampleCardOptions options;
        options.eventFrames = kEventFrames;
        options.eventWidth = 160;
        options.eventHeight = 120;
        options.chapterWidth = 80;
        options.chapterHeight = 60;
        options.oneShotCount = 4;
        ASSERT_TRUE(samplewriter::writeSampleCard(card->root, options, &card->contents));
    }
    static void TearDownTestSuite() {
        removeFolderTree(card->root);
        delete card;
        card = nullptr;
    }

    void SetUp() override {
        displayMode = DisplayModeEvent;
        window = new MainWindow();
        ShowWindow(window->handle(), SW_SHOW);
        SetForegroundWindow(window->handle());
        pumpViewerFor(window, 50);
    }

    // The window object goes with its window: only the handle is asked after.
    void TearDown() override {
        if (window && IsWindow(window->handle())) DestroyWindow(window->handle());
        window = nullptr;
        pumpFor(50);
    }

    VideoPlayer& player() const { return *window->player(); }
    PlaybackCommands& commands() const { return window->playbackCommands(); }

    void open(const std::wstring& folder, int mode) {
        displayMode = mode;
        MessageBoxAnswerer answerer;
        window->openFolder(folder);
        ASSERT_TRUE(pumpViewer(window, [&] { return player().shownFrame() >= 0 || mode == DisplayModeOneShot; }));
        EXPECT_TRUE(answerer.texts().empty());
    }

    // A key, then the loop until the engine shows the frame it settled on.
    void key(WORD code, std::initializer_list<WORD> modifiers = {}) {
        sendKey(code, modifiers);
        pumpViewerFor(window, 60);
        pumpViewer(window, [&] { return player().shownFrame() == wantedPicture(); });
    }

    int wantedPicture() const { return player().currentFrame(); }

    // The frame on screen counted over all chapters.
    int overall() const { return commands().overallFrame(); }

    MainWindow* window = nullptr;
};

// ---- Keys ----

TEST_F(KeyboardTest, EventKeysStepPlayPauseAndActWhereverTheFocusIs) {
    open(card->contents.eventFolders.at(0), DisplayModeEvent);
    ASSERT_EQ(player().playState(), VideoPlayer::statePlaying);
    // The focus on a control of the configuration panel: the keys still act.
    SetFocus(window->configPanel()->volumeBar()->handle());
    key(VK_SPACE);
    EXPECT_EQ(player().playState(), VideoPlayer::statePaused);
    key(VK_HOME);
    EXPECT_EQ(player().currentFrame(), 0);
    EXPECT_EQ(player().shownFrame(), 0);
    key(VK_RIGHT);
    EXPECT_EQ(player().currentFrame(), 1);
    EXPECT_EQ(player().shownFrame(), 1);
    EXPECT_EQ(player().playState(), VideoPlayer::stateStopped);
    key(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(player().currentFrame(), 31);
    key(VK_RIGHT, {VK_CONTROL});
    EXPECT_EQ(player().currentFrame(), 331);
    key(VK_LEFT, {VK_CONTROL});
    key(VK_LEFT, {VK_SHIFT});
    key(VK_LEFT);
    EXPECT_EQ(player().currentFrame(), 0);
    EXPECT_EQ(player().shownFrame(), 0);
    key(VK_LEFT);
    EXPECT_EQ(player().currentFrame(), 0);
    key(VK_END);
    EXPECT_EQ(player().currentFrame(), kEventFrames - 1);
    EXPECT_EQ(player().shownFrame(), kEventFrames - 1);
    // Space plays on from the frame shown; Right while playing pauses first.
    key(VK_HOME);
    key(VK_SPACE);
    pumpViewer(window, [&] { return player().currentFrame() > 10; });
    EXPECT_EQ(player().playState(), VideoPlayer::statePlaying);
    const int before = player().currentFrame();
    key(VK_RIGHT);
    EXPECT_NE(player().playState(), VideoPlayer::statePlaying);
    EXPECT_EQ(player().currentFrame(), before + 1);

    // Volume: the bar and the sound player follow.
    SetFocus(window->consolePanel()->positionBar()->handle());
    ImageTrackBar& volume = *window->configPanel()->volumeBar();
    const int full = volume.value();
    sendKey(VK_DOWN);
    sendKey(VK_DOWN);
    pumpViewerFor(window, 200);
    EXPECT_EQ(volume.value(), full - 2 * PlaybackCommands::volumeStep);
    EXPECT_EQ(player().soundPlayer().getVolume(), volume.value());
    sendKey(VK_UP);
    pumpViewerFor(window, 200);
    EXPECT_EQ(volume.value(), full - PlaybackCommands::volumeStep);

    // Speed: "]" then "[" back to normal.
    sendCharacter(L']');
    pumpViewerFor(window, 200);
    EXPECT_EQ(player().speed().label(), L"2");
    sendCharacter(L'[');
    sendCharacter(L'[');
    pumpViewerFor(window, 200);
    EXPECT_EQ(player().speed().label(), L"1/2");
    sendCharacter(L']');
    pumpViewerFor(window, 200);
    EXPECT_TRUE(player().speed().isNormal());
}

TEST_F(KeyboardTest, PageKeysMoveToTheNeighbouringFolders) {
    open(card->contents.eventFolders.at(1), DisplayModeEvent);
    sendKey(VK_NEXT);
    ASSERT_TRUE(pumpViewer(window, [&] { return std::wstring(window->currentFolder()) == card->contents.eventFolders.at(2); }));
    sendKey(VK_PRIOR);
    pumpViewerFor(window, 100);
    sendKey(VK_PRIOR);
    ASSERT_TRUE(pumpViewer(window, [&] { return std::wstring(window->currentFolder()) == card->contents.eventFolders.at(0); }));
    // Before the first folder: the usual box, nothing else.
    MessageBoxAnswerer answerer;
    sendKey(VK_PRIOR);
    pumpViewer(window, [&] { return !answerer.texts().empty(); });
    EXPECT_EQ(answerer.texts(), std::vector<std::wstring>{loadText(5066)});
    EXPECT_EQ(std::wstring(window->currentFolder()), card->contents.eventFolders.at(0));
}

TEST_F(KeyboardTest, VideoMemoryStepsCrossChapterBoundariesAndHomeEndSpanAllChapters) {
    open(card->contents.videoFolder, DisplayModeVideo);
    key(VK_SPACE);
    key(VK_END);
    EXPECT_EQ(player().chapter(), 2);
    EXPECT_EQ(overall(), player().totalFrames() - 1);
    key(VK_HOME);
    EXPECT_EQ(player().chapter(), 0);
    EXPECT_EQ(overall(), 0);
    // Ten seconds are a hundred frames: six of them reach the second chapter.
    for (int i = 0; i < 6; ++i) key(VK_RIGHT, {VK_CONTROL});
    EXPECT_EQ(player().chapter(), 1);
    EXPECT_EQ(player().currentFrame(), 0);
    key(VK_LEFT);
    EXPECT_EQ(player().chapter(), 0);
    EXPECT_EQ(player().currentFrame(), kFramesPerChapter - 1);
    EXPECT_EQ(player().shownFrame(), kFramesPerChapter - 1);
    EXPECT_EQ(player().playState(), VideoPlayer::stateStopped);
    key(VK_RIGHT);
    EXPECT_EQ(player().chapter(), 1);
    EXPECT_EQ(player().shownFrame(), 0);
    key(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(overall(), kFramesPerChapter - FrameClock::videoFramesPerSecond);
}

TEST_F(KeyboardTest, OneShotArrowsMoveThroughThePicturesAndTheStripKeepsItsOwn) {
    open(card->contents.oneShotFolder, DisplayModeOneShot);
    Thumbnail& strip = *window->thumbnail();
    ASSERT_TRUE(pumpViewer(window, [&] { return strip.isAllLoaded(); }));
    SetFocus(window->handle());
    key(VK_HOME);
    pumpViewerFor(window, 100);
    EXPECT_EQ(strip.selectedIndex(), 0);
    sendKey(VK_RIGHT);
    pumpViewerFor(window, 200);
    EXPECT_EQ(strip.selectedIndex(), 1);
    sendKey(VK_END);
    pumpViewerFor(window, 200);
    EXPECT_EQ(strip.selectedIndex(), strip.totalCount() - 1);
    sendKey(VK_LEFT);
    pumpViewerFor(window, 200);
    EXPECT_EQ(strip.selectedIndex(), strip.totalCount() - 2);
    // With the focus in the list its arrow keys are its own; other keys are the viewer's.
    const HWND list = window->thumbnail()->list()->handle();
    MSG arrow{list, WM_KEYDOWN, VK_RIGHT, 0, GetTickCount(), {}};
    EXPECT_FALSE(window->keyboardShortcuts().translate(arrow));
    MSG home{list, WM_KEYDOWN, VK_HOME, 0, GetTickCount(), {}};
    EXPECT_TRUE(window->keyboardShortcuts().translate(home));
    pumpViewerFor(window, 200);
    EXPECT_EQ(strip.selectedIndex(), 0);
}

// ---- Full screen ----

TEST_F(KeyboardTest, FullScreenShowsThePictureAloneAndLeavingRestoresEveryRectangle) {
    open(card->contents.eventFolders.at(0), DisplayModeEvent);
    key(VK_SPACE);
    RECT mainBefore, pictureBefore;
    GetWindowRect(window->handle(), &mainBefore);
    GetWindowRect(player().handle(), &pictureBefore);

    sendKey(VK_F11);
    ASSERT_TRUE(pumpViewer(window, [&] { return commands().isFullScreen(); }));
    const HWND full = commands().fullScreen()->handle();
    EXPECT_EQ(GetParent(player().handle()), full);
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromWindow(window->handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT fullRect, picture;
    GetWindowRect(full, &fullRect);
    EXPECT_TRUE(sameRect(fullRect, monitor.rcMonitor));
    GetWindowRect(player().handle(), &picture);
    const int width = picture.right - picture.left;
    const int height = picture.bottom - picture.top;
    EXPECT_EQ(width * 3, height * 4);
    EXPECT_TRUE(width == fullRect.right - fullRect.left || height == fullRect.bottom - fullRect.top);

    // The keys keep working there.
    const int frame = player().currentFrame();
    key(VK_RIGHT);
    EXPECT_EQ(player().currentFrame(), frame + 1);

    sendKey(VK_ESCAPE);
    ASSERT_TRUE(pumpViewer(window, [&] { return !commands().isFullScreen(); }));
    EXPECT_FALSE(IsWindow(full));
    EXPECT_EQ(GetParent(player().handle()), window->handle());
    RECT mainAfter, pictureAfter;
    GetWindowRect(window->handle(), &mainAfter);
    GetWindowRect(player().handle(), &pictureAfter);
    EXPECT_TRUE(sameRect(mainBefore, mainAfter));
    EXPECT_TRUE(sameRect(pictureBefore, pictureAfter));

    // A double-click on the picture enters, another leaves.
    sendDoubleClick(player().handle());
    ASSERT_TRUE(pumpViewer(window, [&] { return commands().isFullScreen(); }));
    sendDoubleClick(player().handle());
    ASSERT_TRUE(pumpViewer(window, [&] { return !commands().isFullScreen(); }));
    GetWindowRect(player().handle(), &pictureAfter);
    EXPECT_TRUE(sameRect(pictureBefore, pictureAfter));
}

// Closing the viewer while the picture is lent out: it goes back first and is
// destroyed with the main window, as every other child.
TEST_F(KeyboardTest, ClosingInFullScreenDestroysEverythingOnce) {
    open(card->contents.eventFolders.at(0), DisplayModeEvent);
    sendKey(VK_F11);
    ASSERT_TRUE(pumpViewer(window, [&] { return commands().isFullScreen(); }));
    const HWND full = commands().fullScreen()->handle();
    const HWND picture = player().handle();
    DestroyWindow(window->handle());
    window = nullptr;
    pumpFor(100);
    EXPECT_FALSE(IsWindow(full));
    EXPECT_FALSE(IsWindow(picture));
}

// ---- Speed ----

struct Measured {
    int frames = 0;  // how far the clock moved the frame
    int drawn = 0;   // pictures that reached the screen
};

Measured measure(MainWindow* window, DWORD ms) {
    VideoPlayer& player = *window->player();
    Measured run;
    const int start = player.currentFrame();
    int last = player.shownFrame();
    const ULONGLONG end = GetTickCount64() + ms;
    pumpViewer(window, [&] {
        if (player.shownFrame() != last) {
            last = player.shownFrame();
            ++run.drawn;
        }
        return GetTickCount64() >= end;
    }, ms + 1000);
    run.frames = player.currentFrame() - start;
    return run;
}

TEST_F(KeyboardTest, SpeedScalesTheClockSilencesTheSoundAndNormalSpeedResumesItInStep) {
    open(card->contents.eventFolders.at(0), DisplayModeEvent);
    key(VK_SPACE);
    key(VK_HOME);
    key(VK_SPACE);
    ASSERT_EQ(player().playState(), VideoPlayer::statePlaying);
    pumpViewerFor(window, 300);
    const Measured normal = measure(window, 1500);
    sendCharacter(L']');
    pumpViewerFor(window, 100);
    EXPECT_EQ(player().soundPlayer().getState(), ISoundPlayer::stateClosed);
    const Measured doubled = measure(window, 1500);
    sendCharacter(L'[');
    sendCharacter(L'[');
    pumpViewerFor(window, 100);
    const Measured half = measure(window, 1500);
    std::printf("frames per 1.5 s of clock (moved / drawn): 1x %d / %d, 2x %d / %d, 1/2x %d / %d\n", normal.frames,
                normal.drawn, doubled.frames, doubled.drawn, half.frames, half.drawn);
    ASSERT_GT(normal.frames, 20);
    const double fast = static_cast<double>(doubled.frames) / normal.frames;
    const double slow = static_cast<double>(half.frames) / normal.frames;
    EXPECT_GT(fast, 1.5);
    EXPECT_LT(fast, 2.6);
    EXPECT_GT(slow, 0.3);
    EXPECT_LT(slow, 0.7);
    // Drawing follows the clock down; up it is bounded by how fast pictures
    // arrive, and frames are skipped rather than fall behind.
    EXPECT_LT(half.drawn, normal.drawn);
    EXPECT_GT(doubled.drawn, half.drawn);

    // Back at normal speed the sound plays again, where the picture is.
    sendCharacter(L']');
    pumpViewerFor(window, 300);
    ASSERT_TRUE(player().speed().isNormal());
    EXPECT_EQ(player().soundPlayer().getState(), ISoundPlayer::statePlaying);
    const FrameClock clock(FrameClock::eventFramesPerSecond);
    EXPECT_NEAR(player().soundPlayer().getPosition(), clock.timeOf(player().currentFrame()), 300);
}

// ---- The clock of the frame ----

TEST_F(KeyboardTest, PositionTipShowsTheClockOfTheFrameUnderTheThumbAcrossChapters) {
    open(card->contents.videoFolder, DisplayModeVideo);
    key(VK_SPACE);
    key(VK_HOME);
    const std::int64_t start = FrameTimes::chapterStart(card->contents.chapters.at(0));
    EXPECT_EQ(PlaybackReadout::positionTip(0), FrameTimes::text(start));
    EXPECT_EQ(PlaybackReadout::positionTip(95), FrameTimes::text(start + 9));
    // The next chapter, not open: carried on from the open one.
    EXPECT_EQ(PlaybackReadout::positionTip(kFramesPerChapter + 25), FrameTimes::text(start + 62));
    EXPECT_EQ(PlaybackReadout::positionTip(kFramesPerChapter + 25),
              FrameTimes::text(FrameTimes::chapterStart(card->contents.chapters.at(1)) + 2));
}

// ---- Going to a time ----

TEST_F(KeyboardTest, GoToTimeLandsOnEitherSideOfAChapterBoundaryAndReportsATimeOutside) {
    open(card->contents.videoFolder, DisplayModeVideo);
    key(VK_SPACE);
    const std::int64_t second = FrameTimes::chapterStart(card->contents.chapters.at(1));
    ASSERT_NE(second, 0);
    commands().goToTime(second);
    pumpViewer(window, [&] { return player().shownFrame() == player().currentFrame(); });
    EXPECT_EQ(player().chapter(), 1);
    EXPECT_EQ(player().currentFrame(), 0);
    // One second earlier: the first frame of the last second of the first chapter.
    commands().goToTime(second - 1);
    pumpViewer(window, [&] { return player().shownFrame() == player().currentFrame(); });
    EXPECT_EQ(player().chapter(), 0);
    EXPECT_EQ(player().currentFrame(), kFramesPerChapter - FrameClock::videoFramesPerSecond);
    EXPECT_EQ(FrameTimes::timeOf(*player().info(), player().currentFrame(), 10), second - 1);

    MessageBoxAnswerer answerer;
    commands().goToTime(second - 3600);
    pumpViewerFor(window, 100);
    ASSERT_EQ(answerer.texts().size(), 1u);
    EXPECT_EQ(answerer.texts()[0].rfind(loadText(5531).substr(0, 10), 0), 0u);
    EXPECT_EQ(player().chapter(), 0);
}

// Ctrl+G opens the dialog; its picker starts at the frame's own time and OK
// goes there.
TEST_F(KeyboardTest, ControlGAsksForTheTimeStartingAtTheFrameShown) {
    open(card->contents.eventFolders.at(0), DisplayModeEvent);
    key(VK_SPACE);
    key(VK_HOME);
    const std::int64_t target = FrameTimes::timeOf(*player().info(), 0, 30) + 5;
    static std::int64_t shown = 0;
    static std::int64_t wanted = 0;
    shown = 0;
    wanted = target;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        const HWND dialog = findThreadDialog(true);
        const HWND picker = dialog ? GetDlgItem(dialog, IDC_GO_TO_TIME_PICKER) : nullptr;
        if (!picker) return;
        SYSTEMTIME time{};
        SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        CalendarTime local{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
        platform::localToTimeValue(local, shown);
        CalendarTime goal;
        platform::timeValueToLocal(wanted, goal);
        SYSTEMTIME chosen{static_cast<WORD>(goal.year), static_cast<WORD>(goal.month), 0, static_cast<WORD>(goal.day),
                          static_cast<WORD>(goal.hour), static_cast<WORD>(goal.minute),
                          static_cast<WORD>(goal.second), 0};
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&chosen));
        pressButton(dialog, IDOK);
    });
    sendKey('G', {VK_CONTROL});
    pumpViewer(window, [&] { return shown != 0 && player().shownFrame() == player().currentFrame(); });
    KillTimer(nullptr, timer);
    EXPECT_EQ(shown, FrameTimes::timeOf(*player().info(), 0, 30));
    EXPECT_EQ(FrameTimes::timeOf(*player().info(), player().currentFrame(), 30), target);
    EXPECT_LT(FrameTimes::timeOf(*player().info(), player().currentFrame() - 1, 30), target);
}

}  // namespace
