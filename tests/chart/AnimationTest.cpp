// The start-up logo under Wine: an empty box, the logo after the first tick,
// the timer ended after the second; checked by what is on the screen.
#include <gtest/gtest.h>

#include "support/WindowPixels.h"
#include "media/Animation.h"
#include "resources/ImageIds.h"
#include "support/MessagePump.h"
#include "ui/framework/Window.h"

namespace {

constexpr std::uint32_t magenta = rgb(255, 0, 255);

// Stands for the playback window: a plain magenta area, so an empty box shows
// as magenta and anything drawn over it stands out.
class Backdrop : public Window {
public:
    Backdrop() {
        create(0, defaultClassName, L"logo test", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 500, 300, nullptr,
               nullptr, GetModuleHandleW(nullptr), nullptr);
        // The first erase came before the object took the window over.
        InvalidateRect(handle(), nullptr, TRUE);
    }
    ~Backdrop() override { DeleteObject(brush_); }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_ERASEBKGND) return Window::windowProc(message, wParam, lParam);
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush_);
        return 1;
    }

private:
    HBRUSH brush_ = CreateSolidBrush(RGB(255, 0, 255));
};

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        backdrop_ = new Backdrop();
        UpdateWindow(backdrop_->handle());
        pumpFor(50);
    }
    void TearDown() override {
        DestroyWindow(backdrop_->handle());
        pumpFor(20);
        Window::rethrowPendingFailure();
    }

    static WindowPixels shown(Animation* logo) {
        UpdateWindow(logo->handle());
        return WindowPixels::ofWindow(logo->handle());
    }

    static constexpr int boxPixels = Animation::width * Animation::height;
    Backdrop* backdrop_ = nullptr;
};

}  // namespace

TEST_F(AnimationTest, TheBoxStaysEmptyUntilTheFirstTickThenShowsTheLogoAndTheTimerEndsAfterTheSecond) {
    auto* logo = new Animation(backdrop_->handle(), 110, 100);
    logo->start();
    RECT client;
    GetClientRect(logo->handle(), &client);
    EXPECT_EQ(client.right, Animation::width);
    EXPECT_EQ(client.bottom, Animation::height);
    EXPECT_EQ(logo->step(), 0);
    EXPECT_EQ(shown(logo).count(magenta), boxPixels);

    ASSERT_TRUE(pumpUntil([&] { return logo->step() >= 1; }, 2000));
    const WindowPixels picture = WindowPixels::ofPicture(IDB_LOGO);
    ASSERT_EQ(picture.width, Animation::width);
    EXPECT_TRUE(shown(logo).sameArea(0, 0, picture, 0, 0, Animation::width, Animation::height));

    ASSERT_TRUE(pumpUntil([&] { return logo->step() >= 2; }, 2000));
    pumpFor(400);
    EXPECT_EQ(logo->step(), 2);
    EXPECT_TRUE(shown(logo).sameArea(0, 0, picture, 0, 0, Animation::width, Animation::height));
}

TEST_F(AnimationTest, AnAbsentLogoLeavesTheBoxEmptyWhileTheStepsRunTheSame) {
    constexpr int absentPicture = 2;
    auto* logo = new Animation(backdrop_->handle(), 110, 100, absentPicture);
    logo->start();
    ASSERT_TRUE(pumpUntil([&] { return logo->step() >= 2; }, 2000));
    pumpFor(300);
    EXPECT_EQ(logo->step(), 2);
    EXPECT_EQ(shown(logo).count(magenta), boxPixels);
}

TEST_F(AnimationTest, ALogoDestroyedBeforeItsFirstTickGetsNoTimerMessage) {
    auto* logo = new Animation(backdrop_->handle(), 110, 100);
    logo->start();
    const HWND window = logo->handle();
    DestroyWindow(window);
    pumpFor(350);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Window::fromHandle(window), nullptr);
    EXPECT_NO_THROW(Window::rethrowPendingFailure());
}
