// The dialog framework: templates run as objects, messages reach them through
// the registry only while their window lives, failures come back to the caller.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/TestDialogIds.h"
#include "ui/framework/Dialog.h"
#include "ui/framework/WindowPosition.h"

namespace {

constexpr UINT endMessage = WM_APP + 1;
constexpr UINT pokeMessage = WM_APP + 2;

HWND createOwner(int x = 40, int y = 40, int width = 400, int height = 300) {
    return CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Records every message that reaches it; once running, ends itself with value.
class RecordingDialog : public Dialog {
public:
    RecordingDialog(int templateId, INT_PTR value) : Dialog(templateId), value_(value) {}

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        switch (message) {
            case WM_INITDIALOG:
                windowAtStart = window;
                parentAtStart = parentWindow;
                PostMessageW(window, endMessage, 0, 0);
                return TRUE;
            case endMessage:
                EndDialog(window, value_);
                return TRUE;
            default:
                return Dialog::dialogProc(message, wParam, lParam);
        }
    }

    std::vector<UINT> messages;
    HWND windowAtStart = nullptr;
    HWND parentAtStart = nullptr;

private:
    INT_PTR value_;
};

// Counts its messages in a counter that outlives it.
class CountingDialog : public Dialog {
public:
    CountingDialog(int templateId, int& counter) : Dialog(templateId), counter_(counter) {}
    INT_PTR dialogProc(UINT, WPARAM, LPARAM) override {
        ++counter_;
        return FALSE;
    }

private:
    int& counter_;
};

class ThrowingPage : public Dialog {
public:
    ThrowingPage() : Dialog(IDD_TEST_PAGE) {}
    INT_PTR dialogProc(UINT message, WPARAM, LPARAM) override {
        if (message == pokeMessage) throw Exception(L"page failed");
        return FALSE;
    }
};

// A modal dialog carrying a modeless page, as the settings dialog does; the
// page fails once the dialog runs.
class DialogWithPage : public Dialog {
public:
    DialogWithPage() : Dialog(IDD_TEST_PLAIN) {}
    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            pageWindow = page.createModeless(window, SW_SHOW);
            PostMessageW(window, endMessage, 0, 0);
            return TRUE;
        }
        if (message == endMessage) {
            SendMessageW(pageWindow, pokeMessage, 0, 0);
            EndDialog(window, IDOK);
            return TRUE;
        }
        return Dialog::dialogProc(message, wParam, lParam);
    }

    ThrowingPage page;
    HWND pageWindow = nullptr;
};

class FailingDialog : public Dialog {
public:
    FailingDialog() : Dialog(IDD_TEST_PLAIN) {}
    INT_PTR dialogProc(UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) PostMessageW(window, endMessage, 0, 0);
        if (message == endMessage) throw Exception(L"handler failed");
        return FALSE;
    }
};

