#include "dialogs/DialogDriver.h"

namespace {

DialogDriver* activeDriver = nullptr;
constexpr UINT driverPeriodMs = 50;
constexpr int windowsMessageTextId = 0xFFFF;
constexpr int wineMessageTextId = 100;

struct BoxSearch {
    HWND found = nullptr;
};

BOOL CALLBACK matchEnabledBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    if (className(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND messageTextControl(HWND box) {
    if (HWND text = GetDlgItem(box, windowsMessageTextId)) return text;
    return GetDlgItem(box, wineMessageTextId);
}

}  // namespace

DialogDriver::DialogDriver(std::function<void(HWND)> handler) : handler_(std::move(handler)) {
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, driverPeriodMs, onTimer);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    activeDriver = nullptr;
}

void CALLBACK DialogDriver::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* driver = activeDriver;
    if (!driver || driver->busy_) return;
    BoxSearch search;
    EnumThreadWindows(GetCurrentThreadId(), matchEnabledBox, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    driver->busy_ = true;
    driver->handler_(search.found);
    driver->busy_ = false;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool isMessageBox(HWND box) {
    return messageTextControl(box) && !FindWindowExW(box, nullptr, L"SysTreeView32", nullptr);
}

SeenBox answerMessageBox(HWND box) {
    SeenBox seen{windowText(box), windowText(messageTextControl(box)), GetWindow(box, GW_OWNER)};
    pressButton(box, GetDlgItem(box, IDOK) ? IDOK : IDCANCEL);
    return seen;
}

void pressButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
