// Choosing a picture in the strip: the buttons, the selection frame and the
// miniature it covers, choosing while loading, the keys the list takes, where
// the items stand and rest after a scroll, and the list's keyboard focus.
#include <gtest/gtest.h>

#include <string>

#include "media/ImageListView.h"
#include "resources/ImageIds.h"
#include "thumbnails/OneShotPictures.h"
#include "thumbnails/StripHarness.h"

namespace {

bool isFramed(const std::vector<COLORREF>& cell) {
    static const std::vector<COLORREF> frame = resourceCell(IDB_THUMBNAIL_SELECTION);
    const int inset = ImageListView::frameWidth;
    for (int y = 0; y < ImageListView::cellHeight; ++y) {
        for (int x = 0; x < ImageListView::cellWidth; ++x) {
            const bool inside = x >= inset && y >= inset && x < ImageListView::cellWidth - inset &&
                                y < ImageListView::cellHeight - inset;
            const std::size_t at = static_cast<std::size_t>(y) * ImageListView::cellWidth + x;
            if (!inside && cell[at] != frame[at]) return false;
        }
    }
    return true;
}

std::vector<int> framedItems(const Thumbnail& strip) {
    std::vector<int> framed;
    for (int i = 0; i < strip.list()->itemCount(); ++i) {
        if (isFramed(cellPixels(strip.list()->images(), i))) framed.push_back(i);
    }
    return framed;
}

// "FPNL" with a dot for each of first, previous, next and last that is disabled.
std::string enabledButtons(const Thumbnail& strip) {
    std::string states;
    states += strip.firstButton()->isEnabled() ? 'F' : '.';
    states += strip.previousButton()->isEnabled() ? 'P' : '.';
    states += strip.nextButton()->isEnabled() ? 'N' : '.';
    states += strip.lastButton()->isEnabled() ? 'L' : '.';
    return states;
}

void click(ImageButton* button) {
    SendMessageW(button->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button->handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void pressKey(HWND window, WPARAM key) {
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// What a click on an item does inside the control.
void chooseItem(HWND list, int index) {
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

TEST_F(StripTest, OnePictureLeavesEveryButtonDisabled) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(1));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    EXPECT_EQ("....", enabledButtons(*strip));
    EXPECT_EQ(std::vector<int>{0}, owner->shown);
    EXPECT_EQ(std::vector<int>{0}, framedItems(*strip));
}

TEST_F(StripTest, ButtonsMoveTheSelectionAndStopAtTheEnds) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(2));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    EXPECT_EQ("....", enabledButtons(*strip)) << "while loading";
    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    EXPECT_EQ("..NL", enabledButtons(*strip));

    click(strip->nextButton());
    EXPECT_EQ("FP..", enabledButtons(*strip));
    strip->onClick(strip->nextButton());  // disabled: only a direct call gets through
    strip->onClick(strip->lastButton());
    EXPECT_EQ(1, strip->selectedIndex());
    EXPECT_EQ(std::vector<int>{1}, framedItems(*strip));

    click(strip->previousButton());
    strip->onClick(strip->previousButton());
    strip->onClick(strip->firstButton());
    EXPECT_EQ(0, strip->selectedIndex());
    EXPECT_EQ("..NL", enabledButtons(*strip));
    click(strip->lastButton());
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1}), owner->shown);
}

TEST_F(StripTest, ChoosingWhileLoadingShowsAtOnceAndAgainAtTheEnd) {
    // Enough that loading is still going on once the first screenful is in.
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(100));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    ASSERT_TRUE(pumpUntil([&] { return strip->loadedCount() >= 4; }));
    const std::vector<COLORREF> plainFirst = cellPixels(strip->list()->images(), 0);

    chooseItem(strip->list()->handle(), 2);
    EXPECT_EQ(std::vector<int>{2}, owner->shown);
    EXPECT_EQ(std::vector<int>{2}, framedItems(*strip));
    EXPECT_FALSE(strip->isAllLoaded());

    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    EXPECT_EQ(100, strip->list()->itemCount());
    EXPECT_EQ((std::vector<int>{2, 2}), owner->shown);
    EXPECT_EQ(std::vector<int>{2}, framedItems(*strip));
    EXPECT_EQ("FPNL", enabledButtons(*strip));

    // The frame moves on and the miniature it covered comes back unchanged.
    click(strip->firstButton());
    chooseItem(strip->list()->handle(), 5);
    EXPECT_EQ(plainFirst, cellPixels(strip->list()->images(), 0));
    EXPECT_EQ(std::vector<int>{5}, framedItems(*strip));
}

