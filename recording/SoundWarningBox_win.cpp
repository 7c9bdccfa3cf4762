#include <windows.h>

#include <memory>

#include "app/Texts.h"
#include "recording/SoundWarning.h"
#include "recording/SoundWarningBox.h"

namespace {

constexpr int kWarningCaption = 5005;
constexpr UINT kShowWarningMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"OrvelleSoundWarning";

// Made by the thread that installs the box (the interface thread); the
// warnings of readers on other threads come to it.
HWND warningWindow = nullptr;

void showBox(const std::wstring& text) {
    const std::wstring caption = loadText(kWarningCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

LRESULT CALLBACK warningWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kShowWarningMessage) return DefWindowProcW(window, message, wParam, lParam);
    std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
    try {
        showBox(*text);
    } catch (...) {
        // No text, no box: the reading itself went on regardless.
    }
    return 0;
}

// Threads never touch windows: a chapter read ahead or an export on a thread
// of its own hands its warning to the interface thread.
void showSoundWarningBox(const std::wstring& text) {
    if (!warningWindow || GetWindowThreadProcessId(warningWindow, nullptr) == GetCurrentThreadId()) {
        showBox(text);
        return;
    }
    auto copy = std::make_unique<std::wstring>(text);
    if (PostMessageW(warningWindow, kShowWarningMessage, 0, reinterpret_cast<LPARAM>(copy.get()))) copy.release();
}

void createWarningWindow() {
    if (warningWindow && IsWindow(warningWindow)) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = warningWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when registered before
    warningWindow = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void installSoundWarningBox() {
    createWarningWindow();
    setSoundWarningHandler(showSoundWarningBox);
}
