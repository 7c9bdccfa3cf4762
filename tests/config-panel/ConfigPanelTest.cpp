// The configuration panel under Wine, hosted by a stand-in for the main
// window: bars dragged and buttons clicked with mouse messages, checked by
// the engine's brightness and volume, the player's repaints and the screen.
#include <gtest/gtest.h>

#include <string>

#include "support/WindowPixels.h"
#include "media/ISoundPlayer.h"
#include "media/PlaybackOwner.h"
#include "media/VideoPlayer.h"
#include "resources/ImageIds.h"
#include "support/MessagePump.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/PanelOwner.h"

namespace {

// A player that counts its paints: each brightness change must redraw the picture.
class CountingPlayer : public VideoPlayer {
public:
    explicit CountingPlayer(PlaybackOwner& owner) : VideoPlayer(owner) {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return VideoPlayer::windowProc(message, wParam, lParam);
    }
    int paints = 0;
};

class PanelHost : public Window, public PlaybackOwner, public PanelOwner {
public:
    static constexpr int panelX = 657;
    static constexpr int panelY = 340;

    PanelHost() {
        RECT frame{0, 0, 866, 600};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
        AdjustWindowRect(&frame, style, FALSE);
        create(0, defaultClassName, L"panel test", style | WS_VISIBLE, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        player = new CountingPlayer(*this);
        panel = new ConfigPanel(handle(), *this, *player);
        MoveWindow(panel->handle(), panelX, panelY, ConfigPanel::width, ConfigPanel::height, TRUE);
        UpdateWindow(handle());
    }

    HWND ownerWindow() const override { return handle(); }
    void refresh() override {}
    void resetToEmpty() override {}
    void repaintInformationPanel() override {}
    void resetChart() override {}
    void openNeighbourFolder(int) override { ++neighbourRequests; }
    void chooseAndOpenFolder() override { ++folderChoices; }

    CountingPlayer* player = nullptr;
    ConfigPanel* panel = nullptr;
    int folderChoices = 0;
    int neighbourRequests = 0;
};

LPARAM point(int x, int y) {
    return MAKELPARAM(x, y);
}

void press(HWND control, int x) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point(x, 5));
}
void moveTo(HWND control, int x) {
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, point(x, 5));
}
void release(HWND control, int x) {
    SendMessageW(control, WM_LBUTTONUP, 0, point(x, 5));
}

void click(ImageButton* button) {
    press(button->handle(), 3);
    release(button->handle(), 3);
}

// The tooltip's text for a control's tool.
std::wstring tipText(TrackToolTip* tip, HWND control) {
    wchar_t text[80] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = TrackToolTip::toolInfoSize;
    tool.hwnd = GetParent(tip->handle());
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tip->handle(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
}

class ConfigPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = new PanelHost();
        panel_ = host_->panel;
        pumpFor(50);
    }
    void TearDown() override {
        DestroyWindow(host_->handle());
        pumpFor(20);
        Window::rethrowPendingFailure();
    }

    double gamma() const { return host_->player->brightness().gamma(); }
    int volume() const { return host_->player->soundPlayer().getVolume(); }

    PanelHost* host_ = nullptr;
    ConfigPanel* panel_ = nullptr;
};

}  // namespace

TEST_F(ConfigPanelTest, BothBarsStartAtTheirStandardValuesWithoutTellingThePlayer) {
    EXPECT_EQ(panel_->volumeBar()->value(), 16);
    EXPECT_EQ(panel_->volumeBar()->maximum(), 16);
    EXPECT_EQ(panel_->brightnessBar()->value(), 10);
    EXPECT_EQ(panel_->brightnessBar()->minimum(), 1);
    EXPECT_EQ(gamma(), 1.0);
    EXPECT_EQ(volume(), 16);
}

TEST_F(ConfigPanelTest, DraggingTheBrightnessBarToItsEndsGivesGammaOneTenthAndFiveAndRedrawsThePictureWhileHeld) {
    const HWND bar = panel_->brightnessBar()->handle();
    const int paintsBefore = host_->player->paints;
    press(bar, 0);
    EXPECT_EQ(gamma(), 0.1);
    EXPECT_GT(host_->player->paints, paintsBefore);
    EXPECT_EQ(tipText(panel_->toolTip(), bar), L"0.1");

    moveTo(bar, 400);
    const int paintsWhileHeld = host_->player->paints;
    pumpFor(350);  // the bar's 100 ms repeat applies the value before the release
    EXPECT_EQ(gamma(), 5.0);
    EXPECT_GE(host_->player->paints - paintsWhileHeld, 2);
    release(bar, 400);
    EXPECT_EQ(panel_->brightnessBar()->value(), 50);
    EXPECT_EQ(gamma(), 5.0);
    EXPECT_EQ(tipText(panel_->toolTip(), bar), L"5.0");
}

