#include <cstring>
#include <iterator>

#include "media/FramePainter.h"
#include "media/Letterbox.h"

namespace {

constexpr wchar_t kLoadingNotice[] = L"Now Loading...";

}  // namespace

FramePainter::FramePainter(bool useDrawDib, bool scaling) : scaling_(scaling) {
    if (useDrawDib) drawDib_ = DrawDibOpen();
}

FramePainter::~FramePainter() {
    if (drawDib_) DrawDibClose(drawDib_);
}

BITMAPINFOHEADER FramePainter::headerOf(const Image& picture) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = picture.width();
    header.biHeight = picture.height();  // positive: rows bottom-up, as Image keeps them
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(picture.size());
    return header;
}

bool FramePainter::keepCopyOfSize(int width, int height) {
    if (copy_ && copy_->width() == width && copy_->height() == height) return true;
    copy_ = Image::createForOverwrite(width, height);
    return copy_ != nullptr;
}

// At 1.0 the picture itself is drawn: it is only read.
const Image& FramePainter::brightened(const Image& picture, const GammaCorrection& brightness) {
    if (brightness.gamma() == 1.0) return picture;
    if (!keepCopyOfSize(picture.width(), picture.height())) return picture;
    std::memcpy(copy_->pixels(), picture.pixels(), static_cast<std::size_t>(picture.size()));
    brightness.apply(*copy_);
    return *copy_;
}

// The copy at the letterbox's size, brightened; null when it cannot be made.
const Image* FramePainter::scaledCopy(const Image& picture, const GammaCorrection& brightness, int width,
                                      int height) {
    if (!scaling_ || !keepCopyOfSize(width, height)) return nullptr;
    scaler_.scale(picture, *copy_);
    if (brightness.gamma() != 1.0) brightness.apply(*copy_);
    return copy_.get();
}

void FramePainter::drawPicture(HDC dc, int areaWidth, int areaHeight, const Image& picture,
                               const GammaCorrection& brightness) {
    const Letterbox box = Letterbox::fit(areaWidth, areaHeight);
    if (box.width <= 0 || box.height <= 0) return;
    const bool ownSize = box.width == picture.width() && box.height == picture.height();
    const Image* ready = ownSize ? &brightened(picture, brightness)
                                 : scaledCopy(picture, brightness, box.width, box.height);
    if (ready) {
        // Nothing left to stretch: straight to the device, without DrawDib's copy of the bits.
        BITMAPINFOHEADER header = headerOf(*ready);
        SetDIBitsToDevice(dc, box.x, box.y, box.width, box.height, 0, 0, 0, ready->height(), ready->pixels(),
                          reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS);
        return;
    }
    const Image& copy = brightened(picture, brightness);
    BITMAPINFOHEADER header = headerOf(copy);
    if (drawDib_) {
        // DrawDibDraw only reads the bits, whatever its signature says.
        DrawDibDraw(drawDib_, dc, box.x, box.y, box.width, box.height, &header, const_cast<std::uint8_t*>(copy.pixels()),
                    0, 0, copy.width(), copy.height(), 0);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // halftone stretching needs the brush origin reset
    StretchDIBits(dc, box.x, box.y, box.width, box.height, 0, 0, copy.width(), copy.height(), copy.pixels(),
                  reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
}

void FramePainter::fillWhite(HDC dc, int areaWidth, int areaHeight) {
    const RECT area{0, 0, areaWidth, areaHeight};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void FramePainter::showLoading(HWND window) {
    HDC dc = GetDC(window);
    if (!dc) return;
    RECT client{};
    GetClientRect(window, &client);
    fillWhite(dc, client.right, client.bottom);
    const int length = static_cast<int>(std::size(kLoadingNotice)) - 1;
    SIZE text{};
    GetTextExtentPoint32W(dc, kLoadingNotice, length, &text);
    TextOutW(dc, (client.right - text.cx) / 2, (client.bottom - text.cy) / 2, kLoadingNotice, length);
    ReleaseDC(window, dc);
}
