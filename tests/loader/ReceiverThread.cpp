#include "loader/ReceiverThread.h"

#include "media/Image.h"
#include "media/ImageLoader.h"

namespace {

constexpr UINT kFlushMessage = WM_USER + 200;  // lParam: the event to set
constexpr const wchar_t* kClassName = L"LoaderTestReceiver";

void registerClassOnce(WNDPROC procedure) {
    static const ATOM atom = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    (void)atom;
}

}  // namespace

ReceiverThread::ReceiverThread() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    registerClassOnce(windowProc);
    thread_ = std::thread([this] { run(); });
    WaitForSingleObject(ready_, INFINITE);
}

ReceiverThread::~ReceiverThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(ready_);
}

void ReceiverThread::run() {
    threadId_ = GetCurrentThreadId();
    window_ = CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The queue exists once the window does, so the thread message cannot be lost.
    SetEvent(ready_);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(window_);
}

void ReceiverThread::flush() {
    HANDLE handled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostMessageW(window_, kFlushMessage, 0, reinterpret_cast<LPARAM>(handled));
    WaitForSingleObject(handled, INFINITE);
    CloseHandle(handled);
}

LRESULT CALLBACK ReceiverThread::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* receiver = reinterpret_cast<ReceiverThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (receiver && message == ImageLoader::imageReadyMessage) {
        delete reinterpret_cast<Image*>(lParam);
        ++receiver->imagesReceived_;
        return 0;
    }
    if (message == kFlushMessage) {
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
