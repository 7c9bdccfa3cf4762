#pragma once
// The window that holds the strip while it is timed, in the main window's
// place: visible, with the strip along its bottom edge. It counts what the
// strip asks of it and does nothing else, so only the strip is measured.
#include <windows.h>

#include "media/Thumbnail.h"
#include "media/ThumbnailOwner.h"
#include "ui/framework/Window.h"

class BenchOwner : public Window, public ThumbnailOwner {
public:
    static constexpr int width = 800;
    static constexpr int height = 200;

    BenchOwner();

    HWND ownerWindow() const override { return handle(); }
    void resetToEmpty() override;
    void showOneShotPicture(int) override { ++shown; }

    Thumbnail* strip = nullptr;  // a window object: freed with its window
    int shown = 0;
    int resets = 0;
};
