// Choosing a picture in the strip: the buttons, the selection frame and the
// miniature it covers, choosing while loading, the keys the list takes, the
// scroll that rests on an item, and the strip's background.
#include <gtest/gtest.h>

#include "media/ImageListView.h"
#include "media/ResourceImage.h"
#include "resources/ImageIds.h"
#include "thumbnails/OneShotPictures.h"
#include "thumbnails/StripHarness.h"

namespace {

bool isFramed(const std::vector<COLORREF>& cell) {
    static const std::vector<COLORREF> frame = resourceCell(IDB_THUMBNAIL_SELECTION);
    const int inset = ImageListView::frameWidth;
    for (int y = 0; y < ImageListView::cellHeight; ++y) {
        for (int x = 0; x < ImageListView::cellWidth; ++x) {
            const bool onFrame = x < inset || y < inset || x >= ImageListView::cellWidth - inset ||
                                 y >= ImageListView::cellHeight - inset;
            const std::size_t at = static_cast<std::size_t>(y) * ImageListView::cellWidth + x;
            if (onFrame && cell[at] != frame[at]) return false;
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

struct ButtonStates {
    bool first, previous, next, last;
    bool operator==(const ButtonStates&) const = default;
};

ButtonStates buttonStates(const Thumbnail& strip) {
    return {strip.firstButton()->isEnabled(), strip.previousButton()->isEnabled(), strip.nextButton()->isEnabled(),
            strip.lastButton()->isEnabled()};
}

std::ostream& operator<<(std::ostream& out, const ButtonStates& s) {
    return out << "first " << s.first << " previous " << s.previous << " next " << s.next << " last " << s.last;
}

// The client area of a window as it stands on screen.
std::vector<COLORREF> screenPixels(HWND window, int& width, int& height) {
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int i = 0; i < width * height; ++i) {
        const BYTE* pixel = static_cast<const BYTE*>(bits) + 4 * i;
        pixels.push_back(RGB(pixel[2], pixel[1], pixel[0]));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

COLORREF pictureAt(int id, int x, int y) {
    std::unique_ptr<Image> picture = loadResourceImage(id);
    const std::uint8_t* pixel = picture->rowFromTop(y) + 4 * x;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

}  // namespace

TEST_F(StripTest, OnePictureLeavesEveryButtonDisabled) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(1));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    EXPECT_EQ((ButtonStates{false, false, false, false}), buttonStates(*strip));
    EXPECT_EQ(std::vector<int>{0}, owner->shown);
    EXPECT_EQ(std::vector<int>{0}, framedItems(*strip));
}

TEST_F(StripTest, ButtonsMoveTheSelectionAndStopAtTheEnds) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(3));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    EXPECT_EQ((ButtonStates{false, false, false, false}), buttonStates(*strip)) << "while loading";
    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    EXPECT_EQ((ButtonStates{false, false, true, true}), buttonStates(*strip));

    click(strip->nextButton());
    EXPECT_EQ(1, strip->selectedIndex());
    EXPECT_EQ((ButtonStates{true, true, true, true}), buttonStates(*strip));
    click(strip->lastButton());
    EXPECT_EQ(2, strip->selectedIndex());
    EXPECT_EQ((ButtonStates{true, true, false, false}), buttonStates(*strip));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), owner->shown);
    EXPECT_EQ(std::vector<int>{2}, framedItems(*strip));

    strip->onClick(strip->nextButton());  // disabled: only a direct call gets through
    EXPECT_EQ(2, strip->selectedIndex());
    EXPECT_EQ(3u, owner->shown.size());

    click(strip->firstButton());
    EXPECT_EQ(0, strip->selectedIndex());
    strip->onClick(strip->previousButton());
    EXPECT_EQ(0, strip->selectedIndex());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), owner->shown);
    EXPECT_EQ((ButtonStates{false, false, true, true}), buttonStates(*strip));
}

TEST_F(StripTest, TwoPicturesEnableNextAndLastAtTheFirst) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(2));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    EXPECT_EQ((ButtonStates{false, false, true, true}), buttonStates(*strip));
    click(strip->previousButton());
    EXPECT_EQ(0, strip->selectedIndex());
    click(strip->nextButton());
    EXPECT_EQ((ButtonStates{true, true, false, false}), buttonStates(*strip));
}

