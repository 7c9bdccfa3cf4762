#include "support/WindowPixels.h"

#include <algorithm>
#include <memory>

#include "media/AlphaImage.h"
#include "media/Image.h"

namespace {

constexpr std::uint32_t white = 0xFFFFFF;

BITMAPINFO topDown(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

WindowPixels readBitmap(HBITMAP bitmap, int width, int height) {
    WindowPixels result;
    result.width = width;
    result.height = height;
    result.pixels.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO info = topDown(width, height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, result.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return result;
}

// Draws into a bitmap compatible with source and reads it back.
WindowPixels drawInto(HDC source, int width, int height, const std::function<void(HDC)>& draw) {
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    draw(memory);
    SelectObject(memory, previous);
    DeleteDC(memory);
    WindowPixels result = readBitmap(bitmap, width, height);
    DeleteObject(bitmap);
    return result;
}

}  // namespace

WindowPixels WindowPixels::ofWindow(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    WindowPixels result = drawInto(dc, client.right, client.bottom, [&](HDC memory) {
        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, dc);
    return result;
}

WindowPixels WindowPixels::ofBitmap(HBITMAP bitmap) {
    BITMAP description{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(description), &description)) return {};
    return readBitmap(bitmap, description.bmWidth, description.bmHeight);
}

WindowPixels WindowPixels::ofPicture(int resourceId) {
    const AlphaImage picture(resourceId);
    WindowPixels result;
    const Image* image = picture.image();
    if (!image) return result;
    result.width = image->width();
    result.height = image->height();
    result.pixels.resize(static_cast<std::size_t>(result.width) * result.height);
    for (int y = 0; y < result.height; ++y) {
        const std::uint8_t* row = image->row(result.height - 1 - y);
        for (int x = 0; x < result.width; ++x) {
            const std::uint8_t* pixel = row + x * Image::bytesPerPixel;
            result.pixels[static_cast<std::size_t>(y) * result.width + x] = rgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return result;
}

WindowPixels WindowPixels::drawn(int width, int height, const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    WindowPixels result = drawInto(screen, width, height, [&](HDC memory) {
        const RECT whole{0, 0, width, height};
        FillRect(memory, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        draw(memory);
    });
    ReleaseDC(nullptr, screen);
    return result;
}

bool WindowPixels::sameArea(int x, int y, const WindowPixels& other, int otherX, int otherY, int areaWidth,
                            int areaHeight) const {
    for (int row = 0; row < areaHeight; ++row) {
        for (int column = 0; column < areaWidth; ++column) {
            if (at(x + column, y + row) != other.at(otherX + column, otherY + row)) return false;
        }
    }
    return true;
}

int WindowPixels::countInArea(std::uint32_t colour, const RECT& area) const {
    int found = 0;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(height, static_cast<int>(area.bottom)); ++y) {
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(width, static_cast<int>(area.right)); ++x) {
            found += at(x, y) == colour;
        }
    }
    return found;
}

double WindowPixels::columnCover(int x) const {
    int covered = 0;
    for (int y = 0; y < height; ++y) covered += at(x, y) != white;
    return height ? static_cast<double>(covered) / height : 0.0;
}

double WindowPixels::rowCover(int y) const {
    int covered = 0;
    for (int x = 0; x < width; ++x) covered += at(x, y) != white;
    return width ? static_cast<double>(covered) / width : 0.0;
}
