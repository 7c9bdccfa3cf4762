#include "ui/main/KeyboardShortcuts.h"

#include <cstdlib>

#include "media/Thumbnail.h"
#include "media/VideoPlayer.h"
#include "resources/PlaybackCommandIds.h"
#include "ui/main/FullScreenWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PlaybackCommands.h"

KeyboardShortcuts::KeyboardShortcuts(MainWindow& window)
    : window_(window), table_(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PLAYBACK_KEYS))) {}

bool KeyboardShortcuts::translate(MSG& message) {
    if (isPictureDoubleClick(message)) {
        SendMessageW(window_.handle(), WM_COMMAND, MAKEWPARAM(IDM_FULL_SCREEN, 0), 0);
        return true;
    }
    if (!table_ || !isInViewer(message.hwnd) || isListArrowKey(message)) return false;
    return TranslateAcceleratorW(window_.handle(), table_, &message) != 0;
}

// Dialogs and message boxes run their own loops; what reaches this one from
// another top-level window (a tooltip, the folder browser's leftovers) is not
// the viewer's.
bool KeyboardShortcuts::isInViewer(HWND target) const {
    if (!target) return false;
    const HWND root = GetAncestor(target, GA_ROOT);
    if (root == window_.handle()) return true;
    const FullScreenWindow* fullScreen = window_.playbackCommands().fullScreen();
    return fullScreen && root == fullScreen->handle();
}

bool KeyboardShortcuts::isListArrowKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            break;
        default:
            return false;
    }
    const HWND strip = window_.thumbnail()->handle();
    return IsWindowVisible(strip) && (message.hwnd == strip || IsChild(strip, message.hwnd));
}

bool KeyboardShortcuts::isPictureDoubleClick(const MSG& message) {
    if (message.message != WM_LBUTTONDOWN || message.hwnd != window_.player()->handle()) return false;
    const POINT click{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
    const bool second = clickPending_ && message.time - lastClickTime_ <= GetDoubleClickTime() &&
                        std::abs(click.x - lastClick_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        std::abs(click.y - lastClick_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    clickPending_ = !second;
    lastClickTime_ = message.time;
    lastClick_ = click;
    return second;
}
