#pragma once
// A stand-in for the main window that holds the playback window and records
// what the engine asks of it, a player that also logs the messages it gets,
// and a message pump with a deadline.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "media/PlaybackOwner.h"
#include "media/VideoPlayer.h"
#include "support/MessagePump.h"
#include "ui/framework/Window.h"

class TestOwner : public Window, public PlaybackOwner {
public:
    // A visible top-level window with a client area of width × height.
    TestOwner(int width, int height);

    HWND ownerWindow() const override { return handle(); }
    void refresh() override;
    // As the main window does: closes the recording and returns to event memory.
    void resetToEmpty() override;
    void repaintInformationPanel() override { ++infoRepaints; }
    void resetChart() override { ++chartResets; }

    VideoPlayer* player = nullptr;
    int refreshes = 0;
    int resets = 0;
    int infoRepaints = 0;
    int chartResets = 0;
    // The highest current frame the engine reported at a refresh.
    int highestFrame = -1;
};

class TestPlayer : public VideoPlayer {
public:
    struct Arrival {
        int frame = -1;
        bool withPicture = false;
        std::int32_t soundMs = 0;  // the sound clock when it came
        int chapter = 0;
    };

    explicit TestPlayer(PlaybackOwner& owner) : VideoPlayer(owner) {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    using VideoPlayer::loader;

    int ticks = 0;
    std::vector<Arrival> arrivals;
    // While set, pictures are thrown away before the engine sees them, as if
    // they never came; heldPictures counts them.
    bool holdPictures = false;
    int heldPictures = 0;
};
