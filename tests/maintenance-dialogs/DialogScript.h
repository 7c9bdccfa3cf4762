#pragma once
// Plays the user's part in the modal dialogs of the test thread. A thread timer,
// which runs inside every modal loop, hands the thread's enabled dialog box
// (the topmost one: a message box disables its owner) to the current step
// until the step says it is done; then the next step takes over. A step that
// makes the dialog open another box posts its click, so that the box opens
// after the step has returned. A step left waiting too long fails the test and
// every box is closed, so that no dialog is ever left waiting.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "support/MessageBoxAnswerer.h"

class DialogScript {
public:
    // True when the step is done with this box; false to be called again.
    using Step = std::function<bool(HWND box)>;

    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& then(const std::string& name, Step step);
    // Runs action on the box whose caption is caption (a dialog of the program).
    DialogScript& onDialog(const std::wstring& caption, const std::string& name, std::function<void(HWND)> action);
    // Expects a message box with text and caption of these ids and presses button.
    DialogScript& answer(int textId, int captionId, int button = IDOK);
    // The same for a box whose text is given.
    DialogScript& answerText(const std::wstring& text, int captionId, int button = IDOK);

    bool finished() const { return steps_.empty(); }

private:
    struct Entry {
        std::string name;
        Step step;
    };
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void tick(HWND box);
    void closeAll(HWND box);

    std::deque<Entry> steps_;
    UINT_PTR timer_ = 0;
    DWORD waitingSince_ = 0;
    bool aborted_ = false;
    bool busy_ = false;
};

std::wstring itemText(HWND dialog, int id);
// A button click as the button sends it, posted to its dialog.
void postClick(HWND dialog, int id);
