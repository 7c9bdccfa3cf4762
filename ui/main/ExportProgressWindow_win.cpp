#include "ui/main/ExportProgressWindow.h"

#include <commctrl.h>

#include "app/Exception.h"
#include "app/Texts.h"
#include "export/EvidenceExport.h"
#include "export/ExportException.h"
#include "export/ExportProgress.h"
#include "ui/framework/WindowPosition.h"

namespace {

constexpr int kTextCaption = 5545;
constexpr int kTextCancel = 5547;
constexpr int kTextWarning = 5005;
constexpr int kTextInformation = 5017;
constexpr int kTextDone = 5542;
constexpr int kTextCancelled = 5546;
constexpr int kWidth = 420;
constexpr int kHeight = 150;
constexpr int kMargin = 16;
constexpr int kBarScale = 1000;

std::wstring withFolder(const std::wstring& text, const std::wstring& folder) {
    std::wstring result = text;
    const std::size_t at = result.find(L"%s");
    if (at != std::wstring::npos) result.replace(at, 2, folder);
    return result;
}

}  // namespace

// Runs on the worker: posts only when the bar would move, and reads the cancel
// flag that the window sets.
class ExportProgressWindow::Listener : public ::ExportProgress {
public:
    Listener(HWND window, const std::atomic<bool>& cancel) : window_(window), cancel_(cancel) {}
    bool keepGoing(std::int64_t done, std::int64_t total) override {
        const int thousandths = total > 0 ? static_cast<int>(done * kBarScale / total) : 0;
        if (thousandths != last_) PostMessageW(window_, kProgressMessage, static_cast<WPARAM>(thousandths), 0);
        last_ = thousandths;
        return !cancel_.load();
    }

private:
    HWND window_;
    const std::atomic<bool>& cancel_;
    int last_ = -1;
};

ExportProgressWindow::ExportProgressWindow(HWND owner, std::wstring source, std::wstring folder)
    : owner_(owner), source_(std::move(source)), folder_(std::move(folder)) {
    create(WS_EX_DLGMODALFRAME, defaultClassName, loadText(kTextCaption).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
           0, 0, kWidth, kHeight, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    createControls();
    centreWindow(handle(), owner);
    ShowWindow(handle(), SW_SHOW);
    worker_ = std::thread([this] { work(); });
}

ExportProgressWindow::~ExportProgressWindow() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void ExportProgressWindow::createControls() {
    RECT client;
    GetClientRect(handle(), &client);
    const int width = client.right - 2 * kMargin;
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateWindowExW(0, L"STATIC", folder_.c_str(), WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, kMargin,
                                 kMargin, width, 18, handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, font, FALSE);
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, kMargin, kMargin + 26, width, 20, handle(),
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar_, PBM_SETRANGE32, 0, kBarScale);
    cancelButton_ = CreateWindowExW(0, L"BUTTON", loadText(kTextCancel).c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, client.right - kMargin - 96,
                                    client.bottom - kMargin - 26, 96, 26, handle(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelButtonId)),
                                    GetModuleHandleW(nullptr), nullptr);
    SendMessageW(cancelButton_, WM_SETFONT, font, FALSE);
}

LRESULT ExportProgressWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kProgressMessage: onProgress(static_cast<int>(wParam)); return 0;
    case kFinishedMessage: onFinished(); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    case WM_CLOSE: onClose(); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    }
    return Window::windowProc(message, wParam, lParam);
}

// The worker's whole life: the export, then one message with the outcome.
void ExportProgressWindow::work() {
    Listener listener(handle(), cancel_);
    try {
        EvidenceExport::run(source_, folder_, ExportRange{}, &listener);
        outcome_ = Outcome::Done;
    } catch (const ExportCancelled&) {
        outcome_ = Outcome::Cancelled;
    } catch (const Exception& failure) {
        outcome_ = Outcome::Failed;
        failure_ = failure.message();
    } catch (...) {
        outcome_ = Outcome::Failed;
        failure_ = loadText(5057);
    }
    PostMessageW(handle(), kFinishedMessage, 0, 0);
}

void ExportProgressWindow::onProgress(int thousandths) {
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(thousandths), 0);
}

// The window goes first, so the box stands alone over the viewer.
void ExportProgressWindow::onFinished() {
    worker_.join();
    const Outcome outcome = outcome_;
    const std::wstring failure = failure_;
    const HWND owner = owner_;
    const std::wstring folder = folder_;
    DestroyWindow(handle());  // deletes this object
    if (outcome == Outcome::Done) {
        MessageBoxW(owner, withFolder(loadText(kTextDone), folder).c_str(), loadText(kTextInformation).c_str(),
                    MB_OK | MB_ICONINFORMATION);
    } else if (outcome == Outcome::Cancelled) {
        MessageBoxW(owner, loadText(kTextCancelled).c_str(), loadText(kTextInformation).c_str(),
                    MB_OK | MB_ICONINFORMATION);
    } else {
        MessageBoxW(owner, failure.c_str(), loadText(kTextWarning).c_str(), MB_OK | MB_ICONWARNING);
    }
}

void ExportProgressWindow::onCommand(int id) {
    if (id == kCancelButtonId) onClose();
}

// Cancelling only asks: the worker stops at its next frame and cleans up.
void ExportProgressWindow::onClose() {
    cancel_ = true;
    EnableWindow(cancelButton_, FALSE);
}

void ExportProgressWindow::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}
