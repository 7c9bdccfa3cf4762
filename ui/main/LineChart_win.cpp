#include <algorithm>
#include <cwchar>
#include <string>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "media/FrameClock.h"
#include "media/VideoPlayer.h"
#include "platform/LocalTime.h"
#include "resources/ImageIds.h"
#include "ui/main/LineChart.h"

namespace {

constexpr int plotTopEdge = 13;
constexpr int valueLabelX = 5;
constexpr int plotLeftGap = 10;
constexpr int plotRightGap = 55;
constexpr int plotBottomGap = 23;
constexpr int secondsLabelGap = 4;
constexpr int eventLineShortening = 1;

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF gridGrey = RGB(128, 128, 128);
constexpr COLORREF dataOrange = RGB(255, 165, 0);
constexpr COLORREF eventRed = RGB(255, 0, 0);
constexpr COLORREF frameYellow = RGB(255, 255, 0);

constexpr const wchar_t* widestValueLabel = L"+0.00";
constexpr const wchar_t* widestCount = L"999";
constexpr const wchar_t* widestClock = L"00:00:00";

// A pen created for one drawing step and deleted after it.
class OwnedPen {
public:
    OwnedPen(int style, int width, COLORREF colour) : pen_(CreatePen(style, width, colour)) {}
    ~OwnedPen() {
        if (pen_) DeleteObject(pen_);
    }
    OwnedPen(const OwnedPen&) = delete;
    OwnedPen& operator=(const OwnedPen&) = delete;
    HPEN get() const { return pen_; }

private:
    HPEN pen_;
};

// Selects an object into a device context for one scope and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

void drawLine(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void drawText(HDC dc, int x, int y, const std::wstring& text) {
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

int textWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// 0 is no time, so it never shows as the epoch's clock time.
bool clockText(std::int64_t time, std::wstring& text) {
    CalendarTime local;
    if (time == 0 || !platform::timeValueToLocal(time, local)) return false;
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%02d:%02d:%02d", local.hour, local.minute, local.second);
    text = buffer;
    return true;
}

std::unique_ptr<AlphaImage> loadPicture(int id) {
    try {
        auto picture = std::make_unique<AlphaImage>(id);
        if (picture->image()) return picture;
    } catch (const Exception&) {
        // An absent picture leaves the plain black background.
    }
    return nullptr;
}

}  // namespace

LineChart::LineChart(HWND parent, const VideoPlayer& player) : player_(player) {
    create(WS_EX_CONTROLPARENT, defaultClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
           GetModuleHandleW(nullptr), nullptr);
    backgroundBrush_ = CreateSolidBrush(black);
    font_ = CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_CHARACTER_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH, L"ＭＳ ゴシック");
    loadPictures();
    RECT client;
    GetClientRect(handle(), &client);
    layout(client.right, client.bottom);
}

LineChart::~LineChart() {
    dropChart();
    if (font_) DeleteObject(font_);
    if (backgroundBrush_) DeleteObject(backgroundBrush_);
}

LRESULT LineChart::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            layout(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void LineChart::reset() {
    if (!isEnabled() || chart_.isEmpty()) return;
    dropChart();
    InvalidateRect(handle(), nullptr, FALSE);
    UpdateWindow(handle());
}

void LineChart::paint(HDC dc) {
    const SIZE size = chartSize();
    if (chart_.isEmpty()) buildChart(dc, size.cx, size.cy);
    copyChart(dc, 0, size.cx);
    drawCurrentFrameLine(dc);
}

// A refresh comes every frame while playing, and the line moves a pixel or
// less a frame: only the columns it leaves are copied back from the cached
// chart, and nothing is drawn while it stays.
void LineChart::followCurrentFrame() {
    if (!chart_.isEmpty() && drawnLineX_ != unknownLine && currentFrameLineX() == drawnLineX_) return;
    HDC dc = GetDC(handle());
    if (!dc) return;
    if (chart_.isEmpty() || drawnLineX_ == unknownLine) {
        paint(dc);
    } else {
        if (drawnLineX_ != noLine) copyChart(dc, drawnLineX_ - chartX - lineReach, 2 * lineReach + 1);
        drawCurrentFrameLine(dc);
    }
    ReleaseDC(handle(), dc);
}

SIZE LineChart::chartSize() const {
    RECT client;
    GetClientRect(handle(), &client);
    return {client.right - marginWidth, client.bottom - marginHeight};
}

// Columns left .. left + width - 1 of the cached chart, at their place in the window.
void LineChart::copyChart(HDC dc, int left, int width) {
    if (chart_.isEmpty()) return;
    const SIZE size = chartSize();
    left = std::max(left, 0);
    width = std::min(width, static_cast<int>(size.cx) - left);
    if (width <= 0 || size.cy <= 0) return;
    BitBlt(dc, chartX + left, chartY, width, size.cy, chart_.dc(), left, 0, SRCCOPY);
}

void LineChart::layout(int width, int height) {
    if (HDC dc = GetDC(handle())) {
        labelSize_ = measure(dc, widestValueLabel);
        countSize_ = measure(dc, widestCount);
        ReleaseDC(handle(), dc);
    }
    plotLeft_ = labelSize_.cx + plotLeftGap;
    plotTop_ = plotTopEdge;
    plotRight_ = width - countSize_.cx - plotRightGap;
    plotBottom_ = height - labelSize_.cy - plotBottomGap;
    dropChart();
}

void LineChart::onPaint() {
    PAINTSTRUCT paintInfo;
    if (HDC dc = BeginPaint(handle(), &paintInfo)) paint(dc);
    EndPaint(handle(), &paintInfo);
    // Clipped to the update region, the paint may have left a line drawn
    // before elsewhere: the next refresh draws the whole chart.
    drawnLineX_ = unknownLine;
}

void LineChart::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (!hasPictures()) {
        FillRect(dc, &client, backgroundBrush_);
        return;
    }
    const int middleLeft = leftCap_->width();
    const int middleRight = client.right - rightCap_->width();
    if (middleRight > middleLeft) {
        middleTile_->draw(dc, middleLeft, 0, middleRight - middleLeft, middleTile_->height());
    }
    rightCap_->draw(dc, middleRight, 0);
    leftCap_->draw(dc, 0, 0);
}

// A client area too small for the margins leaves the chart empty.
void LineChart::buildChart(HDC dc, int width, int height) {
    if (!chart_.ensure(dc, width, height)) return;
    const RECT whole{0, 0, width, height};
    FillRect(chart_.dc(), &whole, backgroundBrush_);
    drawChart(chart_.dc());
}

void LineChart::drawChart(HDC dc) {
    ChartScale scale = makeScale();
    scale.fitValues(player_.info());

    Selection font(dc, font_);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, white);
    {
        OwnedPen gridPen(PS_DOT, 1, gridGrey);
        drawValueScale(dc, scale, gridPen.get());
        drawSecondsScale(dc, scale, gridPen.get());
    }
    drawClockTimes(dc);
    drawEventLine(dc, scale);
    drawAxes(dc);
    drawDataLine(dc, scale);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}

