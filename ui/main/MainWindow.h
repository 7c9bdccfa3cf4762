#pragma once
// The application's only top-level window: it owns the playback window, the
// four panels, the thumbnail strip and the start-up logo, lays them out,
// answers the menu, opens recording folders and the folders next to them, and
// reports every failure of these operations.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "media/PlaybackOwner.h"
#include "media/ThumbnailOwner.h"
#include "ui/framework/Window.h"
#include "ui/main/PanelOwner.h"

class AlphaImage;
class Animation;
class ConfigPanel;
class ConsolePanel;
class InfoPanel;
class KeyboardShortcuts;
class LineChart;
class PlaybackCommands;
class Thumbnail;
class VideoPlayer;

class MainWindow : public Window, public PlaybackOwner, public ThumbnailOwner, public PanelOwner {
public:
    static constexpr int minimumWidth = 800;
    static constexpr int minimumHeight = 640;
    static constexpr int bottomBandHeight = 90;

    MainWindow();
    ~MainWindow() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void startLogoAnimation();

    // PlaybackOwner, ThumbnailOwner
    HWND ownerWindow() const override { return handle(); }
    void refresh() override;
    void resetToEmpty() override;
    void repaintInformationPanel() override;
    void resetChart() override;
    void showOneShotPicture(int index) override;
    // PanelOwner
    void openNeighbourFolder(int direction) override;
    void chooseAndOpenFolder() override;

    // Opens a folder as if chosen in the folder dialog; failures are reported
    // to the user in a warning box.
    void openFolder(const std::wstring& path);
    // The caption that updateTitle sets for the present state.
    std::wstring titleText() const;
    // Whether a recording is open or the thumbnail strip holds pictures.
    bool isShowingSomething() const;
    // Settles displayMode by the folder's contents; false when the folder
    // holds nothing to show in the resulting mode.
    bool chooseDisplayMode(const std::wstring& folder);

    VideoPlayer* player() const { return player_; }
    ConsolePanel* consolePanel() const { return consolePanel_; }
    ConfigPanel* configPanel() const { return configPanel_; }
    InfoPanel* infoPanel() const { return infoPanel_; }
    LineChart* lineChart() const { return lineChart_; }
    Thumbnail* thumbnail() const { return thumbnail_; }
    Animation* animation() const { return animation_; }
    const wchar_t* currentFolder() const { return currentFolder_; }
    // The keyboard's commands, and the keys that reach them from the message loop.
    PlaybackCommands& playbackCommands() const { return *playbackCommands_; }
    KeyboardShortcuts& keyboardShortcuts() const { return *keyboardShortcuts_; }

private:
    static void registerClassOnce();
    void createWindow();
    void loadDecoration();
    void createChildren();

    void onSize(int width, int height);
    void onPaint();
    void onClose();
    void onEraseBackground(HDC dc);
    void onMinMaxInfo(MINMAXINFO* info);
    void onCommand(int command);
    void onDropFiles(HDROP drop);
    void onInitMenuPopup(HMENU menu);

    void layoutChildren(int width, int height);
    void paintBackground(HDC dc);
    void applyModeLayout();
    void updateTitle();
    void confirmClose();
    void pauseIfPlaying();
    void emptyThumbnails();
    void closeRecording();
    void destroyAnimation();
    void openFolderSteps();
    void openEventFolder();
    void openOneShotFolder();
    void openVideoFolder();
    void resetPositionBar();
    void recoverFromFailedOpen(const std::wstring& message);
    void openHelpCommand();
    void exportCommand();
    void warn(const std::wstring& text) const;

    VideoPlayer* player_ = nullptr;
    ConsolePanel* consolePanel_ = nullptr;
    ConfigPanel* configPanel_ = nullptr;
    InfoPanel* infoPanel_ = nullptr;
    LineChart* lineChart_ = nullptr;
    Thumbnail* thumbnail_ = nullptr;
    std::unique_ptr<AlphaImage> columnTop_;
    std::unique_ptr<AlphaImage> columnMiddle_;
    std::unique_ptr<AlphaImage> columnBottom_;
    std::unique_ptr<AlphaImage> leftStrip_;
    Animation* animation_ = nullptr;
    std::unique_ptr<PlaybackCommands> playbackCommands_;
    std::unique_ptr<KeyboardShortcuts> keyboardShortcuts_;
    wchar_t currentFolder_[MAX_PATH] = {};
    wchar_t cardFolder_[MAX_PATH] = {};
};
