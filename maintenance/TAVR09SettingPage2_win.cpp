#include <array>

#include "maintenance/SensitivityText.h"
#include "maintenance/TAVR09SettingPage2.h"
#include "resources/DialogIds.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

// The edit's text is read up to this length.
constexpr int maximumTextLength = 512;

}  // namespace

TAVR09SettingPage2::TAVR09SettingPage2(TAVR09Setting& owner, int kind)
    : Dialog(IDD_SENSITIVITY_DETAIL), owner(owner), kind(kind) {}

INT_PTR TAVR09SettingPage2::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) != slider) return FALSE;
            showText();
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom != spin || header->code != UDN_DELTAPOS) return FALSE;
            onSpin(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_DETAIL_EDIT || HIWORD(wParam) != EN_KILLFOCUS) return FALSE;
            parseText();
            return TRUE;
        default:
            return FALSE;
    }
}

// The up-down control's own position is never used: it stays in the middle of
// its range (the change is refused below) so that it never stops at an end.
void TAVR09SettingPage2::onInitDialog() {
    slider = GetDlgItem(window, IDC_DETAIL_SLIDER);
    valueEdit = GetDlgItem(window, IDC_DETAIL_EDIT);
    spin = GetDlgItem(window, IDC_DETAIL_SPIN);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, table().detailPositionMax()));
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(spin, UDM_SETRANGE32, SensitivityTable::lowestValue, table().highestValue());
    SendMessageW(spin, UDM_SETPOS32, 0, (SensitivityTable::lowestValue + table().highestValue()) / 2);
}

// A positive change (the up arrow) raises the value, so the slider, whose
// position counts down from the least sensitive value, moves the other way.
void TAVR09SettingPage2::onSpin(int delta) {
    int position = sliderPosition();
    if (delta < 0) ++position;
    if (delta > 0) --position;
    setSliderPosition(position);
    showText();
    SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
}

int TAVR09SettingPage2::detailValue() const {
    return table().detailValueAt(sliderPosition());
}

void TAVR09SettingPage2::setDetail(int value) {
    setSliderPosition(table().detailPositionOf(value));
    showText();
}

void TAVR09SettingPage2::showText() {
    SetWindowTextW(valueEdit, formatHundredths(detailValue()).c_str());
}

void TAVR09SettingPage2::parseText() {
    std::array<wchar_t, maximumTextLength + 1> text{};
    GetWindowTextW(valueEdit, text.data(), static_cast<int>(text.size()));
    if (const auto hundredths = parseHundredths(text.data())) setSliderPosition(table().detailPositionOf(*hundredths));
    showText();
}

int TAVR09SettingPage2::sliderPosition() const {
    return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

void TAVR09SettingPage2::setSliderPosition(int position) {
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
}
