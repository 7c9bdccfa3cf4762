#include "ui/controls/Label.h"

Label::Label(HWND parent, int x, int y, int width, int height) {
    createControl(parent, x, y, width, height);
}

Label::Label(HWND existingWindow) {
    attach(existingWindow);
}

Label::~Label() = default;

LRESULT Label::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void Label::setPicture(int id) {
    picture_.reset();
    picture_ = std::make_unique<AlphaImage>(id);
}

void Label::onPaint() {
    PAINTSTRUCT paintInfo;
    if (HDC dc = BeginPaint(handle(), &paintInfo)) paint(dc);
    EndPaint(handle(), &paintInfo);
}

void Label::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

// A label smaller than its picture shows the picture's middle.
void Label::paint(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (picture_) {
        picture_->draw(dc, (client.right - picture_->width()) / 2, (client.bottom - picture_->height()) / 2);
    } else if (!text_.empty()) {
        drawText(dc, client.bottom);
    }
}

// Measured with the control's own font, which is the one it is drawn in. A
// disabled label draws its text embossed.
void Label::drawText(HDC dc, int height) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
    const COLORREF previousColour = SetTextColor(dc, textColour_);
    const int previousMode = SetBkMode(dc, TRANSPARENT);

    const int length = static_cast<int>(text_.size());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text_.c_str(), length, &extent);
    const UINT state = DST_TEXT | (isEnabled() ? 0 : DSS_DISABLED);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text_.c_str()), length, 0, (height - extent.cy) / 2,
               extent.cx, extent.cy, state);

    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColour);
    if (previousFont) SelectObject(dc, previousFont);
}
