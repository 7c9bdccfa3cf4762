#include <vector>

#include "app/Texts.h"
#include "ui/controls/LinkLabel.h"
// Needs the Windows types above.
#include <shellapi.h>

namespace {

constexpr int webPageTextId = 5086;
constexpr int maximumAddressLength = 259;  // the text buffer of 260 characters
constexpr COLORREF linkBlue = RGB(0, 0, 255);

}  // namespace

// Blue before the text is taken, whose redraw is at once: a control already on
// screen shows the link colour from the start.
LinkLabel::LinkLabel(HWND existingWindow) : Label(existingWindow) {
    textColour_ = linkBlue;
    underlineFont();
    takeWindowText();
}

// Deleted after the control is gone: the destroy message comes last.
LinkLabel::~LinkLabel() {
    if (underlineFont_) DeleteObject(underlineFont_);
}

LRESULT LinkLabel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return 0;
        case WM_LBUTTONUP:
            openWebPage();
            return 0;
        default:
            return Label::windowProc(message, wParam, lParam);
    }
}

void LinkLabel::underlineFont() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof description, &description)) return;
    description.lfUnderline = TRUE;
    underlineFont_ = CreateFontIndirectW(&description);
    if (underlineFont_) SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont_), TRUE);
}

void LinkLabel::takeWindowText() {
    const int length = handle() ? GetWindowTextLengthW(handle()) : 0;
    if (length <= 0) return;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(handle(), buffer.data(), length + 1);
    if (copied <= 0) return;
    text_.assign(buffer.data(), static_cast<std::size_t>(copied));
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}

void LinkLabel::openWebPage() {
    std::wstring address = loadText(webPageTextId);
    if (address.empty()) return;
    if (address.size() > maximumAddressLength) address.resize(maximumAddressLength);
    ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}
