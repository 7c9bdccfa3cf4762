// The G-sensor chart under Wine: recordings opened by the real engine, the
// chart painted as the main window paints it, and checked by its pixels.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/DisplayMode.h"
#include "app/ModelCode.h"
#include "chart/ChartHost.h"
#include "chart/ChartSamples.h"
#include "support/WindowPixels.h"
#include "media/VideoPlayer.h"
#include "platform/LocalTime.h"
#include "ui/main/LineChart.h"

namespace {

constexpr std::uint32_t black = rgb(0, 0, 0);
constexpr std::uint32_t white = rgb(255, 255, 255);
constexpr std::uint32_t grey = rgb(128, 128, 128);
constexpr std::uint32_t orange = rgb(255, 165, 0);
constexpr std::uint32_t red = rgb(255, 0, 0);
constexpr std::uint32_t yellow = rgb(255, 255, 0);

// The chart's font, made the way the chart makes it, for drawing what it should show.
class ChartFont {
public:
    ChartFont()
        : font_(CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_CHARACTER_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH, L"ＭＳ ゴシック")) {}
    ~ChartFont() { DeleteObject(font_); }

    SIZE measure(const std::wstring& text) const {
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, font_);
        SIZE size{};
        GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        return size;
    }

    void write(HDC dc, int x, int y, const std::wstring& text) const {
        HGDIOBJ previous = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        SelectObject(dc, previous);
    }

private:
    HFONT font_;
};

std::string ascii(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);
    return narrow;
}

std::wstring clockOf(std::int64_t time) {
    CalendarTime local;
    if (!platform::timeValueToLocal(time, local)) return L"";
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d:%02d:%02d", local.hour, local.minute, local.second);
    return text;
}

class LineChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadModelCode();  // the recorder's code, which tags the sample's pictures
        samples_ = new ChartSamples(ChartSamples::write());
    }
    static void TearDownTestSuite() {
        samples_->remove();
        delete samples_;
        samples_ = nullptr;
    }

    void SetUp() override {
        ASSERT_FALSE(samples_->root.empty());
        displayMode = DisplayModeEvent;
        host_ = new ChartHost();
        pumpFor(50);
    }
    void TearDown() override {
        DestroyWindow(host_->handle());
        pumpFor(20);
        displayMode = DisplayModeEvent;
        Window::rethrowPendingFailure();
    }

    // Chart bitmap coordinates to the chart window's.
    static int windowX(int x) { return x + LineChart::chartX; }
    static int windowY(int y) { return y + LineChart::chartY; }
    RECT plot() const { return host_->chart->plotRect(); }
    int plotWidth() const { return plot().right - plot().left; }
    int plotHeight() const { return plot().bottom - plot().top; }
    int chartWidth() const { return ChartHost::clientWidth - LineChart::marginWidth; }
    int chartHeight() const { return ChartHost::chartHeight - LineChart::marginHeight; }

    // The value labels left of the plot, as the chart's font draws them beside the five grid rows.
    void expectValueLabels(const WindowPixels& shown, const std::vector<std::wstring>& labels) const {
        const int rowHalf = font_.measure(L"999").cy / 2;
        const WindowPixels expected = WindowPixels::drawn(chartWidth(), chartHeight(), [&](HDC dc) {
            for (int row = 0; row < 5; ++row) {
                font_.write(dc, 5, plot().top + row * plotHeight() / 4 - rowHalf, labels[row]);
            }
        });
        // Left of the frame line's two pixels at the left edge, above the seconds labels.
        EXPECT_TRUE(shown.sameArea(windowX(0), windowY(0), expected, 0, 0, plot().left - 2, plot().bottom + 4))
            << "expected the scale from " << ascii(labels.front()) << " to " << ascii(labels.back());
    }

    // Pixels of colour in the plot's rows of the columns around x, where a two-pixel pen at x draws.
    int inColumn(const WindowPixels& shown, int x, std::uint32_t colour) const {
        return shown.countInArea(colour,
                                 RECT{windowX(x - 1), windowY(plot().top), windowX(x + 2), windowY(plot().bottom)});
    }
    // Pixels of colour anywhere but in the columns around x.
    static int awayFromColumn(const WindowPixels& shown, int x, std::uint32_t colour) {
        return shown.count(colour) - shown.countInArea(colour, RECT{windowX(x - 2), 0, windowX(x + 3), shown.height});
    }

    int valueY(double g, double top, double range) const {
        return plot().top + static_cast<int>(plotHeight() * (top - g) / range);
    }

    static ChartSamples* samples_;
    ChartHost* host_ = nullptr;
    ChartFont font_;
};

