#pragma once
// The card restore (the main window's command 40024): after the user has chosen
// the card and confirmed, optionally resets the recorder's settings to the
// standard ones, unpacks the recorder's program files carried by the executable
// and copies the viewer onto the card; one message at the end tells whether
// every file was written (Windows only).
#include <windows.h>

#include <functional>
#include <string>

#include "ui/main/FolderDialog.h"

// Asks for a folder: prompt, owner, in/out path buffer of MAX_PATH wide
// characters; false when cancelled. The folder dialog's chooseFolder in the
// viewer, a stand-in in tests.
using CardChooser = std::function<bool(const std::wstring& prompt, HWND owner, wchar_t* path)>;

class CardRestore {
public:
    // cardPath: the main window's card root (MAX_PATH wide characters), shared
    // with the other maintenance commands and updated with the user's choice.
    CardRestore(HWND owner, wchar_t* cardPath, CardChooser chooseCard);

    // The whole command, from the check that the executable carries the
    // recorder's programs to the closing message. Failures are told to the user,
    // never thrown.
    void run();

private:
    void warnNoProgramFiles() const;
    bool chooseCard();
    bool confirmRestore() const;
    // IDYES (keep the settings), IDNO (standard settings) or IDCANCEL.
    int askKeepSettings() const;
    // True when every file was written.
    bool writeFiles(bool standardSettings) const;
    void report(bool complete) const;
    int ask(int textId, UINT buttons) const;

    HWND owner_;
    wchar_t* cardPath_;
    CardChooser chooseCard_;
};

// The command handler. pausePlayback pauses the player when it is playing (the
// main window's part), before anything is asked; the user chooses the card
// with the folder dialog.
void restoreCard(HWND owner, wchar_t* cardPath, const std::function<void()>& pausePlayback = {},
                 const CardChooser& chooseCard = chooseFolder);
