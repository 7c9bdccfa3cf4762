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
TEST(RestoreFromCard, RestoresTheCardItRunsFrom) {
    if (!_wgetenv(childVariable)) GTEST_SKIP() << "runs only inside the viewer-on-the-card tests";
    loadModelCode();
    const std::wstring viewer = runningExecutable();
    const std::wstring card = platform::parentFolder(viewer);
    const Bytes before = readBytes(viewer);

    const RestoreRun run = runRestore(card, {IDOK, IDYES});

    EXPECT_EQ(run.texts(), textsOf({5061, 5062, 5063}));
    EXPECT_EQ(readBytes(viewer), before);
    EXPECT_TRUE(platform::isHidden(platform::joinPath(card, L"PROGRAM.BIN")));
}

// This program copied onto the card as name and started from there; the exit
// code of its restore (0 when every check held).
DWORD restoreFromCardAs(const std::wstring& card, const std::wstring& name) {
    const std::wstring viewerOnCard = platform::joinPath(card, name);
    if (!CopyFileW(runningExecutable().c_str(), viewerOnCard.c_str(), TRUE)) return 2;
    std::wstring commandLine = L"\"" + viewerOnCard + L"\" --gtest_filter=RestoreFromCard.*";
    SetEnvironmentVariableW(childVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const bool started = CreateProcessW(viewerOnCard.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        card.c_str(), &startup, &child);
    SetEnvironmentVariableW(childVariable, nullptr);
    if (!started) return 3;
    const DWORD waited = WaitForSingleObject(child.hProcess, childTimeoutMs);
    DWORD exitCode = 4;
    if (waited == WAIT_OBJECT_0) GetExitCodeProcess(child.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return exitCode;
}

TEST_F(RestoreFailure, ViewerRunningFromTheCardAsTheCardsCopyIsNotCopiedAndTheRestoreSucceeds) {
    for (const wchar_t* name : {L"TAVRX900.exe", L"tavrx900.EXE"}) {
        ScratchFolder card{L"crd"};
        EXPECT_EQ(restoreFromCardAs(card.path(), name), 0u) << "the restore inside the viewer on the card failed";
        EXPECT_TRUE(platform::isFile(card.file(L"PROGRAM.BIN")));
        EXPECT_EQ(readBytes(card.file(name)), readBytes(runningExecutable()));
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(card.path(), entries);
        EXPECT_EQ(entries.size(), 4u) << "the program files and the viewer, no second copy";
    }
}

TEST_F(RestoreFailure, ViewerRunningFromTheCardUnderItsOwnNameIsCopiedAsTheCardsViewer) {
    EXPECT_EQ(restoreFromCardAs(card_.path(), L"OrvelleViewer.exe"), 0u)
        << "the restore inside the viewer on the card failed";
    EXPECT_EQ(readBytes(card_.file(L"TAVRX900.exe")), readBytes(runningExecutable()));
    EXPECT_FALSE(platform::isHidden(card_.file(L"TAVRX900.exe")));
}

}  // namespace