ChartSamples* LineChartTest::samples_ = nullptr;

}  // namespace

TEST_F(LineChartTest, WithoutARecordingTheChartShowsTheSmallScaleTheZeroSecondAndTheAxesOnly) {
    host_->refresh();
    const WindowPixels shown = host_->chartPixels();
    expectValueLabels(shown, {L"+0.50", L"+0.40", L"+0.30", L"+0.20", L"+0.10"});

    const RECT p = plot();
    for (int y = p.top; y < p.bottom; ++y) ASSERT_EQ(shown.at(windowX(p.left), windowY(y)), white) << y;
    for (int x = p.left; x < p.right; ++x) ASSERT_EQ(shown.at(windowX(x), windowY(p.bottom)), white) << x;
    EXPECT_GT(shown.countInArea(grey, RECT{windowX(p.left + 1), windowY(p.top + plotHeight() / 4), windowX(p.right),
                                           windowY(p.top + plotHeight() / 4) + 1}),
              0);
    // The one seconds line is the axis; "0" stands under it and nothing else inside the plot.
    EXPECT_EQ(shown.countInArea(grey, RECT{windowX(p.left + 1), windowY(p.top + 1), windowX(p.right + 1),
                                           windowY(p.top + plotHeight() / 4)}),
              0);
    EXPECT_GT(shown.countInArea(white, RECT{windowX(p.left - 3), windowY(p.bottom + 4), windowX(p.left + 4),
                                            windowY(p.bottom + 4 + 13)}),
              0);
    EXPECT_EQ(shown.count(yellow), 0);
    EXPECT_EQ(shown.count(orange), 0);
    EXPECT_EQ(shown.count(red), 0);
}

TEST_F(LineChartTest, ALargestGOfPointEightGivesTheScaleFromOneToZeroWithThePeakAtTheEventLine) {
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    const WindowPixels shown = host_->chartPixels();
    expectValueLabels(shown, {L"+1.00", L"+0.75", L"+0.50", L"+0.25", L"+0.00"});

    const int last = ChartSamples::eventFrames - 1;
    const int eventX = plot().left + ChartSamples::eventFrame * plotWidth() / last;
    const int peakY = valueY(ChartSamples::peakG, 1.0, 1.0);
    EXPECT_GT(shown.countInArea(orange,
                                RECT{windowX(eventX - 2), windowY(peakY - 2), windowX(eventX + 3), windowY(peakY + 3)}),
              0);
    const int calmX = plot().left + 10 * plotWidth() / last;
    const int calmY = valueY(0.3, 1.0, 1.0);
    EXPECT_GT(
        shown.countInArea(orange, RECT{windowX(calmX - 2), windowY(calmY - 2), windowX(calmX + 3), windowY(calmY + 3)}),
        0);
    EXPECT_EQ(shown.countInArea(orange, RECT{0, 0, shown.width, windowY(peakY - 2)}), 0);
    EXPECT_GT(
        shown.countInArea(red, RECT{windowX(eventX), windowY(plot().top), windowX(eventX + 1), windowY(plot().bottom)}),
        plotHeight() / 2);

    // Start, event and end clock times along the top.
    const IVideoInfo* info = host_->player->info();
    const int clockWidth = font_.measure(L"00:00:00").cx;
    const WindowPixels expected = WindowPixels::drawn(chartWidth(), chartHeight(), [&](HDC dc) {
        font_.write(dc, plot().left, 0, clockOf(info->firstFrameTime()));
        font_.write(dc, eventX - clockWidth / 2, 0, clockOf(host_->player->recordingTime()));
        font_.write(dc, plot().right - clockWidth, 0, clockOf(info->lastFrameTime()));
    });
    EXPECT_TRUE(shown.sameArea(windowX(plot().left), windowY(0), expected, plot().left, 0, plot().right - plot().left,
                               plot().top - 1));
    EXPECT_NE(clockOf(info->firstFrameTime()), clockOf(info->lastFrameTime()));
}

