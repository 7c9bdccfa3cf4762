#pragma once
// The G-sensor chart along the bottom of the main window: the G magnitude of
// every frame of the open recording over time, with value and seconds scales,
// the start, end and event clock times, a red line at the event and a yellow
// line at the frame on screen. All but the yellow line is drawn once per
// recording into a bitmap; a refresh moves the yellow line over it.
#include <windows.h>

#include <memory>

#include "media/AlphaImage.h"
#include "media/ChartScale.h"
#include "ui/framework/MemoryCanvas.h"
#include "ui/framework/Window.h"

class VideoPlayer;

class LineChart : public Window {
public:
    // Where the cached chart is copied to in the window.
    static constexpr int chartX = 20;
    static constexpr int chartY = 7;
    // The cached chart is the client area less these.
    static constexpr int marginWidth = 45;
    static constexpr int marginHeight = 18;

    // A visible child of parent, placed and sized later by the main window.
    LineChart(HWND parent, const VideoPlayer& player);
    ~LineChart() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Drops the cached chart so the next paint draws the new recording; a
    // disabled chart or one without a cached chart ignores it.
    void reset();
    // The cached chart (built first when there is none) and the current frame's line.
    void paint(HDC dc);
    // Moves the current frame's line to the frame on screen, drawing only what changed.
    void followCurrentFrame();
    // Places the plot in a client area of width × height and drops the cached chart.
    void layout(int width, int height);

    // The plot in the cached chart's coordinates.
    RECT plotRect() const { return {plotLeft_, plotTop_, plotRight_, plotBottom_}; }
    bool hasCachedChart() const { return !chart_.isEmpty(); }
    // Drops the cached chart even while disabled, unlike reset: the empty view
    // must not bring back the chart of a recording closed meanwhile.
    void dropChart();

private:
    void onPaint();
    void onEraseBackground(HDC dc);

    void buildChart(HDC dc, int width, int height);
    void drawChart(HDC dc);
    void drawValueScale(HDC dc, const ChartScale& scale, HPEN gridPen);
    void drawSecondsScale(HDC dc, const ChartScale& scale, HPEN gridPen);
    void drawClockTimes(HDC dc);
    void drawEventLine(HDC dc, const ChartScale& scale);
    void drawAxes(HDC dc);
    void drawDataLine(HDC dc, const ChartScale& scale);
    void drawCurrentFrameLine(HDC dc);
    // The window column of the current frame's line; noLine when nothing is open.
    int currentFrameLineX() const;
    SIZE chartSize() const;
    void copyChart(HDC dc, int left, int width);

    ChartScale makeScale() const;
    SIZE measure(HDC dc, const wchar_t* text) const;
    void loadPictures();
    bool hasPictures() const { return leftCap_ && middleTile_ && rightCap_; }

    const VideoPlayer& player_;
    HBRUSH backgroundBrush_ = nullptr;
    HFONT font_ = nullptr;
    MemoryCanvas chart_;  // the cached chart
    // Where the current frame's line was drawn last.
    static constexpr int noLine = -1;
    static constexpr int unknownLine = -2;
    // Columns on each side of a line's x that its two-pixel pen may cover.
    static constexpr int lineReach = 2;
    int drawnLineX_ = unknownLine;
    int plotLeft_ = 0;
    int plotTop_ = 0;
    int plotRight_ = 0;
    int plotBottom_ = 0;
    SIZE labelSize_{};  // "+0.00"
    SIZE countSize_{};  // "999"
    std::unique_ptr<AlphaImage> leftCap_;
    std::unique_ptr<AlphaImage> middleTile_;
    std::unique_ptr<AlphaImage> rightCap_;
};
