#include "ui/main/FolderDialog.h"

#include <shlobj.h>

#include <cstdint>
#include <cwchar>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "ui/framework/WindowPosition.h"

namespace {

constexpr int chooseFolderTextId = 5003;
constexpr int unusableFolderTextId = 5004;
constexpr int warningCaptionId = 5005;

// Only file-system folders and their ancestors, new dialog style, no new-folder button.
constexpr UINT browseFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
static_assert(browseFlags == 0x249);

constexpr int windows2000NewFolderButtonId = 14150;
constexpr int modeLabelId = 1007;
constexpr int modeListId = 5503;
constexpr int dialogProcHolderId = 5504;
constexpr int treeProcHolderId = 5509;
constexpr int modeListHeight = 160;

constexpr const wchar_t* modeLabelText = L"ﾃﾞｰﾀ種別:";
// In display-mode order, so that an item's index is its mode.
constexpr const wchar_t* modeNames[] = {L"ｲﾍﾞﾝﾄﾒﾓﾘｰ", L"ﾜﾝｼｮｯﾄﾒﾓﾘｰ", L"ﾋﾞﾃﾞｵﾒﾓﾘｰ"};

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

HMENU childId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// --- Subclassing. The browser is the system's window, not one of ours, so the
// previous procedure is kept in the window itself: the text of a hidden static
// child. Sixteen hexadecimal digits, as a 64-bit address does not fit in eight.

constexpr int addressDigits = 16;

bool keepPreviousProc(HWND window, int holderId, WNDPROC previous) {
    wchar_t text[addressDigits + 1];
    swprintf(text, addressDigits + 1, L"%016llx",
             static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(previous)));
    return CreateWindowExW(0, L"STATIC", text, WS_CHILD, 0, 0, 80, 160, window, childId(holderId), instance(),
                           nullptr) != nullptr;
}

WNDPROC previousProc(HWND window, int holderId) {
    HWND holder = GetDlgItem(window, holderId);
    wchar_t text[addressDigits + 1] = {};
    if (!holder || GetWindowTextW(holder, text, addressDigits + 1) <= 0) return nullptr;
    return reinterpret_cast<WNDPROC>(static_cast<std::uintptr_t>(wcstoull(text, nullptr, 16)));
}

void subclass(HWND window, int holderId, WNDPROC procedure) {
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    // Without a holder there would be no way back: leave the window as it is.
    if (!keepPreviousProc(window, holderId, current)) return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT passOn(HWND window, int holderId, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previousProc(window, holderId);
    if (previous) return CallWindowProcW(previous, window, message, wParam, lParam);
    if (holderId == dialogProcHolderId) return DefDlgProcW(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT endSubclass(HWND window, int holderId, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = previousProc(window, holderId);
    SetDlgItemTextW(window, holderId, L"");
    if (previous) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (previous) return CallWindowProcW(previous, window, message, wParam, lParam);
    return passOn(window, holderId, message, wParam, lParam);
}

// --- The display-mode list beside OK and Cancel.

int okButtonTop(HWND dialog) {
    RECT button{};
    GetWindowRect(GetDlgItem(dialog, IDOK), &button);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&button), 2);
    return button.top;
}

void moveTo(HWND control, int x, int y) {
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void addModeList(HWND dialog) {
    const int y = okButtonTop(dialog);
    HWND label = CreateWindowExW(0, L"STATIC", modeLabelText, WS_CHILD | WS_VISIBLE, 18, y + 5, 55, 160, dialog,
                                 childId(modeLabelId), instance(), nullptr);
    HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 73,
                        y, 90, modeListHeight, dialog, childId(modeListId), instance(), nullptr);
    if (!label || !list) return;
    for (const wchar_t* name : modeNames) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(displayMode), 0);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(label, WM_SETFONT, font, FALSE);
    SendMessageW(list, WM_SETFONT, font, FALSE);
    // Tab order follows the child order: the list first, then OK and Cancel.
    constexpr UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, keepPlace);
    HWND ok = GetDlgItem(dialog, IDOK);
    SetWindowPos(ok, label, 0, 0, 0, 0, keepPlace);
    SetWindowPos(GetDlgItem(dialog, IDCANCEL), ok, 0, 0, 0, 0, keepPlace);
}

// The browser lays its buttons out at the right on every resize; the list and
// its label go at the left of the button row, with OK and Cancel beside them.
void placeModeControls(HWND dialog) {
    HWND controls[] = {GetDlgItem(dialog, modeLabelId), GetDlgItem(dialog, modeListId), GetDlgItem(dialog, IDOK),
                       GetDlgItem(dialog, IDCANCEL)};
    for (HWND control : controls) {
        if (!control) return;
    }
    HWND focus = GetFocus();
    const int y = okButtonTop(dialog);
    RECT ok{};
    GetClientRect(controls[2], &ok);
    for (HWND control : controls) ShowWindow(control, SW_HIDE);
    moveTo(controls[0], 18, y + 5);
    moveTo(controls[1], 73, y);
    moveTo(controls[2], 169, y);
    moveTo(controls[3], ok.right + 175, y);
    for (HWND control : controls) ShowWindow(control, SW_SHOW);
    if (focus && GetFocus() != focus) SetFocus(focus);
}

