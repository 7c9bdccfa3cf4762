#pragma once
// What the console panel shows besides the event offset: the playback rate
// above the offset's box when it is not normal, the clock of the frame in that
// box in video memory (which has no event moment), and the date and time of
// the frame under the position bar's thumb for its tooltip.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "media/AlphaImage.h"

class VideoPlayer;

class PlaybackReadout {
public:
    PlaybackReadout();
    ~PlaybackReadout();
    PlaybackReadout(const PlaybackReadout&) = delete;
    PlaybackReadout& operator=(const PlaybackReadout&) = delete;

    // Draws into a panel whose right picture ends at clientRight.
    void draw(HDC dc, int clientRight, const VideoPlayer& player);
    // Draws only when a read-out differs from what is on screen.
    void drawNow(HWND panel, const VideoPlayer& player);
    // The panel's background was painted over the read-outs.
    void forgetShown();

    // The position bar's tooltip text for a bar value (frames over all
    // chapters in video memory) of the player last attached.
    static void attach(const VideoPlayer* player);
    static std::wstring positionTip(int value);

private:
    void restoreBackground(HDC dc, int clientRight, const RECT& area) const;
    void drawSpeed(HDC dc, int clientRight, const VideoPlayer& player) const;
    void drawFrameClock(HDC dc, int clientRight, const VideoPlayer& player) const;
    static std::wstring speedText(const VideoPlayer& player);
    static std::wstring frameClockText(const VideoPlayer& player);

    // The panel's right picture, to restore what a read-out covered.
    std::unique_ptr<AlphaImage> background_;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    // The read-outs as drawNow last drew them; none when unknown.
    std::optional<std::wstring> shown_;
};
