#include "support/MessagePump.h"

namespace {

// Dispatches one message; false when there was none.
bool dispatchOne(MSG& message) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message != WM_QUIT) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

}  // namespace

void pumpMessages() {
    MSG message;
    while (dispatchOne(message)) {
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        MSG message;
        if (dispatchOne(message)) {
            if (message.message == WM_QUIT) return false;
            continue;
        }
        if (GetTickCount64() >= deadline) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void pumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    pumpUntil([end] { return GetTickCount64() >= end; }, ms + 1000);
}
