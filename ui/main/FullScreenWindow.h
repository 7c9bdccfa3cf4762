#pragma once
// The picture alone on black over the whole monitor the main window is on: the
// playback window is lent to this window, sized to the largest 4:3 rectangle
// that fits, and given back at exactly the place it had when this window goes.
#include <windows.h>

#include <functional>

#include "ui/framework/Window.h"

class FullScreenWindow : public Window {
public:
    static constexpr const wchar_t* className = L"FullScreenWindow";

    // Takes picture (a child window of owner) over; gone() runs when this
    // window is destroyed, after the picture is back.
    FullScreenWindow(HWND owner, HWND picture, std::function<void()> gone);
    ~FullScreenWindow() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Gives the picture back and destroys the window (and this object).
    void leave();
    HWND picture() const { return picture_; }

private:
    static void registerClassOnce();
    static RECT monitorArea(HWND owner);

    void onSize(int width, int height);
    void onClose();
    void onDestroy();
    void givePictureBack();

    HWND owner_;
    HWND picture_;
    HWND home_;
    RECT homeRect_{};  // in home_'s client coordinates
    bool pictureLent_ = false;
    std::function<void()> gone_;
};