void LineChart::drawValueScale(HDC dc, const ChartScale& scale, HPEN gridPen) {
    Selection pen(dc, gridPen);
    for (int row = 0; row < ChartScale::gridRows; ++row) {
        const int y = scale.gridY(row);
        drawLine(dc, plotLeft_, y, plotRight_, y);
        drawText(dc, valueLabelX, y - countSize_.cy / 2, scale.gridLabel(row));
    }
}

void LineChart::drawSecondsScale(HDC dc, const ChartScale& scale, HPEN gridPen) {
    Selection pen(dc, gridPen);
    const auto labelWidth = [dc](int second) { return textWidth(dc, std::to_wstring(second)); };
    for (const ChartScale::SecondsMark& mark : scale.secondsMarks(labelWidth)) {
        drawLine(dc, mark.x, plotTop_, mark.x, plotBottom_);
        if (mark.labelled) drawText(dc, mark.labelLeft, plotBottom_ + secondsLabelGap, std::to_wstring(mark.second));
    }
}

void LineChart::drawClockTimes(HDC dc) {
    const IVideoInfo* info = player_.info();
    if (!info) return;
    std::wstring text;
    if (clockText(info->firstFrameTime(), text)) drawText(dc, plotLeft_, 0, text);
    if (clockText(info->lastFrameTime(), text)) drawText(dc, plotRight_ - textWidth(dc, widestClock), 0, text);
}

