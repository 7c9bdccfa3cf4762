// The recorder settings dialog driven as a user would, on copies of the sample
// card's FIRMINFO.DAT: the tab and levels it opens with, the pages kept in step,
// typed and stepped values, and what OK writes into TAVR.INI.
#include <gtest/gtest.h>
#include <windows.h>

#include "CardFiles.h"
#include "app/Texts.h"
#include "maintenance-dialogs/DialogScript.h"
#include "maintenance-dialogs/MaintenanceTestSupport.h"
#include "maintenance/RecorderSettings.h"
#include "maintenance/TAVR09Setting.h"
#include "maintenance/TAVR09SettingPage1.h"
#include "maintenance/TAVR09SettingPage2.h"
#include "platform/FileSystem.h"
#include "resources/DialogIds.h"
#include "support/ScratchFolder.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

using namespace cardfiles;

constexpr int shock = SensitivityTable::kindShock;
constexpr int eco = SensitivityTable::kindEco;
const std::wstring settingsCaption = L"本体設定";

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { prepareMaintenanceTests(); }

    void writeReport(std::optional<int> shockValue, std::optional<int> ecoValue) {
        Items items = sampleItems();
        replaceItem(items, shockItem, shockValue);
        replaceItem(items, ecoItem, ecoValue);
        ASSERT_TRUE(writeFirmwareInfo(firmwareInfoPath(card_.path()), items));
    }

    // Runs the dialog with the script's steps and returns its result.
    INT_PTR run(TAVR09Setting& dialog, DialogScript& script) {
        const INT_PTR result = dialog.doModal(owner_.handle());
        EXPECT_TRUE(script.finished());
        return result;
    }

    ScratchFolder card_{L"sd"};
    TestOwner owner_;
};

int tabSelection(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_SENSITIVITY_TAB, TCM_GETCURSEL, 0, 0));
}

// The user picks the other tab with the keyboard, as a click would.
void switchTab(HWND dialog) {
    HWND tab = GetDlgItem(dialog, IDC_SENSITIVITY_TAB);
    SetFocus(tab);
    const bool toDetail = tabSelection(dialog) == TAVR09Setting::simpleTab;
    SendMessageW(tab, WM_KEYDOWN, toDetail ? VK_RIGHT : VK_LEFT, 0);
    SendMessageW(tab, WM_KEYUP, toDetail ? VK_RIGHT : VK_LEFT, 0);
}

std::wstring levelText(const TAVR09SettingPage1& page) {
    return itemText(page.handle(), IDC_LEVEL_LABEL);
}
std::wstring detailText(const TAVR09SettingPage2& page) {
    return itemText(page.handle(), IDC_DETAIL_EDIT);
}

void pressKey(HWND control, WPARAM key) {
    SendMessageW(control, WM_KEYDOWN, key, 0);
    SendMessageW(control, WM_KEYUP, key, 0);
}

void stepSimpleSlider(const TAVR09SettingPage1& page, WPARAM key) {
    pressKey(GetDlgItem(page.handle(), IDC_SIMPLE_SLIDER), key);
}

// Types text into the detailed edit and leaves it, as the user tabbing away.
void typeDetail(const TAVR09SettingPage2& page, const wchar_t* text) {
    HWND edit = GetDlgItem(page.handle(), IDC_DETAIL_EDIT);
    SetFocus(edit);
    SetWindowTextW(edit, text);
    SetFocus(GetDlgItem(GetParent(page.handle()), IDC_SENSITIVITY_TAB));
}

int comboSelection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

