#pragma once
// The folder dialog: the system's folder browser, opened at the last folder,
// centred over its owner, without the context-help button and, for recording
// folders, with a drop-down list through which the user picks the display mode.
#include <windows.h>

#include <string>

// path: a buffer of MAX_PATH wide characters holding the start folder; on true
// it holds the chosen folder, otherwise it is left as it was. A choice without a
// file-system path (a virtual folder) is refused with warning 5004.
bool chooseFolder(const std::wstring& prompt, HWND owner, wchar_t* path);

// chooseFolder with prompt 5003, which adds the display-mode list; OK sets
// displayMode to the picked mode.
bool chooseRecordingFolder(HWND owner, wchar_t* path);
