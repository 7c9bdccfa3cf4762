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

class FramePainter {
public:
    // DrawDibDraw is the fast stretched drawing; without it (or when the system
    // has none to give) StretchDIBits with halftone stretching is used. A
    // picture of the letterbox's own size is not stretched at all: it goes to
    // the device as it is, which spares DrawDib's copy of every frame.
    explicit FramePainter(bool useDrawDib = true);
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
    const Image& brightened(const Image& picture, const GammaCorrection& brightness);

    HDRAWDIB drawDib_ = nullptr;
    // The brightened copy, kept from frame to frame: a fresh 1.2 MB copy a
    // frame cost more in page faults than the drawing itself.
    std::unique_ptr<Image> copy_;
};
