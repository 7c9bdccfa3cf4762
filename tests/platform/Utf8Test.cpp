#include <gtest/gtest.h>

#include "platform/Utf8.h"

namespace {

TEST(Utf8, JapaneseAndNonBmpTextRoundTrip) {
    const std::wstring text = L"設定ファイル \U0001D11E end";
    EXPECT_EQ(toUtf8(L"設定"), "\xE8\xA8\xAD\xE5\xAE\x9A");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(Utf8, BadSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              L"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xE8\xA8"), L"\uFFFD\uFFFD");            // truncated at the end
    EXPECT_EQ(fromUtf8("\xC0\x80"), L"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

}  // namespace
