#pragma once
// Runs the card restore on the test thread as a user would: the card chooser
// picks the test's card, and every message box is read and answered from a
// thread timer, which runs inside the box's modal loop, so none is left waiting.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/Texts.h"
#include "platform/LocalTime.h"
#include "support/MessageBoxAnswerer.h"

struct RestoreRun {
    bool chooserAsked = false;
    std::wstring prompt;  // the chooser's prompt
    std::vector<ShownBox> boxes;

    // The texts of the boxes, in order, for comparing with text ids.
    std::vector<std::wstring> texts() const;
};

// restoreCard on card, answering the boxes in turn with answers (IDOK, IDYES,
// IDNO, IDCANCEL); a box beyond the list is answered with OK or Cancel. A
// chooser that cancels leaves the card unchosen.
RestoreRun runRestore(const std::wstring& card, const std::vector<int>& answers, bool chooseCard = true);

// Texts by id, for comparing with RestoreRun::texts().
std::vector<std::wstring> textsOf(const std::vector<int>& ids);

using Bytes = std::vector<std::uint8_t>;
Bytes readBytes(const std::wstring& path);
bool writeBytes(const std::wstring& path, const Bytes& bytes);
Bytes bytesOf(const std::string& text);

// The Windows path of a file of the build tree (Wine maps the Unix root to Z:).
std::wstring windowsPath(const std::string& unixPath);

// Files named "cab*" in "C:\Temp": the restore's temporary cabinet copies.
std::vector<std::wstring> temporaryCabinets();

// The file's creation and last-write time as local fields the way a FAT card
// keeps them (today's offset from UTC).
CalendarTime creationTime(const std::wstring& path);
CalendarTime writeTime(const std::wstring& path);
