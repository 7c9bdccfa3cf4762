#include "ui/main/GoToTimeDialog.h"

#include "platform/LocalTime.h"
#include "resources/PlaybackCommandIds.h"
#include "ui/framework/WindowPosition.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

// Seconds matter: at 30 frames a second the user aims within one.
constexpr wchar_t kPickerFormat[] = L"yyyy/MM/dd HH:mm:ss";

SYSTEMTIME toSystemTime(const CalendarTime& local) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.year);
    time.wMonth = static_cast<WORD>(local.month);
    time.wDay = static_cast<WORD>(local.day);
    time.wHour = static_cast<WORD>(local.hour);
    time.wMinute = static_cast<WORD>(local.minute);
    time.wSecond = static_cast<WORD>(local.second);
    return time;
}

CalendarTime toCalendar(const SYSTEMTIME& time) {
    return CalendarTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

GoToTimeDialog::GoToTimeDialog(std::int64_t start) : Dialog(IDD_GO_TO_TIME), time_(start) {}

INT_PTR GoToTimeDialog::dialogProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) onOk();
            if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

void GoToTimeDialog::onInitDialog() {
    picker_ = GetDlgItem(window, IDC_GO_TO_TIME_PICKER);
    SendMessageW(picker_, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
    CalendarTime local;
    if (time_ == 0 || !platform::timeValueToLocal(time_, local)) local = platform::localNow();
    SYSTEMTIME shown = toSystemTime(local);
    SendMessageW(picker_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
    centreWindow(window, parentWindow);
}

void GoToTimeDialog::onOk() {
    SYSTEMTIME chosen{};
    std::int64_t value = 0;
    if (SendMessageW(picker_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&chosen)) != GDT_VALID ||
        !platform::localToTimeValue(toCalendar(chosen), value)) {
        value = 0;
    }
    time_ = value;
    EndDialog(window, IDOK);
}
