#pragma once
// Base of every window object of the program. Binds the object to its system
// window, routes the window's messages to windowProc and deletes the object
// when its window is destroyed: owners keep plain pointers and never free them.
#include <windows.h>

#include <exception>

class Window {
public:
    Window();
    // Normally the framework deletes the object after its window's destroy
    // message. An object destroyed any other way (a derived constructor that
    // throws after create) unbinds itself, so no message reaches a dead object.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The object's message handler; overrides end in Window::windowProc for
    // every message they do not handle.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // CreateWindowExW with its twelve values; throws WindowException on failure.
    virtual void create(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                        int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter);

    // Binds an existing window (a dialog's control) as create does.
    void attach(HWND existing);

    HWND handle() const { return handle_; }
    bool isEnabled() const;
    // Both act only when the state differs, so repeated layout causes no flicker.
    void setEnabled(bool enabled);
    void setVisible(bool visible);

    // The object bound to a window, or null.
    static Window* fromHandle(HWND window);
    // The class every window object of the program uses unless it has its own.
    static constexpr const wchar_t* defaultClassName = L"DefaultWindow";

    // An exception that escaped a handler is kept here, the message loop is
    // ended, and start-up rethrows it: exceptions must not unwind through the
    // system's frames.
    static void rethrowPendingFailure();

protected:
    // A visible child of the default class at (x, y), width × height, for the
    // program's own controls.
    void createControl(HWND parent, int x, int y, int width, int height);
    // Messages straight to the previous or default procedure.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK staticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT dispatch(Window* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void bind(HWND window);

    HWND handle_ = nullptr;
    WNDPROC previousProc_ = nullptr;
};
