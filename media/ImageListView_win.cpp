#include <algorithm>
#include <iterator>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/ImageListView.h"
#include "resources/ImageIds.h"

namespace {

constexpr int kCannotReadText = 5510;
// As wide as any caption of the strip, in a fixed-pitch font.
constexpr const wchar_t* kWidestCaption = L"0000/00/00 00:00:00";
// Around the caption: the control's label padding plus a little air, so that
// the caption never wraps at its space.
constexpr int kCaptionMarginX = 20;
// Above and below the miniature and under the caption.
constexpr int kCaptionMarginY = 8;
// The image list copies all its miniatures into a new bitmap whenever it
// grows; growing one at a time made filling a folder's 600 quadratic.
constexpr int kImageListGrowth = 64;
// Apart from the control's own timers, whose ids are addresses.
constexpr UINT_PTR kResumeDrawingTimer = 0x7A11;
constexpr UINT kResumeDrawingMs = 100;

ImageListViewException cellFailure() {
    return ImageListViewException(loadText(kCannotReadText));
}

HFONT createCaptionFont() {
    return CreateFontW(10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, L"ＭＳ ゴシック");
}

// A 32-bit DIB section of cells with a memory DC selected onto it for the
// length of a drawing; the bitmap outlives the DC unless released. A DIB, not
// a bitmap of the screen: it is made without asking the display, and the image
// list copies from it at a fraction of the cost, which adds up over hundreds
// of miniatures.
class CellCanvas {
public:
    CellCanvas(int width = ImageListView::cellWidth, int height = ImageListView::cellHeight) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        if (dc_) bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
        if (dc_) SetStretchBltMode(dc_, COLORONCOLOR);
    }
    ~CellCanvas() {
        if (previous_) SelectObject(dc_, previous_);
        if (dc_) DeleteDC(dc_);
        if (bitmap_) DeleteObject(bitmap_);
    }
    CellCanvas(const CellCanvas&) = delete;
    CellCanvas& operator=(const CellCanvas&) = delete;

