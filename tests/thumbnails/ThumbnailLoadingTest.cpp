// Loading a one-shot folder into the strip: the 600-picture limit, captions,
// the placeholder, pictures left over from the previous folder, and folders
// that are empty or go away while loading.
#include <gtest/gtest.h>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/ImageListView.h"
#include "platform/FileSystem.h"
#include "resources/ImageIds.h"
#include "recording/VideoArchive.h"
#include "support/MessageBoxAnswerer.h"
#include "support/WindowPixels.h"
#include "thumbnails/OneShotPictures.h"
#include "thumbnails/StripHarness.h"

namespace {

constexpr int kFolderGoneText = 5078;
constexpr int kCannotReadText = 5510;

int imageCount(const Thumbnail& strip) {
    return ImageList_GetImageCount(strip.list()->images());
}

// The pixels inside the selection frame, which the frame never covers.
std::vector<COLORREF> interior(const std::vector<COLORREF>& cell) {
    std::vector<COLORREF> inside;
    const int inset = ImageListView::frameWidth;
    for (int y = inset; y < ImageListView::cellHeight - inset; ++y) {
        for (int x = inset; x < ImageListView::cellWidth - inset; ++x) {
            inside.push_back(cell[static_cast<std::size_t>(y) * ImageListView::cellWidth + x]);
        }
    }
    return inside;
}

bool imageReadyQueued(HWND window) {
    MSG message;
    return PeekMessageW(&message, window, ImageLoader::imageReadyMessage, ImageLoader::imageReadyMessage,
                        PM_NOREMOVE) != FALSE;
}

// The full-size decode of a picture file, stretched to a cell as the strip
// stretched whole pictures before it decoded them reduced; upside down too,
// to show that the comparison tells an upside-down miniature.
WindowPixels fullPictureInACell(const std::wstring& path, bool upsideDown = false) {
    VideoArchive archive;
    archive.readOneShotFile(path);
    std::unique_ptr<Image> picture = archive.decodeFrame(0);
    return WindowPixels::drawn(ImageListView::cellWidth, ImageListView::cellHeight, [&](HDC dc) {
        if (!picture) return;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture->width(), picture->height(), 1, 32, BI_RGB};
        SetStretchBltMode(dc, COLORONCOLOR);
        const int top = upsideDown ? ImageListView::cellHeight - 1 : 0;
        const int height = upsideDown ? -ImageListView::cellHeight : ImageListView::cellHeight;
        StretchDIBits(dc, 0, top, ImageListView::cellWidth, height, 0, 0, picture->width(),
                      picture->height(), picture->pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
    });
}

// Mean difference per colour byte between a cell-sized area of the screen and a cell.
double meanDifference(const WindowPixels& screen, int left, int top, const WindowPixels& cell) {
    double sum = 0;
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            const std::uint32_t a = screen.at(left + x, top + y);
            const std::uint32_t b = cell.at(x, y);
            for (int shift : {0, 8, 16}) {
                sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
            }
        }
    }
    return sum / (3.0 * cell.width * cell.height);
}

}  // namespace

// Miniatures are decoded reduced; on screen they must still look like the
// full picture scaled down (and not like a neighbour's).
TEST_F(StripTest, MiniatureOnScreenLooksLikeTheFullPictureScaledDown) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(3, 640, 480));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    const HWND list = strip->list()->handle();
    RECT icon{LVIR_ICON, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&icon));
    const int left = icon.left + (icon.right - icon.left - ImageListView::cellWidth) / 2;
    const WindowPixels screen = WindowPixels::ofWindow(list);
    ASSERT_LE(left + ImageListView::cellWidth, screen.width);
    ASSERT_LE(icon.top + ImageListView::cellHeight, screen.height);

    // Item 0 is selected and framed; item 1 shows its miniature as it is.
    const WindowPixels full = fullPictureInACell(strip->picturePath(1));
    const double own = meanDifference(screen, left, icon.top, full);
    const double upsideDown = meanDifference(screen, left, icon.top, fullPictureInACell(strip->picturePath(1), true));
    // Block averages against single sampled pixels differ at sharp edges: about
    // 9 here, against 12 for the same comparison one pixel off.
    EXPECT_LT(own, 11.0) << "the miniature strays from the picture";
    EXPECT_LT(own * 2, upsideDown) << "the comparison cannot tell an upside-down miniature";
}

