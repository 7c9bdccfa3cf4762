#include <algorithm>
#include <climits>

#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/ImageTrackBarListener.h"
#include "ui/controls/TrackToolTip.h"

namespace {

constexpr UINT_PTR repeatTimer = 0;
constexpr UINT repeatPeriodMs = 100;
constexpr int tipAboveBar = 20;

// The pointer's x: the low word of the coordinates, signed, as left of the bar is negative.
int pointerX(LPARAM point) {
    return static_cast<short>(LOWORD(point));
}

// Truncated toward zero; saturated, because converting a double outside the
// range of int is undefined.
int truncateToInt(double value) {
    if (value <= INT_MIN) return INT_MIN;
    if (value >= INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

// The strip form of draw for one source column range, skipped when either
// width is empty: a negative width would mirror the picture.
void drawColumns(HDC dc, const AlphaImage& picture, int x, int width, int height, int sourceX, int sourceWidth) {
    if (width <= 0 || sourceWidth <= 0) return;
    picture.draw(dc, x, 0, width, height, sourceX, sourceWidth, picture.height());
}

}  // namespace

ImageTrackBar::ImageTrackBar(HWND parent, int x, int y, int width, int height) {
    createControl(parent, x, y, width, height);
}

ImageTrackBar::~ImageTrackBar() = default;

LRESULT ImageTrackBar::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            onSize();
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_GETDLGCODE:
            return onGetDialogCode(reinterpret_cast<const MSG*>(lParam));
        case WM_LBUTTONDOWN:
            onLeftButtonDown(pointerX(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (isHeld()) onMouseMove(pointerX(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (isHeld()) onLeftButtonUp(pointerX(lParam));
            return 0;
        case WM_TIMER:
            onTimer();
            return 0;
        case WM_CAPTURECHANGED:
            onCaptureChanged();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            onFocusChanged(message == WM_SETFOCUS);
            return Window::windowProc(message, wParam, lParam);
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void ImageTrackBar::setImages(int thumbId, int trackId, int fillId) {
    thumbImage_.reset();
    trackImage_.reset();
    fillImage_.reset();
    thumbImage_ = std::make_unique<AlphaImage>(thumbId);
    trackImage_ = std::make_unique<AlphaImage>(trackId);
    if (fillId) fillImage_ = std::make_unique<AlphaImage>(fillId);
}

// A value still inside the new range keeps its thumb where it was; callers
// that change the range set the value again.
void ImageTrackBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    if (value_ >= minimum_ && value_ <= maximum_) return;
    const int clamped = std::clamp(value_, minimum_, maximum_);
    const int position = positionOf(clamped);
    if (position != thumbX_) {
        thumbX_ = position;
        redrawNow();
    }
    value_ = clamped;
}

void ImageTrackBar::setValue(int newValue, bool notify) {
    const int clamped = std::clamp(newValue, minimum_, maximum_);
    const int position = positionOf(clamped);
    if (position != thumbX_) {
        thumbX_ = position;
        redrawNow();
    }
    if (clamped == value_) return;
    value_ = clamped;
    if (notify && listener) listener->onTrackChange(this);
}

int ImageTrackBar::positionOf(int v) const {
    if (!hasPictures() || maximum_ == minimum_) return 0;
    const double travel = clientWidth() - thumbImage_->width();
    return truncateToInt((static_cast<double>(v) - minimum_) * travel / (static_cast<double>(maximum_) - minimum_));
}

int ImageTrackBar::thumbCentre(int v) const {
    if (!hasPictures()) return 0;
    return positionOf(v) + halfThumb();
}

std::wstring ImageTrackBar::valueText() const {
    return valueFormatter ? valueFormatter(value_) : std::to_wstring(value_);
}

void ImageTrackBar::drawTrack(HDC dc, int width, int /*height*/) {
    const int thumbWidth = thumbImage_->width();
    const int trackWidth = trackImage_->width();
    const int trackHeight = trackImage_->height();
    if (thumbWidth >= trackWidth) return;
    const AlphaImage& fill = fillImage_ ? *fillImage_ : *trackImage_;
    const int half = thumbWidth / 2;
    const int centre = thumbX_ + half;
    drawColumns(dc, fill, 0, half, trackHeight, 0, half);
    drawColumns(dc, fill, half, thumbX_, trackHeight, half, fill.width() - thumbWidth);
    drawColumns(dc, *trackImage_, width - half, half, trackHeight, trackWidth - half, half);
    drawColumns(dc, *trackImage_, centre, width - centre - half, trackHeight, half, trackWidth - thumbWidth);
}

void ImageTrackBar::onSize() {
    thumbX_ = positionOf(value_);
    InvalidateRect(handle(), nullptr, TRUE);
    UpdateWindow(handle());
}

// Drawn off screen and copied in one go, so the thumb does not flicker while
// dragged. The buffer and its context are kept: the position bar repaints as
// often as its thumb moves while a recording plays.
void ImageTrackBar::onPaint() {
    PAINTSTRUCT paint;
    if (HDC dc = BeginPaint(handle(), &paint)) paintInto(dc);
    EndPaint(handle(), &paint);
}

// A moved thumb is drawn at once into the window's context: while a recording
// plays it moves every frame or two, and invalidating and updating for it cost
// Wine several server round trips each time.
void ImageTrackBar::redrawNow() {
    HDC dc = GetDC(handle());
    if (!dc) {
        InvalidateRect(handle(), nullptr, FALSE);
        UpdateWindow(handle());
        return;
    }
    paintInto(dc);
    ReleaseDC(handle(), dc);
}

void ImageTrackBar::paintInto(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    if (buffer_.ensure(dc, width, height)) {
        HDC buffer = buffer_.dc();
        // What the pictures leave uncovered shows the background the erase
        // would have given.
        FillRect(buffer, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        draw(buffer, width, height);
        BitBlt(dc, 0, 0, width, height, buffer, 0, 0, SRCCOPY);
    } else {
        draw(dc, width, height);
    }
}

void ImageTrackBar::draw(HDC dc, int width, int height) {
    if (!hasPictures()) return;
    if (sliced) {
        drawTrack(dc, width, height);
    } else {
        trackImage_->draw(dc, 0, 0);
    }
    thumbImage_->draw(dc, thumbX_, 0);
    if (focused_) {
        const RECT focus{1, 1, width - 1, height - 1};
        DrawFocusRect(dc, &focus);
    }
}

void ImageTrackBar::onEraseBackground(HDC dc) {
    if (trackImage_) return;
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

// The bar has no keyboard control: in a dialog, keys go to the navigation.
LRESULT ImageTrackBar::onGetDialogCode(const MSG* query) const {
    if (query && (query->message == WM_KEYDOWN || query->message == WM_CHAR)) return 0;
    return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

// A press on the thumb keeps the value, so grabbing the thumb does not make it jump.
void ImageTrackBar::onLeftButtonDown(int x) {
    if (!(hasPictures() && isOnThumb(x))) setFromPointer(x + halfThumb(), false);
    if (listener) {
        listener->onTrackBegin(this);
        listener->onTrackChange(this);
    }
    SetCapture(handle());
    held_ = true;
    SetTimer(handle(), repeatTimer, repeatPeriodMs, nullptr);
    if (toolTip) {
        moveTrackingTip(x);
        toolTip->showTracking(handle(), valueText());
    }
}

// Moves change the value silently; the owner sees it at the next tick or the release.
void ImageTrackBar::onMouseMove(int x) {
    setFromPointer(x + halfThumb(), false);
    if (toolTip) moveTrackingTip(x);
}

// The repeat timer is left to stop itself at its next tick, the capture being gone.
void ImageTrackBar::onLeftButtonUp(int x) {
    ReleaseCapture();
    setFromPointer(x + halfThumb(), true);
    if (toolTip) toolTip->hideTracking(handle());
    if (listener) {
        listener->onTrackChange(this);
        listener->onTrackEnd(this);
    }
}

// A bar disabled while held stops its ticks at the next one.
void ImageTrackBar::onTimer() {
    if (isHeld() && isEnabled()) {
        if (listener) listener->onTrackChange(this);
    } else {
        KillTimer(handle(), repeatTimer);
    }
}

// A drag ended by a lost capture (a message box, another window) gets no
// release, so its tooltip would otherwise stay on screen. The system reports
// every loss of the capture here, a release by the bar itself included.
void ImageTrackBar::onCaptureChanged() {
    held_ = false;
    if (toolTip) toolTip->hideTracking(handle());
}

// The focus rectangle comes and goes with the focus.
void ImageTrackBar::onFocusChanged(bool focused) {
    focused_ = focused;
    redrawNow();
}

// px is the thumb's centre. Without travel (a bar no wider than its thumb) no
// pointer position names a value.
void ImageTrackBar::setFromPointer(int px, bool notify) {
    if (!hasPictures()) return;
    const double travel = clientWidth() - thumbImage_->width();
    if (travel <= 0) return;
    const double raw = minimum_ + (static_cast<double>(maximum_) - minimum_) * (px - halfThumb()) / travel;
    setValue(truncateToInt(std::clamp(raw, static_cast<double>(minimum_), static_cast<double>(maximum_))), notify);
}

// The tip stands 20 pixels above the bar, over the thumb, never beyond the bar's ends.
void ImageTrackBar::moveTrackingTip(int x) {
    RECT window;
    GetWindowRect(handle(), &window);
    const int left = window.left;
    const int tipX = std::clamp(left + x + halfThumb(), left, static_cast<int>(window.right));
    const int tipY = window.top - tipAboveBar;
    SendMessageW(toolTip->handle(), TTM_TRACKPOSITION, 0, MAKELPARAM(tipX, tipY));
    toolTip->setToolText(handle(), valueText());
}


bool ImageTrackBar::isOnThumb(int x) const {
    return thumbX_ <= x && x <= thumbX_ + thumbImage_->width();
}

int ImageTrackBar::halfThumb() const {
    return thumbImage_ ? thumbImage_->width() / 2 : 0;
}

int ImageTrackBar::clientWidth() const {
    RECT client;
    GetClientRect(handle(), &client);
    return client.right - client.left;
}
