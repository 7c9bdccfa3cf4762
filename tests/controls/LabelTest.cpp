#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "resources/ImageIds.h"
#include "ui/controls/Label.h"
#include "ui/controls/LinkLabel.h"

namespace {

constexpr COLORREF linkBlue = RGB(0, 0, 255);

int countPixels(const Snapshot& shot, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) n += shot.at(x, y) == colour;
    return n;
}

TEST(Label, CentresItsPictureAndShowsTheMiddleWhenSmaller) {
    TestParent parent(400, 200);
    auto* large = new Label(parent.handle(), 0, 0, 300, 100);
    large->setPicture(IDB_INFO_TITLE);  // 146 × 34
    auto* small = new Label(parent.handle(), 0, 120, 100, 20);
    small->setPicture(IDB_INFO_TITLE);
    InvalidateRect(parent.handle(), nullptr, TRUE);

    const Snapshot largeShot(large->handle());
    EXPECT_TRUE(showsPicture(largeShot, IDB_INFO_TITLE, 77, 33));
    EXPECT_TRUE(isFilledWith(largeShot, buttonFace(), 0, 0, 300, 33));
    EXPECT_TRUE(isFilledWith(largeShot, buttonFace(), 0, 33, 77, 34));
    // (100 − 146) ÷ 2 and (20 − 34) ÷ 2: the picture starts 23 columns and 7 rows outside.
    EXPECT_TRUE(showsPicture(Snapshot(small->handle()), IDB_INFO_TITLE, 0, 0, 100, 20, 23, 7));
}

class LinkLabelTest : public ::testing::Test {
protected:
    // The version dialog's link: a static control with the notify style, text and a font.
    HWND staticControl(const wchar_t* text, HFONT withFont) {
        HWND control = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 200, 30,
                                       parent.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(withFont), FALSE);
        return control;
    }
    ~LinkLabelTest() override { DeleteObject(font); }

    TestParent parent{240, 60};
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
};

TEST_F(LinkLabelTest, UnderlinedBlueTextWithAHandCursor) {
    HWND control = staticControl(L"WWW Support", font);
    EXPECT_EQ(Window::fromHandle(control), new LinkLabel(control));
    HFONT used = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW description{};
    ASSERT_NE(used, font);
    ASSERT_TRUE(GetObjectW(used, sizeof description, &description));
    EXPECT_TRUE(description.lfUnderline);
    EXPECT_EQ(description.lfHeight, -16);

    // Left-aligned, and centred vertically for the height of its own font.
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, used);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"WWW Support", 11, &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    const int top = (30 - extent.cy) / 2;
    const Snapshot shot(control);
    EXPECT_GT(countPixels(shot, linkBlue), 20);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.at(x, y) == linkBlue)
                EXPECT_TRUE(x < extent.cx && y >= top && y < top + extent.cy) << x << ", " << y;
        }
    }

    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(LinkLabelTest, DisabledLinkIsDrawnEmbossed) {
    HWND control = staticControl(L"WWW Support", font);
    (new LinkLabel(control))->setEnabled(false);
    const Snapshot shot(control);
    EXPECT_EQ(countPixels(shot, linkBlue), 0);
    EXPECT_GT(shot.width() * shot.height() - countPixels(shot, buttonFace()), 20);
}

TEST_F(LinkLabelTest, ControlWithoutTextOrFontShowsOnlyItsBackground) {
    HWND control = staticControl(L"", nullptr);
    new LinkLabel(control);
    InvalidateRect(control, nullptr, TRUE);
    EXPECT_TRUE(isFilledWith(Snapshot(control), buttonFace(), 0, 0, 200, 30));
}

}  // namespace