TEST_F(SettingsDialogTest, StandardValuesOpenTheSimpleTabAtLevelSix) {
    writeReport(45, 40);
    CardChoice card({card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script.onDialog(settingsCaption, "check and cancel", [&](HWND box) {
        EXPECT_TRUE(dialog.isLoaded());
        EXPECT_EQ(tabSelection(box), TAVR09Setting::simpleTab);
        for (int kind : {shock, eco}) {
            EXPECT_TRUE(IsWindowVisible(dialog.simplePage(kind).handle()));
            EXPECT_FALSE(IsWindowVisible(dialog.detailPage(kind).handle()));
            EXPECT_EQ(dialog.simplePage(kind).sliderPosition(), 10);
            EXPECT_EQ(levelText(dialog.simplePage(kind)), L"6");
        }
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.45");
        EXPECT_EQ(detailText(dialog.detailPage(eco)), L"0.40");
        // The sample card reports overwrite on, event volume "大".
        EXPECT_EQ(comboSelection(box, IDC_OVERWRITE_COMBO), 0);
        EXPECT_EQ(comboSelection(box, IDC_OPERATION_VOLUME_COMBO), 0);
        EXPECT_EQ(comboSelection(box, IDC_EVENT_VOLUME_COMBO), 1);
        EXPECT_EQ(comboSelection(box, IDC_GUIDANCE_VOLUME_COMBO), 0);
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(dialog, script), IDCANCEL);
    EXPECT_EQ(card.prompts, std::vector<std::wstring>{loadText(5022)});
    EXPECT_FALSE(platform::isFile(settingsFilePath(card_.path())));
}

TEST_F(SettingsDialogTest, ValueBetweenLevelsOpensTheDetailTabAndStepsToTheNeighbours) {
    writeReport(44, 40);
    CardChoice card({card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script.onDialog(settingsCaption, "pages in step", [&](HWND box) {
        EXPECT_EQ(tabSelection(box), TAVR09Setting::detailTab);
        EXPECT_TRUE(IsWindowVisible(dialog.detailPage(shock).handle()));
        EXPECT_FALSE(IsWindowVisible(dialog.simplePage(shock).handle()));
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.44");
        EXPECT_EQ(dialog.simplePage(shock).sliderPosition(), 11);
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"6*");

        switchTab(box);
        EXPECT_EQ(tabSelection(box), TAVR09Setting::simpleTab);
        EXPECT_TRUE(IsWindowVisible(dialog.simplePage(shock).handle()));
        EXPECT_FALSE(IsWindowVisible(dialog.detailPage(shock).handle()));
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"6*");
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.44");  // the simple view changed nothing

        stepSimpleSlider(dialog.simplePage(shock), VK_RIGHT);
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"7");
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.42");
        stepSimpleSlider(dialog.simplePage(shock), VK_LEFT);  // whole levels again
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"6");
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.45");

        // An odd position reached any other way snaps one step towards "高".
        HWND slider = GetDlgItem(dialog.simplePage(shock).handle(), IDC_SIMPLE_SLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, 15);
        SendMessageW(dialog.simplePage(shock).handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 15),
                     reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(dialog.simplePage(shock).sliderPosition(), 16);
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"9");
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.36");
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(dialog, script), IDCANCEL);
}

TEST_F(SettingsDialogTest, ValuesOutsideTheRangeAreClampedAndALevelStaysSimple) {
    writeReport(25, 40);
    CardChoice card({card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script.onDialog(settingsCaption, "clamped", [&](HWND box) {
        EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.30");
        EXPECT_EQ(tabSelection(box), TAVR09Setting::simpleTab);
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"11");
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(dialog, script), IDCANCEL);

    writeReport(45, 41);  // only the eco value needs the detailed tab
    CardChoice again({card_.path()});
    TAVR09Setting second(L"E:", again.chooser());
    DialogScript secondScript;
    secondScript.onDialog(settingsCaption, "eco between levels", [&](HWND box) {
        EXPECT_EQ(tabSelection(box), TAVR09Setting::detailTab);
        EXPECT_EQ(levelText(second.simplePage(eco)), L"5*");
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(second, secondScript), IDCANCEL);
}

TEST_F(SettingsDialogTest, TypedValuesUpDownAndPresets) {
    writeReport(44, 40);
    CardChoice card({card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script.onDialog(settingsCaption, "typing", [&](HWND box) {
        const TAVR09SettingPage2& shockDetail = dialog.detailPage(shock);
        typeDetail(shockDetail, L"0.375");
        EXPECT_EQ(detailText(shockDetail), L"0.37");
        typeDetail(shockDetail, L"0.5x");
        EXPECT_EQ(detailText(shockDetail), L"0.37");
        typeDetail(shockDetail, L" 0.4 ");
        EXPECT_EQ(detailText(shockDetail), L"0.40");
        typeDetail(shockDetail, L"");
        EXPECT_EQ(detailText(shockDetail), L"0.30");
        typeDetail(shockDetail, L"1e300");
        EXPECT_EQ(detailText(shockDetail), L"0.60");

        // Up raises the value by 0.01 and stops at the end of the range.
        const TAVR09SettingPage2& ecoDetail = dialog.detailPage(eco);
        typeDetail(ecoDetail, L"0.50");
        HWND ecoEdit = GetDlgItem(ecoDetail.handle(), IDC_DETAIL_EDIT);
        pressKey(ecoEdit, VK_UP);
        EXPECT_EQ(detailText(ecoDetail), L"0.50");
        pressKey(ecoEdit, VK_DOWN);
        EXPECT_EQ(detailText(ecoDetail), L"0.49");
        pressKey(ecoEdit, VK_UP);
        EXPECT_EQ(detailText(ecoDetail), L"0.50");

        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_SHOCK_HIGH, BN_CLICKED), 0);
        EXPECT_EQ(detailText(shockDetail), L"0.30");
        EXPECT_EQ(levelText(dialog.simplePage(shock)), L"11");
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_ECO_STANDARD, BN_CLICKED), 0);
        EXPECT_EQ(detailText(ecoDetail), L"0.40");
        EXPECT_EQ(levelText(dialog.simplePage(eco)), L"6");
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(dialog, script), IDCANCEL);
}

TEST_F(SettingsDialogTest, OkWritesTheDetailedValuesAndCombos) {
    writeReport(44, 40);
    ASSERT_TRUE(writeSettings(settingsFilePath(card_.path()), {samplewriter::twoDigitItem(unknownItem, 77)}));
    CardChoice card({card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script
        .onDialog(settingsCaption, "choose and press OK",
                  [&](HWND box) {
                      SendDlgItemMessageW(box, IDC_OVERWRITE_COMBO, CB_SETCURSEL, 1, 0);  // "しない"
                      SendDlgItemMessageW(box, IDC_GUIDANCE_VOLUME_COMBO, CB_SETCURSEL, 2, 0);
                      postClick(box, IDOK);
                  })
        .answer(5023, 5013)
        .answer(5024, 5017);
    EXPECT_EQ(run(dialog, script), IDOK);
    EXPECT_EQ(card.prompts.size(), 1u);  // the card read at opening is used

    const FirmInfo written = readSettingsFile(settingsFilePath(card_.path()));
    EXPECT_EQ(idsOf(written), (std::vector<std::uint16_t>{0x0801, 0x0802, 0x0803, 0x0804, 0x1801, 0x0301, 0x0304,
                                                          0x0714, 0x0715, 0x0303, 0x2001}));
    EXPECT_EQ(valueOf(written, shockItem)[1], 0x44);
    EXPECT_EQ(valueOf(written, overwriteItem)[0], 0x00);
    EXPECT_EQ(valueOf(written, eventVolumeItem)[0], 0x01);
    EXPECT_EQ(valueOf(written, ecoItem)[1], 0x40);
    EXPECT_EQ(valueOf(written, guidanceVolumeItem)[0], 0x02);
    EXPECT_EQ(valueOf(written, unknownItem)[0], 0x77);
}

TEST_F(SettingsDialogTest, CancelledCardChoiceAtOpeningAsksAgainAtOk) {
    writeReport(44, 33);
    CardChoice card({L"", card_.path(), card_.path()});
    TAVR09Setting dialog(L"E:", card.chooser());
    DialogScript script;
    script
        .onDialog(settingsCaption, "defaults, then OK",
                  [&](HWND box) {
                      EXPECT_FALSE(dialog.isLoaded());
                      EXPECT_EQ(tabSelection(box), TAVR09Setting::simpleTab);
                      EXPECT_EQ(detailText(dialog.detailPage(shock)), L"0.45");
                      EXPECT_EQ(detailText(dialog.detailPage(eco)), L"0.40");
                      postClick(box, IDOK);
                  })
        .answer(5023, 5013, IDCANCEL)  // refused: the dialog stays, the card is asked for again
        .onDialog(settingsCaption, "OK again", [&](HWND box) { postClick(box, IDOK); })
        .answer(5023, 5013)
        .answer(5024, 5017);
    EXPECT_EQ(run(dialog, script), IDOK);
    EXPECT_EQ(card.prompts, std::vector<std::wstring>(3, loadText(5022)));
    EXPECT_EQ(std::wstring(dialog.cardPath()), card_.path());
    const FirmInfo written = readSettingsFile(settingsFilePath(card_.path()));
    EXPECT_EQ(valueOf(written, shockItem)[1], 0x45);  // the defaults, not the card's report
    EXPECT_EQ(valueOf(written, ecoItem)[1], 0x40);
    EXPECT_EQ(valueOf(written, overwriteItem)[0], 0x01);
}

// No report on the card, so OK asks for the card again; its TAVR.INI exists and
// the card keeps other bytes than written: verification fails, the file is
// gone and 5020 shown.
TEST_F(SettingsDialogTest, UnreadableReportWarnsAndAWriteThatReadsBackOtherBytesEndsWith5020) {
    const std::wstring path = settingsFilePath(card_.path());
    ASSERT_TRUE(writeSettings(path, sampleItems()));
    CardChoice card({card_.path(), card_.path()});
    const CardKeepingOtherBytes otherBytes;
    TAVR09Setting dialog(L"E:", card.chooser(), otherBytes);
    DialogScript script;
    script.answer(5019, 5005)
        .onDialog(settingsCaption, "not loaded, OK",
                  [&](HWND box) {
                      EXPECT_FALSE(dialog.isLoaded());
                      postClick(box, IDOK);
                  })
        .answer(5023, 5013)
        .answer(5020, 5005);
    EXPECT_EQ(run(dialog, script), IDOK);
    EXPECT_EQ(card.prompts.size(), 2u);
    EXPECT_FALSE(platform::isFile(path));
}

}  // namespace