    bool ready() const { return previous_ != nullptr; }
    HDC dc() const { return dc_; }
    // Deselects the bitmap and hands it to the caller; the canvas is spent.
    HBITMAP release() {
        SelectObject(dc_, previous_);
        previous_ = nullptr;
        HBITMAP bitmap = bitmap_;
        bitmap_ = nullptr;
        return bitmap;
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

void stretchOnto(HDC dc, const Image& image, int left = 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = image.height();  // bottom-up, as every Image
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, left, 0, ImageListView::cellWidth, ImageListView::cellHeight, 0, 0, image.width(), image.height(),
                  image.pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

ImageListView::ImageListView(HWND parent, int x, int y, int width, int height) {
    // The control must not destroy the image list: this object owns it and
    // frees it when the window goes.
    create(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SINGLESEL | LVS_SHAREIMAGELISTS, x, y, width,
           height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    font_ = createCaptionFont();
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    images_ = ImageList_Create(cellWidth, cellHeight, ILC_COLORDDB, 0, kImageListGrowth);
    if (images_) SendMessageW(handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
    fitSpacingToCaption();
    selectionFrame_ = std::make_unique<AlphaImage>(IDB_THUMBNAIL_SELECTION);
}

ImageListView::~ImageListView() {
    clear();
    if (font_) DeleteObject(font_);
    if (images_) ImageList_Destroy(images_);
}

LRESULT ImageListView::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (!onKey(wParam)) return 0;
            break;
        case WM_CHAR:
        case WM_MOUSEWHEEL:
            return 0;
        case WM_HSCROLL:
            resumeDrawing();
            if (onHorizontalScroll(LOWORD(wParam))) return 0;
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (snapToItem()) return 0;
            break;
        case WM_TIMER:
            if (wParam != kResumeDrawingTimer) break;
            resumeDrawing();
            return 0;
        default:
            break;
    }
    return Window::windowProc(message, wParam, lParam);
}

void ImageListView::add(const Image* image, const std::wstring& caption) {
    if (!image || !images_) return;
    const int index = addMiniature(*image);
    holdDrawing();
    appendItem(index, caption);
}

void ImageListView::addGroup(const std::vector<Entry>& entries) {
    if (entries.empty()) return;
    if (!images_) throw cellFailure();
    const int first = addMiniatures(entries);
    holdDrawing();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int index = first + static_cast<int>(i);
        try {
            appendItem(index, entries[i].caption);
        } catch (const ImageListViewException&) {
            // Later images would stand under the wrong items.
            while (ImageList_GetImageCount(images_) > index) ImageList_Remove(images_, index);
            throw;
        }
    }
}

void ImageListView::appendItem(int index, const std::wstring& caption) {
    if (!insertItem(index, caption)) {
        // An image without its item would shift every later item onto the wrong miniature.
        ImageList_Remove(images_, index);
        throw cellFailure();
    }
    if (index == 0) settleFirstArrangement();
    const RECT bounds = itemRect(index, LVIR_BOUNDS);
    itemStride_ = bounds.right - bounds.left + itemGap;
    placeItem(index, bounds);
}

void ImageListView::beginGroup() {
    holdDrawing();
}

void ImageListView::endGroup(int firstAdded) {
    int first = 0;
    int last = 0;
    if (!drawingHeld_ || !itemsInView(first, last) || firstAdded > last) return;
    resumeDrawing();
    UpdateWindow(handle());
}

int ImageListView::addMiniature(const Image& image) {
    CellCanvas miniature;
    if (!miniature.ready()) throw cellFailure();
    stretchOnto(miniature.dc(), image);
    HBITMAP cell = miniature.release();
    const int index = ImageList_Add(images_, cell, nullptr);
    DeleteObject(cell);
    if (index < 0) throw cellFailure();
    return index;
}

// Each new item resizes the scroll bar, which the control redraws at once (a
// good 10 ms a time under some systems, most of a folder's loading time).
// While miniatures arrive, drawing is held and resumed every
// kResumeDrawingMs; the newest ones show up at that pace. The control then
// also sizes its scroll range to the items where they were placed, rather
// than where it first put them.
// The group's miniatures side by side in one bitmap, which the image list
// cuts into cells.
int ImageListView::addMiniatures(const std::vector<Entry>& entries) {
    const int count = static_cast<int>(entries.size());
    CellCanvas row(cellWidth * count, cellHeight);
    if (!row.ready()) throw cellFailure();
    for (int i = 0; i < count; ++i) {
        if (!entries[i].image) throw cellFailure();
        stretchOnto(row.dc(), *entries[i].image, i * cellWidth);
    }
    HBITMAP cells = row.release();
    const int before = ImageList_GetImageCount(images_);
    const int first = ImageList_Add(images_, cells, nullptr);
    DeleteObject(cells);
    if (first < 0) throw cellFailure();
    if (ImageList_GetImageCount(images_) != before + count) {
        while (ImageList_GetImageCount(images_) > before) ImageList_Remove(images_, before);
        throw cellFailure();
    }
    return first;
}

void ImageListView::holdDrawing() {
    if (drawingHeld_) return;
    SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
    drawingHeld_ = true;
    SetTimer(handle(), kResumeDrawingTimer, kResumeDrawingMs, nullptr);
}

void ImageListView::resumeDrawing() {
    if (!drawingHeld_) return;
    KillTimer(handle(), kResumeDrawingTimer);
    drawingHeld_ = false;
    SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
}

// The control may arrange its items once more, at its first paint with items
// in it, which would undo the placing. Drawing into a scrap DC now lets that
// happen while the only item stands where the arrangement puts it anyway.
void ImageListView::settleFirstArrangement() {
    HDC screen = GetDC(handle());
    if (!screen) return;
    HDC scrap = CreateCompatibleDC(screen);
    HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
    if (scrap && pixel) {
        HGDIOBJ previous = SelectObject(scrap, pixel);
        SendMessageW(handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(scrap), PRF_CLIENT);
        SelectObject(scrap, previous);
    }
    if (pixel) DeleteObject(pixel);
    if (scrap) DeleteDC(scrap);
    ReleaseDC(handle(), screen);
}

void ImageListView::drawItemUnmarked(HDC dc, int index) const {
    const RECT icon = itemRect(index, LVIR_ICON);
    RECT label = itemRect(index, LVIR_LABEL);
    const int left = icon.left + (icon.right - icon.left - cellWidth) / 2;
    ImageList_Draw(images_, index, dc, left, icon.top, ILD_NORMAL);

    wchar_t caption[64] = {};
    LVITEMW item{};
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(std::size(caption));
    SendMessageW(handle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    const HGDIOBJ previousFont = SelectObject(dc, font_);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &label, nullptr, 0, nullptr);
    DrawTextW(dc, caption, -1, &label, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, previousFont);
}

bool ImageListView::insertItem(int index, const std::wstring& caption) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.iImage = index;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    return SendMessageW(handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) == index;
}

void ImageListView::select(int index) {
    if (index < 0 || !images_ || index >= ImageList_GetImageCount(images_)) return;
    resumeDrawing();
    restoreSavedCell();
    HBITMAP highlighted = makeHighlightedCell(index);
    ImageList_Replace(images_, index, highlighted, nullptr);
    DeleteObject(highlighted);
    selectedItem_ = index;
    redrawItem(index);
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

void ImageListView::clear() {
    resumeDrawing();
    selectedItem_ = 0;
    if (savedCell_) DeleteObject(savedCell_);
    savedCell_ = nullptr;
    if (images_) ImageList_RemoveAll(images_);
    SendMessageW(handle(), LVM_DELETEALLITEMS, 0, 0);
    itemStride_ = 0;
}

void ImageListView::focusItem(int index) {
    resumeDrawing();
    SendMessageW(handle(), LVM_ENSUREVISIBLE, index, FALSE);
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

int ImageListView::itemCount() const {
    return static_cast<int>(SendMessageW(handle(), LVM_GETITEMCOUNT, 0, 0));
}

// In icon view the scroll bars count pixels.
int ImageListView::scrollPosition() const {
    return scrollPositionOf(SB_HORZ);
}

// Room for the caption on one line under the miniature, and no more: the row
// must fit the view's height above its scroll bar, or a vertical scroll bar
// appears and the items slide up and down. (The system's own spacing is
// taller than the 73 pixels left, and a narrower one wraps the caption.)
void ImageListView::fitSpacingToCaption() {
    SIZE caption{0, 0};
    if (HDC dc = GetDC(handle())) {
        HGDIOBJ previous = SelectObject(dc, font_);
        GetTextExtentPoint32W(dc, kWidestCaption, lstrlenW(kWidestCaption), &caption);
        SelectObject(dc, previous);
        ReleaseDC(handle(), dc);
    }
    const int width = std::max<int>(cellWidth, caption.cx) + kCaptionMarginX;
    const int height = cellHeight + caption.cy + kCaptionMarginY;
    SendMessageW(handle(), LVM_SETICONSPACING, 0, MAKELPARAM(width, height));
}

// Left and right move between items; every other key would start the
// control's type-ahead search or its item commands.
bool ImageListView::onKey(WPARAM key) const {
    return key == VK_LEFT || key == VK_RIGHT;
}

// Every item in view is drawn again on each paint, so no stale selection
// colours or partly covered frames survive a scroll. (Items out of view have
// nothing to draw; asking for all 600 made each paint slow.)
void ImageListView::onPaint() {
    PAINTSTRUCT paint;
    BeginPaint(handle(), &paint);
    int first = 0;
    int last = 0;
    if (itemsInView(first, last)) SendMessageW(handle(), LVM_REDRAWITEMS, first, last);
    takeFocusWithinActiveWindow();
    EndPaint(handle(), &paint);
}

bool ImageListView::itemsInView(int& first, int& last) const {
    const int count = itemCount();
    if (count == 0) return false;
    first = 0;
    last = count - 1;
    if (itemStride_ <= 0) return true;
    RECT client;
    GetClientRect(handle(), &client);
    const int position = std::max(0, scrollPosition());
    first = std::min(count - 1, position / itemStride_);
    last = std::min(count - 1, (position + static_cast<int>(client.right)) / itemStride_);
    return true;
}

bool ImageListView::onHorizontalScroll(int code) {
    if (itemStride_ <= 0 || itemCount() == 0) return false;
    switch (code) {
        case SB_LINELEFT:
            scrollBy(-itemStride_);
            return true;
        case SB_LINERIGHT:
            scrollBy(itemStride_);
            return true;
        case SB_ENDSCROLL:
            snapToItem();
            return true;
        default:
            return false;
    }
}

// Brings the first item whose left edge is at or right of the scroll position
// to rest restInset pixels inside the view. True when the view moved.
bool ImageListView::snapToItem() {
    const int count = itemCount();
    if (itemStride_ <= 0 || count == 0) return false;
    const int position = scrollPosition();
    const int item = position <= 0 ? 0 : (position + itemStride_ - 1) / itemStride_;
    if (item >= count) return false;
    return scrollBy(item * itemStride_ - position - restInset);
}

// True when the view moved: at either end of the range a scroll changes nothing,
// and the pointer messages must then reach the control as usual.
bool ImageListView::scrollBy(int dx) {
    if (dx == 0) return false;
    const int before = scrollPosition();
    SendMessageW(handle(), LVM_SCROLL, static_cast<WPARAM>(dx), 0);
    return scrollPosition() != before;
}

// The arrow keys should reach the strip whenever the viewer is in use, but a
// repaint must not pull the activation away from a dialog or another program.
void ImageListView::takeFocusWithinActiveWindow() {
    if (GetFocus() == handle()) return;
    if (GetActiveWindow() != GetAncestor(handle(), GA_ROOT)) return;
    SetFocus(handle());
}

int ImageListView::scrollPositionOf(int bar) const {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_POS;
    if (!GetScrollInfo(handle(), bar, &scroll)) return 0;
    return scroll.nPos;
}

RECT ImageListView::itemRect(int index, int part) const {
    RECT rect{part, 0, 0, 0};
    SendMessageW(handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// Moves the item so that its bounds start at x = index × itemStride_, y = 0 of
// the view. The position the control takes is not the bounds' corner (the
// icon's, centred in the item), so the move is the difference measured.
void ImageListView::placeItem(int index, const RECT& bounds) {
    POINT position{0, 0};
    SendMessageW(handle(), LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&position));
    position.x += index * itemStride_ - (bounds.left + scrollPositionOf(SB_HORZ));
    position.y += -(bounds.top + scrollPositionOf(SB_VERT));
    // The 32-bit form: the packed 16-bit one wraps beyond x = 32767 (item 430 or so).
    SendMessageW(handle(), LVM_SETITEMPOSITION32, index, reinterpret_cast<LPARAM>(&position));
}

void ImageListView::redrawItem(int index) {
    SendMessageW(handle(), LVM_REDRAWITEMS, index, index);
}

void ImageListView::restoreSavedCell() {
    if (!savedCell_) return;
    if (selectedItem_ >= 0 && selectedItem_ < ImageList_GetImageCount(images_)) {
        ImageList_Replace(images_, selectedItem_, savedCell_, nullptr);
        redrawItem(selectedItem_);
    }
    DeleteObject(savedCell_);
    savedCell_ = nullptr;
}

// The frame picture with the cell's miniature inside it; the plain miniature
// becomes savedCell_.
HBITMAP ImageListView::makeHighlightedCell(int index) {
    CellCanvas plain;
    CellCanvas framed;
    if (!plain.ready() || !framed.ready()) throw cellFailure();
    if (!ImageList_Draw(images_, index, plain.dc(), 0, 0, ILD_NORMAL)) throw cellFailure();
    if (!selectionFrame_->image()) throw cellFailure();
    selectionFrame_->draw(framed.dc(), 0, 0, cellWidth, cellHeight);
    BitBlt(framed.dc(), frameWidth, frameWidth, cellWidth - 2 * frameWidth, cellHeight - 2 * frameWidth, plain.dc(),
           frameWidth, frameWidth, SRCCOPY);
    savedCell_ = plain.release();
    return framed.release();
}
