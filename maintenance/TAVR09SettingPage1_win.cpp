#include "maintenance/TAVR09Setting.h"
#include "maintenance/TAVR09SettingPage1.h"
#include "maintenance/TAVR09SettingPage2.h"
#include "resources/DialogIds.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

// A level is two positions wide; an in-between position steps one at a time.
constexpr int levelStep = 2;
constexpr int inBetweenStep = 1;

}  // namespace

TAVR09SettingPage1::TAVR09SettingPage1(TAVR09Setting& owner, int kind)
    : Dialog(IDD_SENSITIVITY_SIMPLE), owner(owner), kind(kind) {}

INT_PTR TAVR09SettingPage1::dialogProc(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) != slider) return FALSE;
            snapAndSync();
            return TRUE;
        default:
            return FALSE;
    }
}

void TAVR09SettingPage1::onInitDialog() {
    slider = GetDlgItem(window, IDC_SIMPLE_SLIDER);
    levelLabel = GetDlgItem(window, IDC_LEVEL_LABEL);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, SensitivityTable::simplePositionMax));
    setStepSize(levelStep);
    SendMessageW(slider, TBM_SETTICFREQ, levelStep, 0);
}

void TAVR09SettingPage1::showValue(int value) {
    const int position = table().simplePositionOf(value);
    setSliderPosition(position);
    if (position % 2 == 0) {
        snapAndSync();
        return;
    }
    setLevelText(SensitivityTable::levelLabel(position));
    setStepSize(inBetweenStep);
}

void TAVR09SettingPage1::snapAndSync() {
    const int position = sliderPosition();
    const int snapped = SensitivityTable::snappedPosition(position);
    if (snapped != position) setSliderPosition(snapped);
    setLevelText(SensitivityTable::levelLabel(snapped));
    setStepSize(levelStep);
    owner.detailPage(kind).setDetail(tableValue());
}

int TAVR09SettingPage1::tableValue() const {
    return table().valueAtSimplePosition(sliderPosition());
}

bool TAVR09SettingPage1::inTable(int value) const {
    return table().inTable(value);
}

int TAVR09SettingPage1::sliderPosition() const {
    return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

void TAVR09SettingPage1::setSliderPosition(int position) {
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

void TAVR09SettingPage1::setStepSize(int size) {
    SendMessageW(slider, TBM_SETPAGESIZE, 0, size);
    SendMessageW(slider, TBM_SETLINESIZE, 0, size);
}

void TAVR09SettingPage1::setLevelText(const std::wstring& text) {
    SetWindowTextW(levelLabel, text.c_str());
}
