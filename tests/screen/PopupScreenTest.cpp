// The popups as a monitor shows them, read from the framebuffer (a capture
// through the display shows them as black boxes): a menu drop-down, a warning
// box, the folder browser and each maintenance dialog, drawn with their texts.
// Each picture is kept as popup-<name>.png in this test's build folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>

#include <string>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "maintenance/CardRestore.h"
#include "maintenance/MaintenanceCommands.h"
#include "platform/FileSystem.h"
#include "resources/MenuIds.h"
#include "screen/PopupCamera.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/ScratchFolder.h"
#include "support/ScreenCapture.h"
#include "tools/samplewriter/RecorderSettingsFiles.h"
#include "tools/samplewriter/SampleArchive.h"
#include "ui/main/MainWindow.h"

namespace {

// The card the maintenance dialogs are given instead of a choice in the browser.
CardChooser chosen(const std::wstring& folder) {
    return [folder](const std::wstring&, HWND, wchar_t* path) {
        lstrcpynW(path, folder.c_str(), MAX_PATH);
        return true;
    };
}

class PopupScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { loadApplicationValues(GetModuleHandleW(nullptr)); }

    void SetUp() override {
        std::string reason;
        if (!ScreenCapture::available(reason)) GTEST_SKIP() << reason;
        displayMode = DisplayModeEvent;
        window = new MainWindow();
        handle = window->handle();
        ShowWindow(handle, SW_SHOW);
        pumpFor(100);
    }

    void TearDown() override {
        if (window && IsWindow(handle)) DestroyWindow(handle);
        pumpFor(50);
    }

    // Keeps every shot and expects each to look drawn.
    static void keepAndCheck(const std::vector<PopupCamera::Shot>& shots, const std::vector<std::string>& names) {
        EXPECT_EQ(shots.size(), names.size());
        for (std::size_t i = 0; i < shots.size(); ++i) {
            const std::string name = i < names.size() ? names[i] : "unexpected-" + std::to_string(i);
            ScreenCapture::keep("popup-" + name, shots[i].pixels);
            EXPECT_TRUE(looksDrawn(shots[i])) << name;
        }
    }

    void writeCardFiles() {
        const ModelCode code = modelCode();
        std::array<std::uint8_t, 16> prefix{};
        ASSERT_TRUE(samplewriter::writeBytes(
            platform::joinPath(card.path(), L"FIRMINFO.DAT"),
            samplewriter::buildFirmwareInfoFile(prefix, code.major, code.minor, samplewriter::reportedSettingsItems())));
    }

    MainWindow* window = nullptr;
    HWND handle = nullptr;
    ScratchFolder card{L"pop"};
};

TEST_F(PopupScreenTest, TheFileMenuDropsDownWithItsItems) {
    PopupCamera camera(GetCurrentThreadId(), [&](HWND, int) {
        PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    PostMessageW(handle, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    pumpUntil([&] { return !camera.shots().empty(); }, 10000);
    pumpFor(300);
    EndMenu();
    const auto shots = camera.shots();
    keepAndCheck(shots, {"file-menu"});
    ASSERT_FALSE(shots.empty());
    EXPECT_EQ(shots[0].className, L"#32768");
}

TEST_F(PopupScreenTest, AnUnreadableVideoFolderGivesAWarningBoxDrawnWithItsText) {
    const std::wstring folder = card.path();
    // Shorter than a chapter's header.
    ASSERT_TRUE(samplewriter::writeBytes(platform::joinPath(folder, L"Video0001.dmv"), samplewriter::Bytes(20, 0x5A)));
    std::wstring text;
    PopupCamera camera(GetCurrentThreadId(), [&](HWND box, int) {
        text = messageBoxText(box);
        postButton(box, IDOK);
        return true;
    });
    window->openFolder(folder);
    pumpFor(200);

    keepAndCheck(camera.shots(), {"warning-5510"});
    EXPECT_EQ(text, loadText(5510));
}

TEST_F(PopupScreenTest, TheFolderBrowserIsDrawnWithItsPromptAndFolders) {
    PopupCamera camera(GetCurrentThreadId(), [&](HWND browser, int) {
        postCancel(browser);
        return true;
    });
    window->chooseAndOpenFolder();
    pumpFor(200);
    const auto shots = camera.shots();
    keepAndCheck(shots, {"folder-browser"});
}

TEST_F(PopupScreenTest, TheSettingsDialogIsDrawnOnBothPages) {
    writeCardFiles();
    wchar_t cardFolder[MAX_PATH] = {};
    PopupCamera camera(GetCurrentThreadId(), [&](HWND dialog, int shot) {
        if (shot == 0) {
            // The second page, as a click on its tab.
            HWND tabs = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
            if (!tabs) return postCancel(dialog), true;
            SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
            NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageW(dialog, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
            return false;
        }
        postCancel(dialog);
        return true;
    });
    runSettingsCommand(handle, cardFolder, {}, chosen(card.path()));
    pumpFor(200);
    keepAndCheck(camera.shots(), {"settings-page-1", "settings-page-2"});
}

TEST_F(PopupScreenTest, TheDateAndTimeDialogIsDrawnWithItsTexts) {
    wchar_t cardFolder[MAX_PATH] = {};
    PopupCamera camera(GetCurrentThreadId(), [&](HWND dialog, int) {
        postCancel(dialog);
        return true;
    });
    runDateTimeCommand(handle, cardFolder, {}, chosen(card.path()));
    pumpFor(200);
    keepAndCheck(camera.shots(), {"date-and-time"});
}

TEST_F(PopupScreenTest, TheVersionDialogIsDrawnWithItsTexts) {
    PopupCamera camera(GetCurrentThreadId(), [&](HWND dialog, int) {
        postCancel(dialog);
        return true;
    });
    runAboutCommand(handle);
    pumpFor(200);
    keepAndCheck(camera.shots(), {"version"});
}

// A test program carries no program files, so the restore stops at its first
// box, the warning that says so (the questions need the viewer's own cabinet).
TEST_F(PopupScreenTest, TheRestoreWarningIsDrawnWithItsText) {
    wchar_t cardFolder[MAX_PATH] = {};
    std::wstring text;
    PopupCamera camera(GetCurrentThreadId(), [&](HWND box, int) {
        text = messageBoxText(box);
        postButton(box, IDOK);
        return true;
    });
    restoreCard(handle, cardFolder, {}, chosen(card.path()));
    pumpFor(200);
    keepAndCheck(camera.shots(), {"restore-warning"});
    EXPECT_FALSE(text.empty());
}

}  // namespace
