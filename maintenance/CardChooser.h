#pragma once
// How the maintenance dialogs ask for the SD card: the folder dialog by default
// (chooseFolder); tests put in their own choice so that no system browser waits.
#include <windows.h>

#include <functional>
#include <string>

// path: a buffer of MAX_PATH wide characters holding the start folder; on true
// it holds the chosen folder, otherwise it is left as it was.
using CardChooser = std::function<bool(const std::wstring& prompt, HWND owner, wchar_t* path)>;

// The folder dialog.
CardChooser folderDialogChooser();
