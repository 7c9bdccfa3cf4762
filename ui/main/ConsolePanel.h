#pragma once
// The strip of playback controls under the picture: play/pause, stop, previous
// and next folder, two step buttons (frames, or chapters in video memory), the
// position bar with the event marker, and the time from the event moment in
// digit pictures. It turns the user's actions into calls on the engine and the
// main window, and mirrors the engine's state whenever the main window refreshes.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "media/AlphaImage.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/ImageTrackBarListener.h"
#include "ui/framework/Window.h"

class ImageButton;
class PanelOwner;
class PlaybackReadout;
class PlayButton;
class PlayTrackBar;
class TrackToolTip;
class VideoPlayer;

class ConsolePanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    // A child of parent at (0, 0) with no size: the main window's layout places it.
    // player must exist already and outlive the panel.
    ConsolePanel(HWND parent, PanelOwner& owner, VideoPlayer& player);
    ~ConsolePanel() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Mirrors the player: enabled buttons, play/pause face, bar range, marker and
    // thumb, and the event offset. Does nothing while the panel is disabled.
    void update();
    // Video memory (2) turns the step buttons' tips into chapter tips.
    void setModeTooltips(int mode);
    // One-shot memory passes false: the buttons and bar are disabled, and the step
    // buttons and the bar also hidden.
    void setControlsEnabled(bool enabled);
    // Puts the bar's thumb at 0 without telling anyone (a new video-memory folder).
    void resetPosition();

    // The time from the event moment as shown: "±00.0", "+%02d.%d" or "-%02d.%d".
    // Only automatic and manual events (kinds 1 and 2) have one.
    static std::wstring eventOffsetText(bool hasInformation, int triggerKind, int currentFrame, int referenceFrame,
                                        int framesPerSecond);

    // The controls, for the main window's layout and for tests.
    PlayButton* playButton() const { return playButton_; }
    ImageButton* stopButton() const { return stopButton_; }
    ImageButton* previousButton() const { return previousButton_; }
    ImageButton* nextButton() const { return nextButton_; }
    ImageButton* frameForwardButton() const { return frameForwardButton_; }
    ImageButton* frameBackButton() const { return frameBackButton_; }
    PlayTrackBar* positionBar() const { return positionBar_; }
    TrackToolTip* toolTip() const { return toolTip_; }

    // The offset's left edge is this far left of the client's right edge.
    static constexpr int offsetFromRight = 83;
    static constexpr int offsetTop = 26;

    void onClick(ImageButton* button) override;
    void onPress(ImageButton* button) override;
    void onTrackChange(ImageTrackBar* bar) override;
    void onTrackBegin(ImageTrackBar* bar) override;
    void onTrackEnd(ImageTrackBar* bar) override;

private:
    using Picture = std::unique_ptr<AlphaImage>;

    // What update reads from the player.
    struct PlayerState {
        bool hasInformation = false;
        int last = -1;
        int current = 0;
        int playState = 0;
        int referenceFrame = -1;
        int triggerKind = 0;
    };

    void createButtons();
    void createPositionBar();
    void createToolTip();

    void onSize(int width);
    void onPaint();
    void onEraseBackground(HDC dc);
    void paintBackground(HDC dc, const RECT& client);
    bool paintEnabledBackground(HDC dc, const RECT& client);
    bool paintDisabledBackground(HDC dc, const RECT& client);

    PlayerState readPlayer() const;
    void updateButtons(const PlayerState& state);
    void updatePositionBar(const PlayerState& state);
    void drawEventOffsetNow();
    void drawEventOffset(HDC dc);
    std::wstring currentOffsetText() const;
    const AlphaImage* offsetPicture(wchar_t character) const;

    void playOrPause();
    void playOrResume();
    bool isAtEndOfLastChapter() const;
    void stepChapter(int step);
    void stepFrame(int step);

    PanelOwner& owner_;
    VideoPlayer& player_;
    // Child controls, freed with their windows.
    PlayButton* playButton_ = nullptr;
    ImageButton* stopButton_ = nullptr;
    ImageButton* frameForwardButton_ = nullptr;
    ImageButton* frameBackButton_ = nullptr;
    ImageButton* previousButton_ = nullptr;
    ImageButton* nextButton_ = nullptr;
    PlayTrackBar* positionBar_ = nullptr;
    // The player's state when a drag of the bar began, to play on after it.
    int dragState_ = 0;
    // Owned by the panel's window: destroyed with it.
    TrackToolTip* toolTip_ = nullptr;
    // The playback rate, the clock of the frame and the position bar's tip.
    std::unique_ptr<PlaybackReadout> readout_;
    // The offset text on screen; empty when unknown.
    std::wstring shownOffset_;

    Picture leftPicture_;
    Picture middleTile_;
    Picture rightPicture_;
    Picture disabledTile_;
    Picture disabledRight_;
    std::array<Picture, 10> digits_;
    Picture point_;
    Picture plus_;
    Picture minus_;
    Picture plusMinus_;
};
