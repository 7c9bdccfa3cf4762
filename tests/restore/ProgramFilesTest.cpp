// A restore with the cabinet this program carries (stored or MSZIP).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ModelCode.h"
#include "maintenance/CardRestoreSettings.h"
#include "maintenance/ViewerCopy.h"
#include "platform/FileSystem.h"
#include "restore/RestoreDriver.h"
#include "support/ScratchFolder.h"

namespace {

const std::vector<std::wstring> programNames = {L"PROGRAM.BIN", L"VOICE.DAT", L"EMPTY.DAT"};
// The stamp the test cabinets carry for every file.
const CalendarTime cabinetStamp{2009, 4, 1, 12, 34, 56};

class ProgramFiles : public ::testing::Test {
protected:
    void SetUp() override { loadModelCode(); }

    static Bytes original(const std::wstring& name) {
        return readBytes(windowsPath(RESTORE_PROGRAM_FILES) + L"\\" + name);
    }

    void leaveHiddenReadOnly(const std::wstring& name, const std::string& content) const {
        ASSERT_TRUE(writeBytes(card_.file(name), bytesOf(content)));
        ASSERT_TRUE(platform::makeHiddenReadOnly(card_.file(name)));
    }

    void expectProgramFilesRestored() const {
        for (const std::wstring& name : programNames) {
            SCOPED_TRACE(std::string(name.begin(), name.end()));
            const std::wstring path = card_.file(name);
            EXPECT_EQ(readBytes(path), original(name));
            EXPECT_TRUE(platform::isHidden(path));
            EXPECT_TRUE(platform::isReadOnly(path));
            EXPECT_EQ(creationTime(path), cabinetStamp);
            EXPECT_EQ(writeTime(path), cabinetStamp);
        }
    }

    void expectViewerCopied() const {
        const std::wstring copy = card_.file(L"TAVRX900.exe");
        EXPECT_EQ(readBytes(copy), readBytes(runningExecutable()));
        EXPECT_FALSE(platform::isHidden(copy));
    }

    ScratchFolder card_{L"crd"};
};

TEST_F(ProgramFiles, CancellingAnyQuestionEndsTheRestoreWithoutWriting) {
    const RestoreRun notChosen = runRestore(card_.path(), {}, false);
    EXPECT_TRUE(notChosen.chooserAsked);
    EXPECT_EQ(notChosen.prompt, loadText(5071));
    EXPECT_TRUE(notChosen.boxes.empty());

    EXPECT_EQ(runRestore(card_.path(), {IDCANCEL}).texts(), textsOf({5061}));
    EXPECT_EQ(runRestore(card_.path(), {IDOK, IDCANCEL}).texts(), textsOf({5061, 5062}));
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(card_.path(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(ProgramFiles, AnotherViewerInAMaintenanceCommandIsWarnedAboutAndTheRestoreGoesOn) {
    HANDLE otherViewer = CreateMutexW(nullptr, FALSE, L"ORVELLE_VIEWER");
    ASSERT_NE(otherViewer, nullptr);

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDCANCEL});
    CloseHandle(otherViewer);

    EXPECT_EQ(run.texts(), textsOf({5060, 5061}));
    EXPECT_EQ(run.boxes.front().caption, loadText(5005));
}

TEST_F(ProgramFiles, RestoreAsksThenWritesEveryFileHiddenReadOnlyAndDatedAsTheCabinet) {
    ASSERT_FALSE(original(L"PROGRAM.BIN").empty());
    const std::vector<std::wstring> cabinetsBefore = temporaryCabinets();

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDYES});

    EXPECT_EQ(run.prompt, loadText(5071));
    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5063}));
    ASSERT_EQ(run.boxes.size(), 3u);
    EXPECT_EQ(run.boxes[0].caption, loadText(5013));
    EXPECT_EQ(run.boxes[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(run.boxes[1].caption, loadText(5013));
    EXPECT_EQ(run.boxes[1].buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    EXPECT_EQ(run.boxes[2].caption, loadText(5017));
    expectProgramFilesRestored();
    expectViewerCopied();
    EXPECT_FALSE(platform::isFile(card_.file(L"TAVR.INI")));
    EXPECT_EQ(temporaryCabinets(), cabinetsBefore);
}

TEST_F(ProgramFiles, HiddenReadOnlyLeftoversAreReplacedAndYesKeepsTheSettingsFile) {
    leaveHiddenReadOnly(L"PROGRAM.BIN", "an older, shorter program");
    leaveHiddenReadOnly(L"EMPTY.DAT", "not empty");
    leaveHiddenReadOnly(L"TAVRX900.exe", "an older viewer");
    leaveHiddenReadOnly(L"TAVR.INI", "the user's own settings");

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDYES});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5063}));
    expectProgramFilesRestored();
    expectViewerCopied();
    EXPECT_EQ(readBytes(card_.file(L"TAVR.INI")), bytesOf("the user's own settings"));
}

TEST_F(ProgramFiles, NoReplacesTheSettingsFileWithTheStandardOne) {
    leaveHiddenReadOnly(L"TAVR.INI", "the user's own settings");
    ScratchFolder standard{L"std"};
    writeDefaultSettings(standard.path());

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDNO});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5063}));
    EXPECT_EQ(readBytes(card_.file(L"TAVR.INI")), readBytes(standard.file(L"TAVR.INI")));
    expectProgramFilesRestored();
}

}  // namespace
