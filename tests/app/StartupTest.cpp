// Starts the real viewer under the test's desktop and closes it as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"

namespace {

std::wstring viewerPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"OrvelleViewer.exe";
}

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && !GetParent(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForTopLevelWindow(DWORD processId, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        WindowSearch search{processId};
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

TEST(Startup, ViewerShowsItsTitleAndExitsWithZeroWhenClosed) {
    std::wstring commandLine = L"\"" + viewerPath() + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << GetLastError();
    HWND window = waitForTopLevelWindow(process.dwProcessId, 20000);
    ASSERT_NE(window, nullptr) << "no window appeared";

    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    EXPECT_STREQ(caption, L"ORVELLE Viewer for TAVRX900");

    PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 20000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);  // leave no stray viewer behind
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(Startup, SystemCheckKeepsTheVersionRecordWithoutWarning) {
    checkOsVersion();  // a warning box here would block the test
    EXPECT_GE(osVersion().dwMajorVersion, 5u);
}

}  // namespace