// Only an event recording has a moment to mark: trigger kind 0 has none.
void LineChart::drawEventLine(HDC dc, const ChartScale& scale) {
    const IVideoInfo* info = player_.info();
    if (!info || info->frameCount() <= 0 || info->triggerKind() == 0) return;
    const int eventFrame = info->referenceFrame();
    if (!info->frameRecord(eventFrame)) return;
    const int eventX = scale.frameX(eventFrame);
    {
        OwnedPen red(PS_SOLID, 1, eventRed);
        Selection pen(dc, red.get());
        drawLine(dc, eventX, plotTop_, eventX, plotBottom_ - eventLineShortening);
    }
    std::wstring text;
    const int clockWidth = textWidth(dc, widestClock);
    if (clockText(player_.recordingTime(), text) && scale.eventTimeFits(eventX, clockWidth)) {
        drawText(dc, eventX - clockWidth / 2, 0, text);
    }
}

void LineChart::drawAxes(HDC dc) {
    Selection pen(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, plotLeft_, plotTop_, nullptr);
    LineTo(dc, plotLeft_, plotBottom_);
    LineTo(dc, plotRight_, plotBottom_);
}

// Frames without a record are left out and the line joins across them. On the
// small scale readings below its bottom are cut off at the plot's lower edge.
void LineChart::drawDataLine(HDC dc, const ChartScale& scale) {
    const IVideoInfo* info = player_.info();
    const int frames = info ? info->frameCount() : 0;
    int first = 0;
    while (first < frames && !info->frameRecord(first)) ++first;
    if (first >= frames) return;

    if (scale.clipsData()) {
        if (HRGN plot = CreateRectRgn(plotLeft_, plotTop_, plotRight_, plotBottom_)) {
            SelectClipRgn(dc, plot);
            DeleteObject(plot);
        }
    }
    {
        OwnedPen orange(PS_SOLID, 2, dataOrange);
        Selection pen(dc, orange.get());
        MoveToEx(dc, plotLeft_, scale.valueY(info->frameRecord(first)->g), nullptr);
        for (int frame = first; frame < frames; ++frame) {
            if (const FrameRecord* record = info->frameRecord(frame)) {
                LineTo(dc, scale.frameX(frame), scale.valueY(record->g));
            }
        }
    }
    SelectClipRgn(dc, nullptr);
}

void LineChart::drawCurrentFrameLine(HDC dc) {
    const int x = currentFrameLineX();
    drawnLineX_ = x;
    if (x == noLine) return;
    OwnedPen yellow(PS_SOLID, 2, frameYellow);
    Selection pen(dc, yellow.get());
    drawLine(dc, x, plotTop_ + chartY, x, plotBottom_ + chartY - 1);
}

int LineChart::currentFrameLineX() const {
    const IVideoInfo* info = player_.info();
    if (!info || info->frameCount() <= 0) return noLine;
    return makeScale().currentFrameX(player_.currentFrame()) + chartX;
}

void LineChart::dropChart() { chart_.release(); }

ChartScale LineChart::makeScale() const {
    const IVideoInfo* info = player_.info();
    const int frames = info ? info->frameCount() : 0;
    return ChartScale(plotLeft_, plotTop_, plotRight_, plotBottom_, frames,
                      FrameClock::forMode(displayMode).framesPerSecond());
}

SIZE LineChart::measure(HDC dc, const wchar_t* text) const {
    Selection font(dc, font_);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    return size;
}

void LineChart::loadPictures() {
    leftCap_ = loadPicture(IDB_CHART_LEFT);
    middleTile_ = loadPicture(IDB_CHART_MIDDLE);
    rightCap_ = loadPicture(IDB_CHART_RIGHT);
}