TEST_F(LineChartTest, ReadingsOfAtMostHalfAGGiveTheSmallScaleAndAreCutOffAtThePlotsLowerEdge) {
    ASSERT_TRUE(host_->openEvent(samples_->quietFolder));
    const WindowPixels shown = host_->chartPixels();
    expectValueLabels(shown, {L"+0.50", L"+0.40", L"+0.30", L"+0.20", L"+0.10"});

    const RECT below{windowX(plot().left), windowY(plot().bottom), windowX(plot().right + 2), shown.height};
    EXPECT_EQ(shown.countInArea(orange, below), 0);
    const RECT lowestRow{windowX(plot().left), windowY(plot().bottom - 1), windowX(plot().right),
                         windowY(plot().bottom)};
    EXPECT_GT(shown.countInArea(orange, lowestRow), 0);
    const int highY = valueY(0.4, 0.5, 0.4);
    EXPECT_GT(shown.countInArea(
                  orange, RECT{windowX(plot().left), windowY(highY - 1), windowX(plot().right), windowY(highY + 2)}),
              0);
}

TEST_F(LineChartTest, TheFrameLineFollowsTheFrameOnScreenAndLeavesNoTrace) {
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    WindowPixels shown = host_->chartPixels();
    EXPECT_GT(inColumn(shown, plot().left, yellow), plotHeight());

    host_->player->seek(45);
    host_->refresh();
    shown = host_->chartPixels();
    const int x = plot().left + plotWidth() * 45 / (ChartSamples::eventFrames - 1);
    EXPECT_GT(inColumn(shown, x, yellow), plotHeight());
    EXPECT_EQ(awayFromColumn(shown, x, yellow), 0);
}

// While playing, the refresh copies back only the columns the line leaves:
// frame by frame, forward, back and to a frame on the same column, the chart
// must end as a whole repaint draws it.
TEST_F(LineChartTest, MovingTheFrameLineStepByStepEndsAsAWholeRepaint) {
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    for (int frame : {1, 2, 3, 4, 5, 6, 30, 29, 28, 29, 59, 58, 0}) {
        host_->player->seek(frame);
        host_->refresh();
    }
    const WindowPixels stepped = host_->chartPixels();
    InvalidateRect(host_->chart->handle(), nullptr, TRUE);
    const WindowPixels repainted = host_->chartPixels();
    EXPECT_TRUE(stepped.sameArea(0, 0, repainted, 0, 0, stepped.width, stepped.height));
    EXPECT_EQ(awayFromColumn(stepped, plot().left, yellow), 0);

    host_->player->close();  // nothing open: the line goes and the chart stays
    host_->refresh();
    EXPECT_EQ(host_->chartPixels().count(yellow), 0);
}

TEST_F(LineChartTest, AOneFrameRecordingPutsTheFrameLineAtTheRightEdge) {
    ASSERT_TRUE(host_->openEvent(samples_->singleFolder));
    ASSERT_EQ(host_->player->info()->frameCount(), 1);
    const WindowPixels shown = host_->chartPixels();
    EXPECT_GT(inColumn(shown, plot().right, yellow), plotHeight());
    EXPECT_EQ(awayFromColumn(shown, plot().right, yellow), 0);
}

TEST_F(LineChartTest, TriggerKindZeroHasNoEventLineAndNoEventTime) {
    ASSERT_TRUE(host_->openEvent(samples_->kindlessFolder));
    ASSERT_EQ(host_->player->info()->triggerKind(), 0);
    const WindowPixels shown = host_->chartPixels();
    EXPECT_EQ(shown.count(red), 0);
    const int clockWidth = font_.measure(L"00:00:00").cx;
    const RECT betweenTimes{windowX(plot().left + clockWidth + 2), windowY(0), windowX(plot().right - clockWidth - 2),
                            windowY(plot().top - 1)};
    EXPECT_EQ(shown.countInArea(white, betweenTimes), 0);
    // Start and end times are still there.
    EXPECT_GT(shown.countInArea(white, RECT{windowX(plot().left), windowY(0), windowX(plot().left + clockWidth),
                                            windowY(plot().top - 1)}),
              0);
}

