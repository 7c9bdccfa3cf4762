#include <gtest/gtest.h>

#include <cstdint>

#include "app/Exception.h"
#include "media/AlphaImage.h"
#include "media/ResourceImage.h"

namespace {

constexpr int fourCellsResource = 30001;  // tests/media/TestImages.rc
constexpr int absentResource = 30099;

constexpr COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255), white = RGB(255, 255, 255),
                   grey = RGB(128, 128, 128), background = RGB(1, 2, 3);

// A 4 × 2 picture: red, green, blue, white over four grey pixels.
std::unique_ptr<Image> fourCells() {
    auto image = std::make_unique<Image>(4, 2);
    const COLORREF top[4] = {red, green, blue, white};
    for (int x = 0; x < 4; ++x) {
        std::uint8_t* p = image->rowFromTop(0) + x * 4;
        p[0] = GetBValue(top[x]);
        p[1] = GetGValue(top[x]);
        p[2] = GetRValue(top[x]);
        std::uint8_t* q = image->rowFromTop(1) + x * 4;
        q[0] = q[1] = q[2] = 128;
    }
    return image;
}

// A memory device context over a top-down 32-bit surface we can read back.
class Surface {
public:
    Surface(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = (1 << 16) | (2 << 8) | 3;
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const std::uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace

TEST(AlphaImage, DrawsWholeStretchedOrOneCellAndNothingWhenEmpty) {
    AlphaImage image(fourCells());
    Surface natural(6, 4);
    image.draw(natural.dc(), 1, 1);
    EXPECT_EQ(natural.at(0, 0), background);
    EXPECT_EQ(natural.at(1, 1), red);
    EXPECT_EQ(natural.at(4, 1), white);
    EXPECT_EQ(natural.at(1, 2), grey);
    EXPECT_EQ(natural.at(5, 1), background);
    EXPECT_EQ(natural.at(1, 3), background);

    Surface whole(8, 4);
    image.draw(whole.dc(), 0, 0, 8, 4);
    EXPECT_EQ(whole.at(1, 1), red);
    EXPECT_EQ(whole.at(7, 1), white);
    EXPECT_EQ(whole.at(3, 3), grey);

    Surface cell(4, 4);
    image.draw(cell.dc(), 0, 0, 2, 2, 2, 2, 2);  // the right half: blue, white over grey
    EXPECT_EQ(cell.at(0, 0), blue);
    EXPECT_EQ(cell.at(1, 0), white);
    EXPECT_EQ(cell.at(0, 1), grey);
    EXPECT_EQ(cell.at(2, 0), background);
    image.draw(cell.dc(), 2, 2, 2, 1, 0, 2, 1);  // one row high, counted from the bottom row
    EXPECT_EQ(cell.at(2, 2), grey);
    EXPECT_EQ(cell.at(2, 3), background);

    AlphaImage empty(std::unique_ptr<Image>{});
    EXPECT_EQ(empty.width(), 0);
    Surface untouched(2, 2);
    empty.draw(untouched.dc(), 0, 0);
    empty.draw(untouched.dc(), 0, 0, 2, 2);
    empty.draw(untouched.dc(), 0, 0, 2, 2, 0, 1, 1);
    EXPECT_EQ(untouched.at(1, 1), background);
}

TEST(ResourceImage, DecodesTheImageResourceAndRefusesAnAbsentOne) {
    auto image = loadResourceImage(fourCellsResource);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 4);
    EXPECT_EQ(image->height(), 2);
    const std::uint8_t* topLeft = image->rowFromTop(0);
    EXPECT_EQ(topLeft[2], 255);  // red
    EXPECT_EQ(topLeft[0], 0);

    AlphaImage fromResource(fourCellsResource);
    Surface surface(4, 2);
    fromResource.draw(surface.dc(), 0, 0);
    EXPECT_EQ(surface.at(2, 0), blue);
    EXPECT_EQ(surface.at(3, 1), grey);

    EXPECT_THROW(loadResourceImage(absentResource), WindowException);
    EXPECT_THROW(AlphaImage{absentResource}, WindowException);
}