TEST_F(StripTest, ChoosingWhileLoadingShowsAtOnceAndAgainAtTheEnd) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(12));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    ASSERT_TRUE(pumpUntil([&] { return strip->loadedCount() >= 4; }));
    const std::vector<COLORREF> plainFirst = cellPixels(strip->list()->images(), 0);

    chooseItem(strip->list()->handle(), 2);
    EXPECT_EQ(std::vector<int>{2}, owner->shown);
    EXPECT_EQ(std::vector<int>{2}, framedItems(*strip));
    EXPECT_FALSE(strip->isAllLoaded());

    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    EXPECT_EQ(12, strip->list()->itemCount());
    EXPECT_EQ((std::vector<int>{2, 2}), owner->shown);
    EXPECT_EQ(std::vector<int>{2}, framedItems(*strip));
    EXPECT_EQ((ButtonStates{true, true, true, true}), buttonStates(*strip));

    // The frame moves on and the miniature it covered comes back unchanged.
    click(strip->firstButton());
    EXPECT_EQ(std::vector<int>{0}, framedItems(*strip));
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
    EXPECT_EQ(std::vector<int>{0}, owner->shown);

    pressKey(list, VK_RIGHT);
    EXPECT_EQ(1, strip->selectedIndex());
    pressKey(list, VK_LEFT);
    EXPECT_EQ(0, strip->selectedIndex());
    EXPECT_EQ((std::vector<int>{0, 1, 0}), owner->shown);
}

// A paint while loading must not put the placed items back where the control
// would have arranged them.
TEST_F(StripTest, MiniaturesStandInOneRowTwoPixelsApart) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(12));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    ASSERT_TRUE(pumpUntil([&] { return strip->loadedCount() >= 3; }));
    UpdateWindow(strip->list()->handle());
    ASSERT_TRUE(pumpUntil([&] { return strip->isAllLoaded(); }));
    const HWND list = strip->list()->handle();
    UpdateWindow(list);
    const RECT second = itemBounds(list, 1);
    const int stride = second.right - second.left + ImageListView::itemGap;
    for (int i = 0; i < 12; ++i) {
        const RECT bounds = itemBounds(list, i);
        EXPECT_EQ(second.top, bounds.top) << "item " << i;
        EXPECT_EQ(second.left + (i - 1) * stride, bounds.left) << "item " << i;
    }
    // No second row, so no vertical scroll bar.
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
    int width = 0;
    int height = 0;
    const std::vector<COLORREF> shot = screenPixels(strip->list()->handle(), width, height);
    const RECT selected = itemBounds(strip->list()->handle(), 0);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    int highlighted = 0;
    for (int y = std::max(0L, selected.top); y < std::min<LONG>(height, selected.bottom); ++y) {
        for (int x = std::max(0L, selected.left); x < std::min<LONG>(width, selected.right); ++x) {
            if (shot[static_cast<std::size_t>(y) * width + x] == highlight) ++highlighted;
        }
    }
    EXPECT_EQ(0, highlighted);

    // The miniature on screen is the framed cell itself, untinted.
    RECT icon{LVIR_ICON, 0, 0, 0};
    SendMessageW(strip->list()->handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
    const int left = icon.left + (icon.right - icon.left - ImageListView::cellWidth) / 2;
    const std::vector<COLORREF> cell = cellPixels(strip->list()->images(), 0);
    int differing = 0;
    for (int y = 0; y < ImageListView::cellHeight; ++y) {
        for (int x = 0; x < ImageListView::cellWidth; ++x) {
            const COLORREF onScreen = shot[static_cast<std::size_t>(icon.top + y) * width + left + x];
            if (onScreen != cell[static_cast<std::size_t>(y) * ImageListView::cellWidth + x]) ++differing;
        }
    }
    EXPECT_EQ(0, differing);
}

TEST_F(StripTest, BackgroundPiecesAndLayoutFollowTheWidth) {
    RECT list;
    GetWindowRect(strip->list()->handle(), &list);
    MapWindowPoints(nullptr, strip->handle(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(StripOwner::width / 2 - 253, list.left);
    RECT last;
    GetWindowRect(strip->lastButton()->handle(), &last);
    MapWindowPoints(nullptr, strip->handle(), reinterpret_cast<POINT*>(&last), 2);
    EXPECT_EQ(StripOwner::width - 36, last.left);

    int width = 0;
    int height = 0;
    const std::vector<COLORREF> shot = screenPixels(strip->handle(), width, height);
    auto at = [&](int x, int y) { return shot[static_cast<std::size_t>(y) * width + x]; };
    EXPECT_EQ(pictureAt(IDB_STRIP_LEFT, 10, 5), at(10, 5));
    EXPECT_EQ(pictureAt(IDB_STRIP_MIDDLE, 0, 5), at(100, 5));
    EXPECT_EQ(pictureAt(IDB_STRIP_RIGHT, 64, 80), at(width - 10, 80));
}
