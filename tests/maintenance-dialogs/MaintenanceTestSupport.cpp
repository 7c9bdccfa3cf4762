#include "maintenance-dialogs/MaintenanceTestSupport.h"

#include "app/ModelCode.h"
// Needs the Windows types above.
#include <commctrl.h>

void prepareMaintenanceTests() {
    static const bool prepared = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)prepared;
    loadModelCode();
}

TestOwner::TestOwner()
    : window_(CreateWindowExW(0, L"STATIC", L"viewer", WS_POPUP | WS_VISIBLE, 120, 60, 880, 690, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}

TestOwner::~TestOwner() {
    DestroyWindow(window_);
}

CardChooser CardChoice::chooser() {
    return [this](const std::wstring& prompt, HWND owner, wchar_t* path) {
        prompts.push_back(prompt);
        owners.push_back(owner);
        if (answers_.empty()) return false;
        const std::wstring answer = answers_.front();
        answers_.pop_front();
        if (answer.empty()) return false;
        lstrcpynW(path, answer.c_str(), MAX_PATH);
        return true;
    };
}

FirmInfo readSettingsFile(const std::wstring& path) {
    FirmInfo table;
    table.readSettingsFile(path);
    return table;
}
