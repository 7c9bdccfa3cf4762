// The whole viewer's window on small recorder folders: how opening a folder
// settles the display mode, reports what is missing, moves to neighbouring
// folders and falls back to the empty view, and what the screen shows after
// maximising and restoring.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "media/Thumbnail.h"
#include "media/VideoPlayer.h"
#include "platform/FileSystem.h"
#include "resources/ImageIds.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/ScreenCapture.h"
#include "support/WindowPixels.h"
#include "tools/samplewriter/SampleArchive.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/InfoPanel.h"
#include "ui/main/LineChart.h"
#include "ui/main/MainWindow.h"

namespace {

void writeFile(const std::wstring& path, const samplewriter::Bytes& bytes) {
    ASSERT_TRUE(samplewriter::writeBytes(path, bytes));
}

bool nearColour(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
    }
    return true;
}

// Whether the rows top to bottom of a panel on screen show its background
// picture (a few pixels may differ where a control's edge reaches in).
::testing::AssertionResult showsBackgroundRows(const WindowPixels& shot, int pictureId, int top, int bottom) {
    const WindowPixels picture = WindowPixels::ofPicture(pictureId);
    if (shot.width < picture.width || shot.height < bottom || picture.height < bottom) {
        return ::testing::AssertionFailure() << "panel of " << shot.width << " x " << shot.height << " on screen";
    }
    int matching = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < picture.width; ++x) matching += nearColour(shot.at(x, y), picture.at(x, y));
    }
    const int all = (bottom - top) * picture.width;
    if (matching * 100 >= all * 95) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rows " << top << " to " << bottom << ": " << matching << " of " << all
                                         << " pixels show the background picture " << pictureId;
}

samplewriter::ArchiveSetup shortEvent() {
    samplewriter::ArchiveSetup plan;
    plan.frameCount = 30;
    plan.eventFrame = 10;
    plan.width = 160;
    plan.height = 120;
    return plan;
}

samplewriter::ArchiveSetup shortChapter() {
    samplewriter::ArchiveSetup plan;
    plan.kind = samplewriter::ArchiveKind::Chapter;
    plan.kindByte = samplewriter::kKindVideo;
    plan.fps = 10;
    plan.frameCount = 20;
    plan.width = 160;
    plan.height = 120;
    plan.withSound = false;
    return plan;
}

// Folders: three sibling events, a one-shot folder, an event-and-video
// folder and an empty one, under a fresh temporary root.
class Card {
public:
    Card() {
        root = platform::createTemporaryFile(platform::temporaryFolder(), L"mwt");
        platform::deleteFile(root);
        platform::createFolder(root);
        const auto event = samplewriter::buildArchive(shortEvent());
        for (const wchar_t* name : {L"EV1", L"EV2", L"EV3"}) {
            const std::wstring folder = platform::joinPath(events(), name);
            platform::createFolder(events());
            platform::createFolder(folder);
            writeFile(platform::joinPath(folder, L"Video.dvt"), event);
        }
        platform::createFolder(oneShots());
        for (int i = 1; i <= 3; ++i) {
            samplewriter::OneShotSetup shot;
            shot.width = 160;
            shot.height = 120;
            shot.sceneFrame = i * 10;
            writeFile(platform::joinPath(oneShots(), L"Pic0000" + std::to_wstring(i) + L".dpc"),
                      samplewriter::buildOneShotFile(shot));
        }
        platform::createFolder(mixed());
        writeFile(platform::joinPath(mixed(), L"Video.dvt"), event);
        writeFile(platform::joinPath(mixed(), L"Video0001.dmv"), samplewriter::buildArchive(shortChapter()));
        platform::createFolder(empty());
    }

    std::wstring events() const { return platform::joinPath(root, L"EVENT"); }
    std::wstring event(int n) const { return platform::joinPath(events(), L"EV" + std::to_wstring(n)); }
    std::wstring oneShots() const { return platform::joinPath(root, L"ONESHOT"); }
    std::wstring mixed() const { return platform::joinPath(root, L"MIXED"); }
    std::wstring empty() const { return platform::joinPath(root, L"EMPTY"); }

    std::wstring root;
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadApplicationValues(GetModuleHandleW(nullptr));
        card = new Card;
    }
    static void TearDownTestSuite() {
        delete card;
        card = nullptr;
    }

    void SetUp() override {
        displayMode = DisplayModeEvent;
        window = new MainWindow();
        handle = window->handle();
        ShowWindow(handle, SW_SHOW);
        pumpFor(50);
    }

    void TearDown() override {
        if (IsWindow(handle)) DestroyWindow(handle);
        pumpFor(50);
    }

    // Opens a folder, answering any box it shows; returns the boxes' texts.
    std::vector<std::wstring> open(const std::wstring& folder) {
        MessageBoxAnswerer answerer;
        window->openFolder(folder);
        pumpFor(100);
        return answerer.texts();
    }

    std::vector<std::wstring> neighbour(int direction) {
        MessageBoxAnswerer answerer;
        window->openNeighbourFolder(direction);
        pumpFor(100);
        return answerer.texts();
    }

    std::wstring caption() const {
        wchar_t text[1024] = {};
        GetWindowTextW(window->handle(), text, 1024);
        return text;
    }

    std::wstring expectedCaption(int nameId, const std::wstring& folder) const {
        return loadText(nameId) + L" " + folder + L" - " + loadText(5001);
    }

    static inline Card* card = nullptr;
    MainWindow* window = nullptr;
    HWND handle = nullptr;
};

