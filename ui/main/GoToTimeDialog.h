#pragma once
// Asks for a local date and time to show the frame of: one picker, starting at
// the clock of the frame on screen.
#include <windows.h>

#include <cstdint>

#include "ui/framework/Dialog.h"

class GoToTimeDialog : public Dialog {
public:
    // start: the time value shown first; 0 starts at the present time.
    explicit GoToTimeDialog(std::int64_t start);

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // After IDOK: the chosen time value; 0 when it could not be converted.
    std::int64_t time() const { return time_; }

private:
    void onInitDialog();
    void onOk();

    HWND picker_ = nullptr;
    std::int64_t time_;
};
