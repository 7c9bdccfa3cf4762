#pragma once
// Base of every dialog box of the program: binds a dialog template to an object
// whose dialogProc receives the dialog's messages. One shared procedure, given
// to the system for every dialog, finds the object through a process-wide map
// from dialog window to object (interface thread only, so no lock).
#include <windows.h>

#include <exception>

class Dialog {
public:
    explicit Dialog(int templateId);
    // Forgets the window if it still exists, so that its later messages never
    // reach a deleted object.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // TRUE when the message was handled. This base ends the dialog on IDOK and
    // IDCANCEL, answers TRUE to every WM_COMMAND and FALSE to everything else;
    // derived dialogs replace it completely.
    virtual INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the dialog modally and returns the value given to EndDialog. When the
    // system cannot create it, shows the system's error text in a warning box
    // owned by parent and returns -1. An exception that escaped dialogProc ends
    // the dialog and is thrown again from here.
    INT_PTR doModal(HWND parent);
    // Creates the dialog modeless and shows it with showCommand; null (after the
    // same warning box) when the system cannot create it.
    HWND createModeless(HWND parent, int showCommand);

    HWND handle() const { return window; }

protected:
    int templateId;
    HWND parentWindow = nullptr;
    HWND window = nullptr;  // set when WM_INITDIALOG arrives

private:
    static INT_PTR CALLBACK sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR guardedDialogProc(UINT message, WPARAM wParam, LPARAM lParam);
    void keepFailure(std::exception_ptr failure);
    void rethrowFailure();
    void showCreationFailure(HWND parent, DWORD error);

    bool modal_ = false;
    std::exception_ptr failure_;
};
