#include "ui/framework/DialogMutex.h"

#include "app/Texts.h"

namespace {
constexpr int otherViewerTextId = 5060;
constexpr int warningCaptionId = 5005;
}  // namespace

DialogMutex::DialogMutex() : name(mutexName) {}

DialogMutex::~DialogMutex() {
    close();
}

bool DialogMutex::take(HWND owner) {
    close();
    handle = CreateMutexW(nullptr, TRUE, name.c_str());
    const bool otherHolder = handle && GetLastError() == ERROR_ALREADY_EXISTS;
    // Ownership is given up at once: only the object's existence matters, and a
    // mutex owned by this thread would be abandoned if the command ended oddly.
    if (handle) ReleaseMutex(handle);
    if (!otherHolder) return false;
    close();
    MessageBoxW(owner, loadText(otherViewerTextId).c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
    return true;
}

void DialogMutex::close() {
    if (!handle) return;
    CloseHandle(handle);
    handle = nullptr;
}
