#pragma once
// The maintenance guard: a named mutex that exists while a viewer runs a
// maintenance command (settings, date and time, card restore), so that a
// second viewer starting one warns the user. It excludes nothing.
#include <windows.h>

#include <string>

class DialogMutex {
public:
    DialogMutex();
    // Closes the handle when one is held: the command has ended.
    virtual ~DialogMutex();
    DialogMutex(const DialogMutex&) = delete;
    DialogMutex& operator=(const DialogMutex&) = delete;

    // Creates the named mutex. When another holder has it already, shows 5060
    // (owned by owner) and holds nothing; the caller goes on all the same.
    // True when the warning was shown.
    bool take(HWND owner);
    bool isHeld() const { return handle != nullptr; }

    static constexpr const wchar_t* mutexName = L"ORVELLE_VIEWER";

private:
    void close();

    std::wstring name;
    HANDLE handle = nullptr;
};
