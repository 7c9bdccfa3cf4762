#include <string>

#include "app/Application.h"
#include "app/Texts.h"
#include "maintenance/AboutDialog.h"
#include "resources/DialogIds.h"
#include "resources/ImageIds.h"
#include "ui/controls/Label.h"
#include "ui/controls/LinkLabel.h"
#include "ui/framework/WindowPosition.h"
#include "ui/main/VersionText.h"

namespace {

constexpr int applicationTitleTextId = 5001;
constexpr int noticePoints = 11;
// The logo's top sits this far below the client area's top, plus the half of
// what the placeholder's height leaves over.
constexpr int logoTopMargin = 10;

HFONT createNoticeFont() {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(noticePoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
}

// Start-up keeps the title; a dialog run before it (tests) loads it itself.
std::wstring titleText() {
    const std::wstring& title = applicationTitle();
    return title.empty() ? loadText(applicationTitleTextId) : title;
}

}  // namespace

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT), noticeFont(createNoticeFont()) {}

AboutDialog::~AboutDialog() {
    if (noticeFont) DeleteObject(noticeFont);
}

INT_PTR AboutDialog::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_COMMAND:
            return Dialog::dialogProc(message, wParam, lParam);  // OK and the close box end it
        default:
            return FALSE;
    }
}

void AboutDialog::onInitDialog() {
    createLogo();
    setItemText(IDC_ABOUT_TITLE, titleText());
    setItemText(IDC_ABOUT_VERSION, L"Version " + getVersionText());
    if (HWND rights = GetDlgItem(window, IDC_ABOUT_RIGHTS)) {
        SendMessageW(rights, WM_SETFONT, reinterpret_cast<WPARAM>(noticeFont), TRUE);
    }
    if (HWND link = GetDlgItem(window, IDC_ABOUT_LINK)) linkLabel = new LinkLabel(link);
    centreWindow(window, parentWindow);
}

// Centred across the hidden placeholder, whatever the dialog font makes of its
// size; the placeholder only marks the place.
void AboutDialog::createLogo() {
    HWND placeholder = GetDlgItem(window, IDC_ABOUT_LOGO_PLACE);
    if (!placeholder) return;
    RECT place{};
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    const int x = place.left + ((place.right - place.left) - logoWidth) / 2;
    const int y = ((place.bottom - place.top) - logoHeight) / 2 + logoTopMargin;
    logoLabel = new Label(window, x, y, logoWidth, logoHeight);
    logoLabel->setPicture(IDB_LOGO);
}

void AboutDialog::setItemText(int id, const std::wstring& text) {
    if (HWND item = GetDlgItem(window, id)) SetWindowTextW(item, text.c_str());
}
