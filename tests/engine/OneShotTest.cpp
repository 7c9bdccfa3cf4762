// One-shot pictures under Wine: the request repeated each period until the
// picture is there, then no more ticks; the context menu; pictures and
// folders that are gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"
#include "engine/EngineFixture.h"
#include "resources/MenuIds.h"

namespace {

struct SeenMenu {
    bool shown = false;
    std::vector<std::wstring> texts;
    std::vector<UINT> ids;
};

SeenMenu seenMenu;

BOOL CALLBACK findMenuWindow(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32768" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A thread timer runs inside the menu's modal loop: it reads the menu and closes it.
void CALLBACK inspectMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findMenuWindow, reinterpret_cast<LPARAM>(&window));
    if (!window) return;
    auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    seenMenu.shown = true;
    for (int item = 0; menu && item < GetMenuItemCount(menu); ++item) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, item, text, 64, MF_BYPOSITION);
        seenMenu.texts.push_back(text);
        seenMenu.ids.push_back(GetMenuItemID(menu, item));
    }
    EndMenu();
}

SeenMenu rightClick(HWND window) {
    seenMenu = SeenMenu{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, inspectMenu);
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    pumpFor(200);
    KillTimer(nullptr, timer);
    return seenMenu;
}

}  // namespace

class OneShotTest : public EngineTest {
protected:
    // As the main window shows a picture chosen in the thumbnail strip.
    void openShot(const std::wstring& path, const std::wstring& folder) {
        useMode(DisplayModeOneShot);
        player->setOneShotPath(path);
        player->openOneShot(folder);
    }
};

TEST_F(OneShotTest, ThePictureIsAskedForEachPeriodUntilItArrivesThenTheTicksStop) {
    player->holdPictures = true;
    openShot(samples().plainShot, samples().shotFolder);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
    EXPECT_EQ(player->folder(), samples().shotFolder);
    ASSERT_TRUE(pumpUntil([&] { return player->heldPictures >= 3; }, kPatienceMs));
    EXPECT_GE(player->ticks, 2);
    EXPECT_EQ(player->shownFrame(), -1);

    player->holdPictures = false;
    ASSERT_TRUE(waitForShown(0));
    const int ticksAtPicture = player->ticks;
    const std::size_t arrivals = player->arrivals.size();
    pumpFor(300);
    EXPECT_LE(player->ticks, ticksAtPicture + 1);  // one may have been armed before the picture came
    EXPECT_LE(player->arrivals.size(), arrivals + 1);
    EXPECT_EQ(player->playState(), VideoPlayer::stateStopped);
}

TEST_F(OneShotTest, RightClickOffersOnlyTheCopyAndOnlyInOneShotMode) {
    player->openEventRecording(samples().eventFolder);
    EXPECT_FALSE(rightClick(player->handle()).shown);
    player->close();

    openShot(samples().plainShot, samples().shotFolder);
    ASSERT_TRUE(waitForShown(0));
    const SeenMenu menu = rightClick(player->handle());
    ASSERT_TRUE(menu.shown);
    ASSERT_EQ(menu.texts.size(), 1u);
    EXPECT_EQ(menu.texts[0], L"コピー");
    EXPECT_EQ(menu.ids[0], static_cast<UINT>(IDM_COPY_PICTURE));
}

TEST_F(OneShotTest, AMissingPictureOrFolderFailsWithItsText) {
    const std::wstring gone = samples().shotFolder + L"\\Gone.dpc";
    try {
        openShot(gone, samples().shotFolder);
        ADD_FAILURE() << "a missing picture opened";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), loadText(5517));
    }
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);

    try {
        openShot(samples().plainShot, samples().shotFolder + L"-gone");
        ADD_FAILURE() << "a missing folder opened";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), loadText(5078));
    }
    EXPECT_EQ(player->playState(), VideoPlayer::stateClosed);
    EXPECT_EQ(player->info(), nullptr);
}
