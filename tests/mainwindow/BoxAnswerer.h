#pragma once
// Answers the message boxes shown on the test thread with a chosen button: a
// thread timer runs inside the box's modal loop, reads the box and presses.
#include <windows.h>

#include <string>
#include <vector>

class BoxAnswerer {
public:
    explicit BoxAnswerer(int button = IDOK);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Texts of the boxes answered so far, in order.
    const std::vector<std::wstring>& texts() const { return texts_; }
    const std::vector<std::wstring>& captions() const { return captions_; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void answerOpenBox();

    int button_;
    UINT_PTR timer_ = 0;
    std::vector<std::wstring> texts_;
    std::vector<std::wstring> captions_;
};