TEST_F(ConfigPanelTest, TheStandardBrightnessButtonRestoresGammaOneAndSendsNothingWhenAlreadyThere) {
    const int paintsBefore = host_->player->paints;
    click(panel_->standardBrightnessButton());
    pumpFor(30);
    EXPECT_EQ(host_->player->paints, paintsBefore);
    EXPECT_EQ(gamma(), 1.0);

    const HWND bar = panel_->brightnessBar()->handle();
    press(bar, 100);
    release(bar, 100);
    ASSERT_NE(gamma(), 1.0);
    const int paintsMoved = host_->player->paints;
    click(panel_->standardBrightnessButton());
    EXPECT_EQ(panel_->brightnessBar()->value(), 10);
    EXPECT_EQ(gamma(), 1.0);
    EXPECT_GT(host_->player->paints, paintsMoved);
}

TEST_F(ConfigPanelTest, TheVolumeBarAndItsStandardButtonSetThePlayersVolume) {
    const HWND bar = panel_->volumeBar()->handle();
    press(bar, 0);
    release(bar, 0);
    EXPECT_EQ(volume(), 0);
    press(bar, 71);  // 16 × 71 / 141 = 8.06
    release(bar, 71);
    EXPECT_EQ(volume(), 8);
    click(panel_->standardVolumeButton());
    EXPECT_EQ(panel_->volumeBar()->value(), 16);
    EXPECT_EQ(volume(), 16);
}

TEST_F(ConfigPanelTest, TheOpenFolderButtonAsksTheOwnerToChooseAFolder) {
    click(panel_->openFolderButton());
    EXPECT_EQ(host_->folderChoices, 1);
    EXPECT_EQ(host_->neighbourRequests, 0);
}

TEST_F(ConfigPanelTest, WithoutSoundTheVolumeControlsAreGreyedAndBrightnessStillWorks) {
    panel_->setSoundControlsEnabled(false);
    EXPECT_FALSE(panel_->volumeBar()->isEnabled());
    EXPECT_FALSE(panel_->standardVolumeButton()->isEnabled());
    EXPECT_TRUE(panel_->brightnessBar()->isEnabled());
    EXPECT_TRUE(panel_->standardBrightnessButton()->isEnabled());
    EXPECT_TRUE(panel_->openFolderButton()->isEnabled());
    const WindowPixels greyed = WindowPixels::ofPicture(IDB_STANDARD_VOLUME_DISABLED);
    EXPECT_TRUE(WindowPixels::ofWindow(panel_->standardVolumeButton()->handle())
                    .sameArea(0, 0, greyed, 0, 0, greyed.width, greyed.height));

    const HWND bar = panel_->brightnessBar()->handle();
    press(bar, 0);
    release(bar, 0);
    EXPECT_EQ(gamma(), 0.1);

    panel_->setSoundControlsEnabled(true);
    EXPECT_TRUE(panel_->volumeBar()->isEnabled());
    const WindowPixels normal = WindowPixels::ofPicture(IDB_STANDARD_VOLUME);
    EXPECT_TRUE(WindowPixels::ofWindow(panel_->standardVolumeButton()->handle())
                    .sameArea(0, 0, normal, 0, 0, normal.width, normal.height));
}

TEST_F(ConfigPanelTest, ThePanelShowsItsBackgroundAndEveryControlHasItsTip) {
    const WindowPixels shown = WindowPixels::ofWindow(panel_->handle());
    const WindowPixels background = WindowPixels::ofPicture(IDB_CONFIG_BACKGROUND);
    ASSERT_EQ(background.width, ConfigPanel::width);
    // The strip between the sliders and the open-folder button holds no control.
    EXPECT_TRUE(shown.sameArea(0, 75, background, 0, 75, ConfigPanel::width, 20));
    EXPECT_TRUE(shown.sameArea(0, 0, background, 0, 0, ConfigPanel::width, 20));

    TrackToolTip* tip = panel_->toolTip();
    EXPECT_EQ(SendMessageW(tip->handle(), TTM_GETTOOLCOUNT, 0, 0), 5);
    EXPECT_EQ(tipText(tip, panel_->standardVolumeButton()->handle()), L"標準の音量");
    EXPECT_EQ(tipText(tip, panel_->standardBrightnessButton()->handle()), L"標準の明るさ");
    EXPECT_EQ(tipText(tip, panel_->openFolderButton()->handle()), L"フォルダを開く");
    EXPECT_EQ(tipText(tip, panel_->volumeBar()->handle()), L"16");
    EXPECT_EQ(tipText(tip, panel_->brightnessBar()->handle()), L"1.0");
}
