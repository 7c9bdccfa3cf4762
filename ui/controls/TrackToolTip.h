#pragma once
// The system tooltip window, serving both the image buttons (a tip while the
// pointer rests on them) and the track bars (a tip that follows the thumb
// during a drag). Owned by the panel that creates it; controls only point to it.
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <cstddef>
#include <string>

#include "ui/framework/Window.h"

class TrackToolTip : public Window {
public:
    // The tool records stop after lParam (44 bytes in a 32-bit build), the
    // layout every version of the common controls accepts.
    static constexpr UINT toolInfoSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);

    // A topmost tooltip window owned by parent.
    explicit TrackToolTip(HWND parent);

    // Shows text while the pointer rests over button.
    void addTool(const std::wstring& text, HWND button);
    // Registers control for a tip that the control itself shows, moves and hides.
    void addTrackingTool(HWND control, const std::wstring& text);
    void showTracking(HWND control, const std::wstring& text);
    void hideTracking(HWND control);
    void setToolText(HWND control, const std::wstring& text);

private:
    TTTOOLINFOW describeTool(HWND control, UINT flags, const std::wstring* text) const;
    void sendTool(UINT message, WPARAM wParam, HWND control, UINT flags, const std::wstring* text);
};
