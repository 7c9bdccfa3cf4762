#include "media/AlphaImage.h"

#include <algorithm>

#include "media/ResourceImage.h"

namespace {

// The pixels need no conversion: a positive height makes the DIB bottom-up,
// as every Image is.
BITMAPINFO describe(const Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(image.size());
    return info;
}

}  // namespace

AlphaImage::AlphaImage(int resourceId) : image_(loadResourceImage(resourceId)) {}

AlphaImage::AlphaImage(std::unique_ptr<Image> image) : image_(std::move(image)) {}

AlphaImage::~AlphaImage() = default;

void AlphaImage::draw(HDC dc, int x, int y) const {
    if (!image_) return;
    draw(dc, x, y, image_->width(), image_->height());
}

void AlphaImage::draw(HDC dc, int x, int y, int w, int h) const {
    if (!image_) return;
    draw(dc, x, y, w, h, 0, image_->width(), image_->height());
}

void AlphaImage::draw(HDC dc, int x, int y, int w, int h, int srcX, int srcW, int srcH) const {
    if (!image_) return;
    const BITMAPINFO info = describe(*image_);
    StretchDIBits(dc, x, y, w, h, srcX, 0, srcW, srcH, image_->pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void drawCharacterPictures(HDC dc, const std::wstring& text, int x, int y,
                           const std::function<const AlphaImage*(wchar_t)>& pictureOf) {
    constexpr std::size_t maxCharacters = 256;
    const std::size_t count = std::min(text.size(), maxCharacters);
    for (std::size_t i = 0; i < count; ++i) {
        const AlphaImage* picture = pictureOf(text[i]);
        if (!picture) continue;
        picture->draw(dc, x, y);
        x += picture->width();
    }
}
