#include "resources/ImageIds.h"
#include "ui/controls/PlayTrackBar.h"

namespace {

constexpr int barX = 249, barY = 26, barWidth = 526, barHeight = 30;
constexpr int markerTop = 11;
// The marker picture's pointer is two columns left of its middle one.
constexpr int markerShift = 2;

}  // namespace

PlayTrackBar::PlayTrackBar(HWND parent) : PlayTrackBar(parent, loadMarkers()) {}

PlayTrackBar::PlayTrackBar(HWND parent, Markers markers)
    : ImageTrackBar(parent, barX, barY, barWidth, barHeight), markerImages_(std::move(markers)) {}

PlayTrackBar::~PlayTrackBar() = default;

PlayTrackBar::Markers PlayTrackBar::loadMarkers() {
    return {std::make_unique<AlphaImage>(IDB_MARKER_AUTO), std::make_unique<AlphaImage>(IDB_MARKER_MANUAL)};
}

void PlayTrackBar::drawTrack(HDC dc, int width, int height) {
    ImageTrackBar::drawTrack(dc, width, height);
    drawMarker(dc);
}

void PlayTrackBar::drawMarker(HDC dc) {
    if ((markerKind != 1 && markerKind != 2) || markerValue < 0) return;
    const AlphaImage& marker = *markerImages_[markerKind - 1];
    marker.draw(dc, thumbCentre(markerValue) - marker.width() / 2 + markerShift, markerTop);
}
