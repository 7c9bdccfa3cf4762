#include <gtest/gtest.h>

#include "screen/PopupCamera.h"

#include <set>

#include "support/ScreenCapture.h"

namespace {

constexpr DWORD lookPeriodMs = 50;
// Long enough for Wine to draw the popup and hand it to the X server.
constexpr DWORD drawingTimeMs = 600;
constexpr DWORD patienceMs = 30000;

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

struct Search {
    HWND menu = nullptr;
    HWND dialog = nullptr;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window)) return TRUE;
    const std::wstring name = classOf(window);
    if (name == L"#32768" && !search->menu) search->menu = window;
    if (name == L"#32770" && IsWindowEnabled(window) && !search->dialog) search->dialog = window;
    return TRUE;
}

}  // namespace

PopupCamera::PopupCamera(DWORD thread, Action action) : thread_(thread), action_(std::move(action)) {
    InitializeCriticalSection(&lock_);
    watcher_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

PopupCamera::~PopupCamera() {
    stopping_ = true;
    if (watcher_) {
        // The watcher may be reading a window of this thread (a sent message):
        // serve such messages while waiting for it.
        MSG message;
        while (MsgWaitForMultipleObjects(1, &watcher_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
        CloseHandle(watcher_);
    }
    DeleteCriticalSection(&lock_);
}

DWORD WINAPI PopupCamera::run(void* camera) {
    static_cast<PopupCamera*>(camera)->watch();
    return 0;
}

std::vector<PopupCamera::Shot> PopupCamera::shots() const {
    EnterCriticalSection(&lock_);
    std::vector<Shot> copy = shots_;
    LeaveCriticalSection(&lock_);
    return copy;
}

// Menus are found among all top-level windows (Wine gives the drop-down no
// thread of ours to enumerate by), dialogs among the thread's.
HWND PopupCamera::topmostPopup() const {
    Search search;
    EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.menu) return search.menu;
    Search own;
    EnumThreadWindows(thread_, considerWindow, reinterpret_cast<LPARAM>(&own));
    return own.dialog;
}

void PopupCamera::watch() {
    HWND current = nullptr;
    DWORD seenAt = 0;
    const DWORD started = GetTickCount();
    while (!stopping_ && GetTickCount() - started < patienceMs) {
        Sleep(lookPeriodMs);
        const HWND popup = topmostPopup();
        if (popup != current) {
            current = popup;
            seenAt = GetTickCount();
            continue;
        }
        if (!popup || GetTickCount() - seenAt < drawingTimeMs) continue;
        photograph(popup);
        const int index = static_cast<int>(shots().size()) - 1;
        const bool done = action_(popup, index);
        seenAt = GetTickCount();
        if (done) {
            // Not the same popup again while it closes.
            while (!stopping_ && IsWindow(popup) && IsWindowVisible(popup)) Sleep(lookPeriodMs);
            current = nullptr;
        }
    }
}

void PopupCamera::photograph(HWND popup) {
    RECT outer{};
    GetWindowRect(popup, &outer);
    Shot shot{classOf(popup), textOf(popup), ScreenCapture::areaAsIs(outer)};
    EnterCriticalSection(&lock_);
    shots_.push_back(std::move(shot));
    LeaveCriticalSection(&lock_);
}

void postCancel(HWND dialog) { postButton(dialog, IDCANCEL); }

void postButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

::testing::AssertionResult looksDrawn(const PopupCamera::Shot& shot, int minimumDark) {
    const WindowPixels& pixels = shot.pixels;
    if (pixels.width < 20 || pixels.height < 10) {
        return ::testing::AssertionFailure() << "a picture of " << pixels.width << " x " << pixels.height;
    }
    int black = 0;
    int dark = 0;
    std::set<std::uint32_t> colours;
    for (std::uint32_t pixel : pixels.pixels) {
        pixel &= 0xFFFFFF;
        black += pixel == 0;
        const int luminance = static_cast<int>(((pixel >> 16) & 0xFF) * 3 + ((pixel >> 8) & 0xFF) * 6 + (pixel & 0xFF)) / 10;
        dark += luminance < 90;
        if (colours.size() < 64) colours.insert(pixel);
    }
    const int all = pixels.width * pixels.height;
    if (black * 2 > all) return ::testing::AssertionFailure() << black << " of " << all << " pixels black: a black box";
    if (colours.size() < 4) return ::testing::AssertionFailure() << "only " << colours.size() << " colours";
    if (dark < minimumDark) return ::testing::AssertionFailure() << "only " << dark << " dark pixels: no text";
    return ::testing::AssertionSuccess() << colours.size() << " colours, " << dark << " dark pixels";
}
