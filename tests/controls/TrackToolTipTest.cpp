#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/ControlTestSupport.h"
#include "controls/TrackEvents.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/TrackToolTip.h"

namespace {

// What the tooltip was told to do, seen from a procedure placed in front of it.
struct TipMessages {
    std::vector<POINT> positions;
    std::vector<bool> activations;
};

TipMessages* recorded = nullptr;
WNDPROC tipProcedure = nullptr;

LRESULT CALLBACK recordTip(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (recorded && message == TTM_TRACKPOSITION) {
        recorded->positions.push_back({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    }
    if (recorded && message == TTM_TRACKACTIVATE) recorded->activations.push_back(wParam != 0);
    return CallWindowProcW(tipProcedure, window, message, wParam, lParam);
}

class TrackToolTipTest : public ::testing::Test {
protected:
    TrackToolTipTest() : tip(new TrackToolTip(parent.handle())) {}

    TTTOOLINFOW toolOf(HWND control) {
        TTTOOLINFOW tool{};
        tool.cbSize = TrackToolTip::toolInfoSize;
        tool.hwnd = parent.handle();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        EXPECT_TRUE(SendMessageW(tip->handle(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
        return tool;
    }
    std::wstring textOf(HWND control) {
        wchar_t text[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TrackToolTip::toolInfoSize;
        tool.hwnd = parent.handle();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(tip->handle(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return text;
    }
    ImageTrackBar* brightnessBarWithTip() {
        auto* bar = new ImageTrackBar(parent.handle(), 40, 56, 151, 16);
        bar->setImages(IDB_SLIDER_THUMB, IDB_BRIGHTNESS_TRACK, 0);
        bar->setRange(1, 50);
        bar->setValue(10, false);
        bar->listener = &events;
        bar->toolTip = tip;
        bar->valueFormatter = [](int value) {
            wchar_t text[16];
            swprintf(text, 16, L"%3.1f", value / 10.0);
            return std::wstring(text);
        };
        tip->addTrackingTool(bar->handle(), bar->valueText());
        return bar;
    }
    void watchTip() {
        recorded = &messages;
        tipProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(tip->handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordTip)));
    }
    ~TrackToolTipTest() override { recorded = nullptr; }

    TestParent parent{240, 140};
    TrackToolTip* tip;
    TrackEvents events;
    TipMessages messages;
};

TEST_F(TrackToolTipTest, ButtonsGetHoverToolsAndBarsTrackingTools) {
    auto* button = new ImageButton(parent.handle(), 57, 97, 102, 28);
    button->setImages(IDB_OPEN_FOLDER, IDB_OPEN_FOLDER_PRESSED, IDB_OPEN_FOLDER_DISABLED);
    tip->addTool(L"フォルダを開く", button->handle());
    ImageTrackBar* bar = brightnessBarWithTip();

    EXPECT_EQ(SendMessageW(tip->handle(), TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(toolOf(button->handle()).uFlags, TTF_IDISHWND | TTF_SUBCLASS);
    EXPECT_EQ(toolOf(bar->handle()).uFlags, TTF_IDISHWND | TTF_SUBCLASS | TTF_TRACK);
    EXPECT_EQ(textOf(button->handle()), L"フォルダを開く");
    EXPECT_EQ(textOf(bar->handle()), L"1.0");
}

TEST_F(TrackToolTipTest, DragShowsTheValueAboveTheThumbWithinTheBar) {
    ImageTrackBar* bar = brightnessBarWithTip();
    watchTip();
    RECT window;
    GetWindowRect(bar->handle(), &window);

    pressAt(bar->handle(), 30, 5);
    moveTo(bar->handle(), 70, 5);
    EXPECT_EQ(textOf(bar->handle()), L"2.5");  // 1 + 49 × 70 ÷ 141 = 25.3
    moveTo(bar->handle(), -400, 5);
    EXPECT_EQ(textOf(bar->handle()), L"0.1");
    moveTo(bar->handle(), 4000, 5);
    EXPECT_EQ(textOf(bar->handle()), L"5.0");
    releaseAt(bar->handle(), 4000, 5);

    ASSERT_EQ(messages.positions.size(), 4u);
    EXPECT_EQ(messages.positions[1].x, window.left + 70 + 5);
    EXPECT_EQ(messages.positions[2].x, window.left);
    EXPECT_EQ(messages.positions[3].x, window.right);
    for (const POINT& position : messages.positions) EXPECT_EQ(position.y, window.top - 20);
    ASSERT_FALSE(messages.activations.empty());
    EXPECT_TRUE(messages.activations.front());
    EXPECT_FALSE(messages.activations.back());
    EXPECT_EQ(std::count(messages.activations.begin(), messages.activations.end(), true), 1);
}

TEST_F(TrackToolTipTest, DragCutShortByALostCaptureHidesTheTip) {
    ImageTrackBar* bar = brightnessBarWithTip();
    watchTip();
    pressAt(bar->handle(), 30, 5);
    SetCapture(parent.handle());
    ReleaseCapture();
    EXPECT_EQ(messages.activations, (std::vector<bool>{true, false}));
    pumpFor(250);
    EXPECT_EQ(events.events, (std::vector<std::string>{"begin", "change"}));
}

}  // namespace
