#pragma once
// A slider drawn from PNG pictures: a track, an optional fill for the part left
// of the thumb, and a thumb that follows the pointer while the mouse button is
// held. The owner hears of changes every 100 ms while held and at the release;
// an optional tracking tooltip shows the value above the thumb.
#include <windows.h>

#include <memory>
#include <string>

#include "media/AlphaImage.h"
#include "ui/framework/MemoryCanvas.h"
#include "ui/framework/Window.h"

class ImageTrackBarListener;
class TrackToolTip;

class ImageTrackBar : public Window {
public:
    // Turns a value into the tooltip's text.
    using ValueFormatter = std::wstring (*)(int value);

    // A visible child of parent at (x, y) in its client coordinates; range 0 … 100, value 0.
    ImageTrackBar(HWND parent, int x, int y, int width, int height);
    ~ImageTrackBar() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The sliced track: ends of half a thumb from the pictures, middles stretched.
    virtual void drawTrack(HDC dc, int width, int height);

    // A fill id of 0 leaves the fill out. Throws WindowException for an absent resource. Does not redraw.
    void setImages(int thumbId, int trackId, int fillId);
    // A maximum below the minimum becomes the minimum. The value moves only when
    // it falls outside; no notification.
    void setRange(int minimum, int maximum);
    // Clamped into the range; the owner hears of it only when it changed and notify is set.
    void setValue(int newValue, bool notify);
    // The thumb's left edge for value v, in client pixels.
    int positionOf(int v) const;
    int thumbCentre(int v) const;
    // What the tooltip shows for the current value.
    std::wstring valueText() const;

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int thumbX() const { return thumbX_; }
    // True from a press on the bar until it loses the mouse capture: the
    // thumb then follows the pointer.
    bool isHeld() const { return held_; }

    // Set by the owner directly.
    ImageTrackBarListener* listener = nullptr;
    bool sliced = false;
    // Not owned; its tracking tool for this bar is registered by the owner.
    TrackToolTip* toolTip = nullptr;
    // Null shows the value as "%d".
    ValueFormatter valueFormatter = nullptr;

protected:
    std::unique_ptr<AlphaImage> thumbImage_;
    std::unique_ptr<AlphaImage> trackImage_;
    std::unique_ptr<AlphaImage> fillImage_;

private:
    void onSize();
    void onPaint();
    void onEraseBackground(HDC dc);
    LRESULT onGetDialogCode(const MSG* query) const;
    void onLeftButtonDown(int x);
    void onMouseMove(int x);
    void onLeftButtonUp(int x);
    void onTimer();
    void onCaptureChanged();
    void onFocusChanged(bool focused);

    void setFromPointer(int px, bool notify);
    void moveTrackingTip(int x);
    void redrawNow();
    void paintInto(HDC dc);
    void draw(HDC dc, int width, int height);
    bool hasPictures() const { return thumbImage_ && trackImage_; }
    bool isOnThumb(int x) const;
    int halfThumb() const;
    int clientWidth() const;

    int thumbX_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
    bool held_ = false;
    // Kept from the focus messages: asking the system on every redraw cost a
    // server round trip under Wine.
    bool focused_ = false;
    MemoryCanvas buffer_;
};
