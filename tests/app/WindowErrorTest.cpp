#include <windows.h>

#include <gtest/gtest.h>

#include "app/Resources.h"
#include "app/WindowError.h"
#include "resources/ResourceIds.h"

namespace {

TEST(WindowError, KnownCodeGivesTheSystemText) {
    const std::wstring text = makeWindowException(ERROR_FILE_NOT_FOUND).message();
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find(L"Windowsのエラーです"), std::wstring::npos);
}

TEST(WindowError, CodeWithoutSystemTextFallsBackToTheNumberedText) {
    const unsigned long unknown = 0x2000ABCD;  // customer bit set: the system has no text
    EXPECT_EQ(makeWindowException(unknown).message(), L"Windowsのエラーです。エラーコード:" + std::to_wstring(unknown));
}

TEST(Resources, AbsentResourceThrowsTheSystemText) {
    try {
        loadResource(L"BINARY", 309);  // the default build carries no cabinet
        FAIL() << "expected a WindowException";
    } catch (const WindowException& failure) {
        EXPECT_FALSE(failure.message().empty());
    }
}

TEST(Resources, IconAndVersionAreCarried) {
    // The resource itself: loading the icon also needs the display, which a
    // freshly started Wine session may not have ready yet.
    EXPECT_NE(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), RT_GROUP_ICON), nullptr);
    const ResourceBytes version = loadResource(MAKEINTRESOURCEW(16) /* RT_VERSION */, 1);
    ASSERT_NE(version.data, nullptr);
    EXPECT_GT(version.size, 0u);
}

}  // namespace
