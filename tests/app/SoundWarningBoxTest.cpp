#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/Texts.h"
#include "recording/SoundWarning.h"
#include "recording/SoundWarningBox.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"

namespace {

constexpr int kSoundNotRestored = 5501;
constexpr int kWarningCaption = 5005;

class SoundWarningBox : public ::testing::Test {
protected:
    void SetUp() override { installSoundWarningBox(); }
    void TearDown() override { setSoundWarningHandler(nullptr); }
};

// A chapter read ahead or an export reads on a thread of its own; its warning
// is still a box of the interface thread, which alone may show windows.
TEST_F(SoundWarningBox, WarningFromAnotherThreadIsShownByTheInterfaceThread) {
    MessageBoxAnswerer answerer;
    std::thread reader([] { reportSoundWarning(loadText(kSoundNotRestored)); });
    reader.join();
    EXPECT_TRUE(answerer.boxes().empty());  // not before the interface thread looks at its messages

    ASSERT_TRUE(pumpUntil([&] { return !answerer.boxes().empty(); }, 5000));
    pumpFor(100);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, loadText(kSoundNotRestored));
    EXPECT_EQ(answerer.boxes()[0].caption, loadText(kWarningCaption));
    EXPECT_EQ(answerer.boxes()[0].owner, nullptr);
}

TEST_F(SoundWarningBox, WarningOnTheInterfaceThreadIsShownAtOnce) {
    installSoundWarningBox();  // a second start-up keeps one window
    MessageBoxAnswerer answerer;
    reportSoundWarning(loadText(kSoundNotRestored));
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, loadText(kSoundNotRestored));
}

}  // namespace
