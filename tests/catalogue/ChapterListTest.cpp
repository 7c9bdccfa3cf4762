#include <gtest/gtest.h>

#include <cstdio>

#include "CardFolder.h"
#include "CatalogueSamples.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "recording/ChapterList.h"

namespace {

using catalogue_test::chapterSpec;

std::wstring chapterName(int number) {
    wchar_t name[32];
    std::swprintf(name, 32, L"Video%04d.dmv", number);
    return name;
}

class ChapterListTest : public ::testing::Test {
protected:
    void SetUp() override { modelCode() = ModelCode{2, 3}; }

    // Chapters before the last are never read, so empty files stand in for them.
    void addChapter(const std::wstring& name, int frames) {
        samplewriter::writeBytes(folder.pathOf(name), samplewriter::buildArchive(chapterSpec(frames)));
    }

    void expectCannotRead() {
        try {
            listChapters(folder.path(), table, count, tooMany);
            FAIL() << "no exception";
        } catch (const VideoArchiveException& failure) {
            EXPECT_EQ(failure.message(), loadText(5510));
        }
    }

    CardFolder folder;
    ChapterTable table;
    int count = -1;
    bool tooMany = true;
};

TEST_F(ChapterListTest, ListsInNameOrderAndIgnoresNamesOutsideTheRule) {
    addChapter(L"Video0002.dmv", 30);
    folder.addEmptyFile(L"Video0001.dmv");
    folder.addEmptyFile(L"Video1.dmv");
    folder.addEmptyFile(L"VideoABCD.dmv");
    folder.addFolder(L"Video0003.dmv");
    table[5] = L"left over";

    EXPECT_EQ(listChapters(folder.path(), table, count, tooMany), 600 + 30);
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(tooMany);
    EXPECT_EQ(table[0], folder.pathOf(L"Video0001.dmv"));
    EXPECT_EQ(table[1], folder.pathOf(L"Video0002.dmv"));
    for (std::size_t i = 2; i < table.size(); ++i) EXPECT_TRUE(table[i].empty()) << i;
}

TEST_F(ChapterListTest, CaseDoesNotChangeTheOrder) {
    folder.addEmptyFile(L"video0001.dmv");
    addChapter(L"VIDEO0002.DMV", 10);
    EXPECT_EQ(listChapters(folder.path(), table, count, tooMany), 610);
    EXPECT_EQ(table[0], folder.pathOf(L"video0001.dmv"));
    EXPECT_EQ(table[1], folder.pathOf(L"VIDEO0002.DMV"));
}

TEST_F(ChapterListTest, TotalCountsEveryChapterButTheLastAsOneMinute) {
    folder.addEmptyFile(L"Video0000.dmv");
    folder.addEmptyFile(L"Video0001.dmv");
    addChapter(L"Video0002.dmv", 150);
    EXPECT_EQ(listChapters(folder.path(), table, count, tooMany), 1350);
    EXPECT_EQ(count, 3);
}

TEST_F(ChapterListTest, SixtyOneChaptersListTheFirstSixty) {
    for (int i = 0; i < 61; ++i) {
        if (i == 59) {
            addChapter(chapterName(i), 20);
        } else {
            folder.addEmptyFile(chapterName(i));
        }
    }
    EXPECT_EQ(listChapters(folder.path(), table, count, tooMany), 59 * 600 + 20);
    EXPECT_EQ(count, 60);
    EXPECT_TRUE(tooMany);
    EXPECT_EQ(table[0], folder.pathOf(chapterName(0)));
    EXPECT_EQ(table[59], folder.pathOf(chapterName(59)));
}

TEST_F(ChapterListTest, FolderWithoutChaptersCannotBeRead) {
    folder.addEmptyFile(L"Video1.dmv");
    folder.addEmptyFile(L"Video.dvt");
    expectCannotRead();
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(tooMany);
}

TEST_F(ChapterListTest, MissingFolderCannotBeRead) {
    const std::wstring absent = folder.pathOf(L"absent");
    EXPECT_THROW(listChapters(absent, table, count, tooMany), VideoArchiveException);
}

TEST_F(ChapterListTest, UnreadableLastChapterCannotBeRead) {
    addChapter(L"Video0000.dmv", 600);
    folder.addEmptyFile(L"Video0001.dmv");
    expectCannotRead();
}

}  // namespace