TEST_F(MainWindowTest, OneShotOnlyFolderSwitchesToOneShotModeWhateverWasPicked) {
    displayMode = DisplayModeVideo;
    EXPECT_TRUE(open(card->oneShots()).empty());
    EXPECT_EQ(displayMode, DisplayModeOneShot);
    EXPECT_EQ(caption(), expectedCaption(5507, card->oneShots()));
    EXPECT_TRUE(IsWindowVisible(window->thumbnail()->handle()));
    EXPECT_FALSE(IsWindowVisible(window->lineChart()->handle()));
}

TEST_F(MainWindowTest, FolderWithTwoKindsKeepsThePickedModeOrReportsItsAbsence) {
    displayMode = DisplayModeVideo;
    EXPECT_TRUE(open(card->mixed()).empty());
    EXPECT_EQ(displayMode, DisplayModeVideo);
    EXPECT_EQ(caption(), expectedCaption(5508, card->mixed()));

    displayMode = DisplayModeOneShot;  // picked in the dialog, but the folder holds none
    EXPECT_EQ(open(card->mixed()), std::vector<std::wstring>{loadText(5505)});
    EXPECT_EQ(displayMode, DisplayModeEvent);
}

TEST_F(MainWindowTest, EventFolderPlaysAndNamesItsModeInTheCaption) {
    EXPECT_TRUE(open(card->event(1)).empty());
    EXPECT_EQ(displayMode, DisplayModeEvent);
    EXPECT_NE(window->player()->info(), nullptr);
    EXPECT_EQ(caption(), expectedCaption(5506, card->event(1)));
    EXPECT_TRUE(IsWindowVisible(window->lineChart()->handle()));
    EXPECT_EQ(window->animation(), nullptr);  // the logo goes with the first folder
}

TEST_F(MainWindowTest, EmptyFolderReportsNoDataAndLeavesThePlainCaption) {
    EXPECT_EQ(open(card->empty()), std::vector<std::wstring>{loadText(5505)});
    EXPECT_EQ(displayMode, DisplayModeEvent);
    EXPECT_EQ(caption(), loadText(5001));
    EXPECT_EQ(std::wstring(window->currentFolder()), card->empty());  // kept as the next start
}

TEST_F(MainWindowTest, NeighbourButtonsStopAtTheEndsAndMoveInBetween) {
    open(card->event(3));
    EXPECT_EQ(neighbour(PanelOwner::nextFolder), std::vector<std::wstring>{loadText(5065)});
    open(card->event(1));
    EXPECT_EQ(neighbour(PanelOwner::previousFolder), std::vector<std::wstring>{loadText(5066)});
    EXPECT_TRUE(neighbour(PanelOwner::nextFolder).empty());
    EXPECT_EQ(std::wstring(window->currentFolder()), card->event(2));
}

TEST_F(MainWindowTest, OpenFolderRenamedAwayGivesTheMovedTextAndAnEmptyView) {
    const std::wstring moving = platform::joinPath(card->events(), L"EV2");
    const std::wstring moved = platform::joinPath(card->events(), L"EV2-moved");
    open(moving);
    ASSERT_NE(window->player()->info(), nullptr);
    {
        MessageBoxAnswerer quiet;  // the engine may report the vanished folder first
        window->player()->pause();
        pumpFor(50);
    }
    ASSERT_TRUE(MoveFileW(moving.c_str(), moved.c_str()));
    const std::vector<std::wstring> texts = neighbour(PanelOwner::nextFolder);
    MoveFileW(moved.c_str(), moving.c_str());
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), loadText(5078));
    EXPECT_EQ(window->player()->info(), nullptr);
    EXPECT_EQ(displayMode, DisplayModeEvent);
    EXPECT_EQ(caption(), loadText(5001));
}

