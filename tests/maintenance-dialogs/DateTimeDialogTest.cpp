// The date/time dialog driven as a user would: the clock item written first
// into TAVR.INI with every other item kept, hour and minute checked before
// anything is written, and a failing card.
#include <gtest/gtest.h>
#include <windows.h>

#include "CardFiles.h"
#include "app/Texts.h"
#include "maintenance-dialogs/DialogScript.h"
#include "maintenance-dialogs/MaintenanceTestSupport.h"
#include "maintenance/DateTimeDialog.h"
#include "maintenance/RecorderSettings.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "resources/DialogIds.h"
#include "support/ScratchFolder.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

using namespace cardfiles;

const std::wstring dateTimeCaption = L"日時設定";

class DateTimeDialogTest : public ::testing::Test {
protected:
    void SetUp() override { prepareMaintenanceTests(); }

    INT_PTR run(DateTimeDialog& dialog, DialogScript& script) {
        const INT_PTR result = dialog.doModal(owner_.handle());
        EXPECT_TRUE(script.finished());
        return result;
    }

    ScratchFolder card_{L"sd"};
    TestOwner owner_;
};

bool setDate(HWND dialog, WORD year, WORD month, WORD day) {
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    return SendDlgItemMessageW(dialog, IDC_DATE_PICKER, DTM_SETSYSTEMTIME, GDT_VALID,
                               reinterpret_cast<LPARAM>(&date)) != FALSE;
}

