#include "support/MessageBoxAnswerer.h"
// Needs the Windows types of the header above.
#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT answerPeriodMs = 30;
constexpr int systemTextId = 0xFFFF;
constexpr int wineTextId = 100;
constexpr int usualButtons[] = {IDOK, IDCANCEL, IDYES, IDNO};

MessageBoxAnswerer* activeAnswerer = nullptr;

struct DialogSearch {
    bool enabledOnly;
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    if (search->enabledOnly && !IsWindowEnabled(window)) return TRUE;
    search->found = window;
    return FALSE;
}

bool hasButton(const ShownBox& box, int id) {
    return std::find(box.buttons.begin(), box.buttons.end(), id) != box.buttons.end();
}

}  // namespace

HWND findThreadDialog(bool enabledOnly) {
    DialogSearch search{enabledOnly};
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND messageTextControl(HWND box) {
    if (HWND text = GetDlgItem(box, systemTextId)) return text;
    return GetDlgItem(box, wineTextId);
}

std::wstring messageBoxText(HWND box) {
    return windowText(messageTextControl(box));
}

ShownBox readMessageBox(HWND box) {
    ShownBox shown{windowText(box), messageBoxText(box), GetWindow(box, GW_OWNER), {}};
    for (int id : usualButtons) {
        if (GetDlgItem(box, id)) shown.buttons.push_back(id);
    }
    return shown;
}

std::wstring windowText(HWND window) {
    if (!window) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring selectedTreeText(HWND tree) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (item.hItem) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

void pressButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answersInTurn, int afterwards)
    : answersInTurn_(std::move(answersInTurn)), afterwards_(afterwards) {
    activeAnswerer = this;
    timer_ = SetTimer(nullptr, 0, answerPeriodMs, onTimer);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    KillTimer(nullptr, timer_);
    activeAnswerer = nullptr;
}

std::vector<std::wstring> MessageBoxAnswerer::texts() const {
    std::vector<std::wstring> result;
    for (const ShownBox& box : boxes_) result.push_back(box.text);
    return result;
}

void CALLBACK MessageBoxAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeAnswerer) activeAnswerer->answerOpenBox();
}

void MessageBoxAnswerer::answerOpenBox() {
    HWND box = findThreadDialog();
    if (!box) return;
    ShownBox shown = readMessageBox(box);
    const int answer = answerFor(shown);
    boxes_.push_back(std::move(shown));
    pressButton(box, answer);
}

int MessageBoxAnswerer::answerFor(const ShownBox& box) const {
    if (boxes_.size() < answersInTurn_.size()) return answersInTurn_[boxes_.size()];
    for (int id : {afterwards_, IDOK}) {
        if (hasButton(box, id)) return id;
    }
    return IDCANCEL;
}
