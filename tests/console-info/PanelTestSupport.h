#pragma once
// What the panel tests share: a stand-in for the main window that holds a real
// playback engine with the console and information panels laid out as the main
// window lays them out, records what the panels ask of it, and the fixture
// that opens the sample recordings in it the way the main window does.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "console-info/PanelSamples.h"
#include "controls/ControlTestSupport.h"
#include "media/PlaybackOwner.h"
#include "ui/framework/Window.h"
#include "ui/main/PanelOwner.h"

class ConsolePanel;
class InfoPanel;
class VideoPlayer;

class PanelHost : public Window, public PlaybackOwner, public PanelOwner {
public:
    static constexpr int width = 800;
    static constexpr int height = 420;
    static constexpr int consoleHeight = 65;
    static constexpr int columnWidth = 209;
    static constexpr int infoHeight = 180;

    PanelHost();

    HWND ownerWindow() const override { return handle(); }
    void refresh() override;
    void resetToEmpty() override;
    void repaintInformationPanel() override;
    void resetChart() override {}
    void openNeighbourFolder(int direction) override { neighbourRequests.push_back(direction); }
    void chooseAndOpenFolder() override { ++folderChoices; }

    VideoPlayer* player = nullptr;
    ConsolePanel* console = nullptr;
    InfoPanel* info = nullptr;
    std::vector<int> neighbourRequests;
    int folderChoices = 0;
    // The player's current frame at every refresh, in order.
    std::vector<int> refreshedFrames;
};

// Only guards against a hang; never a claim about speed.
constexpr DWORD kPatienceMs = 30000;

const PanelSamples& panelSamples();

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const PanelSamples& samples() const { return panelSamples(); }
    // As the main window opens a folder of each kind.
    void openEvent(const std::wstring& folder);
    void openVideo(const std::wstring& folder);
    void openShot(const std::wstring& folder, const std::wstring& path);
    // As the main window switches between one-shot memory and the others.
    void applyMode(int mode);
    // A left click in the middle of a control.
    static void click(HWND control);

    PanelHost* host = nullptr;
    VideoPlayer* player = nullptr;
    ConsolePanel* console = nullptr;
    InfoPanel* info = nullptr;
};

// The characters of text drawn from x on at y, each as its picture (idOf gives
// its resource id) at its natural size, side by side.
::testing::AssertionResult showsCharacters(const Snapshot& shot, const std::wstring& text, int x, int y,
                                           const std::function<int(wchar_t)>& idOf);
