#pragma once
// The simple page of a sensitivity: a slider of eleven levels from "低" to "高"
// with the level number under it. Odd slider positions stand for a detailed
// value between two levels ("6*"); the next key press reaches either level.
#include <windows.h>

#include <string>

#include "maintenance/SensitivityTable.h"
#include "ui/framework/Dialog.h"

class TAVR09Setting;

class TAVR09SettingPage1 : public Dialog {
public:
    // kind: SensitivityTable::kindShock or kindEco.
    TAVR09SettingPage1(TAVR09Setting& owner, int kind);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows value at its level, or between two levels when it is none.
    void showValue(int value);
    // Moves an in-between position up to the next level, shows the level and
    // gives its value to the detailed page of the same kind.
    void snapAndSync();
    int tableValue() const;
    bool inTable(int value) const;

    int sliderPosition() const;

private:
    void onInitDialog();
    void setSliderPosition(int position);
    void setStepSize(int size);
    void setLevelText(const std::wstring& text);
    const SensitivityTable& table() const { return SensitivityTable::forKind(kind); }

    TAVR09Setting& owner;
    HWND slider = nullptr;
    HWND levelLabel = nullptr;
    int kind;
};
