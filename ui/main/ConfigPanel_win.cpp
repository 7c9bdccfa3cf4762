#include <cwchar>
#include <initializer_list>
#include <string>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/ISoundPlayer.h"
#include "media/VideoPlayer.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/PanelOwner.h"

namespace {

constexpr int barX = 40;
constexpr int volumeY = 22;
constexpr int brightnessY = 56;
constexpr int barWidth = 151;
constexpr int barHeight = 16;
constexpr int minimumVolume = 0;
constexpr int maximumVolume = 16;
constexpr int minimumBrightness = 1;
constexpr int maximumBrightness = 50;
// The brightness bar counts tenths of the gamma value.
constexpr double brightnessScale = 10.0;

constexpr int standardButtonX = 14;
constexpr int openFolderX = 57;
constexpr int openFolderY = 97;
constexpr int openFolderWidth = 102;
constexpr int openFolderHeight = 28;

constexpr int standardVolumeTextId = 5008;
constexpr int standardBrightnessTextId = 5009;
constexpr int openFolderTextId = 5010;

// 10 shows as "1.0", 5 as "0.5".
std::wstring brightnessText(int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%3.1f", value / brightnessScale);
    return text;
}

ImageTrackBar* makeBar(HWND parent, int y, int trackId, int minimum, int maximum, int start) {
    auto* bar = new ImageTrackBar(parent, barX, y, barWidth, barHeight);
    bar->setImages(IDB_SLIDER_THUMB, trackId, 0);
    bar->setRange(minimum, maximum);
    bar->setValue(start, false);
    return bar;
}

ImageButton* makeStandardButton(HWND parent, int y, int width, int height, int normalId, int disabledId) {
    auto* button = new ImageButton(parent, standardButtonX, y, width, height);
    button->setImages(normalId, 0, disabledId);
    button->bordered = false;
    button->cursor = LoadCursorW(nullptr, IDC_HAND);
    return button;
}

}  // namespace

ConfigPanel::ConfigPanel(HWND parent, PanelOwner& owner, VideoPlayer& player) : owner_(owner), player_(player) {
    create(WS_EX_CONTROLPARENT, defaultClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
           nullptr, GetModuleHandleW(nullptr), nullptr);
    createBars();
    createButtons();
    createToolTip();
    try {
        background_ = std::make_unique<AlphaImage>(IDB_CONFIG_BACKGROUND);
    } catch (const Exception&) {
        // Without it the panel shows the plain button face.
    }
}

ConfigPanel::~ConfigPanel() = default;

LRESULT ConfigPanel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

void ConfigPanel::setSoundControlsEnabled(bool enabled) {
    standardVolumeButton_->setEnabled(enabled);
    volumeBar_->setEnabled(enabled);
}

void ConfigPanel::onTrackChange(ImageTrackBar* bar) {
    if (bar == volumeBar_) {
        player_.soundPlayer().setVolume(bar->value());
    } else if (bar == brightnessBar_) {
        applyBrightness();
    }
}

void ConfigPanel::onTrackBegin(ImageTrackBar*) {}

void ConfigPanel::onTrackEnd(ImageTrackBar*) {}

// The standard buttons go through the bar's notification, so a bar already at
// its standard value sends nothing.
void ConfigPanel::onClick(ImageButton* button) {
    if (button == openFolderButton_) {
        owner_.chooseAndOpenFolder();
    } else if (button == standardVolumeButton_) {
        volumeBar_->setValue(standardVolume, true);
    } else if (button == standardBrightnessButton_) {
        brightnessBar_->setValue(standardBrightness, true);
    }
}

void ConfigPanel::onPress(ImageButton*) {}

// The starting values are set before the listener, so they notify nobody.
void ConfigPanel::createBars() {
    volumeBar_ = makeBar(handle(), volumeY, IDB_VOLUME_TRACK, minimumVolume, maximumVolume, standardVolume);
    brightnessBar_ =
        makeBar(handle(), brightnessY, IDB_BRIGHTNESS_TRACK, minimumBrightness, maximumBrightness, standardBrightness);
    brightnessBar_->valueFormatter = brightnessText;
    volumeBar_->listener = this;
    brightnessBar_->listener = this;
}

void ConfigPanel::createButtons() {
    standardVolumeButton_ =
        makeStandardButton(handle(), volumeY, 17, 15, IDB_STANDARD_VOLUME, IDB_STANDARD_VOLUME_DISABLED);
    standardBrightnessButton_ = makeStandardButton(handle(), brightnessY, 16, 16, IDB_STANDARD_BRIGHTNESS, 0);
    openFolderButton_ = new ImageButton(handle(), openFolderX, openFolderY, openFolderWidth, openFolderHeight);
    openFolderButton_->setImages(IDB_OPEN_FOLDER, IDB_OPEN_FOLDER_PRESSED, IDB_OPEN_FOLDER_DISABLED);
    for (ImageButton* button : {standardVolumeButton_, standardBrightnessButton_, openFolderButton_}) {
        button->listener = this;
    }
}

void ConfigPanel::createToolTip() {
    toolTip_ = new TrackToolTip(handle());
    for (ImageTrackBar* bar : {volumeBar_, brightnessBar_}) {
        bar->toolTip = toolTip_;
        toolTip_->addTrackingTool(bar->handle(), bar->valueText());
    }
    toolTip_->addTool(loadText(standardVolumeTextId), standardVolumeButton_->handle());
    toolTip_->addTool(loadText(standardBrightnessTextId), standardBrightnessButton_->handle());
    toolTip_->addTool(loadText(openFolderTextId), openFolderButton_->handle());
}

// The controls are drawn at once after the background, so they do not wait
// for their own paint messages with the bare panel showing.
void ConfigPanel::onEraseBackground(HDC dc) {
    if (background_ && background_->image()) {
        background_->draw(dc, 0, 0);
    } else {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    for (Window* control : std::initializer_list<Window*>{volumeBar_, brightnessBar_, standardVolumeButton_,
                                                          standardBrightnessButton_, openFolderButton_}) {
        UpdateWindow(control->handle());
    }
}

void ConfigPanel::applyBrightness() {
    player_.brightness().setGamma(brightnessBar_->value() / brightnessScale);
    InvalidateRect(player_.handle(), nullptr, FALSE);
    UpdateWindow(player_.handle());
}