TEST_F(MainWindowTest, ClosingAsksOnlyWhenSomethingIsShown) {
    open(card->event(1));
    {
        MessageBoxAnswerer cancel({}, IDCANCEL);
        SendMessageW(handle, WM_CLOSE, 0, 0);
        pumpFor(50);
        EXPECT_EQ(cancel.texts(), std::vector<std::wstring>{loadText(5059)});
    }
    EXPECT_TRUE(IsWindow(handle));

    window->resetToEmpty();
    MessageBoxAnswerer none;
    SendMessageW(handle, WM_CLOSE, 0, 0);
    pumpFor(50);
    EXPECT_TRUE(none.texts().empty());
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(MainWindowTest, WindowCannotBeMadeSmallerThanItsMinimum) {
    MINMAXINFO info{};
    SendMessageW(window->handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, MainWindow::minimumWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, MainWindow::minimumHeight);
    RECT outer;
    GetWindowRect(window->handle(), &outer);
    const bool six = osVersion().dwMajorVersion == 6;
    EXPECT_EQ(outer.right - outer.left, six ? 890 : 882);
    EXPECT_EQ(outer.bottom - outer.top, six ? 697 : 693);
}

// Not white: the notice's text (or a picture) in the middle of the player.
int markedPixelsInTheMiddle(HWND player) {
    const WindowPixels shot = WindowPixels::ofWindow(player);
    const RECT middle{shot.width / 2 - 80, shot.height / 2 - 15, shot.width / 2 + 80, shot.height / 2 + 15};
    const int all = (middle.right - middle.left) * (middle.bottom - middle.top);
    return all - shot.countInArea(0xFFFFFF, middle);
}

TEST_F(MainWindowTest, TheLoadingNoticeStaysUntilTheFirstOneShotPictureIsShown) {
    open(card->event(1));
    MessageBoxAnswerer answerer;
    window->openFolder(card->oneShots());
    // The paints a repaint left for the loop, which would wipe the notice; only
    // they, for the miniatures load quickly and the first picture follows.
    MSG paint;
    while (PeekMessageW(&paint, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&paint);
    ASSERT_EQ(window->player()->shownFrame(), -1) << "the first picture came too soon to see the notice";
    EXPECT_GT(markedPixelsInTheMiddle(window->player()->handle()), 40);
    ASSERT_TRUE(pumpUntil([&] { return window->player()->shownFrame() >= 0; }, 30000));
}

TEST_F(MainWindowTest, TheEmptyViewAfterOneShotModeShowsAnEmptyChart) {
    constexpr std::uint32_t dataOrange = rgb(255, 165, 0);
    open(card->event(1));
    window->player()->pause();
    pumpFor(100);
    ASSERT_GT(WindowPixels::ofWindow(window->lineChart()->handle()).count(dataOrange), 0);
    open(card->oneShots());
    ASSERT_TRUE(pumpUntil([&] { return window->thumbnail()->isAllLoaded(); }, 30000));
    window->resetToEmpty();  // as when the one-shot folder vanishes
    pumpFor(100);
    const WindowPixels chart = WindowPixels::ofWindow(window->lineChart()->handle());
    EXPECT_EQ(chart.count(dataOrange), 0);
    EXPECT_GT(chart.count(rgb(128, 128, 128)), 0);  // the grid of an empty chart
}

TEST_F(MainWindowTest, AFolderGivenInOtherLetterCaseIsKeptAsSpeltOnDiskAndHasItsNeighbours) {
    const std::wstring given = card->root + L"\\event\\ev1";
    EXPECT_TRUE(open(given).empty());
    const std::wstring opened = window->currentFolder();
    EXPECT_EQ(opened.substr(card->root.size()), L"\\EVENT\\EV1");
    EXPECT_EQ(CompareStringOrdinal(opened.c_str(), -1, card->event(1).c_str(), -1, TRUE), CSTR_EQUAL);
    EXPECT_EQ(caption(), expectedCaption(5506, opened));
    EXPECT_TRUE(neighbour(PanelOwner::nextFolder).empty());
    EXPECT_EQ(std::wstring(window->currentFolder()).substr(card->root.size()), L"\\EVENT\\EV2");
}

TEST_F(MainWindowTest, PanelsAreDrawnWholeAfterMaximisingAndRestoring) {
    std::string reason;
    if (!ScreenCapture::available(reason)) GTEST_SKIP() << reason;
    open(card->event(1));
    window->player()->pause();
    // The information panel's background above its logo and below its kind
    // picture; the configuration panel's background with the volume and
    // brightness labels, above and between the bars.
    auto expectPanelsDrawn = [&](const char* when) {
        SCOPED_TRACE(when);
        const WindowPixels info = ScreenCapture::client(window->infoPanel()->handle());
        EXPECT_TRUE(showsBackgroundRows(info, IDB_INFO_BACKGROUND, 0, InfoPanel::dateTop - 20));
        EXPECT_TRUE(showsBackgroundRows(info, IDB_INFO_BACKGROUND, InfoPanel::kindTop + 30, 180));
        const WindowPixels config = ScreenCapture::client(window->configPanel()->handle());
        EXPECT_TRUE(showsBackgroundRows(config, IDB_CONFIG_BACKGROUND, 0, 21));
        EXPECT_TRUE(showsBackgroundRows(config, IDB_CONFIG_BACKGROUND, 39, 55));
        ScreenCapture::keep(std::string("mainwindow-") + when, ScreenCapture::window(handle));
    };
    expectPanelsDrawn("opened");
    ShowWindow(handle, SW_MAXIMIZE);
    pumpFor(300);
    expectPanelsDrawn("maximised");
    ShowWindow(handle, SW_RESTORE);
    pumpFor(300);
    expectPanelsDrawn("restored");
    SetWindowPos(handle, nullptr, 0, 0, 1000, 760, SWP_NOZORDER | SWP_NOMOVE);
    pumpFor(300);
    expectPanelsDrawn("resized");
    SetWindowPos(handle, nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOMOVE);  // the panels stay in place
    pumpFor(300);
    expectPanelsDrawn("lowered");
}

}  // namespace
