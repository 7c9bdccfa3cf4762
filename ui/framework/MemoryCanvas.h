#pragma once
// An off-screen picture kept from paint to paint: a bitmap compatible with a
// window's device context, selected into a memory context of its own for as
// long as it lives. Making the context anew for every paint cost Wine several
// server calls each time, and the chart and the position bar paint every frame
// while a recording plays.
#include <windows.h>

class MemoryCanvas {
public:
    MemoryCanvas() = default;
    ~MemoryCanvas() { release(); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // Kept when it has that size already, made anew otherwise; false (and
    // empty) when the size is empty or the system refuses.
    bool ensure(HDC compatibleWith, int width, int height);
    void release();

    bool isEmpty() const { return dc_ == nullptr; }
    HDC dc() const { return dc_; }

private:
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ unselected_ = nullptr;
    SIZE size_{};
};
