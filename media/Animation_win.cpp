#include <algorithm>

#include "app/Exception.h"
#include "media/Animation.h"

namespace {

constexpr int lastStep = 1;

}  // namespace

Animation::Animation(HWND parent, int x, int y, int logoId) {
    create(0, defaultClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr,
           GetModuleHandleW(nullptr), nullptr);
    try {
        pictures_[lastStep] = std::make_unique<AlphaImage>(logoId);
    } catch (const Exception&) {
        // The box stays empty.
    }
}

Animation::~Animation() = default;

LRESULT Animation::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_TIMER:
            if (wParam == timerId) onTimer();
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void Animation::start() {
    step_ = 0;
    SetTimer(handle(), timerId, periodMs, nullptr);
}

void Animation::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle(), &paint);
    if (dc && step_ >= 0) {
        if (const auto& picture = pictures_[std::min(step_, lastStep)]) picture->draw(dc, 0, 0);
    }
    EndPaint(handle(), &paint);
}

// The counter stops growing with the timer, so it never wraps.
void Animation::onTimer() {
    ++step_;
    if (step_ > lastStep) {
        KillTimer(handle(), timerId);
    } else {
        InvalidateRect(handle(), nullptr, FALSE);
    }
}
