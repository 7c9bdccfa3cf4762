#include "engine/MessageBoxAnswerer.h"

namespace {

MessageBoxAnswerer* activeAnswerer = nullptr;
constexpr UINT kPeriodMs = 50;
constexpr int kWindowsTextId = 0xFFFF;
constexpr int kWineTextId = 100;

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

MessageBoxAnswerer::MessageBoxAnswerer() {
    activeAnswerer = this;
    timer_ = SetTimer(nullptr, 0, kPeriodMs, onTimer);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    KillTimer(nullptr, timer_);
    activeAnswerer = nullptr;
}

void CALLBACK MessageBoxAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeAnswerer) activeAnswerer->answerOpenBox();
}

void MessageBoxAnswerer::answerOpenBox() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    HWND textControl = GetDlgItem(box, kWindowsTextId);
    if (!textControl) textControl = GetDlgItem(box, kWineTextId);
    boxes_.push_back({textOf(box), textOf(textControl), GetWindow(box, GW_OWNER)});
    SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}
