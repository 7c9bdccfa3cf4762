#include "chart/MessagePump.h"

// Needs the Windows types above.
#include <mmsystem.h>

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = timeGetTime();
    for (;;) {
        if (done()) return true;
        MSG message;
        bool any = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return false;
            TranslateMessage(&message);
            DispatchMessageW(&message);
            any = true;
        }
        if (timeGetTime() - start >= timeoutMs) return done();
        if (!any) Sleep(1);
    }
}

void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}
