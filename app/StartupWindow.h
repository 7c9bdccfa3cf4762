#pragma once
// The top-level window that start-up creates until the main window takes its place.
#include <windows.h>

#include <string>

// Creates and shows the window; throws the WindowException of the failing call.
HWND createStartupWindow(const std::wstring& title, int showCommand);
