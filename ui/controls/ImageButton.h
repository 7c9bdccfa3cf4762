#pragma once
// A push button drawn from PNG pictures (normal, pressed, disabled). While down
// it holds the mouse capture and repeats onPress every 100 ms, so a held step
// button keeps stepping; a release over it is a click.
#include <windows.h>

#include <memory>

#include "media/AlphaImage.h"
#include "ui/framework/Window.h"

class ImageButtonListener;

class ImageButton : public Window {
public:
    // A visible child of parent at (x, y) in its client coordinates.
    ImageButton(HWND parent, int x, int y, int width, int height);
    ~ImageButton() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Replaces the faces; a pressed or disabled id of 0 leaves that face out.
    // Throws WindowException for an absent resource. Does not redraw.
    void setImages(int normalId, int pressedId, int disabledId);

    // Set by the owner right after construction.
    ImageButtonListener* listener = nullptr;
    // A 3-D edge; without a pressed picture a press then moves the face one pixel down.
    bool bordered = true;
    // The cursor over the button when set (not owned); otherwise the class cursor.
    HCURSOR cursor = nullptr;

protected:
    std::unique_ptr<AlphaImage> normalImage_;
    std::unique_ptr<AlphaImage> pressedImage_;
    std::unique_ptr<AlphaImage> disabledImage_;

    void redrawNow();

private:
    void onPaint();
    void onEraseBackground(HDC dc);
    LRESULT onSetCursor(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onGetDialogCode(const MSG* query) const;
    void onKeyDown(WPARAM key);
    void onKeyUp(WPARAM key);
    void onTimer();
    void onCaptureChanged();
    void press();
    void release(LPARAM point);

    bool isHeld() const;
    // Whether a press shows at all: buttons with neither keep their face while held.
    bool showsPress() const;
    bool contains(LPARAM point) const;
    void drawFace(HDC dc);
};
