// The export as the viewer's user runs it: File menu, folder browser, progress
// window, the closing information box, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "resources/MenuIds.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"
#include "ui/main/ExportCommand.h"
#include "ui/main/MainWindow.h"

namespace {

namespace sw = samplewriter;

// Answers what the export puts in front of the user, from a thread timer that
// the browser's and the boxes' modal loops dispatch: the browser with OK (it
// opens at the start folder), each box with the next answer or OK.
class ExportScript {
public:
    explicit ExportScript(std::vector<int> answers = {}) : answers_(std::move(answers)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 100, onTimer);
        // A short export may come and go between two ticks: its window's
        // creation is caught as well.
        hook_ = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    }
    ~ExportScript() {
        UnhookWindowsHookEx(hook_);
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::vector<ShownBox> boxes;
    std::wstring expectedFolder;  // the leaf name the browser must show selected
    bool sawBrowser = false;
    bool sawProgress = false;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (current_) current_->act();
    }
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && current_) {
            const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (create->lpszName && !IS_INTRESOURCE(create->lpszName) && loadText(5545) == create->lpszName) {
                current_->sawProgress = true;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    void act() {
        if (FindWindowW(nullptr, loadText(5545).c_str())) sawProgress = true;
        HWND dialog = findThreadDialog(true);
        if (!dialog) return;
        if (HWND tree = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr)) {
            sawBrowser = true;
            // The browser settles on the start folder a few turns after it opens.
            if (selectedTreeText(tree) == expectedFolder || ++browserTicks_ > 100) pressButton(dialog, IDOK);
            return;
        }
        boxes.push_back(readMessageBox(dialog));
        const int answer = boxes.size() <= answers_.size() ? answers_[boxes.size() - 1] : IDOK;
        pressButton(dialog, answer);
    }

    static inline ExportScript* current_ = nullptr;
    int browserTicks_ = 0;
    std::vector<int> answers_;
    UINT_PTR timer_ = 0;
    HHOOK hook_ = nullptr;
};

class ExportMenu : public ::testing::Test {
protected:
    void SetUp() override {
        loadApplicationValues(GetModuleHandleW(nullptr));
        displayMode = DisplayModeEvent;
        window_ = new MainWindow();
        ShowWindow(window_->handle(), SW_SHOW);
        pumpFor(50);
        out_ = L"C:\\orvelle-export-" + std::to_wstring(GetCurrentProcessId());
        removeFolderTree(out_);
        ASSERT_TRUE(platform::createFolder(out_));
        setExportStartFolder(out_);
    }
    void TearDown() override {
        if (IsWindow(window_->handle())) DestroyWindow(window_->handle());
        pumpFor(50);
        removeFolderTree(out_);
    }

    void open(const std::wstring& folder) {
        MessageBoxAnswerer answerer;
        window_->openFolder(folder);
        pumpFor(100);
    }
    // The menu item's state as the menu shows it when it drops down.
    bool exportEnabled() {
        HMENU file = GetSubMenu(GetMenu(window_->handle()), 0);
        SendMessageW(window_->handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        return (GetMenuState(file, IDM_EXPORT, MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    // Chooses the menu item and waits for the closing box.
    void exportFromMenu(ExportScript& script) {
        script.expectedFolder = platform::fileName(out_);
        PostMessageW(window_->handle(), WM_COMMAND, IDM_EXPORT, 0);
        pumpUntil([&] { return !script.boxes.empty() && script.boxes.back().caption != loadText(5013); }, 120000);
        pumpFor(100);
    }

    ScratchFolder card_{L"exmc"};
    // Below the drive's root, where the browser's tree finds it at once (the
    // temporary folder lies under a hidden one).
    std::wstring out_;
    MainWindow* window_ = nullptr;
};

TEST_F(ExportMenu, EventExportsIntoTheChosenFolderWhileTheViewerGoesOn) {
    EXPECT_FALSE(exportEnabled());
    sw::ArchiveSetup setup;
    setup.frameCount = 900;
    setup.width = 160;
    setup.height = 120;
    const std::wstring event = card_.file(L"EV000001");
    ASSERT_TRUE(platform::createFolder(event));
    ASSERT_TRUE(sw::writeBytes(platform::joinPath(event, L"Video.dvt"), sw::buildArchive(setup)));
    open(event);
    ASSERT_TRUE(exportEnabled());

    ExportScript script;
    exportFromMenu(script);
    EXPECT_TRUE(script.sawBrowser);
    EXPECT_TRUE(script.sawProgress);
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].caption, loadText(5017));
    EXPECT_NE(script.boxes[0].text.find(out_), std::wstring::npos) << toUtf8(script.boxes[0].text);
    EXPECT_EQ(script.boxes[0].owner, window_->handle());
    const std::vector<std::wstring> names = sortedNamesIn(out_);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[3], L"manifest.json");
    EXPECT_EQ(names[0].substr(names[0].size() - 4), L".avi");
}

TEST_F(ExportMenu, VideoMemoryAsksForTheOpenChapterOrAll) {
    for (int chapter = 1; chapter <= 2; ++chapter) {
        sw::ArchiveSetup setup;
        setup.kind = sw::ArchiveKind::Chapter;
        setup.kindByte = sw::kKindVideo;
        setup.fps = 10;
        setup.frameCount = 20;
        setup.width = 160;
        setup.height = 120;
        setup.recordedAt.minute += chapter;
        ASSERT_TRUE(sw::writeBytes(card_.file(L"Video000" + std::to_wstring(chapter) + L".dmv"), sw::buildArchive(setup)));
    }
    displayMode = DisplayModeVideo;
    open(card_.path());

    ExportScript cancelled({IDCANCEL});
    PostMessageW(window_->handle(), WM_COMMAND, IDM_EXPORT, 0);
    pumpUntil([&] { return !cancelled.boxes.empty(); }, 30000);
    pumpFor(300);
    EXPECT_EQ(cancelled.boxes.at(0).text, loadText(5543));
    EXPECT_FALSE(cancelled.sawBrowser);
    EXPECT_TRUE(sortedNamesIn(out_).empty());

    ExportScript chapterOnly({IDYES});
    exportFromMenu(chapterOnly);
    ASSERT_EQ(chapterOnly.boxes.size(), 2u);
    EXPECT_EQ(chapterOnly.boxes[1].caption, loadText(5017));
    ASSERT_EQ(sortedNamesIn(out_).size(), 4u);
}

}  // namespace
