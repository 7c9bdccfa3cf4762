#include "ui/framework/WindowPosition.h"

void centreWindow(HWND window, HWND reference) {
    RECT moved{};
    RECT target{};
    if (!GetWindowRect(window, &moved) || !GetWindowRect(reference, &target)) return;
    const int width = moved.right - moved.left;
    const int height = moved.bottom - moved.top;
    const int left = target.left + (target.right - target.left - width) / 2;
    const int top = target.top + (target.bottom - target.top - height) / 2;
    POINT position{left, top};
    // A child window is placed in its parent's client coordinates.
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ScreenToClient(GetParent(window), &position);
    SetWindowPos(window, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
