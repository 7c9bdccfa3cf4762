#pragma once
// Placing one window relative to another (dialogs over their owner).
#include <windows.h>

// Moves window, without resizing it or changing its z-order, so that its window
// rectangle is centred on reference's window rectangle (integer halves).
void centreWindow(HWND window, HWND reference);
