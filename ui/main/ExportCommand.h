#pragma once
// The File menu's export: what to export (for video memory the user picks the
// open chapter or the whole video memory), where to (the folder browser), then
// the export itself in an ExportProgressWindow.
#include <windows.h>

#include <string>

struct ExportSubject {
    int mode = 0;            // display mode of what is open
    std::wstring folder;     // the open recording folder
    std::wstring chapter;    // video memory: the open chapter's file
};

void runExportCommand(HWND owner, const ExportSubject& subject);
// The folder the browser starts in: the one last chosen, while the viewer runs.
void setExportStartFolder(const std::wstring& folder);
