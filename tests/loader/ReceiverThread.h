#pragma once
// A window on a thread of its own that counts the loader's pictures and frees
// them. The loader frees undelivered pictures only for a window of the thread
// that destroys it, so a post it should never have made stays visible here.
#include <windows.h>

#include <atomic>
#include <thread>

class ReceiverThread {
public:
    ReceiverThread();
    ~ReceiverThread();
    ReceiverThread(const ReceiverThread&) = delete;
    ReceiverThread& operator=(const ReceiverThread&) = delete;

    HWND window() const { return window_; }
    // Returns once every message posted to the window before the call is handled.
    void flush();
    int imagesReceived() const { return imagesReceived_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void run();

    HANDLE ready_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::atomic<int> imagesReceived_{0};
    std::thread thread_;
};
