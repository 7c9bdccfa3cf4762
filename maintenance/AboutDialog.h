#pragma once
// The version dialog: logo, application title, "Version %s", the legal notice,
// the rights line in its own font and a link to the product's web page.
#include <windows.h>

#include <string>

#include "ui/framework/Dialog.h"

class Label;
class LinkLabel;

class AboutDialog : public Dialog {
public:
    static constexpr int logoWidth = 280;
    static constexpr int logoHeight = 73;

    AboutDialog();
    ~AboutDialog() override;

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HFONT rightsFont() const { return noticeFont; }

private:
    void onInitDialog();
    void createLogo();
    void setItemText(int id, const std::wstring& text);

    // Window objects: deleted by the window framework with their windows.
    Label* logoLabel = nullptr;
    LinkLabel* linkLabel = nullptr;
    HFONT noticeFont = nullptr;
};
