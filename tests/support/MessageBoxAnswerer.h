#pragma once
// The message boxes a test meets on its own thread, found, read and answered as
// a user would. A box runs its own modal loop, so the answerer works from a
// thread timer, which that loop dispatches.
#include <windows.h>

#include <string>
#include <vector>

// What a message box said, who owned it and which of the usual buttons it had.
struct ShownBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    std::vector<int> buttons;  // of IDOK, IDCANCEL, IDYES, IDNO, in that order
};

// A visible dialog-class window of this thread (with enabledOnly, one that
// takes input: not an owner disabled under a box); null when there is none.
HWND findThreadDialog(bool enabledOnly = false);
// The message of a box: control 0xFFFF on Windows, 100 under Wine.
HWND messageTextControl(HWND box);
std::wstring messageBoxText(HWND box);
ShownBox readMessageBox(HWND box);

std::wstring windowText(HWND window);
// The text of a tree view's selected item (a folder browser's current folder).
std::wstring selectedTreeText(HWND tree);
// Sends a button's click to its dialog, as the button itself would.
void pressButton(HWND dialog, int id);

class MessageBoxAnswerer {
public:
    // The n-th box is answered with answersInTurn[n] as given; boxes beyond the
    // list with `afterwards`, or OK, or Cancel, whichever the box has first.
    explicit MessageBoxAnswerer(std::vector<int> answersInTurn = {}, int afterwards = IDOK);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    std::vector<std::wstring> texts() const;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void answerOpenBox();
    int answerFor(const ShownBox& box) const;

    std::vector<int> answersInTurn_;
    int afterwards_;
    UINT_PTR timer_ = 0;
    std::vector<ShownBox> boxes_;
};
