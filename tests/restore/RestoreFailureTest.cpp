// Restores that cannot write everything, and a restore of the card the viewer
// runs from, with the MSZIP cabinet this program carries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/ModelCode.h"
#include "maintenance/ViewerCopy.h"
#include "platform/FileSystem.h"
#include "restore/RestoreDriver.h"
#include "support/ScratchFolder.h"

namespace {

constexpr const wchar_t* childVariable = L"ORVELLE_RESTORE_OWN_CARD";
constexpr DWORD childTimeoutMs = 120000;

class RestoreFailure : public ::testing::Test {
protected:
    void SetUp() override { loadModelCode(); }

    bool exists(const std::wstring& name) const { return platform::isFile(card_.file(name)); }

    ScratchFolder card_{L"crd"};
};

// The folder stands where the cabinet's second file must go, so the extraction
// stops after the first file was written.
TEST_F(RestoreFailure, CabinetFailingHalfWayLeavesNoneOfItsFilesButTheSettingsFile) {
    ASSERT_TRUE(platform::createFolder(card_.file(L"VOICE.DAT")));
    const std::vector<std::wstring> cabinetsBefore = temporaryCabinets();

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDNO});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5064}));
    ASSERT_EQ(run.boxes.size(), 3u);
    EXPECT_EQ(run.boxes[2].caption, loadText(5005));
    EXPECT_FALSE(exists(L"PROGRAM.BIN"));
    EXPECT_FALSE(exists(L"EMPTY.DAT"));
    EXPECT_TRUE(platform::isFolder(card_.file(L"VOICE.DAT")));
    EXPECT_FALSE(exists(L"TAVRX900.exe")) << "a failed extraction skips the viewer copy";
    EXPECT_TRUE(exists(L"TAVR.INI")) << "the standard settings were written before the program files";
    EXPECT_EQ(temporaryCabinets(), cabinetsBefore);
}

TEST_F(RestoreFailure, ViewerThatCannotBeCopiedIsReportedAndTheProgramFilesStay) {
    ASSERT_TRUE(platform::createFolder(card_.file(L"TAVRX900.exe")));

    const RestoreRun run = runRestore(card_.path(), {IDOK, IDYES});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5064}));
    EXPECT_TRUE(exists(L"PROGRAM.BIN"));
    EXPECT_TRUE(exists(L"EMPTY.DAT"));
}

// Run as a second process from a copy of this program on the card.
TEST(RestoreFromCard, RestoresTheCardItRunsFromWithoutCopyingItself) {
    if (!_wgetenv(childVariable)) GTEST_SKIP() << "runs only inside the viewer-on-the-card test";
    loadModelCode();
    const std::wstring viewer = runningExecutable();
    const std::wstring card = platform::parentFolder(viewer);
    const Bytes before = readBytes(viewer);

    const RestoreRun run = runRestore(card, {IDOK, IDYES});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5063}));
    EXPECT_EQ(readBytes(viewer), before);
    EXPECT_TRUE(platform::isHidden(platform::joinPath(card, L"PROGRAM.BIN")));
}

TEST_F(RestoreFailure, ViewerRunningFromTheCardIsNotCopiedAndTheRestoreSucceeds) {
    const std::wstring viewerOnCard = card_.file(L"TAVRX900.exe");
    ASSERT_TRUE(CopyFileW(runningExecutable().c_str(), viewerOnCard.c_str(), TRUE));
    std::wstring commandLine = L"\"" + viewerOnCard + L"\" --gtest_filter=RestoreFromCard.*";
    SetEnvironmentVariableW(childVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessW(viewerOnCard.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        card_.path().c_str(), &startup, &child);
    SetEnvironmentVariableW(childVariable, nullptr);
    ASSERT_TRUE(started);
    const DWORD waited = WaitForSingleObject(child.hProcess, childTimeoutMs);
    DWORD exitCode = 1;
    if (waited == WAIT_OBJECT_0) GetExitCodeProcess(child.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, 0u) << "the restore inside the viewer on the card failed";
    EXPECT_TRUE(exists(L"PROGRAM.BIN"));
    EXPECT_EQ(readBytes(viewerOnCard), readBytes(runningExecutable()));
}

}  // namespace
