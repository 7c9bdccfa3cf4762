// The default build carries no cabinet: a restore could never finish, so it
// ends before the first question and the card stays exactly as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/ModelCode.h"
#include "maintenance/CardRestoreCabinet.h"
#include "maintenance/ViewerCopy.h"
#include "platform/FileSystem.h"
#include "restore/RestoreDriver.h"
#include "support/ScratchFolder.h"

namespace {

std::vector<std::wstring> namesIn(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    platform::listFolder(folder, entries);
    std::vector<std::wstring> names;
    for (const platform::FolderEntry& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MissingCabinet, RestoreSays5006BeforeAnyQuestionAndChangesNothing) {
    loadModelCode();
    ScratchFolder card{L"crd"};
    const Bytes userSettings = bytesOf("the user's own sensitivity and volumes");
    ASSERT_TRUE(writeBytes(card.file(L"TAVR.INI"), userSettings));
    ASSERT_TRUE(platform::makeHiddenReadOnly(card.file(L"TAVR.INI")));
    const std::vector<std::wstring> namesBefore = namesIn(card.path());
    const std::vector<std::wstring> cabinetsBefore = temporaryCabinets();
    EXPECT_FALSE(hasProgramFiles());

    // Answers that would reset the settings, were they ever asked.
    const RestoreRun run = runRestore(card.path(), {IDOK, IDNO});

    EXPECT_FALSE(run.chooserAsked);
    EXPECT_EQ(run.texts(), textsOf({5006}));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, loadText(5005));
    EXPECT_EQ(run.boxes[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(readBytes(card.file(L"TAVR.INI")), userSettings);
    EXPECT_TRUE(platform::isHidden(card.file(L"TAVR.INI")));
    EXPECT_EQ(namesIn(card.path()), namesBefore);
    EXPECT_EQ(temporaryCabinets(), cabinetsBefore);
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
