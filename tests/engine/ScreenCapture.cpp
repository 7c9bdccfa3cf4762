#include "engine/ScreenCapture.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

BITMAPINFO topDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

ScreenCapture ScreenCapture::ofWindow(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    ScreenCapture capture = ofBitmap(bitmap);
    DeleteObject(bitmap);
    return capture;
}

ScreenCapture ScreenCapture::ofBitmap(HBITMAP bitmap) {
    ScreenCapture capture;
    BITMAP description{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(description), &description)) return capture;
    capture.width = description.bmWidth;
    capture.height = description.bmHeight;
    capture.pixels.resize(static_cast<std::size_t>(capture.width) * capture.height);
    BITMAPINFO info = topDownInfo(capture.width, capture.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, capture.height, capture.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return capture;
}

double ScreenCapture::columnCover(int x) const {
    int covered = 0;
    for (int y = 0; y < height; ++y) covered += at(x, y) != kWhite;
    return height ? static_cast<double>(covered) / height : 0.0;
}

double ScreenCapture::rowCover(int y) const {
    int covered = 0;
    for (int x = 0; x < width; ++x) covered += at(x, y) != kWhite;
    return width ? static_cast<double>(covered) / width : 0.0;
}
