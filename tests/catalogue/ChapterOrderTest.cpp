#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "recording/ChapterList.h"

namespace {

TEST(ChapterPathBefore, LettersFirstIgnoringCase) {
    EXPECT_TRUE(chapterPathBefore(L"d/Video0001.dmv", L"d/video0002.DMV"));
    EXPECT_FALSE(chapterPathBefore(L"d/video0002.DMV", L"d/Video0001.dmv"));
    EXPECT_TRUE(chapterPathBefore(L"d/VIDEO0009.DMV", L"d/video0010.dmv"));
    EXPECT_TRUE(chapterPathBefore(L"d/video0001.dmv", L"d/VIDEO0002.DMV"));
}

TEST(ChapterPathBefore, CaseOnlyBreaksTiesLowerCaseFirst) {
    EXPECT_TRUE(chapterPathBefore(L"d/video0001.dmv", L"d/Video0001.dmv"));
    EXPECT_FALSE(chapterPathBefore(L"d/Video0001.dmv", L"d/video0001.dmv"));
    EXPECT_FALSE(chapterPathBefore(L"d/Video0001.dmv", L"d/Video0001.dmv"));
}

TEST(ChapterPathBefore, SortsMixedCaseNamesByTheirDigits) {
    std::vector<std::wstring> paths = {L"d/VIDEO0003.dmv", L"d/video0001.DMV", L"d/Video0002.dmv", L"d/vIdEo0000.dMv"};
    std::sort(paths.begin(), paths.end(), chapterPathBefore);
    const std::vector<std::wstring> expected = {L"d/vIdEo0000.dMv", L"d/video0001.DMV", L"d/Video0002.dmv",
                                                L"d/VIDEO0003.dmv"};
    EXPECT_EQ(paths, expected);
}

}  // namespace
