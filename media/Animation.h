#pragma once
// The start-up logo over the empty picture area: an empty box for one tick of
// its timer, then the logo, which stays until the main window destroys the
// window on opening a folder.
#include <windows.h>

#include <array>
#include <memory>

#include "media/AlphaImage.h"
#include "resources/ImageIds.h"
#include "ui/framework/Window.h"

class Animation : public Window {
public:
    static constexpr int width = 280;
    static constexpr int height = 73;
    static constexpr UINT_PTR timerId = 0;
    static constexpr UINT periodMs = 100;

    // A visible child of parent at (x, y), width × height. An absent logo
    // leaves the box empty; the steps run the same.
    Animation(HWND parent, int x, int y, int logoId = IDB_LOGO);
    ~Animation() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // From the empty box: the logo appears at the first tick, and the timer
    // stops at the second.
    void start();
    int step() const { return step_; }

private:
    void onPaint();
    void onTimer();

    // Slot 0 is the empty box, slot 1 the logo.
    std::array<std::unique_ptr<AlphaImage>, 2> pictures_;
    int step_ = 0;
};
