#pragma once
// Pixels as the user sees them: a window's client area read back from the
// screen, a bitmap such as the clipboard's, a picture resource as decoded, or
// a bitmap the test draws itself; all as 0xRRGGBB, top row first.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    static WindowPixels ofWindow(HWND window);
    // Empty when bitmap is null.
    static WindowPixels ofBitmap(HBITMAP bitmap);
    static WindowPixels ofPicture(int resourceId);
    // A black bitmap of width × height compatible with the screen, drawn on by draw.
    static WindowPixels drawn(int width, int height, const std::function<void(HDC)>& draw);

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
    // Whether the area at (x, y) of this equals the same area of other at (otherX, otherY).
    bool sameArea(int x, int y, const WindowPixels& other, int otherX, int otherY, int areaWidth, int areaHeight) const;
    int countInArea(std::uint32_t colour, const RECT& area) const;
    int count(std::uint32_t colour) const { return countInArea(colour, RECT{0, 0, width, height}); }
    // Share of the pixels of column x (or row y) that are not white.
    double columnCover(int x) const;
    double rowCover(int y) const;
};

constexpr std::uint32_t rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
}
