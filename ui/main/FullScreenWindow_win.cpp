#include "ui/main/FullScreenWindow.h"

#include "app/WindowError.h"
#include "media/Letterbox.h"

namespace {

bool classRegistered = false;

}  // namespace

FullScreenWindow::FullScreenWindow(HWND owner, HWND picture, std::function<void()> gone)
    : owner_(owner), picture_(picture), home_(GetParent(picture)), gone_(std::move(gone)) {
    registerClassOnce();
    GetWindowRect(picture_, &homeRect_);
    MapWindowPoints(nullptr, home_, reinterpret_cast<POINT*>(&homeRect_), 2);
    const RECT area = monitorArea(owner);
    create(0, className, L"", WS_POPUP | WS_CLIPCHILDREN, area.left, area.top, area.right - area.left,
           area.bottom - area.top, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetParent(picture_, handle());
    pictureLent_ = true;
    onSize(area.right - area.left, area.bottom - area.top);
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    SetFocus(handle());
}

FullScreenWindow::~FullScreenWindow() = default;

void FullScreenWindow::registerClassOnce() {
    if (classRegistered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) throw makeWindowException(GetLastError());
    classRegistered = true;
}

RECT FullScreenWindow::monitorArea(HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return monitor.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LRESULT FullScreenWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            onSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void FullScreenWindow::leave() { DestroyWindow(handle()); }

// The picture window gets exactly the letterbox, so the black around it is this
// window's own background.
void FullScreenWindow::onSize(int width, int height) {
    if (!pictureLent_) return;
    const Letterbox box = Letterbox::fit(width, height);
    MoveWindow(picture_, box.x, box.y, box.width, box.height, TRUE);
}

// Closing from the keyboard (Alt+F4) leaves full screen, not the program.
void FullScreenWindow::onClose() { leave(); }

// The picture window must be back in the main window before this one's
// children are destroyed with it.
void FullScreenWindow::onDestroy() {
    givePictureBack();
    if (gone_) gone_();
}

void FullScreenWindow::givePictureBack() {
    if (!pictureLent_) return;
    pictureLent_ = false;
    if (!IsWindow(picture_) || !IsWindow(home_)) return;
    SetParent(picture_, home_);
    MoveWindow(picture_, homeRect_.left, homeRect_.top, homeRect_.right - homeRect_.left,
               homeRect_.bottom - homeRect_.top, TRUE);
    InvalidateRect(picture_, nullptr, TRUE);
    if (IsWindow(owner_)) {
        SetForegroundWindow(owner_);
        SetFocus(owner_);
    }
}
