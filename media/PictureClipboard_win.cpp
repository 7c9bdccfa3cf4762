#include "media/Letterbox.h"
#include "media/PictureClipboard.h"

bool PictureClipboard::copyLetterbox(HWND window) {
    HBITMAP bitmap = grabLetterbox(window);
    if (!bitmap) return false;
    if (hand(window, bitmap)) return true;
    DeleteObject(bitmap);
    return false;
}

HBITMAP PictureClipboard::grabLetterbox(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const Letterbox box = Letterbox::fit(client.right, client.bottom);
    if (box.width <= 0 || box.height <= 0) return nullptr;
    HDC screen = GetDC(window);
    if (!screen) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, box.width, box.height);
    HDC memory = bitmap ? CreateCompatibleDC(screen) : nullptr;
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        StretchBlt(memory, 0, 0, box.width, box.height, screen, box.x, box.y, box.width, box.height, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    } else if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(window, screen);
    return bitmap;
}

bool PictureClipboard::hand(HWND window, HBITMAP bitmap) {
    if (!OpenClipboard(window)) return false;
    EmptyClipboard();
    const bool handed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return handed;
}
