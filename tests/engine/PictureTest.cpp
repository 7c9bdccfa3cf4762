// The picture under Wine: letterboxed drawing with either drawing road, the
// brightness on a private copy, the window's pixels at 800 × 480 and
// 640 × 600, and the clipboard copy of exactly what is on screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "engine/EngineFixture.h"
#include "support/WindowPixels.h"
#include "media/FramePainter.h"
#include "resources/MenuIds.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A solid picture: blue 0x40, green 0x80, red 0x20.
Image solidPicture(int width, int height) {
    Image picture(width, height);
    for (int i = 0; i < picture.size(); i += 4) {
        picture.pixels()[i] = 0x40;
        picture.pixels()[i + 1] = 0x80;
        picture.pixels()[i + 2] = 0x20;
    }
    return picture;
}

// A 32-bit memory surface of width × height, white, with its pixels readable.
class Surface {
public:
    Surface(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        FramePainter::fillWhite(dc_, width, height);
    }
    ~Surface() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    std::uint32_t at(int x, int y) const {
        GdiFlush();
        return bits_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

bool closeTo(std::uint32_t actual, std::uint32_t expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((actual >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) > 2) {
            return false;
        }
    }
    return true;
}

std::uint32_t brightened(std::uint32_t colour, const GammaCorrection& brightness) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) result |= brightness.table()[(colour >> shift) & 0xFF] << shift;
    return result;
}

void resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpFor(50);
}

}  // namespace

class PictureTest : public EngineTest {};

TEST(FramePainterTest, EveryDrawingRoadLetterboxesTheBrightenedCopyAndLeavesThePictureAlone) {
    const Image picture = solidPicture(64, 48);
    GammaCorrection brightness;
    brightness.setGamma(2.0);
    const std::uint32_t colour = brightened(0x208040, brightness);
    for (int road = 0; road < 3; ++road) {
        const bool useDrawDib = road == 1;
        SCOPED_TRACE(road == 0 ? "scaled copy" : useDrawDib ? "DrawDibDraw" : "StretchDIBits");
        FramePainter painter(useDrawDib, road == 0);
        Surface wide(800, 480);
        painter.drawPicture(wide.dc(), 800, 480, picture, brightness);
        EXPECT_EQ(wide.at(79, 240), kWhite);
        EXPECT_PRED2(closeTo, wide.at(80, 240), colour);
        EXPECT_PRED2(closeTo, wide.at(719, 0), colour);
        EXPECT_EQ(wide.at(720, 479), kWhite);

        Surface tall(640, 600);
        painter.drawPicture(tall.dc(), 640, 600, picture, brightness);
        EXPECT_EQ(tall.at(320, 59), kWhite);
        EXPECT_PRED2(closeTo, tall.at(0, 60), colour);
        EXPECT_PRED2(closeTo, tall.at(639, 539), colour);
        EXPECT_EQ(tall.at(320, 540), kWhite);
    }
    EXPECT_EQ(picture.pixels()[0], 0x40);
    EXPECT_EQ(picture.pixels()[2], 0x20);
}

// A picture of the area's own size is drawn unstretched, pixel for pixel and
// the right way up (Image keeps its rows bottom-up), on both roads.
TEST(FramePainterTest, APictureOfTheAreasSizeIsDrawnPixelForPixelTheRightWayUp) {
    Image picture = solidPicture(640, 480);
    const int topLeft = (479 * 640 + 0) * 4;  // the last row in memory is the top one
    picture.pixels()[topLeft] = 0xFF;
    picture.pixels()[topLeft + 1] = 0x00;
    picture.pixels()[topLeft + 2] = 0x00;
    GammaCorrection brightness;
    brightness.setGamma(1.0);
    for (bool useDrawDib : {true, false}) {
        SCOPED_TRACE(useDrawDib ? "DrawDibDraw" : "StretchDIBits");
        FramePainter painter(useDrawDib);
        Surface area(640, 480);
        painter.drawPicture(area.dc(), 640, 480, picture, brightness);
        EXPECT_EQ(area.at(0, 0), 0x0000FFu);
        EXPECT_EQ(area.at(1, 0), 0x208040u);
        EXPECT_EQ(area.at(0, 479), 0x208040u);
        EXPECT_EQ(area.at(639, 479), 0x208040u);
    }
}

TEST_F(PictureTest, TheWindowShowsThePictureLetterboxedAt800By480AndAt640By600) {
    player->openEventRecording(samples().eventFolder);
    ASSERT_TRUE(waitForShown(0));

    resize(player->handle(), 800, 480);
    const WindowPixels wide = WindowPixels::ofWindow(player->handle());
    ASSERT_EQ(wide.width, 800);
    EXPECT_EQ(wide.columnCover(79), 0.0);
    EXPECT_GT(wide.columnCover(80), 0.5);
    EXPECT_GT(wide.columnCover(719), 0.5);
    EXPECT_EQ(wide.columnCover(720), 0.0);

    resize(player->handle(), 640, 600);
    const WindowPixels tall = WindowPixels::ofWindow(player->handle());
    ASSERT_EQ(tall.height, 600);
    EXPECT_EQ(tall.rowCover(59), 0.0);
    EXPECT_GT(tall.rowCover(60), 0.5);
    EXPECT_GT(tall.rowCover(539), 0.5);
    EXPECT_EQ(tall.rowCover(540), 0.0);
}

TEST_F(PictureTest, TheClipboardHoldsExactlyTheShownPictureWithItsBrightness) {
    useMode(DisplayModeOneShot);
    player->setOneShotPath(samples().plainShot);
    player->openOneShot(samples().shotFolder);
    ASSERT_TRUE(waitForShown(0));
    const WindowPixels plain = WindowPixels::ofWindow(player->handle());

    player->brightness().setGamma(2.0);
    InvalidateRect(player->handle(), nullptr, FALSE);
    UpdateWindow(player->handle());
    const WindowPixels shown = WindowPixels::ofWindow(player->handle());
    SendMessageW(player->handle(), WM_COMMAND, IDM_COPY_PICTURE, 0);

    ASSERT_TRUE(OpenClipboard(nullptr));
    const WindowPixels copied = WindowPixels::ofBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    ASSERT_EQ(copied.width, 640);
    ASSERT_EQ(copied.height, 480);
    int differences = 0;
    int brightnessMisses = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            differences += copied.at(x, y) != shown.at(x, y);
            brightnessMisses += shown.at(x, y) != brightened(plain.at(x, y), player->brightness());
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(brightnessMisses, 0);
    EXPECT_NE(shown.at(320, 240), plain.at(320, 240));

    // In a wider area only the letterbox is copied.
    resize(player->handle(), 800, 480);
    const WindowPixels wide = WindowPixels::ofWindow(player->handle());
    SendMessageW(player->handle(), WM_COMMAND, IDM_COPY_PICTURE, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const WindowPixels letterbox = WindowPixels::ofBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    ASSERT_EQ(letterbox.width, 640);
    EXPECT_EQ(letterbox.at(0, 100), wide.at(80, 100));
    EXPECT_EQ(letterbox.at(639, 300), wide.at(719, 300));
}