TEST_F(LineChartTest, AVideoChapterHasSixtyOneSecondsLinesWithLabelsThatDoNotOverlap) {
    ASSERT_TRUE(host_->openChapters(samples_->chapterFolder));
    ASSERT_EQ(host_->player->info()->frameCount(), ChartSamples::chapterFrames);
    const WindowPixels shown = host_->chartPixels();
    const RECT p = plot();

    std::set<int> expectedLines;
    for (int second = 1; second <= 60; ++second) expectedLines.insert(p.left + second * plotWidth() / 60);
    std::set<int> gridRows;
    for (int row = 0; row < 5; ++row) gridRows.insert(p.top + row * plotHeight() / 4);
    std::set<int> greyColumns;
    for (int x = p.left + 1; x <= p.right + 1; ++x) {
        for (int y = p.top + 1; y < p.bottom; ++y) {
            if (!gridRows.count(y) && shown.at(windowX(x), windowY(y)) == grey) greyColumns.insert(x);
        }
    }
    EXPECT_EQ(greyColumns, expectedLines);

    // Labels every step seconds, the step being the first whose spacing clears the widest label.
    const int pixelsPerSecond = 10 * plotWidth() / ChartSamples::chapterFrames;
    int step = 1;
    while (pixelsPerSecond * step < font_.measure(L"60").cx + 2) ++step;
    ASSERT_GE(step, 2);  // a label every second would overlap here
    const WindowPixels expected = WindowPixels::drawn(chartWidth(), chartHeight(), [&](HDC dc) {
        for (int second = 0; second <= 60; second += step) {
            const std::wstring text = std::to_wstring(second);
            font_.write(dc, p.left + second * plotWidth() / 60 - font_.measure(text).cx / 2, p.bottom + 4, text);
        }
    });
    EXPECT_TRUE(shown.sameArea(windowX(p.left - 4), windowY(p.bottom + 4), expected, p.left - 4, p.bottom + 4,
                               chartWidth() - (p.left - 4), chartHeight() - (p.bottom + 4)));
}

TEST_F(LineChartTest, EachRecordingRedrawsTheChartButADisabledChartKeepsWhatItHas) {
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    expectValueLabels(host_->chartPixels(), {L"+1.00", L"+0.75", L"+0.50", L"+0.25", L"+0.00"});
    ASSERT_TRUE(host_->openEvent(samples_->quietFolder));
    expectValueLabels(host_->chartPixels(), {L"+0.50", L"+0.40", L"+0.30", L"+0.20", L"+0.10"});

    host_->chart->setEnabled(false);
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    EXPECT_TRUE(host_->chart->hasCachedChart());
    InvalidateRect(host_->chart->handle(), nullptr, FALSE);
    expectValueLabels(host_->chartPixels(), {L"+0.50", L"+0.40", L"+0.30", L"+0.20", L"+0.10"});

    host_->chart->setEnabled(true);
    host_->chart->reset();
    expectValueLabels(host_->chartPixels(), {L"+1.00", L"+0.75", L"+0.50", L"+0.25", L"+0.00"});
}

TEST_F(LineChartTest, AChartTooSmallForItsMarginsDrawsNothingAndComesBackWhenEnlarged) {
    ASSERT_TRUE(host_->openEvent(samples_->peakFolder));
    const HWND chart = host_->chart->handle();
    MoveWindow(chart, 0, ChartHost::clientHeight - 10, 40, 10, TRUE);
    UpdateWindow(chart);
    host_->refresh();
    EXPECT_FALSE(host_->chart->hasCachedChart());

    MoveWindow(chart, 0, ChartHost::clientHeight - ChartHost::chartHeight, ChartHost::clientWidth,
               ChartHost::chartHeight, TRUE);
    UpdateWindow(chart);
    EXPECT_TRUE(host_->chart->hasCachedChart());
    expectValueLabels(host_->chartPixels(), {L"+1.00", L"+0.75", L"+0.50", L"+0.25", L"+0.00"});
}
