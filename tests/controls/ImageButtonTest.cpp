#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/ControlTestSupport.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageButtonListener.h"

namespace {

using Events = std::vector<std::string>;

class ImageButtonTest : public ::testing::Test, public ImageButtonListener {
protected:
    void onClick(ImageButton* button) override { record("click", button); }
    void onPress(ImageButton* button) override { record("press", button); }
    void record(const char* event, ImageButton* button) {
        events.push_back(event);
        if (button != sender) events.push_back("from another button");
    }
    int presses() const { return static_cast<int>(std::count(events.begin(), events.end(), "press")); }

    // The console's frame-back button: bordered, all three faces, 22 × 22.
    ImageButton* frameButton() {
        return button(22, 22, IDB_FRAME_BACK, IDB_FRAME_BACK_PRESSED, IDB_FRAME_BACK_DISABLED);
    }
    // The configuration panel's standard-volume button: no edge, no pressed face.
    ImageButton* volumeButton() {
        ImageButton* volume = button(17, 15, IDB_STANDARD_VOLUME, 0, IDB_STANDARD_VOLUME_DISABLED);
        volume->bordered = false;
        return volume;
    }
    ImageButton* button(int width, int height, int normal, int pressed, int disabled) {
        sender = new ImageButton(parent.handle(), 10, 10, width, height);
        sender->setImages(normal, pressed, disabled);
        sender->listener = this;
        return sender;
    }

    TestParent parent{200, 100};
    ImageButton* sender = nullptr;
    Events events;
};

TEST_F(ImageButtonTest, PressThenReleaseOverItGivesOnePressThenOneClick) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    EXPECT_EQ(GetCapture(), button->handle());
    releaseAt(button->handle(), 21, 21);
    EXPECT_EQ(events, (Events{"press", "click"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ImageButtonTest, HeldButtonRepeatsItsPressEveryTenthOfASecond) {
    ImageButton* button = frameButton();
    const ULONGLONG start = GetTickCount64();
    pressAt(button->handle(), 5, 5);
    ASSERT_TRUE(pumpUntil([&] { return presses() == 4; }, 5000));
    EXPECT_GE(GetTickCount64() - start, 250u);  // three ticks of 100 ms cannot come sooner
    releaseAt(button->handle(), 5, 5);
    pumpFor(300);
    EXPECT_EQ(events, (Events{"press", "press", "press", "press", "click"}));
}

TEST_F(ImageButtonTest, ReleaseOutsideGivesNoClickAndTheFaceComesBackUp) {
    ImageButton* button = frameButton();
    // Left of and above the button the coordinates read as large unsigned numbers.
    for (const POINT outside : {POINT{-1, 5}, POINT{5, -1}, POINT{22, 5}, POINT{5, 22}}) {
        pressAt(button->handle(), 5, 5);
        EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK_PRESSED, 0, 0));
        releaseAt(button->handle(), outside.x, outside.y);
    }
    EXPECT_EQ(events, (Events{"press", "press", "press", "press"}));
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, HeldButtonThatIsDisabledStopsRepeatingAndShowsItsDisabledFace) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    ASSERT_TRUE(pumpUntil([&] { return presses() == 2; }, 5000));
    button->setEnabled(false);
    pumpFor(350);
    EXPECT_EQ(presses(), 2);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK_DISABLED, 0, 0));
}

TEST_F(ImageButtonTest, CaptureTakenAwayStopsTheRepeatAndRaisesTheFace) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    SetCapture(parent.handle());  // as a message box opening would
    pumpFor(300);
    ReleaseCapture();
    EXPECT_EQ(events, (Events{"press"}));
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, ReleaseWithoutAPressOnTheButtonIsNoClick) {
    ImageButton* button = frameButton();
    // The button-up of a double click that closed a dialog lands on whatever lies beneath.
    releaseAt(button->handle(), 5, 5);
    // The key-up of an Enter that closed a dialog reaches the button that gets the focus back.
    SendMessageW(button->handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(events.empty());
}

TEST_F(ImageButtonTest, EnterActsAsPressAndReleaseIgnoringAutoRepeat) {
    HWND button = frameButton()->handle();
    const auto dialogCode = [&](UINT message, WPARAM key) {
        MSG query{button, message, key, 0, 0, {}};
        return SendMessageW(button, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&query));
    };
    EXPECT_EQ(dialogCode(WM_KEYDOWN, VK_RETURN), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
    EXPECT_EQ(dialogCode(WM_KEYDOWN, VK_TAB), 0);  // left to the dialog's navigation
    EXPECT_EQ(dialogCode(WM_CHAR, 'a'), 0);

    SendMessageW(button, WM_KEYDOWN, VK_RETURN, 0x00000001);
    SendMessageW(button, WM_KEYDOWN, VK_RETURN, 0x40000001);  // auto-repeat
    SendMessageW(button, WM_CHAR, VK_RETURN, 0x40000001);
    SendMessageW(button, WM_KEYUP, VK_RETURN, 0xC0000001);
    SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00000001);
    SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(events, (Events{"press", "click"}));
}

TEST_F(ImageButtonTest, BorderedButtonWithoutPressedPictureShiftsItsFaceOnePixelDown) {
    ImageButton* button = frameButton();
    button->setImages(IDB_FRAME_BACK, 0, 0);
    pressAt(button->handle(), 5, 5);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 1, 22, 21));
    releaseAt(button->handle(), 5, 5);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, ButtonWithNeitherEdgeNorPressedPictureKeepsItsFaceWhileHeld) {
    ImageButton* button = volumeButton();
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_STANDARD_VOLUME, 0, 0));
    pressAt(button->handle(), 5, 5);
    EXPECT_TRUE(showsPicture(Snapshot(button->handle()), IDB_STANDARD_VOLUME, 0, 0));
    InvalidateRect(button->handle(), nullptr, TRUE);  // a repaint while held shows only the background
    EXPECT_TRUE(isFilledWith(Snapshot(button->handle()), buttonFace(), 0, 0, 17, 15));
    releaseAt(button->handle(), 5, 5);
    EXPECT_EQ(events, (Events{"press", "click"}));
}

TEST_F(ImageButtonTest, DisabledButtonShowsItsDisabledPictureOrElseItsNormalOne) {
    ImageButton* volume = volumeButton();
    volume->setEnabled(false);
    EXPECT_TRUE(showsPicture(Snapshot(volume->handle()), IDB_STANDARD_VOLUME_DISABLED, 0, 0));
    ImageButton* brightness = button(16, 16, IDB_STANDARD_BRIGHTNESS, 0, 0);
    brightness->setEnabled(false);
    EXPECT_TRUE(showsPicture(Snapshot(brightness->handle()), IDB_STANDARD_BRIGHTNESS, 0, 0));
}

TEST_F(ImageButtonTest, CursorIsTheOwnersChoiceOrTheClassArrow) {
    ImageButton* volume = volumeButton();
    volume->cursor = LoadCursorW(nullptr, IDC_HAND);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SendMessageW(volume->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(volume->handle()), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    // Moving straight on to a button without a cursor of its own does not keep the hand.
    HWND frame = frameButton()->handle();
    SendMessageW(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(frame), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
