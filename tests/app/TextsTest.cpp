// Runs natively (generated table) and under Wine (the executable's string table),
// so both roads give the same texts.
#include <gtest/gtest.h>

#include "app/Texts.h"

namespace {

TEST(Texts, AbsentIdsGiveEmptyText) {
    EXPECT_EQ(loadText(4999), L"");
    EXPECT_EQ(loadText(5050), L"");
    EXPECT_EQ(loadText(5518), L"");
    EXPECT_EQ(loadTextAnsi(5050), L"");
}

TEST(Texts, JapaneseTextsRoundTripWithTheirLineBreaks) {
    EXPECT_EQ(loadText(5001), L"ORVELLE Viewer for TAVRX900");
    EXPECT_EQ(loadText(5005), L"警告");
    EXPECT_EQ(loadText(5078), L"現在開いているフォルダが移動または削除されました。");
    EXPECT_EQ(loadText(5083), L"　簡易設定　");  // full-width spaces kept
    EXPECT_EQ(loadText(5049),
              L"お使いのオペレーティングシステムのバージョンを識別できません。\r\n"
              L"ORVELLE Viewerを正しく実行できないかもしれません。");
    EXPECT_EQ(loadText(5062),
              L"以前の感度設定と音量設定を残しますか？\r\n\r\n「はい」の場合、以前の設定内容を残します。\r\n"
              L"「いいえ」の場合、標準設定に戻します。");
}

TEST(Texts, NarrowRoadGivesTheSameTexts) {
    for (int id : {5001, 5005, 5049, 5051, 5087}) EXPECT_EQ(loadTextAnsi(id), loadText(id)) << id;
}

TEST(Texts, EveryIdOfBothRangesThatIsUsedHasText) {
    int present = 0;
    for (int id = 5001; id <= 5088; ++id) present += !loadText(id).empty();
    for (int id = 5501; id <= 5517; ++id) present += !loadText(id).empty();
    EXPECT_EQ(present, 91);
}

TEST(Texts, FormatPutsTheNumberInPlace) {
    EXPECT_EQ(formatText(5088, 60), L"ビデオメモリーデータは60分までしか再生できません。");
    EXPECT_EQ(formatText(5070, 1234), L"Windowsのエラーです。エラーコード:1234");
}

}  // namespace
