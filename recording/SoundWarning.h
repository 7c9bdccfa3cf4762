#pragma once
// The one warning the archive reader gives while it goes on reading: the sound
// file could not be created (text 5501). The portable core only reports it;
// the viewer installs a message box (installSoundWarningBox) and the
// command-line tool prints the text.
#include <string>

using SoundWarningHandler = void (*)(const std::wstring& text);

// Replaces the handler; null silences the warning (the default).
void setSoundWarningHandler(SoundWarningHandler handler);
// Passes text to the handler, if any.
void reportSoundWarning(const std::wstring& text);
