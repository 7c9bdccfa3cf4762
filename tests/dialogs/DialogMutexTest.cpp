// The maintenance guard between two viewers: the second to take it is warned
// with 5060 and goes on; the named object lives exactly while a guard holds it.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "app/Texts.h"
#include "dialogs/DialogDriver.h"
#include "ui/framework/DialogMutex.h"

namespace {

bool guardObjectExists() {
    HANDLE opened = OpenMutexW(SYNCHRONIZE, FALSE, DialogMutex::mutexName);
    if (!opened) return false;
    CloseHandle(opened);
    return true;
}

HWND createOwner() {
    return CreateWindowExW(0, L"STATIC", L"viewer", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Another viewer in the middle of a maintenance command, on its own thread.
class OtherHolder {
public:
    OtherHolder()
        : taken_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), finish_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this] {
            DialogMutex guard;
            warned_ = guard.take(nullptr);
            SetEvent(taken_);
            WaitForSingleObject(finish_, 30000);
        });
        WaitForSingleObject(taken_, 30000);
    }
    ~OtherHolder() {
        finish();
        CloseHandle(taken_);
        CloseHandle(finish_);
    }
    void finish() {
        if (!thread_.joinable()) return;
        SetEvent(finish_);
        thread_.join();
    }
    bool warned() const { return warned_; }

private:
    HANDLE taken_;
    HANDLE finish_;
    bool warned_ = true;
    std::thread thread_;
};

TEST(DialogMutex, SecondHolderIsWarnedWith5060AndGoesOn) {
    ASSERT_FALSE(guardObjectExists());
    HWND owner = createOwner();
    std::vector<ShownBox> boxes;
    DialogDriver driver([&](HWND box) {
        if (isMessageBox(box)) boxes.push_back(answerMessageBox(box));
    });

    OtherHolder other;
    EXPECT_FALSE(other.warned());
    {
        DialogMutex guard;
        EXPECT_TRUE(guard.take(owner));
        EXPECT_FALSE(guard.isHeld());
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, loadText(5060));
    EXPECT_EQ(boxes[0].caption, loadText(5005));
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_TRUE(guardObjectExists());  // the warned guard did not end the other's

    other.finish();
    EXPECT_FALSE(guardObjectExists());
    {
        DialogMutex guard;
        EXPECT_FALSE(guard.take(owner));
        EXPECT_TRUE(guard.isHeld());
        EXPECT_TRUE(guardObjectExists());
    }
    EXPECT_FALSE(guardObjectExists());
    EXPECT_EQ(boxes.size(), 1u);
    DestroyWindow(owner);
}

}  // namespace
