#pragma once
// An interface picture owned by the window that shows it, drawn straight from
// its bottom-up 32-bit pixels (Windows only).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "media/Image.h"

class AlphaImage {
public:
    // The picture of resource "IMAGE" id; holds nothing when its bytes do not
    // decode. Throws WindowException when the resource is absent.
    explicit AlphaImage(int resourceId);
    explicit AlphaImage(std::unique_ptr<Image> image);
    virtual ~AlphaImage();
    AlphaImage(const AlphaImage&) = delete;
    AlphaImage& operator=(const AlphaImage&) = delete;

    // Null when the resource did not decode.
    const Image* image() const { return image_.get(); }
    int width() const { return image_ ? image_->width() : 0; }
    int height() const { return image_ ? image_->height() : 0; }

    // The whole picture at its natural size at (x, y).
    void draw(HDC dc, int x, int y) const;
    // The whole picture stretched to w × h.
    void draw(HDC dc, int x, int y, int w, int h) const;
    // One cell of a picture strip: the part from column srcX, srcW wide and
    // srcH high from the bottom row, stretched to w × h.
    void draw(HDC dc, int x, int y, int w, int h, int srcX, int srcW, int srcH) const;

private:
    std::unique_ptr<Image> image_;
};

// A read-out drawn in character pictures from (x, y) rightwards, each picture
// after the one before; characters without a picture take no room. Read-outs
// are short: at most the first 256 characters are drawn.
void drawCharacterPictures(HDC dc, const std::wstring& text, int x, int y,
                           const std::function<const AlphaImage*(wchar_t)>& pictureOf);
