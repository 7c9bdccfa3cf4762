#pragma once
// Draws the playback window's area: a frame letterboxed at 4:3 from a private
// copy that carries the user's brightness (the decoded frame is never touched,
// so the brightness can change at any time), white where there is no picture,
// and the loading notice.
#include <windows.h>
// vfw.h only after windows.h.
#include <vfw.h>

#include <memory>

#include "media/GammaCorrection.h"
#include "media/Image.h"
#include "media/PictureScaler.h"

class FramePainter {
public:
    // The picture goes to the device at the letterbox's size: as it is when it
    // has that size, otherwise scaled into the private copy first (nearest
    // neighbour, as DrawDib stretches). Stretching in the drawing call, by
    // DrawDib or StretchDIBits alike, cost a third of the interface thread
    // under Wine. Without scaling (or when the copy cannot be made) the
    // drawing call stretches: DrawDibDraw, or without it (or when the system
    // has none to give) StretchDIBits with halftone stretching.
    explicit FramePainter(bool useDrawDib = true, bool scaling = true);
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    bool usesDrawDib() const { return drawDib_ != nullptr; }

    // Only the letterbox is drawn: the rest keeps the background's white.
    void drawPicture(HDC dc, int areaWidth, int areaHeight, const Image& picture, const GammaCorrection& brightness);
    static void fillWhite(HDC dc, int areaWidth, int areaHeight);
    // "Now Loading..." centred on white, in the font the window's context holds.
    static void showLoading(HWND window);

private:
    static BITMAPINFOHEADER headerOf(const Image& picture);
    bool keepCopyOfSize(int width, int height);
    const Image& brightened(const Image& picture, const GammaCorrection& brightness);
    const Image* scaledCopy(const Image& picture, const GammaCorrection& brightness, int width, int height);

    HDRAWDIB drawDib_ = nullptr;
    bool scaling_;
    PictureScaler scaler_;
    // The scaled or brightened copy, kept from frame to frame: a fresh 1.2 MB
    // copy a frame cost more in page faults than the drawing itself.
    std::unique_ptr<Image> copy_;
};
