#include "app/Application.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "recording/SoundWarningBox.h"
#include "ui/framework/Window.h"
#include "ui/main/KeyboardShortcuts.h"
#include "ui/main/MainWindow.h"

namespace {

HINSTANCE instance = GetModuleHandleW(nullptr);
std::wstring title;
OSVERSIONINFOEXW versionRecord{};

constexpr UINT osWarningStyle = 0x41030;  // warning icon, system-modal, topmost
constexpr DWORD allCommonControls = 0x3FFF;

void ignoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int, uintptr_t) {}

void showOsWarning(int textId) {
    MessageBoxW(nullptr, loadTextAnsi(textId).c_str(), loadTextAnsi(5005).c_str(), osWarningStyle);
}

void initialiseCom() {
    if (CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) != S_OK) throw SystemException(loadText(5054));
}

void initialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), allCommonControls};
    if (!InitCommonControlsEx(&controls)) throw SystemException(loadText(5055));
}

// The viewer's keys are looked up before translation, whichever of the main
// window's controls has the focus; the main window's object goes with its
// window, so it is looked up for every message.
int runMessageLoop(HWND mainWindow) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        auto* window = dynamic_cast<MainWindow*>(Window::fromHandle(mainWindow));
        if (window && window->keyboardShortcuts().translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// A folder named on the command line (or dropped on the program's icon) opens
// as if it had been chosen in the folder dialog.
std::wstring folderFromCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring folder;
    if (arguments && count >= 2 && PathIsDirectoryW(arguments[1])) folder = arguments[1];
    LocalFree(arguments);
    return folder;
}

void showFatalError(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), loadText(5018).c_str(), MB_ICONERROR);
}

}  // namespace

HINSTANCE applicationInstance() { return instance; }
const std::wstring& applicationTitle() { return title; }
const OSVERSIONINFOEXW& osVersion() { return versionRecord; }

void checkOsVersion() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    bool known = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    if (!known) {
        record = {};
        record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        known = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    }
    const long major = static_cast<long>(record.dwMajorVersion);
    if (!known || major < 0) {
        showOsWarning(5049);
    } else if (major < 5) {
        showOsWarning(5051);
    }
    versionRecord = record;
}

void loadApplicationValues(HINSTANCE processInstance) {
    instance = processInstance;
    installSoundWarningBox();
    title = loadText(5001);
    loadModelCode();
}

int runApplication(HINSTANCE processInstance, int showCommand) {
    loadApplicationValues(processInstance);
    auto* window = new MainWindow();  // deleted by the framework with its window
    ShowWindow(window->handle(), showCommand);
    UpdateWindow(window->handle());
    window->startLogoAnimation();
    const std::wstring folder = folderFromCommandLine();
    if (!folder.empty()) window->openFolder(folder);
    const int exitCode = runMessageLoop(window->handle());
    Window::rethrowPendingFailure();  // a handler's failure ended the loop
    return exitCode;
}

int startApplication(HINSTANCE processInstance, int showCommand) {
    instance = processInstance;
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetCurrentDirectoryW(L"C:\\");
    _set_invalid_parameter_handler(ignoreInvalidParameter);
    checkOsVersion();
    try {
        initialiseCom();
        initialiseCommonControls();
        return runApplication(processInstance, showCommand);
    } catch (const Exception& failure) {
        showFatalError(failure.message());
    } catch (...) {
        showFatalError(loadText(5057));
    }
    return 0;
}
