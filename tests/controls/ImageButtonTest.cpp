#include <gtest/gtest.h>

#include "app/Exception.h"
#include "controls/ButtonEvents.h"
#include "controls/ControlTestSupport.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"

namespace {

using Events = std::vector<std::string>;

class ImageButtonTest : public ::testing::Test {
protected:
    // The console's frame-back button: bordered, all three faces, 22 × 22.
    ImageButton* frameButton() {
        auto* button = new ImageButton(parent.handle(), 10, 10, 22, 22);
        button->setImages(IDB_FRAME_BACK, IDB_FRAME_BACK_PRESSED, IDB_FRAME_BACK_DISABLED);
        button->listener = &events;
        return button;
    }
    // The configuration panel's standard-volume button: no edge, no pressed face.
    ImageButton* volumeButton() {
        auto* button = new ImageButton(parent.handle(), 50, 10, 17, 15);
        button->setImages(IDB_STANDARD_VOLUME, 0, IDB_STANDARD_VOLUME_DISABLED);
        button->bordered = false;
        button->listener = &events;
        return button;
    }

    TestParent parent{200, 100};
    ButtonEvents events;
};

TEST_F(ImageButtonTest, PressThenReleaseOverItGivesOnePressThenOneClick) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    EXPECT_EQ(GetCapture(), button->handle());
    releaseAt(button->handle(), 21, 21);
    EXPECT_EQ(events.events, (Events{"press", "click"}));
    EXPECT_EQ(events.senders, (std::vector<ImageButton*>{button, button}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ImageButtonTest, HeldButtonRepeatsItsPressEveryTenthOfASecond) {
    ImageButton* button = frameButton();
    const ULONGLONG start = GetTickCount64();
    pressAt(button->handle(), 5, 5);
    ASSERT_TRUE(pumpUntil([&] { return events.count("press") == 4; }, 5000));
    // Three ticks of a 100 ms timer cannot come sooner than this.
    EXPECT_GE(GetTickCount64() - start, 250u);
    releaseAt(button->handle(), 5, 5);
    pumpFor(300);
    EXPECT_EQ(events.events, (Events{"press", "press", "press", "press", "click"}));
}

TEST_F(ImageButtonTest, ReleaseOutsideGivesNoClickAndTheFaceComesBackUp) {
    ImageButton* button = frameButton();
    // Left of and above the button the coordinates read as large unsigned numbers.
    for (const POINT outside : {POINT{-1, 5}, POINT{5, -1}, POINT{22, 5}, POINT{5, 22}}) {
        pressAt(button->handle(), 5, 5);
        EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_FRAME_BACK_PRESSED, 0, 0));
        releaseAt(button->handle(), outside.x, outside.y);
    }
    EXPECT_EQ(events.count("press"), 4);
    EXPECT_EQ(events.count("click"), 0);
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, HeldButtonThatIsDisabledStopsRepeatingAndShowsItsDisabledFace) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    ASSERT_TRUE(pumpUntil([&] { return events.count("press") == 2; }, 5000));
    button->setEnabled(false);
    pumpFor(350);
    EXPECT_EQ(events.count("press"), 2);
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_FRAME_BACK_DISABLED, 0, 0));
}

