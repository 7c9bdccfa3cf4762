#pragma once
// What the control tests share: a parent window on screen, a message pump, and
// reading back what a control drew to compare it with a resource picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "support/MessagePump.h"

// A plain top-level window at the desktop's top-left corner, destroyed with
// every control on it at the end of the test.
class TestParent {
public:
    TestParent(int width, int height);
    ~TestParent();
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// Left-button messages as the system sends them, in client coordinates.
void pressAt(HWND control, int x, int y);
void moveTo(HWND control, int x, int y);
void releaseAt(HWND control, int x, int y);

// The client area of a window as it stands on screen, after any pending paint.
class Snapshot {
public:
    explicit Snapshot(HWND window);
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

COLORREF buttonFace();
// The rectangle at (left, top) shows picture id from (sourceX, sourceY) on;
// a width or height of 0 means the picture's own.
::testing::AssertionResult showsPicture(const Snapshot& shot, int id, int left, int top, int width = 0, int height = 0,
                                        int sourceX = 0, int sourceY = 0);
::testing::AssertionResult isFilledWith(const Snapshot& shot, COLORREF colour, int left, int top, int width,
                                        int height);
