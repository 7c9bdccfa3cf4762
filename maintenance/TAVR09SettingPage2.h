#pragma once
// The detailed page of a sensitivity: the exact value in hundredths of G on a
// slider (position 0 is the least sensitive value), in an edit as "0.45" and on
// an up-down control whose up arrow raises the value by 0.01. The detailed
// pages hold the values that the settings dialog writes.
#include <windows.h>

#include "maintenance/SensitivityTable.h"
#include "ui/framework/Dialog.h"

class TAVR09Setting;

class TAVR09SettingPage2 : public Dialog {
public:
    // kind: SensitivityTable::kindShock or kindEco.
    TAVR09SettingPage2(TAVR09Setting& owner, int kind);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int detailValue() const;
    // The slider keeps value within the kind's range.
    void setDetail(int value);
    void showText();
    // Takes the edit's text when it is a number (see parseHundredths), else
    // shows the current value again.
    void parseText();

private:
    void onInitDialog();
    void onSpin(int delta);
    int sliderPosition() const;
    void setSliderPosition(int position);
    const SensitivityTable& table() const { return SensitivityTable::forKind(kind); }

    TAVR09Setting& owner;
    HWND slider = nullptr;
    HWND valueEdit = nullptr;
    HWND spin = nullptr;
    int kind;
};
