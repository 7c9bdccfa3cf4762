#include "console-info/PanelTestSupport.h"

#include <commctrl.h>

#include <memory>

#include "app/DisplayMode.h"
#include "app/ModelCode.h"
#include "media/ResourceImage.h"
#include "media/VideoPlayer.h"
#include "ui/main/ConsolePanel.h"
#include "ui/main/InfoPanel.h"

namespace {

PanelSamples writtenSamples;

class SamplesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        modelCode() = ModelCode{2, 3};  // the sample writer's model code
        writtenSamples = PanelSamples::write();
    }
    void TearDown() override { writtenSamples.remove(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SamplesEnvironment);

void repaintWithErase(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

}  // namespace

const PanelSamples& panelSamples() {
    return writtenSamples;
}

PanelHost::PanelHost() {
    // The tooltips need the common controls; start-up initialises them in the program.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    create(0, defaultClassName, L"panels", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
           nullptr, GetModuleHandleW(nullptr), nullptr);
    player = new VideoPlayer(*this);
    console = new ConsolePanel(handle(), *this, *player);
    info = new InfoPanel(handle(), *player);
    const int consoleTop = height - consoleHeight;
    MoveWindow(player->handle(), 21, 0, width - 230, consoleTop, TRUE);
    MoveWindow(console->handle(), 0, consoleTop, width, consoleHeight, TRUE);
    MoveWindow(info->handle(), width - columnWidth, 0, columnWidth, infoHeight, TRUE);
    console->update();
}

void PanelHost::refresh() {
    if (!player || !console) return;
    refreshedFrames.push_back(player->currentFrame());
    console->update();
}

void PanelHost::resetToEmpty() {
    player->close();
    displayMode = DisplayModeEvent;
    refresh();
}

void PanelHost::repaintInformationPanel() {
    if (info) repaintWithErase(info->handle());
}

void PanelTest::SetUp() {
    ASSERT_FALSE(samples().root.empty()) << "the sample recordings could not be written";
    displayMode = DisplayModeEvent;
    host = new PanelHost;
    player = host->player;
    console = host->console;
    info = host->info;
    pumpMessages();
}

void PanelTest::TearDown() {
    if (host) DestroyWindow(host->handle());
    pumpMessages();
    displayMode = DisplayModeEvent;
    // A handler's failure is carried to start-up in the program; here it fails the test.
    EXPECT_NO_THROW(Window::rethrowPendingFailure());
}

void PanelTest::applyMode(int mode) {
    displayMode = mode;
    console->setEnabled(mode != DisplayModeOneShot);
    console->setControlsEnabled(mode != DisplayModeOneShot);
    console->setModeTooltips(mode);
    player->setOpenMode(mode);
}

void PanelTest::openEvent(const std::wstring& folder) {
    applyMode(DisplayModeEvent);
    player->openEventRecording(folder);
    repaintWithErase(info->handle());
    pumpMessages();
}

void PanelTest::openVideo(const std::wstring& folder) {
    applyMode(DisplayModeVideo);
    console->resetPosition();
    player->buildChapterList(folder);
    ASSERT_TRUE(player->openChapter(0));
    repaintWithErase(info->handle());
    pumpMessages();
}

void PanelTest::openShot(const std::wstring& folder, const std::wstring& path) {
    applyMode(DisplayModeOneShot);
    player->setOneShotPath(path);
    player->openOneShot(folder);
    repaintWithErase(info->handle());
    pumpMessages();
}

void PanelTest::click(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    pressAt(control, client.right / 2, client.bottom / 2);
    releaseAt(control, client.right / 2, client.bottom / 2);
    pumpMessages();
}

::testing::AssertionResult showsCharacters(const Snapshot& shot, const std::wstring& text, int x, int y,
                                           const std::function<int(wchar_t)>& idOf) {
    for (wchar_t character : text) {
        const int id = idOf(character);
        const std::unique_ptr<Image> picture = loadResourceImage(id);
        if (!picture) return ::testing::AssertionFailure() << "picture " << id << " does not decode";
        ::testing::AssertionResult shown = showsPicture(shot, id, x, y);
        if (!shown) return shown << " (character " << static_cast<int>(character) << " at x " << x << ")";
        x += picture->width();
    }
    return ::testing::AssertionSuccess();
}
