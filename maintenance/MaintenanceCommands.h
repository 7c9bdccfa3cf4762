#pragma once
// The main window's maintenance commands: 40012 recorder settings, 40015 date
// and time, 40020 version. Each runs its dialog owned by the main window;
// failures are shown to the user, never passed on.
#include <windows.h>

#include <functional>

#include "maintenance/CardChooser.h"

// Pauses the player when it is playing (the main window's part).
using PausePlayback = std::function<void()>;

// cardFolder: the main window's card folder, a buffer of MAX_PATH characters;
// the dialog's card is copied back after OK. Both run under the maintenance
// guard, which warns (5060) when another viewer runs one too.
void runSettingsCommand(HWND owner, wchar_t* cardFolder, const PausePlayback& pausePlayback = {},
                        const CardChooser& chooseCard = folderDialogChooser());
void runDateTimeCommand(HWND owner, wchar_t* cardFolder, const PausePlayback& pausePlayback = {},
                        const CardChooser& chooseCard = folderDialogChooser());
void runAboutCommand(HWND owner, const PausePlayback& pausePlayback = {});
