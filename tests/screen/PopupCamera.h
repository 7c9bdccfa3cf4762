#pragma once
// Photographs the popups of a thread while that thread sits in their modal
// loops: a watcher thread finds the topmost popup (a menu drop-down, or a
// dialog that takes input: a message box disables its owner), gives it time
// to draw, takes its picture from the framebuffer and hands it to the test's
// action, which closes it or changes it for the next picture. The watcher only
// reads windows and posts or sends to them; the popups run on their own thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "support/WindowPixels.h"

class PopupCamera {
public:
    struct Shot {
        std::wstring className;
        std::wstring caption;
        WindowPixels pixels;
    };
    // Called after each picture; true when the popup is done with (a close was
    // posted), false to photograph the same popup again after the action.
    using Action = std::function<bool(HWND popup, int shot)>;

    PopupCamera(DWORD thread, Action action);
    ~PopupCamera();
    PopupCamera(const PopupCamera&) = delete;
    PopupCamera& operator=(const PopupCamera&) = delete;

    std::vector<Shot> shots() const;

private:
    static DWORD WINAPI run(void* camera);
    void watch();
    HWND topmostPopup() const;
    void photograph(HWND popup);

    DWORD thread_;
    Action action_;
    std::atomic<bool> stopping_{false};
    // System objects rather than the standard library's, whose threads come
    // from a static pthreads library that fails here.
    mutable CRITICAL_SECTION lock_;
    std::vector<Shot> shots_;
    HANDLE watcher_ = nullptr;
};

// Closes a dialog or message box as its Cancel (or the caption's close) would.
void postCancel(HWND dialog);
void postButton(HWND dialog, int id);
// Whether pixels look like a drawn popup: not one colour, not a black box, and
// with dark pixels where texts are (at least minimumDark of them).
::testing::AssertionResult looksDrawn(const PopupCamera::Shot& shot, int minimumDark = 40);
