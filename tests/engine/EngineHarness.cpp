#include "engine/EngineHarness.h"
// mmsystem.h only after windows.h, which the harness header brings.
#include <mmsystem.h>

#include <algorithm>

#include "app/DisplayMode.h"
#include "media/ISoundPlayer.h"

TestOwner::TestOwner(int width, int height) {
    RECT frame{0, 0, width, height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    create(0, defaultClassName, L"engine test", style | WS_VISIBLE, 0, 0, frame.right - frame.left,
           frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TestOwner::refresh() {
    ++refreshes;
    if (player) highestFrame = std::max(highestFrame, player->currentFrame());
}

void TestOwner::resetToEmpty() {
    ++resets;
    if (player) {
        player->close();
        InvalidateRect(player->handle(), nullptr, TRUE);
        UpdateWindow(player->handle());
    }
    displayMode = DisplayModeEvent;
}

LRESULT TestPlayer::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ImageLoader::tickMessage) ++ticks;
    if (message == ImageLoader::imageReadyMessage && holdPictures) {
        delete reinterpret_cast<Image*>(lParam);
        ++heldPictures;
        return 0;
    }
    if (message == ImageLoader::imageReadyMessage) {
        arrivals.push_back({static_cast<int>(wParam), lParam != 0, soundPlayer().getPosition(), chapter()});
    }
    return VideoPlayer::windowProc(message, wParam, lParam);
}