void takeChosenMode(HWND dialog) {
    const LRESULT chosen = SendDlgItemMessageW(dialog, modeListId, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR) displayMode = static_cast<int>(chosen);
}

// --- Procedures of the subclassed browser and its folder tree.

bool isOkClick(WPARAM wParam) {
    return LOWORD(wParam) == IDOK && HIWORD(wParam) == 0;
}

LRESULT CALLBACK recordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            return endSubclass(dialog, dialogProcHolderId, message, wParam, lParam);
        case WM_SIZE:
        case WM_PAINT:
            placeModeControls(dialog);
            break;
        case WM_SHOWWINDOW:
            SetFocus(GetDlgItem(dialog, modeListId));
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            return 0;
        case WM_COMMAND:
            if (isOkClick(wParam)) takeChosenMode(dialog);
            break;
        default:
            break;
    }
    return passOn(dialog, dialogProcHolderId, message, wParam, lParam);
}

LRESULT CALLBACK plainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            return endSubclass(dialog, dialogProcHolderId, message, wParam, lParam);
        case WM_HELP:
        case WM_CONTEXTMENU:
            return 0;
        default:
            return passOn(dialog, dialogProcHolderId, message, wParam, lParam);
    }
}

LRESULT CALLBACK folderTreeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            return endSubclass(tree, treeProcHolderId, message, wParam, lParam);
        case WM_HELP:
            return 0;
        default:
            return passOn(tree, treeProcHolderId, message, wParam, lParam);
    }
}

// --- Set-up when the browser is ready.

HWND findFolderTree(HWND dialog) {
    HWND host = FindWindowExW(dialog, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr);
    return FindWindowExW(host ? host : dialog, nullptr, L"SysTreeView32", nullptr);
}

void hideWindows2000NewFolderButton(HWND dialog) {
    const OSVERSIONINFOEXW& version = osVersion();
    if (version.dwMajorVersion != 5 || version.dwMinorVersion != 0) return;
    ShowWindow(GetDlgItem(dialog, windows2000NewFolderButtonId), SW_HIDE);
    UpdateWindow(dialog);
}

void removeContextHelp(HWND dialog) {
    const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Some systems build the browser without the pop-up style, so that it has an
// owner but no parent in the system's sense: centre over the owner then.
HWND ownerOf(HWND dialog) {
    if (HWND parent = GetParent(dialog)) return parent;
    return GetWindow(dialog, GW_OWNER);
}

void prepareBrowser(HWND dialog, LPARAM startFolder, bool withModeList) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
    if (HWND owner = ownerOf(dialog)) centreWindow(dialog, owner);
    hideWindows2000NewFolderButton(dialog);
    if (withModeList) addModeList(dialog);
    removeContextHelp(dialog);
    subclass(dialog, dialogProcHolderId, withModeList ? recordingDialogProc : plainDialogProc);
    if (HWND tree = findFolderTree(dialog)) subclass(tree, treeProcHolderId, folderTreeProc);
}

int CALLBACK recordingFolderCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) prepareBrowser(dialog, startFolder, true);
    return 0;
}

int CALLBACK plainFolderCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) prepareBrowser(dialog, startFolder, false);
    return 0;
}

void copyPath(wchar_t* target, const wchar_t* source) {
    wcsncpy(target, source, MAX_PATH - 1);
    target[MAX_PATH - 1] = L'\0';
}

}  // namespace

bool chooseFolder(const std::wstring& prompt, HWND owner, wchar_t* path) {
    if (!path) return false;
    const bool recording = prompt == loadText(chooseFolderTextId);
    // The browser writes the chosen item's name into this buffer; path keeps the
    // start folder until a usable choice replaces it.
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = prompt.c_str();
    browse.ulFlags = browseFlags;
    browse.lpfn = recording ? recordingFolderCallback : plainFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(path);

    const int modeBefore = displayMode;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return false;
    wchar_t chosenPath[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(chosen, chosenPath) && chosenPath[0] != L'\0';
    CoTaskMemFree(chosen);
    if (!hasPath) {
        displayMode = modeBefore;  // nothing is opened, so the view keeps its mode
        MessageBoxW(owner, loadText(unusableFolderTextId).c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
        return false;
    }
    copyPath(path, chosenPath);
    return true;
}

bool chooseRecordingFolder(HWND owner, wchar_t* path) {
    return chooseFolder(loadText(chooseFolderTextId), owner, path);
}