TEST_F(StripTest, OnlyTheArrowKeysReachTheList) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(4));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    const HWND list = strip->list()->handle();
    for (WPARAM key : {WPARAM{VK_END}, WPARAM{VK_NEXT}, WPARAM{VK_DOWN}, WPARAM{VK_SPACE}, WPARAM{'2'}}) {
        pressKey(list, key);
    }
    SendMessageW(list, WM_CHAR, L'2', 1);
    EXPECT_EQ(0, strip->selectedIndex());

    pressKey(list, VK_RIGHT);
    EXPECT_EQ(1, strip->selectedIndex());
    pressKey(list, VK_LEFT);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), owner->shown);
}

// A paint while loading must not put the placed items back where the control
// would have arranged them.
TEST_F(StripTest, MiniaturesStandInOneRowTwoPixelsApart) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(12));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    ASSERT_TRUE(pumpUntil([&] { return strip->loadedCount() >= 3; }));
    const HWND list = strip->list()->handle();
    UpdateWindow(list);
    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    UpdateWindow(list);
    const RECT second = itemBounds(list, 1);
    const int stride = second.right - second.left + ImageListView::itemGap;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(second.top, itemBounds(list, i).top) << "item " << i;
        EXPECT_EQ(second.left + (i - 1) * stride, itemBounds(list, i).left) << "item " << i;
    }
    EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(StripTest, ScrollingComesToRestWithAnItemThreePixelsInside) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(20));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    const HWND list = strip->list()->handle();
    const RECT first = itemBounds(list, 0);
    const int stride = first.right - first.left + ImageListView::itemGap;

    SendMessageW(list, WM_HSCROLL, SB_LINERIGHT, 0);
    SendMessageW(list, WM_HSCROLL, SB_LINERIGHT, 0);
    SendMessageW(list, WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(ImageListView::restInset, itemBounds(list, 2).left - first.left);

    // A scroll by some pixels (a dragged thumb) settles at the next pointer move.
    SendMessageW(list, LVM_SCROLL, static_cast<WPARAM>(stride + 20), 0);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(ImageListView::restInset, itemBounds(list, 4).left - first.left);
    SendMessageW(list, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(ImageListView::restInset, itemBounds(list, 3).left - first.left);
}

TEST_F(StripTest, TheFrameIsTheOnlySelectionMark) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(3));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    const HWND list = strip->list()->handle();
    int width = 0;
    const std::vector<COLORREF> shot = screenPixels(list, width);
    const RECT item = itemBounds(list, 0);
    int highlighted = 0;
    for (int y = item.top; y < item.bottom; ++y) {
        for (int x = item.left; x < item.right; ++x) {
            if (shot[static_cast<std::size_t>(y) * width + x] == GetSysColor(COLOR_HIGHLIGHT)) ++highlighted;
        }
    }
    EXPECT_EQ(0, highlighted);

    // The miniature on screen is the framed cell itself, untinted.
    RECT icon{LVIR_ICON, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
    const int left = icon.left + (icon.right - icon.left - ImageListView::cellWidth) / 2;
    std::vector<COLORREF> onScreen;
    for (int y = 0; y < ImageListView::cellHeight; ++y) {
        for (int x = 0; x < ImageListView::cellWidth; ++x) {
            onScreen.push_back(shot[static_cast<std::size_t>(icon.top + y) * width + left + x]);
        }
    }
    EXPECT_EQ(cellPixels(strip->list()->images(), 0), onScreen);
}

// The list takes the keyboard focus when it paints, but must not pull the
// activation away from another window (a dialog, another program).
TEST_F(StripTest, PaintTakesTheFocusOnlyWithinTheActiveWindow) {
    const HWND list = strip->list()->handle();
    const HWND other = CreateWindowExW(0, L"BUTTON", L"other", WS_POPUP | WS_VISIBLE, 300, 300, 100, 40, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    SetFocus(other);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(other, GetActiveWindow());
    EXPECT_EQ(other, GetFocus());

    DestroyWindow(other);
    SetActiveWindow(owner->handle());
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(list, GetFocus());
}
