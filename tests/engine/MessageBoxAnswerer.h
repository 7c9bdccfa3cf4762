#pragma once
// Answers the message boxes the engine shows on the test thread: a thread
// timer, which runs inside the box's modal loop, reads each box and presses OK.
#include <windows.h>

#include <string>
#include <vector>

class MessageBoxAnswerer {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
    };

    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<Box>& boxes() const { return boxes_; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void answerOpenBox();

    UINT_PTR timer_ = 0;
    std::vector<Box> boxes_;
};
