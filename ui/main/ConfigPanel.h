#pragma once
// The panel at the foot of the main window's right column: the sound volume
// and picture brightness sliders, a button beside each that returns it to its
// standard value, and the open-folder button. The sliders act on the playback
// engine's sound player and brightness table as they move.
#include <windows.h>

#include <memory>

#include "media/AlphaImage.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/ImageTrackBarListener.h"
#include "ui/framework/Window.h"

class ImageButton;
class ImageTrackBar;
class PanelOwner;
class TrackToolTip;
class VideoPlayer;

class ConfigPanel : public Window, public ImageButtonListener, public ImageTrackBarListener {
public:
    static constexpr int width = 209;
    static constexpr int height = 140;
    // Full volume, and gamma 1.0 (pictures unchanged); every start begins with these.
    static constexpr int standardVolume = 16;
    static constexpr int standardBrightness = 10;

    // A child of parent, placed and sized later by the main window.
    ConfigPanel(HWND parent, PanelOwner& owner, VideoPlayer& player);
    ~ConfigPanel() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Volume means nothing for one-shot pictures: the main window greys the
    // volume bar and its button in that mode.
    void setSoundControlsEnabled(bool enabled);

    void onTrackChange(ImageTrackBar* bar) override;
    void onTrackBegin(ImageTrackBar* bar) override;
    void onTrackEnd(ImageTrackBar* bar) override;
    void onClick(ImageButton* button) override;
    void onPress(ImageButton* button) override;

    ImageTrackBar* volumeBar() const { return volumeBar_; }
    ImageTrackBar* brightnessBar() const { return brightnessBar_; }
    ImageButton* standardVolumeButton() const { return standardVolumeButton_; }
    ImageButton* standardBrightnessButton() const { return standardBrightnessButton_; }
    ImageButton* openFolderButton() const { return openFolderButton_; }
    TrackToolTip* toolTip() const { return toolTip_; }

private:
    void createBars();
    void createButtons();
    void createToolTip();
    void onEraseBackground(HDC dc);
    void applyBrightness();

    PanelOwner& owner_;
    VideoPlayer& player_;
    // Child windows, deleted with their windows.
    ImageTrackBar* volumeBar_ = nullptr;
    ImageTrackBar* brightnessBar_ = nullptr;
    ImageButton* standardVolumeButton_ = nullptr;
    ImageButton* standardBrightnessButton_ = nullptr;
    ImageButton* openFolderButton_ = nullptr;
    TrackToolTip* toolTip_ = nullptr;
    std::unique_ptr<AlphaImage> background_;
};
