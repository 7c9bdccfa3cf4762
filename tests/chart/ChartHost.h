#pragma once
// A stand-in for the main window: the playback window with the chart along
// the bottom, kept in step with the engine as the main window keeps them.
#include <windows.h>

#include <string>

#include "support/WindowPixels.h"
#include "media/PlaybackOwner.h"
#include "support/MessagePump.h"
#include "ui/framework/Window.h"

class LineChart;
class VideoPlayer;

class ChartHost : public Window, public PlaybackOwner {
public:
    static constexpr int clientWidth = 866;
    static constexpr int chartHeight = 90;
    static constexpr int clientHeight = 480 + 65 + chartHeight;

    ChartHost();

    HWND ownerWindow() const override { return handle(); }
    // Moves the chart's frame line at once while it is enabled.
    void refresh() override;
    void resetToEmpty() override;
    void repaintInformationPanel() override {}
    void resetChart() override;

    // As the main window opens a folder of the mode; false when it failed.
    bool openEvent(const std::wstring& folder);
    bool openChapters(const std::wstring& folder);
    // What the chart shows, and its cached chart's part of it.
    WindowPixels chartPixels() const;

    VideoPlayer* player = nullptr;
    LineChart* chart = nullptr;
};
