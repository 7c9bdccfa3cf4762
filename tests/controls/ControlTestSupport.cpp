#include "controls/ControlTestSupport.h"

#include <commctrl.h>

#include <sstream>

#include "media/ResourceImage.h"
#include "ui/framework/Window.h"

namespace {

// Tooltips need the common controls; start-up initialises them in the program.
void initialiseCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

HWND createParent(int width, int height) {
    initialiseCommonControlsOnce();
    // Constructing a window object registers the class the controls use.
    struct ClassRegistration : Window {};
    ClassRegistration registration;
    HWND window = CreateWindowExW(0, Window::defaultClassName, L"controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  0, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    return window;
}

std::string describe(COLORREF colour) {
    std::ostringstream text;
    text << "RGB(" << int{GetRValue(colour)} << ", " << int{GetGValue(colour)} << ", " << int{GetBValue(colour)} << ")";
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

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        pumpMessages();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void pumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    pumpUntil([end] { return GetTickCount64() >= end; }, ms + 1000);
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
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    GdiFlush();
    pixels_.reserve(static_cast<std::size_t>(width_) * height_);
    for (int i = 0; i < width_ * height_; ++i) {
        const std::uint32_t v = bits[i];
        pixels_.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

std::unique_ptr<Image> resourcePicture(int id) {
    return loadResourceImage(id);
}

COLORREF colourAt(const Image& picture, int x, int y) {
    const std::uint8_t* p = picture.rowFromTop(y) + x * Image::bytesPerPixel;
    return RGB(p[2], p[1], p[0]);
}

COLORREF buttonFace() {
    return GetSysColor(COLOR_BTNFACE);
}

::testing::AssertionResult showsPicture(const Snapshot& shot, int id, int left, int top, int width, int height,
                                        int sourceX, int sourceY) {
    const auto picture = resourcePicture(id);
    if (!picture) return ::testing::AssertionFailure() << "picture " << id << " does not decode";
    int mismatches = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF expected = colourAt(*picture, sourceX + x, sourceY + y);
            const COLORREF actual = shot.at(left + x, top + y);
            if (expected == actual) continue;
            if (mismatches++ == 0) {
                first = "(" + std::to_string(left + x) + ", " + std::to_string(top + y) + ") is " + describe(actual) +
                        ", expected " + describe(expected);
            }
        }
    }
    if (mismatches == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " pixels differ from picture " << id << "; first " << first;
}

::testing::AssertionResult showsWholePicture(const Snapshot& shot, int id, int left, int top) {
    const auto picture = resourcePicture(id);
    if (!picture) return ::testing::AssertionFailure() << "picture " << id << " does not decode";
    return showsPicture(shot, id, left, top, picture->width(), picture->height());
}

::testing::AssertionResult isFilledWith(const Snapshot& shot, COLORREF colour, int left, int top, int width,
                                        int height) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (shot.at(x, y) != colour) {
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y << ") is " << describe(shot.at(x, y)) << ", not " << describe(colour);
            }
        }
    }
    return ::testing::AssertionSuccess();
}
