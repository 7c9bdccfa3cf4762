// The main window's maintenance commands run directly: the player paused, the
// guard's warning when another viewer holds it, the card folder taken over only
// after OK, and the version dialog with its texts, logo and both ways to close.
#include <gtest/gtest.h>
#include <windows.h>

#include "CardFiles.h"
#include "app/Texts.h"
#include "maintenance-dialogs/DialogScript.h"
#include "maintenance-dialogs/MaintenanceTestSupport.h"
#include "maintenance/AboutDialog.h"
#include "maintenance/MaintenanceCommands.h"
#include "maintenance/RecorderSettings.h"
#include "platform/FileSystem.h"
#include "resources/DialogIds.h"
#include "support/ScratchFolder.h"
#include "ui/controls/Label.h"
#include "ui/controls/LinkLabel.h"
#include "ui/framework/Window.h"
#include "ui/main/VersionText.h"

namespace {

using namespace cardfiles;

const std::wstring settingsCaption = L"本体設定";
const std::wstring dateTimeCaption = L"日時設定";
const std::wstring aboutCaption = L"バージョン情報";

class MaintenanceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        prepareMaintenanceTests();
        lstrcpynW(cardFolder_, L"C:\\viewer\\", MAX_PATH);
    }

    PausePlayback pauseCounter() {
        return [this] { ++pauses_; };
    }

    ScratchFolder card_{L"sd"};
    TestOwner owner_;
    wchar_t cardFolder_[MAX_PATH] = {};
    int pauses_ = 0;
};

// Another running viewer holds the maintenance marker for the test's length.
class OtherViewer {
public:
    OtherViewer() : marker_(CreateMutexW(nullptr, FALSE, L"ORVELLE_VIEWER")) {}
    ~OtherViewer() { CloseHandle(marker_); }

private:
    HANDLE marker_;
};

TEST_F(MaintenanceCommandsTest, SettingsCommandWarnsAboutAnotherViewerAndTakesOverTheCardAfterOk) {
    ASSERT_TRUE(writeFirmwareInfo(firmwareInfoPath(card_.path()), sampleItems()));
    CardChoice card({card_.path()});
    OtherViewer other;
    {
        DialogScript script;
        script.answer(5060, 5005)
            .onDialog(settingsCaption, "OK", [](HWND box) { postClick(box, IDOK); })
            .answer(5023, 5013)
            .answer(5024, 5017);
        runSettingsCommand(owner_.handle(), cardFolder_, pauseCounter(), card.chooser());
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(pauses_, 1);
    EXPECT_EQ(std::wstring(cardFolder_), card_.path());
    EXPECT_EQ(card.prompts.size(), 1u);
    EXPECT_TRUE(platform::isFile(settingsFilePath(card_.path())));
}

TEST_F(MaintenanceCommandsTest, CancelKeepsTheCardFolderAndAGuardIsLeftBehindByNeither) {
    CardChoice settingsCard({card_.path()});
    {
        DialogScript script;
        script.answer(5019, 5005).onDialog(settingsCaption, "cancel", [](HWND box) { postClick(box, IDCANCEL); });
        runSettingsCommand(owner_.handle(), cardFolder_, pauseCounter(), settingsCard.chooser());
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(std::wstring(cardFolder_), L"C:\\viewer\\");
    EXPECT_EQ(settingsCard.owners.size(), 1u);

    CardChoice dateCard({card_.path()});
    {
        DialogScript script;  // no 5060: the settings command released its guard
        script.onDialog(dateTimeCaption, "OK", [](HWND box) { postClick(box, IDOK); })
            .answer(5012, 5013, IDCANCEL)
            .onDialog(dateTimeCaption, "cancel", [](HWND box) { postClick(box, IDCANCEL); });
        runDateTimeCommand(owner_.handle(), cardFolder_, pauseCounter(), dateCard.chooser());
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(std::wstring(cardFolder_), L"C:\\viewer\\");
    EXPECT_EQ(pauses_, 2);
    HANDLE marker = OpenMutexW(SYNCHRONIZE, FALSE, L"ORVELLE_VIEWER");
    EXPECT_EQ(marker, nullptr);
    if (marker) CloseHandle(marker);
}

TEST_F(MaintenanceCommandsTest, DateTimeCommandTakesOverTheCardAfterOk) {
    CardChoice card({card_.path()});
    DialogScript script;
    script.onDialog(dateTimeCaption, "OK", [](HWND box) { postClick(box, IDOK); })
        .answer(5012, 5013)
        .answer(5016, 5017);
    runDateTimeCommand(owner_.handle(), cardFolder_, {}, card.chooser());
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(std::wstring(cardFolder_), card_.path());
    EXPECT_EQ(card.owners.size(), 1u);
    EXPECT_NE(card.owners[0], owner_.handle());  // the dialog owns the card choice
}

RECT rectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND findLogo(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (dynamic_cast<Label*>(Window::fromHandle(child)) && !dynamic_cast<LinkLabel*>(Window::fromHandle(child)))
            return child;
    }
    return nullptr;
}

TEST_F(MaintenanceCommandsTest, VersionDialogShowsTitleVersionLogoAndLink) {
    DialogScript script;
    script.onDialog(aboutCaption, "check and OK", [](HWND box) {
        EXPECT_NE(getVersionText(), loadText(5002));  // the test program carries the version resource
        EXPECT_EQ(itemText(box, IDC_ABOUT_VERSION), L"Version " + getVersionText());
        EXPECT_EQ(itemText(box, IDC_ABOUT_TITLE), loadText(5001));

        HWND placeholder = GetDlgItem(box, IDC_ABOUT_LOGO_PLACE);
        EXPECT_FALSE(IsWindowVisible(placeholder));
        HWND logo = findLogo(box);
        ASSERT_NE(logo, nullptr);
        const RECT place = rectInParent(placeholder);
        const RECT shown = rectInParent(logo);
        EXPECT_EQ(shown.right - shown.left, AboutDialog::logoWidth);
        EXPECT_EQ(shown.bottom - shown.top, AboutDialog::logoHeight);
        EXPECT_LE(std::abs((shown.left + shown.right) - (place.left + place.right)), 1);
        EXPECT_EQ(shown.top, ((place.bottom - place.top) - AboutDialog::logoHeight) / 2 + 10);

        EXPECT_NE(dynamic_cast<LinkLabel*>(Window::fromHandle(GetDlgItem(box, IDC_ABOUT_LINK))), nullptr);
        HFONT rightsFont = reinterpret_cast<HFONT>(SendDlgItemMessageW(box, IDC_ABOUT_RIGHTS, WM_GETFONT, 0, 0));
        LOGFONTW described{};
        GetObjectW(rightsFont, sizeof described, &described);
        EXPECT_EQ(std::wstring(described.lfFaceName), L"Arial");
        postClick(box, IDOK);
    });
    int pauses = 0;
    runAboutCommand(owner_.handle(), [&] { ++pauses; });
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(pauses, 1);
}

TEST_F(MaintenanceCommandsTest, VersionDialogClosesWithTheCloseBox) {
    AboutDialog dialog;
    DialogScript script;
    script.onDialog(aboutCaption, "close box", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(dialog.doModal(owner_.handle()), IDCANCEL);
    EXPECT_TRUE(script.finished());
}

}  // namespace
