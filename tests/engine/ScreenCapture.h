#pragma once
// Pixels as they are on the screen: a window's client area, or a bitmap such
// as the clipboard's, read into 32-bit top-down rows.
#include <windows.h>

#include <cstdint>
#include <vector>

struct ScreenCapture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    static ScreenCapture ofWindow(HWND window);
    static ScreenCapture ofBitmap(HBITMAP bitmap);

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
    // Share of the pixels of column x (or row y) that are not white.
    double columnCover(int x) const;
    double rowCover(int y) const;
};