TEST_F(ImageButtonTest, CaptureTakenAwayStopsTheRepeat) {
    ImageButton* button = frameButton();
    pressAt(button->handle(), 5, 5);
    SetCapture(parent.handle());  // as a message box opening would
    pumpFor(300);
    EXPECT_EQ(events.events, (Events{"press"}));
    ReleaseCapture();
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, ReleaseWithoutAPressOnTheButtonIsNoClick) {
    // The button-up of a double click that closed a dialog lands on whatever lies beneath.
    ImageButton* button = frameButton();
    releaseAt(button->handle(), 5, 5);
    // The key-up of an Enter that closed a dialog reaches the button that gets the focus back.
    SendMessageW(button->handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(events.events.empty());
}

TEST_F(ImageButtonTest, EnterActsAsPressAndReleaseIgnoringAutoRepeat) {
    ImageButton* button = frameButton();
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 0x00000001);
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 0x40000001);  // auto-repeat
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 0x40000001);
    SendMessageW(button->handle(), WM_CHAR, VK_RETURN, 0x40000001);
    SendMessageW(button->handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(events.events, (Events{"press", "click"}));
    // Other keys do nothing.
    SendMessageW(button->handle(), WM_KEYDOWN, VK_SPACE, 0x00000001);
    SendMessageW(button->handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(events.events.size(), 2u);
}

TEST_F(ImageButtonTest, DialogCodeAsksForEnterOnly) {
    ImageButton* button = frameButton();
    const auto dialogCode = [&](UINT message, WPARAM key) {
        MSG query{button->handle(), message, key, 0, 0, {}};
        return SendMessageW(button->handle(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&query));
    };
    EXPECT_EQ(dialogCode(WM_KEYDOWN, VK_RETURN), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
    EXPECT_EQ(dialogCode(WM_CHAR, VK_RETURN), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
    EXPECT_EQ(dialogCode(WM_KEYDOWN, VK_TAB), 0);
    EXPECT_EQ(dialogCode(WM_CHAR, 'a'), 0);
    EXPECT_EQ(SendMessageW(button->handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
}

TEST_F(ImageButtonTest, BorderedButtonWithoutPressedPictureShiftsItsFaceOnePixelDown) {
    ImageButton* button = frameButton();
    button->setImages(IDB_FRAME_BACK, 0, 0);
    pressAt(button->handle(), 5, 5);
    const Snapshot held(button->handle());
    EXPECT_TRUE(showsPicture(held, IDB_FRAME_BACK, 0, 1, 22, 21));
    releaseAt(button->handle(), 5, 5);
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_FRAME_BACK, 0, 0));
}

TEST_F(ImageButtonTest, ButtonWithNeitherEdgeNorPressedPictureKeepsItsFaceWhileHeld) {
    ImageButton* button = volumeButton();
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_STANDARD_VOLUME, 0, 0));
    pressAt(button->handle(), 5, 5);
    EXPECT_TRUE(showsWholePicture(Snapshot(button->handle()), IDB_STANDARD_VOLUME, 0, 0));
    // A repaint while it is held shows only the background.
    InvalidateRect(button->handle(), nullptr, TRUE);
    EXPECT_TRUE(isFilledWith(Snapshot(button->handle()), buttonFace(), 0, 0, 17, 15));
    releaseAt(button->handle(), 5, 5);
    EXPECT_EQ(events.events, (Events{"press", "click"}));
}

TEST_F(ImageButtonTest, DisabledButtonShowsItsDisabledPictureOrElseItsNormalOne) {
    ImageButton* volume = volumeButton();
    volume->setEnabled(false);
    EXPECT_TRUE(showsWholePicture(Snapshot(volume->handle()), IDB_STANDARD_VOLUME_DISABLED, 0, 0));

    auto* brightness = new ImageButton(parent.handle(), 80, 10, 16, 16);
    brightness->setImages(IDB_STANDARD_BRIGHTNESS, 0, 0);
    brightness->bordered = false;
    brightness->setEnabled(false);
    EXPECT_TRUE(showsWholePicture(Snapshot(brightness->handle()), IDB_STANDARD_BRIGHTNESS, 0, 0));
}

TEST_F(ImageButtonTest, CursorIsTheOwnersChoiceOrTheClassArrow) {
    ImageButton* volume = volumeButton();
    volume->cursor = LoadCursorW(nullptr, IDC_HAND);
    ImageButton* frame = frameButton();
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SendMessageW(volume->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(volume->handle()), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    // Moving straight on to a button without a cursor of its own does not keep the hand.
    SendMessageW(frame->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(frame->handle()), overClient);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(ImageButtonTest, MessagesWithoutAListenerAreHandledSilently) {
    ImageButton* button = frameButton();
    button->listener = nullptr;
    pressAt(button->handle(), 5, 5);
    pumpFor(150);
    releaseAt(button->handle(), 5, 5);
    SendMessageW(button->handle(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(button->handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ImageButtonTest, AbsentPictureIsAWindowException) {
    ImageButton* button = frameButton();
    EXPECT_THROW(button->setImages(IDB_FRAME_BACK, 9999, 0), WindowException);
}

}  // namespace
