#include "mainwindow/BoxAnswerer.h"

namespace {

BoxAnswerer* active = nullptr;
constexpr int windowsTextId = 0xFFFF;
constexpr int wineTextId = 100;

std::wstring textOf(HWND window) {
    wchar_t text[1024] = {};
    if (window) GetWindowTextW(window, text, 1024);
    return text;
}

BOOL CALLBACK findBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

BoxAnswerer::BoxAnswerer(int button) : button_(button) {
    active = this;
    timer_ = SetTimer(nullptr, 0, 30, onTimer);
}

BoxAnswerer::~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void CALLBACK BoxAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (active) active->answerOpenBox();
}

void BoxAnswerer::answerOpenBox() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    HWND text = GetDlgItem(box, windowsTextId);
    if (!text) text = GetDlgItem(box, wineTextId);
    captions_.push_back(textOf(box));
    texts_.push_back(textOf(text));
    int button = button_;
    if (!GetDlgItem(box, button)) button = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
    SendMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}
