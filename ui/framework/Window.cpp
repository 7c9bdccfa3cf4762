#include "ui/framework/Window.h"

#include <map>

#include "app/Exception.h"
#include "app/WindowError.h"

namespace {

ATOM defaultClassAtom = 0;
std::map<HWND, Window*> registry;
std::exception_ptr pendingFailure;

void registerDefaultClassOnce() {
    if (defaultClassAtom) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = Window::defaultClassName;
    defaultClassAtom = RegisterClassExW(&windowClass);
    if (!defaultClassAtom) throw makeWindowException(GetLastError());
}

void keepFailure(std::exception_ptr failure) {
    if (!pendingFailure) pendingFailure = failure;
    PostQuitMessage(0);
}

}  // namespace

Window::Window() { registerDefaultClassOnce(); }

Window::~Window() {
    auto found = registry.find(handle_);
    if (found == registry.end() || found->second != this) return;
    registry.erase(found);
    if (previousProc_) SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
}

LRESULT Window::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultProc(message, wParam, lParam);
}

LRESULT Window::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_ && previousProc_ != staticWindowProc) {
        return CallWindowProcW(previousProc_, handle_, message, wParam, lParam);
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void Window::create(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter) {
    HWND window = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId, instance,
                                  parameter);
    if (!window) throw makeWindowException(GetLastError());
    bind(window);
}

void Window::createControl(HWND parent, int x, int y, int width, int height) {
    create(0, defaultClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr,
           GetModuleHandleW(nullptr), nullptr);
    // On a parent already on screen the first erase reached the class procedure,
    // before the framework took the window over.
    InvalidateRect(handle(), nullptr, TRUE);
}

void Window::attach(HWND existing) {
    if (existing) {
        bind(existing);
    } else {
        handle_ = nullptr;
    }
}

void Window::bind(HWND window) {
    handle_ = window;
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticWindowProc)));
    registry[window] = this;
}

bool Window::isEnabled() const { return !(GetWindowLongPtrW(handle_, GWL_STYLE) & WS_DISABLED); }

void Window::setEnabled(bool enabled) {
    if (isEnabled() == enabled) return;
    EnableWindow(handle_, enabled);
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
}

void Window::setVisible(bool visible) {
    if ((IsWindowVisible(handle_) != FALSE) == visible) return;
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    UpdateWindow(handle_);
}

Window* Window::fromHandle(HWND window) {
    auto found = registry.find(window);
    return found == registry.end() ? nullptr : found->second;
}

void Window::rethrowPendingFailure() {
    if (!pendingFailure) return;
    std::exception_ptr failure = pendingFailure;
    pendingFailure = nullptr;
    std::rethrow_exception(failure);
}

LRESULT CALLBACK Window::staticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* object = fromHandle(window);
    if (!object) return DefWindowProcW(window, message, wParam, lParam);
    return dispatch(object, window, message, wParam, lParam);
}

LRESULT Window::dispatch(Window* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = object->windowProc(message, wParam, lParam);
    } catch (...) {
        keepFailure(std::current_exception());
        if (message != WM_DESTROY) return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        registry.erase(window);
        // A subclassed system control frees its own data on the final
        // non-client destroy: give it back its procedure for that.
        if (object->previousProc_ && object->previousProc_ != staticWindowProc) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object->previousProc_));
        }
        delete object;
    }
    return result;
}
