#pragma once
// The window in which an export runs: a worker thread writes the files while
// this window shows a bar and a cancel button and the viewer stays usable. The
// worker only posts to the window; the end is reported in a message box owned
// by the viewer (information with the folder, the failure's text, or that it
// was cancelled). Destroying the window (the viewer closing) cancels the
// export and waits for the worker, which then leaves nothing behind.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "ui/framework/Window.h"

class ExportProgressWindow : public Window {
public:
    static constexpr UINT kProgressMessage = WM_APP + 40;  // wParam: thousandths done
    static constexpr UINT kFinishedMessage = WM_APP + 41;
    static constexpr int kCancelButtonId = 2;

    // Shows the window centred over owner and starts the export.
    ExportProgressWindow(HWND owner, std::wstring source, std::wstring folder);
    ~ExportProgressWindow() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Outcome { Done, Failed, Cancelled };
    class Listener;

    void createControls();
    void work();
    void onProgress(int thousandths);
    void onFinished();
    void onCommand(int id);
    void onClose();
    void onEraseBackground(HDC dc);

    HWND owner_;
    std::wstring source_;
    std::wstring folder_;
    HWND bar_ = nullptr;
    HWND cancelButton_ = nullptr;
    std::atomic<bool> cancel_{false};
    // Written by the worker before it posts kFinishedMessage.
    Outcome outcome_ = Outcome::Failed;
    std::wstring failure_;
    std::thread worker_;
};
