#include "ui/main/ExportCommand.h"

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "ui/main/ExportProgressWindow.h"
#include "ui/main/FolderDialog.h"

namespace {

constexpr int kTextOpenChapterOrAll = 5543;
constexpr int kTextChooseFolder = 5544;
constexpr int kTextConfirm = 5013;

// Kept for the next export while the viewer runs; never stored.
wchar_t startFolder[MAX_PATH] = {};

// Yes: the open chapter, No: the whole video memory, Cancel: nothing.
bool chooseVideoMemoryPart(HWND owner, const ExportSubject& subject, std::wstring& source) {
    if (subject.chapter.empty()) {
        source = subject.folder;
        return true;
    }
    switch (MessageBoxW(owner, loadText(kTextOpenChapterOrAll).c_str(), loadText(kTextConfirm).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: source = subject.chapter; return true;
    case IDNO: source = subject.folder; return true;
    default: return false;
    }
}

}  // namespace

void runExportCommand(HWND owner, const ExportSubject& subject) {
    std::wstring source = subject.folder;
    if (subject.mode == DisplayModeVideo && !chooseVideoMemoryPart(owner, subject, source)) return;
    if (!chooseFolder(loadText(kTextChooseFolder), owner, startFolder)) return;
    new ExportProgressWindow(owner, source, startFolder);  // the window framework deletes it
}

void setExportStartFolder(const std::wstring& folder) {
    lstrcpynW(startFolder, folder.c_str(), MAX_PATH);
}
