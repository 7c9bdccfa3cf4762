#include <cstdint>

#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/DateTimeDialog.h"
#include "maintenance/FirmInfo.h"
#include "maintenance/RecorderSettings.h"
#include "platform/LocalTime.h"
#include "resources/DialogIds.h"
#include "ui/framework/WindowPosition.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

constexpr int chooseCardTextId = 5011;
constexpr int confirmWriteTextId = 5012;
constexpr int confirmCaptionId = 5013;
constexpr int badHourTextId = 5014;
constexpr int badMinuteTextId = 5015;
constexpr int writtenTextId = 5016;
constexpr int informationCaptionId = 5017;
constexpr int cannotWriteTextId = 5020;
constexpr int timeOutOfRangeTextId = 5021;
constexpr int warningCaptionId = 5005;

// The recorder keeps the year within the century: 2000 … 2099 only.
constexpr SYSTEMTIME earliestDate{2000, 1, 0, 1, 0, 0, 0, 0};
constexpr SYSTEMTIME latestDate{2099, 12, 0, 31, 23, 59, 59, 999};

constexpr int lastHour = 23;
constexpr int lastMinute = 59;

}  // namespace

DateTimeDialog::DateTimeDialog(const wchar_t* cardPath, CardChooser chooseCard, const CardFileWriter& writer)
    : Dialog(IDD_DATE_TIME), chooseCard(std::move(chooseCard)), writer(&writer) {
    lstrcpynW(cardFolder.data(), cardPath ? cardPath : L"", static_cast<int>(cardFolder.size()));
}

INT_PTR DateTimeDialog::dialogProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) writeClock();
            if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

void DateTimeDialog::onInitDialog() {
    datePicker = GetDlgItem(window, IDC_DATE_PICKER);
    hourSpin = GetDlgItem(window, IDC_HOUR_SPIN);
    minuteSpin = GetDlgItem(window, IDC_MINUTE_SPIN);
    SYSTEMTIME limits[2] = {earliestDate, latestDate};
    SendMessageW(datePicker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(limits));
    SendMessageW(hourSpin, UDM_SETRANGE32, 0, lastHour);
    SendMessageW(minuteSpin, UDM_SETRANGE32, 0, lastMinute);
    centreWindow(window, parentWindow);
    showPresentTime();
}

void DateTimeDialog::showPresentTime() {
    const CalendarTime now = platform::localNow();
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(now.year);
    date.wMonth = static_cast<WORD>(now.month);
    date.wDay = static_cast<WORD>(now.day);
    SendMessageW(datePicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendMessageW(hourSpin, UDM_SETPOS32, 0, now.hour);
    SendMessageW(minuteSpin, UDM_SETPOS32, 0, now.minute);
}

void DateTimeDialog::writeClock() {
    if (!chooseCard(loadText(chooseCardTextId), window, cardFolder.data())) return;
    if (MessageBoxW(window, loadText(confirmWriteTextId).c_str(), loadText(confirmCaptionId).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    SYSTEMTIME date{};
    int hour = 0;
    int minute = 0;
    if (!readTime(date, hour, minute)) return;
    const CalendarTime local{date.wYear, date.wMonth, date.wDay, hour, minute, 0};
    std::int64_t time = 0;
    const bool converted = platform::localToTimeValue(local, time);
    const bool written = writeCardSettings(
        settingsFilePath(cardFolder.data()),
        [&](FirmInfo& table) {
            if (!converted) throw FirmInfoException(loadText(timeOutOfRangeTextId));
            table.setRecorderClock(time);
        },
        *writer);
    if (written) {
        showBox(writtenTextId, informationCaptionId, MB_ICONINFORMATION);
    } else {
        showBox(cannotWriteTextId, warningCaptionId, MB_ICONWARNING);
    }
    EndDialog(window, IDOK);
}

// The up-down controls judge their edits' text: not a number, or outside the
// range, is an error (5014 for the hour, 5015 for the minute).
bool DateTimeDialog::readTime(SYSTEMTIME& date, int& hour, int& minute) {
    SendMessageW(datePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    BOOL failed = FALSE;
    hour = static_cast<int>(SendMessageW(hourSpin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (failed || hour < 0 || hour > lastHour) {
        showBox(badHourTextId, warningCaptionId, MB_ICONWARNING);
        return false;
    }
    minute = static_cast<int>(SendMessageW(minuteSpin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (failed || minute < 0 || minute > lastMinute) {
        showBox(badMinuteTextId, warningCaptionId, MB_ICONWARNING);
        return false;
    }
    return true;
}

void DateTimeDialog::showBox(int textId, int captionId, UINT style) {
    MessageBoxW(window, loadText(textId).c_str(), loadText(captionId).c_str(), style);
}
