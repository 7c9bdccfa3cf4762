#pragma once
// Puts the picture a window shows on the clipboard as a bitmap, taken from the
// screen so that it is exactly what the user sees, brightness included.
#include <windows.h>

class PictureClipboard {
public:
    // Copies the window's 4:3 letterbox 1:1 from the screen. False when the
    // bitmap or the clipboard could not be had; the bitmap is then freed here,
    // otherwise it belongs to the clipboard.
    static bool copyLetterbox(HWND window);

private:
    static HBITMAP grabLetterbox(HWND window);
    static bool hand(HWND window, HBITMAP bitmap);
};