TEST(Dialog, ModalDialogReturnsTheValueGivenToEndDialogAndSeesOnlyItsOwnLifetime) {
    HWND owner = createOwner();
    RecordingDialog dialog(IDD_TEST_PLAIN, 4711);
    EXPECT_EQ(dialog.doModal(owner), 4711);

    EXPECT_EQ(dialog.parentAtStart, owner);
    ASSERT_NE(dialog.windowAtStart, nullptr);
    EXPECT_FALSE(IsWindow(dialog.windowAtStart));
    EXPECT_EQ(dialog.handle(), nullptr);
    // The font message comes before WM_INITDIALOG and the final non-client
    // destroy after WM_DESTROY: neither reaches the object.
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ(dialog.messages.front(), static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(dialog.messages.back(), static_cast<UINT>(WM_DESTROY));
    DestroyWindow(owner);
}

TEST(Dialog, BaseProcedureEndsWithOkOrCancelAndTheObjectCanRunAgain) {
    HWND owner = createOwner();
    Dialog dialog(IDD_TEST_PLAIN);
    int pressed = IDCANCEL;
    DialogDriver driver([&](HWND box) { pressButton(box, pressed); });
    EXPECT_EQ(dialog.doModal(owner), IDCANCEL);
    pressed = IDOK;
    EXPECT_EQ(dialog.doModal(owner), IDOK);
    DestroyWindow(owner);
}

TEST(Dialog, MissingTemplateShowsTheSystemTextAndFails) {
    HWND owner = createOwner();
    std::vector<ShownBox> boxes;
    DialogDriver driver([&](HWND box) {
        if (isMessageBox(box)) boxes.push_back(answerMessageBox(box));
    });
    Dialog modal(IDD_TEST_MISSING);
    EXPECT_EQ(modal.doModal(owner), -1);
    Dialog modeless(IDD_TEST_MISSING);
    EXPECT_EQ(modeless.createModeless(owner, SW_SHOW), nullptr);

    ASSERT_EQ(boxes.size(), 2u);
    for (const ShownBox& box : boxes) {
        EXPECT_EQ(box.caption, loadText(5005));
        EXPECT_FALSE(box.text.empty());
        EXPECT_EQ(box.owner, owner);
    }
    DestroyWindow(owner);
}

TEST(Dialog, FailureInsideTheProcedureEndsTheDialogAndReachesTheCaller) {
    HWND owner = createOwner();
    FailingDialog failing;
    try {
        failing.doModal(owner);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), L"handler failed");
    }
    EXPECT_EQ(failing.handle(), nullptr);

    DialogWithPage withPage;
    try {
        withPage.doModal(owner);
        ADD_FAILURE() << "no exception from the page";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), L"page failed");
    }
    ASSERT_NE(withPage.pageWindow, nullptr);
    EXPECT_FALSE(IsWindow(withPage.pageWindow));
    EXPECT_EQ(withPage.page.handle(), nullptr);
    DestroyWindow(owner);
}

TEST(Dialog, ModelessDialogGetsItsMessagesUntilItsWindowOrItsObjectEnds) {
    HWND owner = createOwner();
    int counted = 0;
    CountingDialog shown(IDD_TEST_PLAIN, counted);
    HWND window = shown.createModeless(owner, SW_SHOW);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(shown.handle(), window);
    EXPECT_TRUE(IsWindowVisible(window));
    const int beforePoke = counted;
    SendMessageW(window, pokeMessage, 0, 0);
    EXPECT_EQ(counted, beforePoke + 1);
    DestroyWindow(window);
    EXPECT_EQ(shown.handle(), nullptr);

    // An object that ends before its window must not be reached afterwards.
    int countedByGone = 0;
    auto* gone = new CountingDialog(IDD_TEST_PLAIN, countedByGone);
    HWND orphan = gone->createModeless(owner, SW_HIDE);
    ASSERT_NE(orphan, nullptr);
    EXPECT_FALSE(IsWindowVisible(orphan));
    delete gone;
    const int afterDelete = countedByGone;
    SendMessageW(orphan, pokeMessage, 0, 0);
    DestroyWindow(orphan);
    EXPECT_EQ(countedByGone, afterDelete);
    DestroyWindow(owner);
}

TEST(CentreWindow, CentresTheWindowRectangleOnTheReferenceWithoutResizing) {
    HWND reference = createOwner(100, 50, 501, 301);
    HWND moved = createOwner(700, 600, 200, 100);
    centreWindow(moved, reference);
    RECT rectangle{};
    GetWindowRect(moved, &rectangle);
    EXPECT_EQ(rectangle.left, 100 + (501 - 200) / 2);
    EXPECT_EQ(rectangle.top, 50 + (301 - 100) / 2);
    EXPECT_EQ(rectangle.right - rectangle.left, 200);
    EXPECT_EQ(rectangle.bottom - rectangle.top, 100);
    DestroyWindow(moved);
    DestroyWindow(reference);
}

}  // namespace
