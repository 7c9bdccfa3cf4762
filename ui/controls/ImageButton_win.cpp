#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageButtonListener.h"

namespace {

constexpr UINT_PTR repeatTimer = 0;
constexpr UINT repeatPeriodMs = 100;

std::unique_ptr<AlphaImage> loadFace(int id) {
    return id ? std::make_unique<AlphaImage>(id) : nullptr;
}

}  // namespace

ImageButton::ImageButton(HWND parent, int x, int y, int width, int height) {
    createControl(parent, x, y, width, height);
}

ImageButton::~ImageButton() = default;

LRESULT ImageButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETCURSOR:
            return onSetCursor(message, wParam, lParam);
        case WM_GETDLGCODE:
            return onGetDialogCode(reinterpret_cast<const MSG*>(lParam));
        case WM_KEYDOWN:
            onKeyDown(wParam);
            return 0;
        case WM_KEYUP:
            onKeyUp(wParam);
            return 0;
        case WM_CHAR:
            return 0;
        case WM_LBUTTONDOWN:
            press();
            return 0;
        case WM_LBUTTONUP:
            release(lParam);
            return 0;
        case WM_TIMER:
            onTimer();
            return 0;
        case WM_CAPTURECHANGED:
            onCaptureChanged();
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void ImageButton::setImages(int normalId, int pressedId, int disabledId) {
    normalImage_.reset();
    pressedImage_.reset();
    disabledImage_.reset();
    normalImage_ = std::make_unique<AlphaImage>(normalId);
    pressedImage_ = loadFace(pressedId);
    disabledImage_ = loadFace(disabledId);
}

void ImageButton::redrawNow() {
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}

void ImageButton::onPaint() {
    PAINTSTRUCT paint;
    if (HDC dc = BeginPaint(handle(), &paint)) drawFace(dc);
    EndPaint(handle(), &paint);
}

void ImageButton::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

// Without a cursor of its own the button shows the class cursor, rather than
// whichever cursor the pointer brought in from where it was before.
LRESULT ImageButton::onSetCursor(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!cursor) return Window::windowProc(message, wParam, lParam);
    SetCursor(cursor);
    return 0;
}

// In a dialog the button takes Enter for itself and leaves Tab, arrows and
// other characters to the dialog's navigation.
LRESULT ImageButton::onGetDialogCode(const MSG* query) const {
    if (query && (query->message == WM_KEYDOWN || query->message == WM_CHAR) && query->wParam != VK_RETURN) return 0;
    return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

// The auto-repeat key-downs of a held Enter find the capture already taken.
void ImageButton::onKeyDown(WPARAM key) {
    if (key == VK_RETURN && !isHeld()) press();
}

// Only an Enter pressed on this button clicks it: the key-up of an Enter that
// closed a dialog lands on the button that gets the focus back.
void ImageButton::onKeyUp(WPARAM key) {
    if (key != VK_RETURN || !isHeld()) return;
    ReleaseCapture();
    redrawNow();
    if (listener) listener->onClick(this);
}

// A button disabled while held stops repeating at the next tick.
void ImageButton::onTimer() {
    if (isHeld() && isEnabled()) {
        if (listener) listener->onPress(this);
    } else {
        KillTimer(handle(), repeatTimer);
    }
}

// The capture can be taken away while held (a message box, a disabled
// button): the repeat stops and the face comes up again.
void ImageButton::onCaptureChanged() {
    KillTimer(handle(), repeatTimer);
    if (showsPress()) InvalidateRect(handle(), nullptr, TRUE);
}

// The pressed face shows before the owner reacts to the press.
void ImageButton::press() {
    SetCapture(handle());
    if (showsPress()) redrawNow();
    if (listener) listener->onPress(this);
    SetTimer(handle(), repeatTimer, repeatPeriodMs, nullptr);
}

// A release clicks only when the press began on this button: the button-up
// of a double click that closed a dialog must not click what lies beneath.
void ImageButton::release(LPARAM point) {
    const bool wasHeld = isHeld();
    KillTimer(handle(), repeatTimer);
    ReleaseCapture();
    if (showsPress()) redrawNow();
    if (wasHeld && contains(point) && listener) listener->onClick(this);
}

bool ImageButton::isHeld() const {
    return GetCapture() == handle();
}

bool ImageButton::showsPress() const {
    return bordered || pressedImage_;
}

// Read as unsigned, a point left of or above the button is a large number and
// so lies outside.
bool ImageButton::contains(LPARAM point) const {
    const unsigned x = LOWORD(point);
    const unsigned y = HIWORD(point);
    RECT client;
    GetClientRect(handle(), &client);
    return static_cast<unsigned>(client.left) <= x && x < static_cast<unsigned>(client.right) &&
           static_cast<unsigned>(client.top) <= y && y < static_cast<unsigned>(client.bottom);
}

// The picture covers the whole client area, edge included. A held button with
// neither an edge nor a pressed picture shows only its erased background.
void ImageButton::drawFace(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    const bool pressed = isHeld();
    if (bordered) DrawEdge(dc, &client, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (!normalImage_) return;

    const AlphaImage* face = normalImage_.get();
    if (!isEnabled() && disabledImage_) face = disabledImage_.get();
    int offset = 0;
    if (pressed) {
        if (pressedImage_) {
            face = pressedImage_.get();
        } else if (bordered) {
            offset = 1;
        } else {
            return;
        }
    }
    face->draw(dc, 0, offset, client.right - client.left, client.bottom - client.top, 0, face->width(), face->height());
}
