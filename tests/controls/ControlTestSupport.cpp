#include "controls/ControlTestSupport.h"

#include <commctrl.h>

#include <cstdint>
#include <sstream>

#include "media/ResourceImage.h"
#include "ui/framework/Window.h"

namespace {

HWND createParent(int width, int height) {
    // Tooltips need the common controls; start-up initialises them in the program.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    struct ClassRegistration : Window {
    } registration;  // registers the controls' class
    return CreateWindowExW(0, Window::defaultClassName, L"controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::string describe(int x, int y, COLORREF actual, COLORREF expected) {
    std::ostringstream text;
    text << "(" << x << ", " << y << ") is " << std::hex << actual << ", not " << expected << " (0xBBGGRR)";
    return text.str();
}

}  // namespace

TestParent::TestParent(int width, int height) : window_(createParent(width, height)) {
    pumpMessages();
}

TestParent::~TestParent() {
    DestroyWindow(window_);
    pumpMessages();
}

void pressAt(HWND control, int x, int y) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}
void moveTo(HWND control, int x, int y) {
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}
void releaseAt(HWND control, int x, int y) {
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

Snapshot::Snapshot(HWND window) {
    UpdateWindow(window);
    pumpMessages();
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {static_cast<DWORD>(sizeof(BITMAPINFOHEADER)), width_, -height_, 1, 32, BI_RGB};
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) pixels_.push_back(RGB(bits[i] >> 16, bits[i] >> 8, bits[i]));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

COLORREF buttonFace() {
    return GetSysColor(COLOR_BTNFACE);
}

::testing::AssertionResult showsPicture(const Snapshot& shot, int id, int left, int top, int width, int height,
                                        int sourceX, int sourceY) {
    const auto picture = loadResourceImage(id);
    if (!picture) return ::testing::AssertionFailure() << "picture " << id << " does not decode";
    if (width == 0) width = picture->width();
    if (height == 0) height = picture->height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = picture->rowFromTop(sourceY + y) + (sourceX + x) * Image::bytesPerPixel;
            const COLORREF expected = RGB(p[2], p[1], p[0]);
            const COLORREF actual = shot.at(left + x, top + y);
            if (actual != expected) {
                return ::testing::AssertionFailure()
                       << "picture " << id << ": " << describe(left + x, top + y, actual, expected);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isFilledWith(const Snapshot& shot, COLORREF colour, int left, int top, int width,
                                        int height) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (shot.at(x, y) != colour) return ::testing::AssertionFailure() << describe(x, y, shot.at(x, y), colour);
        }
    }
    return ::testing::AssertionSuccess();
}
