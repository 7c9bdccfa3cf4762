#pragma once
// Process-wide values set once at start-up, and the start-up itself (Windows).
#include <windows.h>

#include <string>

HINSTANCE applicationInstance();
const std::wstring& applicationTitle();
// The extended version record of the system, as the start-up check read it.
const OSVERSIONINFOEXW& osVersion();

// Warns (never refuses) when the system is older than Windows 2000 or its
// version cannot be read; stores the record read for later use.
void checkOsVersion();

// Stores the instance and loads the title and the model code from the texts.
void loadApplicationValues(HINSTANCE instance);

// Loads the title and the model code, creates the main window and runs the
// message loop; returns the quit message's exit code.
int runApplication(HINSTANCE instance, int showCommand);

// Starts the process: error mode, current folder, parameter handler, system
// check, COM, common controls and runApplication inside the top-level handler.
int startApplication(HINSTANCE instance, int showCommand);
