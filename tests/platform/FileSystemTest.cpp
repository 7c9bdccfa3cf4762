#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

namespace {

using platform::FolderEntry;

void createFile(const std::wstring& path, const char* contents) {
    File file;
    ASSERT_TRUE(file.open(path, File::Mode::Create));
    ASSERT_TRUE(file.write(contents, std::char_traits<char>::length(contents)));
}

TEST(FileSystem, JoinPathNeverDoublesTheSeparator) {
    const std::wstring s(1, platform::pathSeparator());
    EXPECT_EQ(platform::joinPath(L"a", L"b"), L"a" + s + L"b");
    EXPECT_EQ(platform::joinPath(L"a" + s, L"b"), L"a" + s + L"b");
    EXPECT_EQ(platform::joinPath(L"a" + s, s + L"b"), L"a" + s + L"b");
    EXPECT_EQ(platform::joinPath(L"", L"b"), L"b");
}

TEST(FileSystem, FileNameAndParentSplitAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(platform::fileName(L"E:\\DCIM/0001\\Video.dvt"), L"Video.dvt");
    EXPECT_EQ(platform::parentFolder(L"E:\\DCIM/0001\\Video.dvt"), L"E:\\DCIM/0001");
    EXPECT_EQ(platform::fileName(L"TAVR.INI"), L"TAVR.INI");
    EXPECT_EQ(platform::parentFolder(L"TAVR.INI"), L"");
}

TEST(FileSystem, ListingNamesFilesAndFoldersWithoutDotEntries) {
    ScratchFolder folder(L"lst");
    createFile(folder.file(L"Video.dvt"), "x");
    createFile(folder.file(L"設定.INI"), "y");
    ASSERT_TRUE(platform::createFolder(folder.file(L"0001")));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(folder.path(), entries));
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, L"0001");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_EQ(entries[1].name, L"Video.dvt");
    EXPECT_FALSE(entries[1].isFolder);
    EXPECT_EQ(entries[2].name, L"設定.INI");
    EXPECT_FALSE(entries[2].isFolder);
    EXPECT_TRUE(platform::isFolder(folder.file(L"0001")));
    EXPECT_FALSE(platform::isFile(folder.file(L"0001")));
    EXPECT_TRUE(platform::isFile(folder.file(L"設定.INI")));
    EXPECT_FALSE(platform::isFolder(folder.file(L"Video.dvt")));
}

TEST(FileSystem, MissingFolderCannotBeListedAndMissingFilesCannotBeDeleted) {
    ScratchFolder folder(L"lst");
    std::vector<FolderEntry> entries;
    EXPECT_FALSE(platform::listFolder(folder.file(L"absent"), entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(platform::deleteFile(folder.file(L"absent.bin")));
    EXPECT_FALSE(platform::isFile(folder.file(L"absent.bin")));
    EXPECT_FALSE(platform::isFolder(folder.file(L"absent")));
}

TEST(FileSystem, CreateFolderAcceptsAnExistingFolderAndDeleteRemovesFiles) {
    ScratchFolder folder(L"lst");
    EXPECT_TRUE(platform::createFolder(folder.path()));
    createFile(folder.file(L"gone.bin"), "1");
    EXPECT_TRUE(platform::deleteFile(folder.file(L"gone.bin")));
    EXPECT_FALSE(platform::isFile(folder.file(L"gone.bin")));
    EXPECT_FALSE(platform::createFolder(folder.file(L"absent") + platform::pathSeparator() + L"inner"));
}

TEST(FileSystem, TemporaryFilesAreNewUniqueAndNamedAfterThePrefix) {
    const std::wstring temporary = platform::temporaryFolder();
    ASSERT_FALSE(temporary.empty());
    EXPECT_TRUE(platform::isFolder(temporary));
    std::set<std::wstring> names;
    for (int i = 0; i < 20; ++i) {
        const std::wstring path = platform::createTemporaryFile(temporary, L"orv");
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(platform::isFile(path));
        const std::wstring name = platform::fileName(path);
        EXPECT_EQ(name.substr(0, 3), L"orv");
        EXPECT_EQ(name.substr(name.size() - 4), L".tmp");
        names.insert(path);
    }
    EXPECT_EQ(names.size(), 20u);
    for (const std::wstring& path : names) EXPECT_TRUE(platform::deleteFile(path));
    EXPECT_TRUE(
        platform::createTemporaryFile(temporary + platform::pathSeparator() + L"absent-folder", L"orv").empty());
}

TEST(FileSystem, HiddenReadOnlyFileIsMadeNormalAndRewritten) {
    ScratchFolder folder(L"att");
    const std::wstring path = folder.file(L"TAVR.INI");
    createFile(path, "old");
    ASSERT_TRUE(platform::makeHiddenReadOnly(path));
#ifdef _WIN32
    EXPECT_TRUE(platform::isHidden(path));
    EXPECT_TRUE(platform::isReadOnly(path));
    EXPECT_FALSE(platform::deleteFile(path));  // read-only files resist deletion
#else
    EXPECT_FALSE(platform::isHidden(path));
    EXPECT_FALSE(platform::isReadOnly(path));
#endif
    ASSERT_TRUE(platform::makeNormal(path));
    EXPECT_FALSE(platform::isHidden(path));
    EXPECT_FALSE(platform::isReadOnly(path));
    createFile(path, "new");
    EXPECT_TRUE(platform::deleteFile(path));
}

}  // namespace