TEST_F(StripTest, ShowsSixHundredPicturesAndReportsOnlyWhenThereAreMore) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(600));
    bool tooMany = true;
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder(), &tooMany));
    EXPECT_FALSE(tooMany);
    EXPECT_EQ(600, strip->list()->itemCount());
    EXPECT_EQ(600, imageCount(*strip));
    // One row, 2 pixels apart, far beyond the 16-bit coordinates of the packed
    // position message. (Item 0 has the focus, which may widen its bounds.)
    const RECT second = itemBounds(strip->list()->handle(), 1);
    const RECT last = itemBounds(strip->list()->handle(), 599);
    EXPECT_EQ(second.top, last.top);
    EXPECT_EQ(598 * (second.right - second.left + ImageListView::itemGap), last.left - second.left);
    EXPECT_EQ(std::vector<int>{0}, owner->shown);

    ASSERT_TRUE(pictures.add(1));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder(), &tooMany));
    EXPECT_TRUE(tooMany);
    EXPECT_EQ(600, strip->totalCount());
    EXPECT_EQ(600, strip->list()->itemCount());
    EXPECT_EQ(600, imageCount(*strip));
}

TEST_F(StripTest, CaptionsCarryTheLocalTimeOrDashesWithoutOne) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(2));
    ASSERT_TRUE(pictures.addUndated());
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    // Pictures without a time come first.
    const HWND list = strip->list()->handle();
    EXPECT_EQ(L"----/--/-- --:--:--", itemText(list, 0));
    EXPECT_EQ(L"2009/06/15 09:00:00", itemText(list, 1));
    EXPECT_EQ(L"2009/06/15 09:01:00", itemText(list, 2));
    EXPECT_EQ(platform::joinPath(pictures.folder(), L"Pic00003.dpc"), strip->picturePath(0));
    EXPECT_EQ(L"", strip->picturePath(3));
    EXPECT_EQ(L"", strip->picturePath(-1));
}

TEST_F(StripTest, PictureThatDoesNotDecodeGetsThePlaceholder) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(1));
    ASSERT_TRUE(pictures.addUndecodable());
    ASSERT_TRUE(pictures.add(1));
    ASSERT_TRUE(openAndLoad(*strip, pictures.folder()));
    const std::vector<COLORREF> placeholder = resourceCell(IDB_THUMBNAIL_PLACEHOLDER);
    EXPECT_EQ(placeholder, cellPixels(strip->list()->images(), 1));
    EXPECT_NE(placeholder, cellPixels(strip->list()->images(), 2));
    EXPECT_EQ(L"2009/06/15 09:01:00", itemText(strip->list()->handle(), 1));
}

// A picture decoded for the previous folder and still in the queue must not
// become the first miniature of the next one.
TEST_F(StripTest, ReopeningDropsPicturesOfThePreviousFolder) {
    OneShotPictures broken;
    OneShotPictures good;
    ASSERT_TRUE(broken.addUndecodable());
    ASSERT_TRUE(good.add(1));
    ASSERT_NO_THROW(strip->openOneShotFolder(broken.folder()));
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!imageReadyQueued(strip->handle()) && GetTickCount64() < deadline) Sleep(1);
    ASSERT_TRUE(imageReadyQueued(strip->handle()));

    ASSERT_TRUE(openAndLoad(*strip, good.folder()));
    EXPECT_NE(interior(resourceCell(IDB_THUMBNAIL_PLACEHOLDER)), interior(cellPixels(strip->list()->images(), 0)));
}

TEST_F(StripTest, FolderWithoutPicturesIsRefused) {
    OneShotPictures empty;
    try {
        strip->openOneShotFolder(empty.folder());
        FAIL() << "an empty folder was accepted";
    } catch (const Exception& failure) {
        EXPECT_EQ(loadText(kCannotReadText), failure.message());
    }
    EXPECT_TRUE(strip->isEmpty());
    EXPECT_EQ(0, strip->totalCount());
    EXPECT_TRUE(owner->shown.empty());
}

TEST_F(StripTest, FolderVanishingWhileLoadingResetsTheOwnerOnce) {
    OneShotPictures pictures;
    ASSERT_TRUE(pictures.add(20));
    ASSERT_NO_THROW(strip->openOneShotFolder(pictures.folder()));
    ASSERT_TRUE(pumpUntil([&] { return strip->loadedCount() >= 2; }));
    const std::wstring moved = pictures.folder() + L"-moved";
    ASSERT_TRUE(MoveFileW(pictures.folder().c_str(), moved.c_str()));

    MessageBoxAnswerer answerer;
    const bool reset = pumpUntil([&] { return owner->resets > 0; });
    pumpFor(300);  // the retry tick must not bring a second warning
    MoveFileW(moved.c_str(), pictures.folder().c_str());
    ASSERT_TRUE(reset);
    EXPECT_EQ(1, owner->resets);
    EXPECT_EQ(std::vector<std::wstring>{loadText(kFolderGoneText)}, answerer.texts());
    EXPECT_TRUE(strip->isEmpty());
    EXPECT_EQ(0, strip->list()->itemCount());
    EXPECT_TRUE(owner->shown.empty());
}
