#pragma once
// The console's playback position bar: a sliced track bar at (249, 26), 526 × 30,
// with a marker under the track where the recording's event happened.
#include <windows.h>

#include <array>
#include <memory>

#include "ui/controls/ImageTrackBar.h"

class PlayTrackBar : public ImageTrackBar {
public:
    explicit PlayTrackBar(HWND parent);
    ~PlayTrackBar() override;

    void drawTrack(HDC dc, int width, int height) override;

    // Set by the console panel from the recording information: the event's
    // value (negative: none) and its kind, 1 a detected shock (G), 2 a manual
    // event (S); anything else shows no marker.
    int markerValue = 0;
    int markerKind = 0;

private:
    using Markers = std::array<std::unique_ptr<AlphaImage>, 2>;
    // The markers are loaded before the window exists, so an absent picture
    // leaves no window behind bound to an object that was never finished.
    static Markers loadMarkers();
    PlayTrackBar(HWND parent, Markers markers);

    void drawMarker(HDC dc);

    Markers markerImages_;
};
