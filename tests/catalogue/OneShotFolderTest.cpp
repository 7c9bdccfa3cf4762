#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "CardFolder.h"
#include "CatalogueSamples.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "recording/VideoArchive.h"

namespace {

using catalogue_test::oneShotBytes;

std::wstring pictureName(int number) {
    wchar_t name[32];
    std::swprintf(name, 32, L"Pic%05d.dpc", number);
    return name;
}

CalendarTime minuteOfDay(int minute) {
    return CalendarTime{2009, 6, 15, 8 + minute / 60, minute % 60, 0};
}

class OneShotFolderTest : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }

    void addPicture(const std::wstring& name, const CalendarTime& time, int fileIndex) {
        ASSERT_TRUE(samplewriter::writeBytes(folder.pathOf(name), oneShotBytes(time, fileIndex)));
    }

    // The scan's input order: the folder as the system lists it.
    std::vector<std::wstring> listedPictures() {
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(folder.path(), entries);
        std::vector<std::wstring> paths;
        for (const platform::FolderEntry& entry : entries) {
            if (!entry.isFolder) paths.push_back(folder.pathOf(entry.name));
        }
        return paths;
    }

    std::vector<std::wstring> scannedPaths() {
        std::vector<std::wstring> paths;
        for (int i = 0; i < archive.frameCount(); ++i) paths.push_back(archive.record(i)->path);
        return paths;
    }

    CardFolder folder;
    VideoArchive archive;
};

TEST_F(OneShotFolderTest, ShowsPicturesInTimeOrderWithUndatedOnesFirst) {
    addPicture(L"b.dpc", minuteOfDay(30), 1);
    addPicture(L"a.DPC", minuteOfDay(10), 2);
    addPicture(L"c.dpc", CalendarTime{2009, 2, 30, 8, 0, 0}, 3);  // no such day: no time
    addPicture(L"d.dpc", minuteOfDay(20), 4);
    folder.addEmptyFile(L"notes.txt");

    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 4);
    EXPECT_EQ(archive.record(0)->time, 0);
    EXPECT_EQ(archive.record(0)->path, folder.pathOf(L"c.dpc"));
    EXPECT_EQ(archive.record(1)->path, folder.pathOf(L"a.DPC"));
    EXPECT_EQ(archive.record(2)->path, folder.pathOf(L"d.dpc"));
    EXPECT_EQ(archive.record(3)->path, folder.pathOf(L"b.dpc"));
    EXPECT_LT(archive.record(1)->time, archive.record(2)->time);
    EXPECT_EQ(archive.header().triggerKind, 11);
}

TEST_F(OneShotFolderTest, EqualTimesKeepTheFolderOrder) {
    for (int i = 0; i < 8; ++i) addPicture(pictureName(i), minuteOfDay(i % 2 == 0 ? 5 : 1), i);
    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 8);

    // Odd numbers were written at the earlier minute; each group keeps the folder's order.
    auto isEarly = [](const std::wstring& path) { return (path[path.size() - 5] - L'0') % 2 == 1; };
    std::vector<std::wstring> expected;
    const std::vector<std::wstring> listed = listedPictures();
    for (const std::wstring& path : listed) {
        if (isEarly(path)) expected.push_back(path);
    }
    for (const std::wstring& path : listed) {
        if (!isEarly(path)) expected.push_back(path);
    }
    EXPECT_EQ(scannedPaths(), expected);
}

TEST_F(OneShotFolderTest, SixHundredAndOnePicturesShowSixHundredInTimeOrder) {
    for (int i = 0; i < 601; ++i) addPicture(pictureName(i), minuteOfDay((i * 37) % 601), i);
    EXPECT_TRUE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 600);
    for (int i = 1; i < 600; ++i) EXPECT_LT(archive.record(i - 1)->time, archive.record(i)->time) << i;
}

TEST_F(OneShotFolderTest, ExactlySixHundredIsNotTooMany) {
    for (int i = 0; i < 600; ++i) addPicture(pictureName(i), minuteOfDay(i), i);
    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    EXPECT_EQ(archive.frameCount(), 600);
}

TEST_F(OneShotFolderTest, UnreadableFilesAndFoldersAreLeftOutSilently) {
    addPicture(L"good.dpc", minuteOfDay(1), 1);
    folder.addEmptyFile(L"empty.dpc");
    ASSERT_TRUE(samplewriter::writeBytes(folder.pathOf(L"short.dpc"), samplewriter::Bytes(70, 0x55)));
    folder.addFolder(L"folder.dpc");

    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 1);
    EXPECT_EQ(archive.record(0)->path, folder.pathOf(L"good.dpc"));
}

TEST_F(OneShotFolderTest, FolderWithNothingReadableGivesNoEntries) {
    folder.addEmptyFile(L"empty.dpc");
    EXPECT_FALSE(archive.readOneShotFolder(folder.path()));
    EXPECT_EQ(archive.frameCount(), 0);
}

TEST_F(OneShotFolderTest, MissingFolderCannotBeReadAndLeavesTheArchiveEmpty) {
    addPicture(L"a.dpc", minuteOfDay(1), 1);
    ASSERT_FALSE(archive.readOneShotFolder(folder.path()));
    ASSERT_EQ(archive.frameCount(), 1);
    try {
        archive.readOneShotFolder(folder.pathOf(L"absent"));
        FAIL() << "no exception";
    } catch (const VideoArchiveException& failure) {
        EXPECT_EQ(failure.message(), loadText(5510));
    }
    EXPECT_EQ(archive.frameCount(), 0);
}

}  // namespace
