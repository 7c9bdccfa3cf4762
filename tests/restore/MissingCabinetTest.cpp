// The default build carries no cabinet: every restore ends with 5064, and the
// questions before it decide what is written all the same.
#include <gtest/gtest.h>

#include <string>

#include "app/ModelCode.h"
#include "maintenance/CardRestoreSettings.h"
#include "maintenance/ViewerCopy.h"
#include "platform/FileSystem.h"
#include "restore/RestoreDriver.h"
#include "support/ScratchFolder.h"

namespace {

class MissingCabinet : public ::testing::Test {
protected:
    void SetUp() override { loadModelCode(); }

    bool cardIsEmpty() const {
        std::vector<platform::FolderEntry> entries;
        return platform::listFolder(card_.path(), entries) && entries.empty();
    }

    ScratchFolder card_{L"crd"};
};

TEST_F(MissingCabinet, CancellingAnyQuestionEndsTheRestoreWithoutWriting) {
    const RestoreRun notChosen = runRestore(card_.path(), {}, false);
    EXPECT_TRUE(notChosen.chooserAsked);
    EXPECT_EQ(notChosen.prompt, loadText(5071));
    EXPECT_TRUE(notChosen.boxes.empty());

    EXPECT_EQ(runRestore(card_.path(), {IDCANCEL}).texts(), textsOf({5061}));
    EXPECT_EQ(runRestore(card_.path(), {IDOK, IDCANCEL}).texts(), textsOf({5061, 5062}));
    EXPECT_TRUE(cardIsEmpty());
}

TEST_F(MissingCabinet, NoStillWritesTheStandardSettingsFileAndNothingElse) {
    ScratchFolder standard{L"std"};
    writeDefaultSettings(standard.path());
    const std::vector<std::wstring> cabinetsBefore = temporaryCabinets();

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDNO});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5064}));
    ASSERT_EQ(run.boxes.size(), 3u);
    EXPECT_EQ(run.boxes[2].caption, loadText(5005));
    EXPECT_EQ(readBytes(card_.file(L"TAVR.INI")), readBytes(standard.file(L"TAVR.INI")));
    EXPECT_FALSE(platform::isFile(card_.file(L"TAVRX900.exe"))) << "no viewer copy after a failed extraction";
    EXPECT_EQ(temporaryCabinets(), cabinetsBefore);
}

TEST_F(MissingCabinet, YesLeavesTheSettingsFileAsItWas) {
    ASSERT_TRUE(writeBytes(card_.file(L"TAVR.INI"), bytesOf("the user's own settings")));

    EXPECT_EQ(runRestore(card_.path(), {IDOK, IDYES}).texts(), textsOf({5061, 5062, 5064}));
    EXPECT_EQ(readBytes(card_.file(L"TAVR.INI")), bytesOf("the user's own settings"));
}

TEST_F(MissingCabinet, AnotherViewerInAMaintenanceCommandIsWarnedAboutAndTheRestoreGoesOn) {
    HANDLE otherViewer = CreateMutexW(nullptr, FALSE, L"ORVELLE_VIEWER");
    ASSERT_NE(otherViewer, nullptr);

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDCANCEL});
    CloseHandle(otherViewer);

    EXPECT_EQ(run.texts(), textsOf({5060, 5061}));
    EXPECT_EQ(run.boxes.front().caption, loadText(5005));
}

TEST(ViewerFolder, SameFolderIsFoundHoweverItIsSpelt) {
    ScratchFolder folder{L"Same Folder Spelling"};
    const std::wstring path = folder.path();
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(path.c_str(), shortPath, MAX_PATH), 0u);
    std::wstring upper = path;
    CharUpperW(upper.data());

    EXPECT_TRUE(isSameFolder(path, path + L"\\"));
    EXPECT_TRUE(isSameFolder(path, upper));
    EXPECT_TRUE(isSameFolder(path, shortPath));
    EXPECT_TRUE(isSameFolder(L"C:", L"C:\\"));
    EXPECT_FALSE(isSameFolder(path, platform::parentFolder(path)));
}

}  // namespace
