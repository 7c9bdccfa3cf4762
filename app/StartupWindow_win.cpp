#include "app/StartupWindow.h"

#include "app/Application.h"
#include "app/WindowError.h"
#include "resources/ResourceIds.h"

namespace {

constexpr wchar_t className[] = L"OrvelleViewerMain";

LRESULT CALLBACK startupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClassOnce() {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(applicationInstance(), className, &windowClass)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = startupWindowProc;
    windowClass.hInstance = applicationInstance();
    windowClass.hIcon = LoadIconW(applicationInstance(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) throw makeWindowException(GetLastError());
}

}  // namespace

HWND createStartupWindow(const std::wstring& title, int showCommand) {
    registerClassOnce();
    HWND window = CreateWindowExW(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  882, 693, nullptr, nullptr, applicationInstance(), nullptr);
    if (!window) throw makeWindowException(GetLastError());
    ShowWindow(window, showCommand);
    return window;
}
