#include "dialogs/DialogDriver.h"

namespace {

DialogDriver* activeDriver = nullptr;
constexpr UINT driverPeriodMs = 50;

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
    HWND box = findThreadDialog(true);
    if (!box) return;
    driver->busy_ = true;
    driver->handler_(box);
    driver->busy_ = false;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool isMessageBox(HWND box) {
    return messageTextControl(box) && !FindWindowExW(box, nullptr, L"SysTreeView32", nullptr);
}

ShownBox answerMessageBox(HWND box) {
    ShownBox seen = readMessageBox(box);
    pressButton(box, GetDlgItem(box, IDOK) ? IDOK : IDCANCEL);
    return seen;
}