SYSTEMTIME shownDate(HWND dialog) {
    SYSTEMTIME date{};
    SendDlgItemMessageW(dialog, IDC_DATE_PICKER, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    return date;
}

// What the user types into the hour and minute fields.
void typeTime(HWND dialog, const wchar_t* hour, const wchar_t* minute) {
    SetDlgItemTextW(dialog, IDC_HOUR_EDIT, hour);
    SetDlgItemTextW(dialog, IDC_MINUTE_EDIT, minute);
}

TEST_F(DateTimeDialogTest, WritesTheClockItemFirstAndKeepsEveryOtherItem) {
    const std::wstring path = settingsFilePath(card_.path());
    ASSERT_TRUE(
        writeSettings(path, {samplewriter::fourDigitItem(shockItem, 44), samplewriter::twoDigitItem(overwriteItem, 0),
                             samplewriter::twoDigitItem(unknownItem, 12)}));
    CardChoice card({card_.path()});
    DateTimeDialog dialog(L"E:", card.chooser());
    DialogScript script;
    script
        .onDialog(dateTimeCaption, "pick 2009-03-01 07:05",
                  [&](HWND box) {
                      EXPECT_TRUE(setDate(box, 2009, 3, 1));
                      typeTime(box, L"7", L"5");
                      postClick(box, IDOK);
                  })
        .answer(5012, 5013)
        .answer(5016, 5017);
    EXPECT_EQ(run(dialog, script), IDOK);
    EXPECT_EQ(card.prompts, std::vector<std::wstring>{loadText(5011)});
    EXPECT_EQ(std::wstring(dialog.cardPath()), card_.path());

    const FirmInfo written = readSettingsFile(path);
    EXPECT_EQ(idsOf(written), (std::vector<std::uint16_t>{clockItem, shockItem, overwriteItem, unknownItem}));
    EXPECT_EQ(valueOf(written, clockItem), (std::vector<std::uint8_t>{0x09, 0x03, 0x01, 0x07, 0x05}));
    EXPECT_EQ(valueOf(written, shockItem), (std::vector<std::uint8_t>{0x00, 0x44, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(valueOf(written, overwriteItem)[0], 0x00);
    EXPECT_EQ(valueOf(written, unknownItem)[0], 0x12);
    EXPECT_TRUE(platform::isHidden(path));
    EXPECT_TRUE(platform::isReadOnly(path));
}

TEST_F(DateTimeDialogTest, HourOrMinuteOutOfRangeWritesNothingAndStaysOpen) {
    CardChoice card({card_.path(), card_.path()});
    DateTimeDialog dialog(L"E:", card.chooser());
    DialogScript script;
    script
        .onDialog(dateTimeCaption, "hour 24",
                  [&](HWND box) {
                      typeTime(box, L"24", L"0");
                      postClick(box, IDOK);
                  })
        .answer(5012, 5013)
        .answer(5014, 5005)
        .onDialog(dateTimeCaption, "minute 60",
                  [&](HWND box) {
                      typeTime(box, L"23", L"60");
                      postClick(box, IDOK);
                  })
        .answer(5012, 5013)
        .answer(5015, 5005)
        .onDialog(dateTimeCaption, "cancel", [&](HWND box) { postClick(box, IDCANCEL); });
    EXPECT_EQ(run(dialog, script), IDCANCEL);
    EXPECT_FALSE(platform::isFile(settingsFilePath(card_.path())));
}

TEST_F(DateTimeDialogTest, OpensAtThePresentWithinTheRecordersCentury) {
    const CalendarTime before = platform::localNow();
    DateTimeDialog dialog(L"E:", CardChoice({}).chooser());
    DialogScript script;
    script.onDialog(dateTimeCaption, "check", [&](HWND box) {
        const CalendarTime after = platform::localNow();
        const SYSTEMTIME date = shownDate(box);
        EXPECT_TRUE(date.wYear == before.year || date.wYear == after.year);
        EXPECT_TRUE(date.wDay == before.day || date.wDay == after.day);
        const std::wstring hour = itemText(box, IDC_HOUR_EDIT);
        EXPECT_TRUE(hour == std::to_wstring(before.hour) || hour == std::to_wstring(after.hour)) << hour.size();

        SYSTEMTIME limits[2] = {};
        const DWORD set = static_cast<DWORD>(
            SendDlgItemMessageW(box, IDC_DATE_PICKER, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(limits)));
        EXPECT_EQ(set, static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
        EXPECT_EQ(limits[0].wYear, 2000);
        EXPECT_EQ(limits[0].wMonth, 1);
        EXPECT_EQ(limits[0].wDay, 1);
        EXPECT_EQ(limits[1].wYear, 2099);
        EXPECT_EQ(limits[1].wMonth, 12);
        EXPECT_EQ(limits[1].wDay, 31);
        ASSERT_TRUE(setDate(box, 2001, 5, 6));
        setDate(box, 1999, 12, 31);
        EXPECT_NE(shownDate(box).wYear, 1999);
        setDate(box, 2100, 1, 1);
        EXPECT_NE(shownDate(box).wYear, 2100);
        postClick(box, IDCANCEL);
    });
    EXPECT_EQ(run(dialog, script), IDCANCEL);
}

// The card's TAVR.INI exists and the card gives up half way through the write:
// the file is gone and 5020 shown, whatever the writer's own message.
TEST_F(DateTimeDialogTest, WriteFailingHalfWayRemovesTheFileAndEndsWith5020) {
    const std::wstring path = settingsFilePath(card_.path());
    ASSERT_TRUE(writeSettings(path, sampleItems()));
    CardChoice card({L"", card_.path()});
    const CardFailingHalfWay halfWay;
    DateTimeDialog dialog(L"E:", card.chooser(), halfWay);
    DialogScript script;
    script.onDialog(dateTimeCaption, "OK, choice cancelled", [&](HWND box) { postClick(box, IDOK); })
        .onDialog(dateTimeCaption, "OK again", [&](HWND box) { postClick(box, IDOK); })
        .answer(5012, 5013)
        .answer(5020, 5005);
    EXPECT_EQ(run(dialog, script), IDOK);
    EXPECT_EQ(card.prompts.size(), 2u);
    EXPECT_FALSE(platform::isFile(path));
}

}  // namespace
