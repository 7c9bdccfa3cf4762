#include "ui/framework/MemoryCanvas.h"

bool MemoryCanvas::ensure(HDC compatibleWith, int width, int height) {
    if (dc_ && size_.cx == width && size_.cy == height) return true;
    release();
    if (width <= 0 || height <= 0) return false;
    bitmap_ = CreateCompatibleBitmap(compatibleWith, width, height);
    dc_ = bitmap_ ? CreateCompatibleDC(compatibleWith) : nullptr;
    if (!dc_) {
        release();
        return false;
    }
    unselected_ = SelectObject(dc_, bitmap_);
    size_ = {width, height};
    return true;
}

void MemoryCanvas::release() {
    if (dc_) {
        if (unselected_) SelectObject(dc_, unselected_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    dc_ = nullptr;
    unselected_ = nullptr;
    size_ = {};
}
