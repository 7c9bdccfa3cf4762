#include <gtest/gtest.h>

#include <stdexcept>

#include "app/Exception.h"
#include "support/MessagePump.h"
#include "ui/framework/Window.h"

namespace {

// Records what reaches it, and whether it is still alive.
class ProbeWindow : public Window {
public:
    explicit ProbeWindow(bool* deleted = nullptr) : deleted_(deleted) {}
    ~ProbeWindow() override {
        if (deleted_) *deleted_ = true;
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) ++erases;
        if (message == WM_PAINT) ++paints;
        if (message == WM_USER + 7) throw Exception(L"handler failed");
        return Window::windowProc(message, wParam, lParam);
    }

    void createTopLevel() {
        create(0, defaultClassName, L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150, nullptr, nullptr,
               GetModuleHandleW(nullptr), nullptr);
    }
    void createChild(HWND parent) {
        create(0, defaultClassName, L"child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, nullptr,
               GetModuleHandleW(nullptr), nullptr);
    }

    int erases = 0;
    int paints = 0;

private:
    bool* deleted_;
};

TEST(Window, ManyWindowsShareOneClassRegistration) {
    // A second registration of the class would be refused and throw.
    auto* first = new ProbeWindow;
    auto* second = new ProbeWindow;
    auto* third = new ProbeWindow;
    first->createTopLevel();
    second->createTopLevel();
    third->createTopLevel();
    EXPECT_EQ(Window::fromHandle(second->handle()), second);
    DestroyWindow(first->handle());
    DestroyWindow(second->handle());
    DestroyWindow(third->handle());
}

TEST(Window, ChildObjectIsDeletedWithItsParent) {
    bool parentDeleted = false;
    bool childDeleted = false;
    auto* parent = new ProbeWindow(&parentDeleted);
    parent->createTopLevel();
    auto* child = new ProbeWindow(&childDeleted);
    child->createChild(parent->handle());
    HWND childHandle = child->handle();

    DestroyWindow(parent->handle());
    EXPECT_TRUE(parentDeleted);
    EXPECT_TRUE(childDeleted);
    EXPECT_EQ(Window::fromHandle(childHandle), nullptr);
}

// A derived constructor that fails after its window exists.
class FailingWindow : public ProbeWindow {
public:
    FailingWindow() {
        createTopLevel();
        created = handle();
        throw Exception(L"constructor failed");
    }
    static inline HWND created = nullptr;
};

TEST(Window, ObjectThatFailsToConstructLeavesNoDanglingBinding) {
    EXPECT_THROW(new FailingWindow, Exception);
    ASSERT_NE(FailingWindow::created, nullptr);
    EXPECT_EQ(Window::fromHandle(FailingWindow::created), nullptr);
    SendMessageW(FailingWindow::created, WM_USER + 7, 0, 0);  // reaches no dead object
    EXPECT_TRUE(DestroyWindow(FailingWindow::created));
    Window::rethrowPendingFailure();  // nothing was carried
}

TEST(Window, UnboundWindowsGetDefaultHandling) {
    HWND plain = CreateWindowExW(0, Window::defaultClassName, L"plain", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(Window::fromHandle(plain), nullptr);
    SetWindowTextW(plain, L"still works");
    wchar_t text[32] = {};
    GetWindowTextW(plain, text, 32);
    EXPECT_STREQ(text, L"still works");
    DestroyWindow(plain);
}

TEST(Window, StateChangesRepaintOnlyWhenTheStateDiffers) {
    auto* window = new ProbeWindow;
    window->createTopLevel();
    pumpMessages();
    window->erases = window->paints = 0;

    window->setEnabled(true);  // already enabled
    window->setVisible(true);  // already visible
    pumpMessages();
    EXPECT_EQ(window->paints + window->erases, 0);

    window->setEnabled(false);
    EXPECT_FALSE(window->isEnabled());
    EXPECT_GT(window->paints, 0);  // updated at once, not at the next loop turn
    window->setVisible(false);
    EXPECT_FALSE(IsWindowVisible(window->handle()));
    DestroyWindow(window->handle());
}

TEST(Window, FailureInAHandlerEndsTheLoopAndIsRethrownByStartUp) {
    auto* window = new ProbeWindow;
    window->createTopLevel();
    SendMessageW(window->handle(), WM_USER + 7, 0, 0);  // must not unwind through the system

    MSG message;
    bool quitPosted = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitPosted = true;
        } else {
            DispatchMessageW(&message);  // an undispatched paint would come back for ever
        }
    }
    EXPECT_TRUE(quitPosted);
    try {
        Window::rethrowPendingFailure();
        FAIL() << "the failure was lost";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), L"handler failed");
    }
    Window::rethrowPendingFailure();  // only once
    DestroyWindow(window->handle());
}

}  // namespace
