#include "ui/controls/TrackToolTip.h"

namespace {

constexpr UINT hoverFlags = TTF_IDISHWND | TTF_SUBCLASS;
constexpr UINT trackingFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRACK;

}  // namespace

TrackToolTip::TrackToolTip(HWND parent) {
    create(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
           CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TrackToolTip::addTool(const std::wstring& text, HWND button) {
    TTTOOLINFOW tool = describeTool(button, hoverFlags, &text);
    GetWindowRect(button, &tool.rect);
    SendMessageW(handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TrackToolTip::addTrackingTool(HWND control, const std::wstring& text) {
    sendTool(TTM_ADDTOOLW, 0, control, trackingFlags, &text);
}

void TrackToolTip::showTracking(HWND control, const std::wstring& text) {
    sendTool(TTM_TRACKACTIVATE, TRUE, control, trackingFlags, &text);
}

void TrackToolTip::hideTracking(HWND control) {
    sendTool(TTM_TRACKACTIVATE, FALSE, control, trackingFlags, nullptr);
}

void TrackToolTip::setToolText(HWND control, const std::wstring& text) {
    sendTool(TTM_UPDATETIPTEXTW, 0, control, trackingFlags, &text);
}

// The tool is known by the control's window handle; its owner is the window
// that owns the tooltip.
TTTOOLINFOW TrackToolTip::describeTool(HWND control, UINT flags, const std::wstring* text) const {
    TTTOOLINFOW tool{};
    tool.cbSize = toolInfoSize;
    tool.uFlags = flags;
    tool.hwnd = GetParent(handle());
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = GetModuleHandleW(nullptr);
    if (text) tool.lpszText = const_cast<wchar_t*>(text->c_str());  // the tooltip copies it
    return tool;
}

void TrackToolTip::sendTool(UINT message, WPARAM wParam, HWND control, UINT flags, const std::wstring* text) {
    TTTOOLINFOW tool = describeTool(control, flags, text);
    SendMessageW(handle(), message, wParam, reinterpret_cast<LPARAM>(&tool));
}
