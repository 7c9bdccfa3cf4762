#include <gtest/gtest.h>

#include "CardFolder.h"
#include "recording/RecordingFolder.h"
#include "recording/WildcardMatch.h"

namespace {

const std::wstring kEvent = L"Video.dvt";
const std::wstring kOneShot = L"*.dpc";
const std::wstring kChapter = L"Video????.dmv";

TEST(PatternFor, GivesEachModesPatternAndTheEventPatternForUnknownModes) {
    EXPECT_EQ(patternFor(0), kEvent);
    EXPECT_EQ(patternFor(1), kOneShot);
    EXPECT_EQ(patternFor(2), kChapter);
    EXPECT_EQ(patternFor(7), kEvent);
    EXPECT_EQ(patternFor(-1), kEvent);
}

TEST(NameMatches, ChapterNamesNeedVideoFourDigitsAndDmvInAnyCase) {
    EXPECT_TRUE(nameMatches(kChapter, L"video0001.DMV"));
    EXPECT_TRUE(nameMatches(kChapter, L"Video9999.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Video01.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Video1.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"VideoABCD.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Video000A.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Video00001.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Audio0001.dmv"));
    EXPECT_FALSE(nameMatches(kChapter, L"Video0001.dvt"));
}

TEST(NameMatches, OneShotAndEventNamesNeedOnlyTheirEndingInAnyCase) {
    EXPECT_TRUE(nameMatches(kOneShot, L"a.dpc"));
    EXPECT_TRUE(nameMatches(kOneShot, L"PIC00001.DPC"));
    EXPECT_TRUE(nameMatches(kOneShot, L"x.dPc"));
    EXPECT_FALSE(nameMatches(kOneShot, L"x.dpcx"));
    EXPECT_FALSE(nameMatches(kOneShot, L"x.jpg"));
    EXPECT_TRUE(nameMatches(kEvent, L"VIDEO.DVT"));
    EXPECT_TRUE(nameMatches(kEvent, L"Video.dvt"));
    EXPECT_FALSE(nameMatches(kEvent, L"Video.dmv"));
}

TEST(NameMatches, NamesShorterThanTheEndingNeverMatch) {
    EXPECT_FALSE(nameMatches(kOneShot, L""));
    EXPECT_FALSE(nameMatches(kOneShot, L"dpc"));
    EXPECT_FALSE(nameMatches(kEvent, L"t"));
    EXPECT_TRUE(nameMatches(kOneShot, L".dpc"));
}

TEST(WildcardMatches, StarAndQuestionMarkIgnoringCase) {
    EXPECT_TRUE(wildcardMatches(kOneShot, L"ab.DPC"));
    EXPECT_TRUE(wildcardMatches(kOneShot, L".dpc"));
    EXPECT_TRUE(wildcardMatches(kOneShot, L"a.dpc.dpc"));
    EXPECT_FALSE(wildcardMatches(kOneShot, L"a.dpc.bak"));
    EXPECT_TRUE(wildcardMatches(kChapter, L"VIDEOabcd.DMV"));
    EXPECT_FALSE(wildcardMatches(kChapter, L"Video1.dmv"));
    EXPECT_FALSE(wildcardMatches(kChapter, L"Video00001.dmv"));
    EXPECT_TRUE(wildcardMatches(kEvent, L"video.DVT"));
    EXPECT_FALSE(wildcardMatches(kEvent, L"Video.dvt2"));
    EXPECT_TRUE(wildcardMatches(L"*a*b*", L"xxaxxbxx"));
    EXPECT_FALSE(wildcardMatches(L"*a*b", L"xxaxxbxxc"));
}

TEST(WildcardMatches, LongHostileNameIsDecidedQuickly) {
    const std::wstring name(20000, L'a');
    EXPECT_FALSE(wildcardMatches(L"*a*a*a*a*a*a*b", name));
}

TEST(CountMatching, CountsOnlyFilesOfTheKind) {
    CardFolder folder;
    folder.addEmptyFile(L"Video0001.dmv");
    folder.addEmptyFile(L"video0002.DMV");
    folder.addEmptyFile(L"Video1.dmv");
    folder.addEmptyFile(L"VideoABCD.dmv");
    folder.addEmptyFile(L"one.dpc");
    folder.addEmptyFile(L"TWO.DPC");
    folder.addEmptyFile(L"three.dpc.txt");
    folder.addEmptyFile(L"VIDEO.DVT");
    folder.addEmptyFile(L"VideoInf.dat");
    EXPECT_EQ(countMatching(folder.path(), patternFor(2)), 2);
    EXPECT_EQ(countMatching(folder.path(), patternFor(1)), 2);
    EXPECT_EQ(countMatching(folder.path(), patternFor(0)), 1);
}

TEST(CountMatching, FoldersNamedLikeRecordingsAreNotCounted) {
    CardFolder folder;
    folder.addFolder(L"Video.dvt");
    folder.addFolder(L"Video0001.dmv");
    folder.addFolder(L"x.dpc");
    EXPECT_EQ(countMatching(folder.path(), patternFor(0)), 0);
    EXPECT_EQ(countMatching(folder.path(), patternFor(1)), 0);
    EXPECT_EQ(countMatching(folder.path(), patternFor(2)), 0);
}

TEST(CountMatching, MissingFolderCountsZero) {
    CardFolder folder;
    EXPECT_EQ(countMatching(folder.pathOf(L"absent"), patternFor(1)), 0);
}

}  // namespace
