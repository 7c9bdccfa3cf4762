#pragma once
// Turns a static control of a dialog into a web link: underlined blue text, a
// hand cursor, and a click that opens the product's web page (text 5086) in the
// user's browser. The control needs the notify style, or its clicks and cursor
// messages go to the dialog.
#include <windows.h>

#include "ui/controls/Label.h"

class LinkLabel : public Label {
public:
    explicit LinkLabel(HWND existingWindow);
    ~LinkLabel() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void underlineFont();
    void takeWindowText();
    // Failures are not reported: the link simply does nothing.
    static void openWebPage();

    HFONT underlineFont_ = nullptr;
};
