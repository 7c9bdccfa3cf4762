#include "tools/thumbbench/BenchOwner.h"

BenchOwner::BenchOwner() {
    create(0, defaultClassName, L"thumbnail benchmark", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    strip = new Thumbnail(*this);
    MoveWindow(strip->handle(), 0, height - Thumbnail::stripHeight, width, Thumbnail::stripHeight, TRUE);
    UpdateWindow(handle());
}

void BenchOwner::resetToEmpty() {
    ++resets;
    strip->reset();
}
