#include "thumbnails/StripHarness.h"

#include <commctrl.h>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "media/ImageListView.h"
#include "media/ResourceImage.h"

namespace {

// A 32-bit top-down cell-sized DIB section with a DC drawing onto it.
class CellDib {
public:
    CellDib() {
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), ImageListView::cellWidth, -ImageListView::cellHeight, 1, 32, BI_RGB};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        SetStretchBltMode(dc_, COLORONCOLOR);
    }
    ~CellDib() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    std::vector<COLORREF> pixels() const {
        GdiFlush();
        std::vector<COLORREF> result;
        for (int i = 0; i < ImageListView::cellWidth * ImageListView::cellHeight; ++i) {
            const BYTE* pixel = bits_ + 4 * i;
            result.push_back(RGB(pixel[2], pixel[1], pixel[0]));
        }
        return result;
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    BYTE* bits_ = nullptr;
};

}  // namespace

StripOwner::StripOwner() {
    create(0, defaultClassName, L"strip owner", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
           nullptr, GetModuleHandleW(nullptr), nullptr);
    strip = new Thumbnail(*this);
    MoveWindow(strip->handle(), 0, stripTop, width, Thumbnail::stripHeight, TRUE);
    UpdateWindow(handle());
}

void StripOwner::resetToEmpty() {
    ++resets;
    strip->reset();
    strip->repaint(false);
    strip->updateButtons();
}

void StripTest::SetUpTestSuite() {
    // Start-up does both in the program.
    loadModelCode();
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
}

void StripTest::SetUp() {
    owner = new StripOwner;
    strip = owner->strip;
}

void StripTest::TearDown() {
    DestroyWindow(owner->handle());
    pumpFor(0);
}

::testing::AssertionResult openAndLoad(Thumbnail& strip, const std::wstring& folder, bool* tooMany) {
    try {
        const bool result = strip.openOneShotFolder(folder);
        if (tooMany) *tooMany = result;
    } catch (const Exception& failure) {
        return ::testing::AssertionFailure() << "open failed: " << failure.message().size() << " characters";
    }
    if (!pumpUntil([&] { return strip.isAllLoaded(); })) {
        return ::testing::AssertionFailure()
               << "only " << strip.loadedCount() << " of " << strip.totalCount() << " miniatures loaded";
    }
    return ::testing::AssertionSuccess();
}

std::vector<COLORREF> cellPixels(HIMAGELIST images, int index) {
    CellDib cell;
    ImageList_Draw(images, index, cell.dc(), 0, 0, ILD_NORMAL);
    return cell.pixels();
}

std::vector<COLORREF> resourceCell(int id) {
    std::unique_ptr<Image> picture = loadResourceImage(id);
    CellDib cell;
    if (!picture) return cell.pixels();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture->width(), picture->height(), 1, 32, BI_RGB};
    StretchDIBits(cell.dc(), 0, 0, ImageListView::cellWidth, ImageListView::cellHeight, 0, 0, picture->width(),
                  picture->height(), picture->pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
    return cell.pixels();
}

std::vector<COLORREF> screenPixels(HWND window, int& width) {
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB};
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (LONG i = 0; i < client.right * client.bottom; ++i)
        pixels.push_back(RGB(bits[4 * i + 2], bits[4 * i + 1], bits[4 * i]));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

std::wstring itemText(HWND list, int index) {
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

RECT itemBounds(HWND list, int index) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}
