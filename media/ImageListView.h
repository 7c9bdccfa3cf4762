#pragma once
// The thumbnail strip's row of miniatures: a system list view in icon mode,
// subclassed so that it only scrolls by whole items and only takes the arrow
// keys. The selection is marked by a frame painted into the miniature itself
// (the control's own selection colours are suppressed by its parent's custom
// draw), so the miniature under the frame is kept to be put back later.
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "media/AlphaImage.h"
#include "media/Image.h"
#include "ui/framework/Window.h"

class ImageListView : public Window {
public:
    static constexpr int cellWidth = 71;
    static constexpr int cellHeight = 53;
    // Between neighbouring items, and how far inside the view an item's left
    // edge comes to rest after scrolling.
    static constexpr int itemGap = 2;
    static constexpr int restInset = 3;
    // Width of the frame of picture 448 that the highlighted cell keeps.
    static constexpr int frameWidth = 2;

    // A visible child list view of parent. Throws WindowException.
    ImageListView(HWND parent, int x, int y, int width, int height);
    ~ImageListView() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Appends a miniature of image with caption below it, one item to the
    // right of the last. Nothing without an image. ImageListViewException 5510
    // when the miniature cannot be made or added.
    void add(const Image* image, const std::wstring& caption);
    struct Entry {
        const Image* image;
        std::wstring caption;
    };
    // Appends the entries as add does, with one image-list addition for all
    // of them (each addition costs about as much as the drawing). All or
    // nothing: ImageListViewException 5510 when the miniatures cannot be
    // made or added; entries without an image are not allowed.
    void addGroup(const std::vector<Entry>& entries);
    // Around a group of adds: drawing is held meanwhile, and the group is
    // drawn at once when it reaches into the view (the first screenful);
    // further out it shows with the next timed redraw.
    void beginGroup();
    void endGroup(int firstAdded);
    // Frames item index (putting the previous item's miniature back) and makes
    // it the focused and selected item. Ignored outside the items.
    // ImageListViewException 5510 when the frame cannot be drawn.
    void select(int index);
    void clear();

    // Draws item index as if it were neither selected nor focused: its
    // miniature and its caption, for the parent's custom draw.
    void drawItemUnmarked(HDC dc, int index) const;
    // Scrolls item index into view and makes it focused and selected; the
    // parent hears of it through LVN_ITEMCHANGED.
    void focusItem(int index);
    int itemCount() const;
    int selectedItem() const { return selectedItem_; }
    HIMAGELIST images() const { return images_; }
    // The view's scroll position in pixels.
    int scrollPosition() const;

private:
    bool onKey(WPARAM key) const;
    void onPaint();
    // The items at least partly in the client area; false when there are none.
    bool itemsInView(int& first, int& last) const;
    bool onHorizontalScroll(int code);
    bool snapToItem();
    bool scrollBy(int dx);
    void takeFocusWithinActiveWindow();
    void redrawItem(int index);
    void fitSpacingToCaption();
    int addMiniature(const Image& image);
    int addMiniatures(const std::vector<Entry>& entries);
    void appendItem(int index, const std::wstring& caption);
    bool insertItem(int index, const std::wstring& caption);
    void holdDrawing();
    void resumeDrawing();
    void settleFirstArrangement();
    int scrollPositionOf(int bar) const;
    RECT itemRect(int index, int part) const;
    void placeItem(int index, const RECT& bounds);

    void restoreSavedCell();
    HBITMAP makeHighlightedCell(int index);

    HFONT font_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HBITMAP savedCell_ = nullptr;
    int selectedItem_ = 0;
    // Distance between the left edges of neighbouring items; 0 before the first.
    int itemStride_ = 0;
    bool drawingHeld_ = false;
    std::unique_ptr<AlphaImage> selectionFrame_;
};
