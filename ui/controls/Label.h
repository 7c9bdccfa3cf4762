#pragma once
// A static control that shows one PNG picture, centred, or one line of text in
// a colour, left-aligned and vertically centred. Either created as a child
// window or taking over a static control of a dialog.
#include <windows.h>

#include <memory>
#include <string>

#include "media/AlphaImage.h"
#include "ui/framework/Window.h"

class Label : public Window {
public:
    // A visible child of parent at (x, y) in its client coordinates.
    Label(HWND parent, int x, int y, int width, int height);
    // Takes over an existing control; a null handle gives a label without a window.
    explicit Label(HWND existingWindow);
    ~Label() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Throws WindowException for an absent resource. Does not redraw.
    void setPicture(int id);

protected:
    // Empty: no text.
    std::wstring text_;
    COLORREF textColour_ = RGB(0, 0, 0);
    std::unique_ptr<AlphaImage> picture_;

private:
    void onPaint();
    void onEraseBackground(HDC dc);
    void paint(HDC dc);
    void drawText(HDC dc, int height);
};
