#include "chart/ChartHost.h"

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "media/VideoPlayer.h"
#include "ui/main/LineChart.h"

ChartHost::ChartHost() {
    RECT frame{0, 0, clientWidth, clientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    create(0, defaultClassName, L"chart test", style | WS_VISIBLE, 0, 0, frame.right - frame.left,
           frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    player = new VideoPlayer(*this);
    chart = new LineChart(handle(), *player);
    MoveWindow(chart->handle(), 0, clientHeight - chartHeight, clientWidth, chartHeight, TRUE);
    UpdateWindow(handle());
}

void ChartHost::refresh() {
    if (chart && chart->isEnabled()) chart->followCurrentFrame();
}

void ChartHost::resetToEmpty() {
    player->close();
    refresh();
    resetChart();
    displayMode = DisplayModeEvent;
}

void ChartHost::resetChart() {
    if (chart) chart->reset();
}

bool ChartHost::openEvent(const std::wstring& folder) {
    displayMode = DisplayModeEvent;
    player->setOpenMode(displayMode);
    resetChart();
    try {
        player->openEventRecording(folder);
    } catch (const Exception&) {
        return false;
    }
    resetChart();
    refresh();
    return player->info() != nullptr;
}

bool ChartHost::openChapters(const std::wstring& folder) {
    displayMode = DisplayModeVideo;
    player->setOpenMode(displayMode);
    resetChart();
    try {
        player->buildChapterList(folder);
        if (!player->openChapter(0)) return false;
    } catch (const Exception&) {
        return false;
    }
    resetChart();
    refresh();
    return player->info() != nullptr;
}

WindowPixels ChartHost::chartPixels() const {
    UpdateWindow(chart->handle());
    return WindowPixels::ofWindow(chart->handle());
}
