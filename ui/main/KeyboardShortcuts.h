#pragma once
// Turns the viewer's keys (the accelerator table) and a double-click on the
// picture into the main window's commands, wherever the keyboard focus is in
// the main window or its full-screen picture. The thumbnail list keeps its own
// arrow keys.
#include <windows.h>

class MainWindow;

class KeyboardShortcuts {
public:
    explicit KeyboardShortcuts(MainWindow& window);

    // True when message was one of these and has been carried out: the caller
    // then neither translates nor dispatches it.
    bool translate(MSG& message);

private:
    bool isInViewer(HWND target) const;
    bool isListArrowKey(const MSG& message) const;
    bool isPictureDoubleClick(const MSG& message);

    MainWindow& window_;
    HACCEL table_;
    // The last left click on the picture, for telling a double-click: the
    // picture's window class does not ask the system for them.
    DWORD lastClickTime_ = 0;
    POINT lastClick_{};
    bool clickPending_ = false;
};
