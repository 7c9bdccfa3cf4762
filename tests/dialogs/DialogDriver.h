#pragma once
// Answers the dialog boxes that a modal call of the test thread shows: a
// thread timer finds the enabled dialog box ("#32770") of the thread and hands
// it to the test's handler, which inspects it and presses a button. The timer
// runs inside every modal loop, so no box is ever left waiting.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/MessageBoxAnswerer.h"

class DialogDriver {
public:
    // handler is called with the box about every 50 ms until the driver ends.
    explicit DialogDriver(std::function<void(HWND box)> handler);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);

    std::function<void(HWND)> handler_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

bool isMessageBox(HWND box);
// Reads a message box and answers it with OK (or its only button).
ShownBox answerMessageBox(HWND box);

std::wstring className(HWND window);
